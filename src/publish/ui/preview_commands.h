#pragma once

#include "app/ui/app_context.h"
#include "publish/browser_targets.h"
#include "publish/preview_rules.h"
#include "publish/ui/preview_engine.h"

#include <QObject>
#include <array>
#include <functional>

class LivePreview;
class MainStatusBar;
class QAction;
class QSplitter;
class TPreviewPanel;

// Starts what a browser test plans: the default browser through the desktop's
// handler, a user browser directly with the copy's path as its one argument.
// False when nothing could be started.
bool launchBrowser(const BrowserLaunch &launch);

// The preview panel and the browser tests: the panel under the tabs with its
// navigation bar and address box, the preview copies, `OutilsTester` with its four
// targets `Nav1` to `Nav4`, and copying the document's address.
class PreviewCommands : public QObject {
    Q_OBJECT
public:
    // The panel joins the splitter that holds the tabs; browser status texts go to
    // the status bar's third panel.
    PreviewCommands(AppContext &ctx, QSplitter *area, MainStatusBar *status);
    ~PreviewCommands() override;

    // Writes the document to its preview copy as a save writes it; the copy's path,
    // or an empty string once the failure has been reported.
    QString WritePreviewCopy(TMyMwCustomEdit *editor);
    // The document's preview copy; never an open document's file (a document named
    // like a copy, a leftover opened to recover work, is not its own copy).
    QString PreviewCopyPath(const TMyMwCustomEdit *editor) const;
    // Removes the document's preview copy, if there is one.
    void DeletePreviewCopy(const TMyMwCustomEdit *editor);
    // Asks the browser to open an address, as the program's own navigation.
    void NavigatePreview(const QString &address);
    void ShowPreviewPanel(bool visible);
    // False once the browser engine turned out to be missing.
    bool browserAvailable() const { return m_availability != Availability::Missing; }
    bool panelShown() const { return m_shown; }
    // The panel is made the first time it is needed, like its browser.
    TPreviewPanel *panel();
    TPreviewPanel *existingPanel() const { return m_panel; }
    // The browser, once made.
    PreviewEngine *engine() const;
    // Shows an address as the program's own navigation, at a scroll position.
    void navigateKeepingScroll(const QUrl &url, const QPoint &scroll);
    LivePreview *live() const { return m_live; }

    // Creates the browser engine (the module beside the program by default).
    using EngineFactory =
        std::function<PreviewEngine *(QWidget *parent, const PreviewEngine::Notifications &)>;
    EngineFactory engineFactory;
    // Starts an outside browser (launchBrowser by default); false when it failed.
    std::function<bool(const BrowserLaunch &)> launch;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Availability { Unknown, Ready, Missing };

    void OutilsTester();
    void NavReload();
    void chooseBrowser(int index);
    void applyBrowserSettings();
    void showChoice();
    bool ensureEngine();
    void markMissing();
    void onBeforeNavigate(const QUrl &url);
    void onStatusText(const QString &text);
    void onCommandState(PreviewEngine::Command command, bool enabled);
    void updateAddressActions();
    QAction *action(const char *name) const;
    // An open document's file (compared resolved), other than except's.
    bool isOpenDocument(const QString &path, const TMyMwCustomEdit *except = nullptr) const;
    void dropOldCopy(TMyMwCustomEdit *editor, const QString &oldName, const QString &oldCaption);

    AppContext &m_ctx;
    QSplitter *m_area;
    MainStatusBar *m_status;
    TPreviewPanel *m_panel = nullptr;
    PreviewNavigation m_navigation;
    Availability m_availability = Availability::Unknown;
    bool m_shown = false;
    bool m_filtering = false;
    std::array<QAction *, 4> m_nav{};
    LivePreview *m_live = nullptr;
};
