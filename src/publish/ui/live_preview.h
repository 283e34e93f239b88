#pragma once

#include "app/ui/app_context.h"
#include "publish/live_copy.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <optional>

class PreviewCommands;
class QAction;
class TMyMwCustomEdit;

// The preview that follows the typing (`NavDirect`) and the caret (`NavSuivreCurseur`):
// the panel's copy of the page is rewritten when typing pauses, away from the window,
// with the unsaved style sheets and scripts it links to, and shown at the scroll
// position the page had.
class LivePreview : public QObject {
    Q_OBJECT
public:
    // Larger pages are refreshed by hand only.
    static constexpr qsizetype kLargePage = 2 * 1024 * 1024;
    static constexpr int kTypingPauseMs = 300;

    LivePreview(AppContext &ctx, PreviewCommands &commands);
    ~LivePreview() override;

    bool live() const;
    bool followingCaret() const;
    // Whether the panel's copy is written by this module (with the additions it needs).
    bool active() const { return live() || followingCaret(); }
    // Writes the panel's copy of the page and shows it, keeping the scroll position;
    // by hand (Tester, Recharger) a page too large for live refresh is written too.
    void refresh(TMyMwCustomEdit *page, bool byHand);
    // The panel went from hidden to shown.
    void panelAppeared();
    // The engine finished a load.
    void loadFinished(bool ok);

private:
    void setLive(bool on);
    void setFollowingCaret(bool on);
    void readSettings();
    void track(TMyMwCustomEdit *e);
    void textChanged(TMyMwCustomEdit *e);
    void activeChanged(TMyMwCustomEdit *e);
    bool linked(const TMyMwCustomEdit *e) const;
    bool panelFollows() const;
    PanelCopyJob makeJob(TMyMwCustomEdit *page) const;
    void startWriting(PanelCopyJob job);
    void written(int generation, const QString &copy, const PanelCopyResult &result, bool byHand);
    void show(const QString &copy);
    void scrollToCaret();
    void setNotice(const QString &text);

    AppContext &m_ctx;
    PreviewCommands &m_commands;
    QAction *m_live;
    QAction *m_follow;
    QTimer m_typing;
    QTimer m_caret;
    QPointer<TMyMwCustomEdit> m_page;
    QStringList m_linkedFiles;
    QThreadPool m_pool;
    bool m_writing = false;
    // Counts the writes started; a result of an older one is ignored.
    int m_generation = 0;
    std::optional<PanelCopyJob> m_waiting;
    // A load of ours not finished yet: the scroll wanted is still the one before it.
    bool m_loading = false;
    QPoint m_scroll;
};
