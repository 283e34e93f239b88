#pragma once

#include "app/ui/app_context.h"
#include "assist/completion.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

class CompletionPopup;
class DocumentTypeModule;
class TMyMwCustomEdit;
class QKeyEvent;

// Tag and attribute completion in the editors: one pop-up for every editor it
// is attached to (the HTML, ASP and PHP types and the active tab while CompHTML
// is on). "<" and ">" open it after 40 ms unless another key comes first;
// Ctrl+Space opens it at once.
class CompletionModule : public QObject {
    Q_OBJECT
public:
    CompletionModule(AppContext &ctx, DocumentTypeModule *types);

    static constexpr int TriggerDelayMs = 40;

    bool isAttached(const TMyMwCustomEdit *editor) const;
    CompletionPopup *popup() const { return m_popup; }
    // SynCompExecute for the editor: opens the pop-up when the rules allow it.
    bool SynCompExecute(TMyMwCustomEdit *editor);
    // Whether the language at the editor's caret is HTML.
    bool htmlAtCaret(TMyMwCustomEdit *editor) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void attach(TMyMwCustomEdit *editor);
    void detach(TMyMwCustomEdit *editor);
    void applyPreference();
    bool handleKey(TMyMwCustomEdit *editor, QKeyEvent *key);
    void close();
    void accept(QChar endChar);
    void followRun();
    bool typeThenFollow(TMyMwCustomEdit *editor, QKeyEvent *k);
    Completion::LineTail tailLeftOfCaret(TMyMwCustomEdit *editor, qsizetype *lineStart) const;
    QString runText(TMyMwCustomEdit *editor, qsizetype caret) const;

    AppContext &m_ctx;
    DocumentTypeModule *m_types;
    CompletionPopup *m_popup;
    Completion::Engine m_engine;
    QSet<TMyMwCustomEdit *> m_attached;
    QTimer m_trigger;
    QPointer<TMyMwCustomEdit> m_triggerEditor;
    QPointer<TMyMwCustomEdit> m_editor; // the editor the pop-up is open for
    QString m_endSet;
    // Where the typed run starts, as a byte position, and its line (from 0): a key
    // while the list is open reads only the run, never its whole line.
    qsizetype m_runPos = 0;
    qsizetype m_runLine = 0;
    bool m_forwarding = false;
};
