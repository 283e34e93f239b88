#pragma once

#include <QString>
#include <QStringList>

class QUrl;

// The address box's memory: the addresses the program itself asked the preview to
// open, newest first, each once, and the flag that marks the next navigation as the
// program's own. Links the user follows change the box's text only.
class PreviewNavigation {
public:
    // The program is about to ask the browser to open an address.
    void programNavigates() { m_fromProgram = true; }
    // The browser is about to open the address: the flag is consumed, and when it
    // was set the address goes to the top of the list. True in that case.
    bool beforeNavigate(const QString &address);

    const QStringList &history() const { return m_history; }
    bool programNavigationPending() const { return m_fromProgram; }

private:
    bool m_fromProgram = false;
    QStringList m_history;
};

// The text the address box shows for an address: a local file as its path.
QString addressText(const QUrl &url);
// An address typed or chosen in the box, as the browser opens it: a path is a
// local file, anything else a web address.
QUrl addressUrl(const QString &text);

// The heights that give the preview panel the lower half of the area holding the
// tabs, the splitter and the panel: the panel H div 2 - S, the splitter S, the rest
// above, each part kept at its minimum height when the area is too small.
struct PanelSplit {
    int above = 0;
    int panel = 0;
    bool operator==(const PanelSplit &) const = default;
};
constexpr int kPreviewSplitterHeight = 8;
constexpr int kPreviewMinAbove = 32;
constexpr int kPreviewMinPanel = 28;
PanelSplit halvedPanelSplit(int areaHeight, int splitter = kPreviewSplitterHeight,
                            int minAbove = kPreviewMinAbove, int minPanel = kPreviewMinPanel);
