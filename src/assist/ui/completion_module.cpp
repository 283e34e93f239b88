#include "assist/ui/completion_module.h"

#include "app/app_settings.h"
#include "app/ui/document_host.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "assist/ui/completion_popup.h"
#include "editor/ui/highlight_lexer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>

CompletionModule::CompletionModule(AppContext &ctx, DocumentTypeModule *types)
    : QObject(ctx.window), m_ctx(ctx), m_types(types), m_popup(new CompletionPopup(ctx.window)) {
    m_trigger.setSingleShot(true);
    m_trigger.setInterval(TriggerDelayMs);
    connect(&m_trigger, &QTimer::timeout, this, [this] {
        if (m_triggerEditor) SynCompExecute(m_triggerEditor);
    });
    connect(m_popup, &CompletionPopup::rowChanged, this,
            [this](int row) { m_engine.rowChanged(row); });
    connect(m_popup, &CompletionPopup::rowActivated, this, [this](int row) {
        m_popup->selectRow(row);
        accept(QChar());
    });
    connect(types, &DocumentTypeModule::highlighterChanged, this, [this](TMyMwCustomEdit *e) {
        const int h = m_types->highlighterOf(e);
        if (m_ctx.options->compHTML &&
            (h == DocumentTypes::SynMultiSynHTML || h == DocumentTypes::SynMultiSynASP ||
             h == DocumentTypes::SynMultiSynPHP))
            attach(e);
    });
    connect(ctx.events, &AppEvents::activeEditorChanged, this, [this](TMyMwCustomEdit *e) {
        close();
        if (e && m_ctx.options->compHTML) attach(e);
    });
    connect(ctx.events, &AppEvents::preferencesApplied, this, &CompletionModule::applyPreference);
    connect(ctx.events, &AppEvents::editorClosing, this, [this](TMyMwCustomEdit *e) {
        if (m_editor == e) close();
        m_attached.remove(e);
    });
}

bool CompletionModule::isAttached(const TMyMwCustomEdit *editor) const {
    return m_attached.contains(const_cast<TMyMwCustomEdit *>(editor));
}

void CompletionModule::attach(TMyMwCustomEdit *editor) {
    if (!editor || m_attached.contains(editor)) return;
    m_attached.insert(editor);
    editor->installEventFilter(this);
    connect(editor, &QObject::destroyed, this, [this, editor] { m_attached.remove(editor); });
}

void CompletionModule::detach(TMyMwCustomEdit *editor) {
    if (!m_attached.remove(editor)) return;
    editor->removeEventFilter(this);
    if (m_editor == editor) close();
}

void CompletionModule::applyPreference() {
    for (int i = 0; i < m_ctx.docs->EditorCount(); ++i) {
        TMyMwCustomEdit *e = m_ctx.docs->EditorAt(i);
        if (m_ctx.options->compHTML)
            attach(e);
        else
            detach(e);
    }
}

namespace {
using Sci = QsciScintillaBase;

qsizetype currentPos(TMyMwCustomEdit *editor) {
    return editor->SendScintilla(Sci::SCI_GETCURRENTPOS);
}

qsizetype lineOf(TMyMwCustomEdit *editor, qsizetype pos) {
    return editor->SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
}

// Bytes of the text read in place: while the user types, the editor's gap is at the
// caret, so a range that ends there is had without moving the text.
const char *bytesAt(TMyMwCustomEdit *editor, qsizetype from, qsizetype n) {
    return reinterpret_cast<const char *>(editor->SendScintilla(
        Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), static_cast<long>(n)));
}
} // namespace

// Only the caret's line is read, and of it only what follows its last ">".
Completion::LineTail CompletionModule::tailLeftOfCaret(TMyMwCustomEdit *editor,
                                                       qsizetype *lineStart) const {
    const qsizetype caret = currentPos(editor);
    *lineStart = editor->SendScintilla(Sci::SCI_POSITIONFROMLINE,
                                       static_cast<unsigned long>(lineOf(editor, caret)));
    const qsizetype n = caret - *lineStart;
    return Completion::lineTail(n > 0 ? bytesAt(editor, *lineStart, n) : "", n);
}

QString CompletionModule::runText(TMyMwCustomEdit *editor, qsizetype caret) const {
    const qsizetype n = caret - m_runPos;
    return n > 0 ? QString::fromUtf8(bytesAt(editor, m_runPos, n), n) : QString();
}

bool CompletionModule::htmlAtCaret(TMyMwCustomEdit *editor) const {
    HighlightLexer *lexer = DocumentTypeModule::lexerOf(editor);
    if (!lexer) return false;
    const int pos = int(editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
    const Highlighter *h = lexer->languageAt(pos);
    return h && h->language() == Language::Html;
}

bool CompletionModule::SynCompExecute(TMyMwCustomEdit *editor) {
    m_trigger.stop();
    qsizetype lineStart = 0;
    const Completion::LineTail left = tailLeftOfCaret(editor, &lineStart);
    // The end set is fixed by the switches as the last opening left them.
    const bool wordBreak = m_engine.wordBreak();
    if (!m_engine.execute(left.ElementBeforeCaret(), htmlAtCaret(editor), left.charLeft(),
                          m_ctx.options->casse)) {
        close();
        return false;
    }
    m_editor = editor;
    m_endSet = Completion::endSet(m_engine.list(), wordBreak);
    const qsizetype caret = currentPos(editor);
    m_runLine = lineOf(editor, caret);
    m_runPos = lineStart + left.typedRunStart(m_endSet);
    m_popup->setList(m_engine.list());
    m_popup->selectRow(Completion::selectRow(m_engine.list(), runText(editor, caret)));
    const QPoint at(
        int(editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, static_cast<long>(m_runPos))),
        int(editor->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, static_cast<long>(m_runPos))));
    m_popup->showAt(editor->mapToGlobal(at + QPoint(0, editor->lineHeight())),
                    editor->lineHeight());
    return true;
}

void CompletionModule::close() {
    m_editor = nullptr;
    if (m_popup->isVisible()) m_popup->hide();
}

// The run typed since the opening, or close when the caret left it.
void CompletionModule::followRun() {
    if (!m_editor || !m_popup->isVisible()) return;
    const qsizetype caret = currentPos(m_editor);
    if (caret < m_runPos || lineOf(m_editor, caret) != m_runLine || m_editor->selAvail()) {
        close();
        return;
    }
    m_popup->selectRow(Completion::selectRow(m_engine.list(), runText(m_editor, caret)));
}

// The title row chooses nothing: the list closes and the text stays as typed.
void CompletionModule::accept(QChar endChar) {
    TMyMwCustomEdit *editor = m_editor;
    const int row = m_popup->selectedRow();
    if (!editor || row <= 0 || row >= int(m_engine.list().rows.size()) ||
        currentPos(editor) < m_runPos) {
        close();
        return;
    }
    const QByteArray insert = m_engine.list().rows[size_t(row)].insert.toUtf8();
    qsizetype lineStart = 0;
    const QString fragment = tailLeftOfCaret(editor, &lineStart).ElementBeforeCaret();
    m_engine.accepted(endChar, fragment, htmlAtCaret(editor), m_ctx.options->casse);
    close();
    const qsizetype caret = currentPos(editor);
    editor->SendScintilla(Sci::SCI_BEGINUNDOACTION);
    editor->SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(m_runPos),
                          static_cast<long>(caret));
    editor->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(insert.size()),
                          insert.constData());
    editor->SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(m_runPos + insert.size()));
    editor->SendScintilla(Sci::SCI_ENDUNDOACTION);
}

bool CompletionModule::handleKey(TMyMwCustomEdit *editor, QKeyEvent *k) {
    const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
    if (k->key() == Qt::Key_Space && mods == Qt::ControlModifier) {
        SynCompExecute(editor);
        return true;
    }
    if (!m_popup->isVisible() || m_editor != editor) {
        // Any further key cancels a pending opening; "<" and ">" start one.
        m_trigger.stop();
        const QString text = k->text();
        if (text == QLatin1String("<") || text == QLatin1String(">")) {
            m_triggerEditor = editor;
            m_trigger.start();
        }
        return false;
    }
    switch (k->key()) {
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Up:
        m_popup->moveSelection(-1);
        return true;
    case Qt::Key_Down:
        m_popup->moveSelection(1);
        return true;
    case Qt::Key_PageUp:
        m_popup->moveSelection(-m_popup->visibleRows());
        return true;
    case Qt::Key_PageDown:
        m_popup->moveSelection(m_popup->visibleRows());
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_popup->selectedRow() <= 0) {
            // No row chosen: the key does what it does without the list.
            close();
            return false;
        }
        accept(QChar());
        return true;
    case Qt::Key_Backspace:
        return typeThenFollow(editor, k);
    default:
        break;
    }
    const QString text = k->text();
    if (text.size() != 1 || !text.at(0).isPrint() || (mods & Qt::ControlModifier)) {
        if (k->key() != Qt::Key_Shift && k->key() != Qt::Key_Control && k->key() != Qt::Key_Alt)
            close();
        return false;
    }
    switch (Completion::typedCharacter(text.at(0), m_endSet, m_engine.endAcceptance())) {
    case Completion::KeyOutcome::Accept:
        accept(text.at(0));
        break;
    case Completion::KeyOutcome::Close:
        close();
        break;
    case Completion::KeyOutcome::Extend:
        return typeThenFollow(editor, k);
    }
    // A ">" typed now may open the element list again.
    if (text == QLatin1String(">") || text == QLatin1String("<")) {
        m_triggerEditor = editor;
        m_trigger.start();
    }
    return false;
}

// Lets the editor type the key now, then selects the row the new run names.
bool CompletionModule::typeThenFollow(TMyMwCustomEdit *editor, QKeyEvent *k) {
    // Sent again so that the editor's other filters (conversions while typing)
    // still see the key; this filter lets it pass.
    QKeyEvent copy(k->type(), k->key(), k->modifiers(), k->text(), k->isAutoRepeat(),
                   ushort(k->count()));
    m_forwarding = true;
    QCoreApplication::sendEvent(editor, &copy);
    m_forwarding = false;
    followRun();
    return true;
}

bool CompletionModule::eventFilter(QObject *watched, QEvent *event) {
    auto *editor = qobject_cast<TMyMwCustomEdit *>(watched);
    if (m_forwarding || !editor || !m_attached.contains(editor)) return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKey(editor, static_cast<QKeyEvent *>(event));
    case QEvent::ShortcutOverride: {
        // While the list is open, its keys are the editor's, not the window's.
        auto *k = static_cast<QKeyEvent *>(event);
        const bool spaceChord = k->key() == Qt::Key_Space && k->modifiers() == Qt::ControlModifier;
        if (spaceChord || (m_popup->isVisible() && m_editor == editor &&
                           (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Tab ||
                            k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter))) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::FocusOut:
        // Some window systems hand the focus to the list's window when it shows.
        if (m_editor == editor && QApplication::activeWindow() == m_popup) {
            editor->activateWindow();
            editor->setFocus();
            return false;
        }
        if (m_editor == editor) close();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::Hide:
        if (m_editor == editor) close();
        return false;
    default:
        return false;
    }
}
