#pragma once

#include "app/ui/app_context.h"
#include "assist/page_checker.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class DocumentTypeModule;
class MultiHighlighter;
class PageCheckPanel;
class PageCheckThread;
class QAction;
class QTimer;
class QToolButton;
class SlicedCopy;

// The page checked as one types: when typing pauses, a copy of the active HTML,
// PHP or ASP document goes to a worker thread; its findings are underlined in
// the editor, listed in the "Vérification" panel and counted in the status bar.
// A result for a text that has changed since is dropped. "Vérifier la page"
// checks at once; "Vérifier pendant la frappe" (remembered) turns the pauses'
// check on and off.
class PageCheckModule : public QObject {
    Q_OBJECT
public:
    // The editing component's indicator of the findings.
    static constexpr int Indicator = 20;
    // Typing pauses this long before a check.
    static constexpr int PauseMs = 500;
    // The most findings shown.
    static constexpr int Limit = 5000;
    // The copy of a larger text is taken this much at a time, between keystrokes.
    static constexpr qsizetype CopyStepBytes = 2 << 20;

    PageCheckModule(AppContext &ctx, DocumentTypeModule *types);
    ~PageCheckModule() override;

    PageCheckPanel *panel() const { return m_panel; }
    // The copy for the next check is being taken.
    bool copying() const;
    void checkNow();

signals:
    // A result was shown (tests, the benchmark).
    void resultShown(TMyMwCustomEdit *editor, double workerMs);

private:
    struct State {
        quint64 revision = 0; // text changes so far
        bool checked = false; // `result` is for the text as it is
        bool hasResult = false; // `result` is for this text, maybe as it was
        PageCheck::Result result;
        SlicedCopy *copy = nullptr; // the editor's
    };

    const MultiHighlighter *pageOf(TMyMwCustomEdit *e) const;
    void attach(TMyMwCustomEdit *e);
    void textChanged(TMyMwCustomEdit *e);
    void start(TMyMwCustomEdit *e);
    void received(quint64 id, const PageCheck::Result &result, double workerMs, double cpuMs);
    void showActive();
    void clear(TMyMwCustomEdit *e);
    void setTyping(bool on);
    void showPanel();

    AppContext &m_ctx;
    DocumentTypeModule *m_types;
    PageCheckThread *m_thread;
    QTimer *m_pause;
    QAction *m_now;
    QAction *m_typing;
    PageCheckPanel *m_panel;
    QToolButton *m_count;
    QHash<TMyMwCustomEdit *, State> m_states;
    // The check under way: its editor and the revision of the text it was given.
    QPointer<TMyMwCustomEdit> m_running;
    quint64 m_runningRevision = 0;
    // The editor whose text is being copied for the next check.
    QPointer<TMyMwCustomEdit> m_copying;
    quint64 m_nextId = 0;
    bool m_panelSized = false;
};
