#include "assist/ui/rewrite_commands.h"

#include "app/app_settings.h"
#include "app/document_types.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/main_status_bar.h"
#include "app/ui/ui_services.h"
#include "assist/accent_pieces.h"
#include "assist/accents.h"
#include "assist/document_rewrites.h"
#include "assist/file_rewrites.h"
#include "assist/text_transforms.h"
#include "assist/ui/accents_conv_boite.h"
#include "assist/ui/rewrite_icons.h"
#include "assist/ui/selection_rewrite.h"
#include "authoring/ui/insertion_glue.h"
#include "editor/multi_highlighter.h"
#include "editor/ui/highlight_lexer.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPointer>
#include <QProgressDialog>
#include <QStatusBar>

#include <cstring>
#include <memory>

namespace {

const QString kModifier = QStringLiteral("Modifier");
const QString kEdit = QStringLiteral("Edit");
const QString kOutils = QStringLiteral("Outils");

// Keeps a wait cursor for the life of the object.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

bool spansLines(const TMyMwCustomEdit *e) {
    return e && e->selAvail() && e->blockBegin().line != e->blockEnd().line;
}

// Typed characters inside a style sheet or script stay characters: a reference
// means nothing there.
bool inRawTextRegion(TMyMwCustomEdit *e) {
    auto *lexer = qobject_cast<HighlightLexer *>(e->lexer());
    if (!lexer) return false;
    const Highlighter *h = lexer->languageAt(e->positionFromXY(e->blockBegin()));
    if (!h) return false;
    const Language l = h->language();
    return l == Language::Css || l == Language::JavaScript || l == Language::VBScript;
}

// The progress of a rewrite of a whole document. Past a moment, a window-modal
// dialog shows it with an "Annuler" that stops the rewrite; before that no event
// is handled, so that no key reaches the window while the text is being read.
class WholeDocumentProgress {
public:
    WholeDocumentProgress(QWidget *window, const QString &title, const QString &label)
        : m_window(window), m_title(title), m_label(label) {
        m_clock.start();
    }
    ~WholeDocumentProgress() {
        if (m_dialog) QApplication::restoreOverrideCursor();
    }
    WholeDocumentProgress(const WholeDocumentProgress &) = delete;
    WholeDocumentProgress &operator=(const WholeDocumentProgress &) = delete;
    bool operator()(qsizetype done, qsizetype total) {
        if (!m_dialog) {
            if (m_clock.elapsed() < RewriteCommands::ProgressDelay) return true;
            m_dialog = std::make_unique<QProgressDialog>(m_label, QStringLiteral("Annuler"), 0,
                                                         1000, m_window);
            m_dialog->setObjectName(QStringLiteral("RewriteProgress"));
            m_dialog->setWindowTitle(m_title);
            m_dialog->setWindowModality(Qt::WindowModal);
            m_dialog->setAutoClose(false);
            m_dialog->setAutoReset(false);
            m_dialog->setMinimumDuration(0);
            m_dialog->show();
            // The pointer, not the wait cursor, over the button that stops.
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
        // A few times a second is enough to move the bar and see "Annuler".
        if (m_shown.isValid() && m_shown.elapsed() < 100) return !m_dialog->wasCanceled();
        m_shown.start();
        m_dialog->setValue(int(done * 1000 / std::max<qsizetype>(1, total)));
        QCoreApplication::processEvents();
        return !m_dialog->wasCanceled();
    }

    // The new text is ready to go into the document, which cannot be stopped: a
    // last chance to stop first. False when the user did.
    bool complete() {
        if (!m_dialog) return true;
        QCoreApplication::processEvents();
        if (m_dialog->wasCanceled()) return false;
        m_dialog->setCancelButton(nullptr);
        m_dialog->setValue(m_dialog->maximum());
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }

private:
    QWidget *m_window;
    QString m_title;
    QString m_label;
    QElapsedTimer m_clock;
    QElapsedTimer m_shown; // since the dialog last took events
    std::unique_ptr<QProgressDialog> m_dialog;
};

// The editor's text for a rewrite that may let events run: a copy, and whether the
// document changed meanwhile (a reload from the disk), in which case the result is
// dropped.
class TextSnapshot {
public:
    explicit TextSnapshot(TMyMwCustomEdit *e)
        : m_editor(e), m_text(e->utf8Data(), e->utf8Length()) {
        m_watch = QObject::connect(e, &TMyMwCustomEdit::textChanging, [this] { m_changed = true; });
    }
    ~TextSnapshot() { QObject::disconnect(m_watch); }
    const QByteArray &text() const { return m_text; }
    // The editor is still there and holds the same text.
    bool stillValid() const { return m_editor && !m_changed; }

private:
    QPointer<TMyMwCustomEdit> m_editor;
    QByteArray m_text;
    bool m_changed = false;
    QMetaObject::Connection m_watch;
};

// Replaces a whole document (bytes in its own line breaks) as one undo step, keeping
// the caret's line and the view where they were: a caret sent to the end would have
// the whole page coloured before the window is drawn again. The caret goes to the
// start of its line, since its column may now fall inside a reference.
void replaceKeepingPlace(TMyMwCustomEdit *e, const QByteArray &bytes) {
    const int line = e->caretXY().line;
    const int top = e->topLine();
    e->undoGroupBreak();
    if (!e->replaceAllUtf8(bytes)) return;
    e->setCaretXY({1, line});
    e->setTopLine(top);
}

} // namespace

RewriteCommands::RewriteCommands(AppContext &ctx, const DocumentTypes &types)
    : QObject(ctx.window), m_ctx(ctx), m_types(types) {
    addAccentCommands();
    addCaseCommands();
    addBlockCommands();
    addLineBreakCommands();
    addIndenter();
    for (QAction *a : m_ctx.actions->actions()) {
        const QIcon icon = RewriteCommandIcon(a->objectName());
        if (!icon.isNull() && a->icon().isNull()) a->setIcon(icon);
    }
    connect(ctx.events, &AppEvents::editorCreated, this,
            [this](TMyMwCustomEdit *e) { e->installEventFilter(this); });
}

// ---- accents ----

void RewriteCommands::addAccentCommands() {
    ActionRegistry &r = *m_ctx.actions;
    QAction *to = r.add(QStringLiteral("ModifierConversion"),
                        QStringLiteral("&Conversion des accents (Texte > HTML)"), {}, kModifier);
    connect(to, &QAction::triggered, this, [this] { convertAccents(true); });
    QAction *back =
        r.add(QStringLiteral("ModifierDeconversion"),
              QStringLiteral("&Déconversion des accents (HTML > Texte)"), {}, kModifier);
    connect(back, &QAction::triggered, this, [this] { convertAccents(false); });
    QAction *typing = r.add(QStringLiteral("ModifierConvVolee"),
                            QStringLiteral("Remplacement des accents à la &volée"), {}, kModifier);
    typing->setToolTip(QStringLiteral("Modifier les accents à la volée"));
    typing->setStatusTip(typing->toolTip());
    typing->setCheckable(true);
    connect(typing, &QAction::toggled, this, [this](bool on) { m_typing = on; });
    r.addUpdate([this, to, back] {
        const bool editor = m_ctx.docs->ActiveEditor() != nullptr;
        to->setEnabled(editor);
        back->setEnabled(editor);
    });
}

void RewriteCommands::convertAccents(bool toReferences) {
    QPointer<TMyMwCustomEdit> active = m_ctx.docs->ActiveEditor();
    if (!active) return;
    AccentScope scope = AccentScope::Document;
    {
        TAccentsConvBoite dialog(m_ctx.window);
        dialog.prepare(toReferences, active->selAvail());
        if (ui().execDialog(&dialog) != QDialog::Accepted || !active) return;
        scope = dialog.scope();
    }
    const Assist::AccentDirection direction = toReferences ? Assist::AccentDirection::ToReferences
                                                           : Assist::AccentDirection::ToCharacters;
    const bool named = m_ctx.options->caracteresAlphabetiques;
    const Assist::RawTextRegions regions(
        static_cast<const MultiHighlighter *>(m_types.highlighter(DocumentTypes::SynMultiSynHTML)));
    const WaitCursor wait;

    // False when the user stopped it.
    auto wholeDocument = [&](TMyMwCustomEdit *e) {
        const TextSnapshot snapshot(e);
        WholeDocumentProgress progress(m_ctx.window, QStringLiteral("Accents"),
                                       toReferences
                                           ? QStringLiteral("Conversion des accents...")
                                           : QStringLiteral("Déconversion des accents..."));
        const Assist::TextRewrite out = Assist::ConvertAccentsInText(
            snapshot.text().constData(), snapshot.text().size(), e->lineBreak, direction, named,
            regions, std::ref(progress));
        if (out.cancelled || (out.changed && !progress.complete())) {
            m_ctx.window->statusBar()->showMessage(
                QStringLiteral("Conversion des accents annulée : document inchangé"), 15000);
            return false;
        }
        if (out.changed && snapshot.stillValid()) replaceKeepingPlace(e, out.text);
        return true;
    };

    switch (scope) {
    case AccentScope::Selection:
        // A column selection's pieces in one pass over the text.
        RewriteSelectionPieces(active, [&](const char *s, qsizetype n,
                                           const QList<std::pair<qsizetype, qsizetype>> &pieces) {
            return Assist::ConvertAccentPieces(s, n, pieces, direction, named, regions);
        });
        break;
    case AccentScope::Document:
        wholeDocument(active);
        break;
    case AccentScope::AllDocuments: {
        auto *status = qobject_cast<MainStatusBar *>(m_ctx.window->statusBar());
        const int count = m_ctx.docs->EditorCount();
        if (status) status->ShowProgress(count);
        for (int i = 0; i < count; ++i) {
            if (TMyMwCustomEdit *e = m_ctx.docs->EditorAt(i); e && !wholeDocument(e)) break;
            if (status) status->StepProgress(i + 1);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        if (status) status->HideProgress();
        break;
    }
    }
    if (active) m_ctx.docs->mwCustomEdit1StatusChange(active);
    emit m_ctx.events->stateChanged();
}

bool RewriteCommands::ConvertTypedCharacter(TMyMwCustomEdit *e, const QString &typed) {
    if (!m_typing || typed.size() != 1 || e->isReadOnly()) return false;
    const QString reference = Assist::TypedCharacterReference(
        typed.at(0).unicode(), m_ctx.options->caracteresAlphabetiques);
    if (reference.isEmpty() || inRawTextRegion(e)) return false;
    Markup::InsertMarkup(m_ctx, e, reference, true);
    return true;
}

// ---- case changes and percent-encoding ----

void RewriteCommands::addCaseCommands() {
    ActionRegistry &r = *m_ctx.actions;
    const struct {
        const char *name;
        QString caption;
        Assist::CaseChange change;
    } commands[] = {
        {"ModifierMAJ", QStringLiteral("Majuscules"), Assist::CaseChange::Upper},
        {"ModifierMin", QStringLiteral("Minuscules"), Assist::CaseChange::Lower},
        {"ModifierInverser", QStringLiteral("Inverser"), Assist::CaseChange::Invert},
        {"ModifierCapitalize", QStringLiteral("Capitaliser"), Assist::CaseChange::Capitalize},
        {"ModifierSensitif", QStringLiteral("Sensitif"), Assist::CaseChange::Sentence},
    };
    QList<QAction *> needSelection;
    for (const auto &c : commands) {
        QAction *a = r.add(QString::fromLatin1(c.name), c.caption, {}, kModifier);
        connect(a, &QAction::triggered, this, [this, change = c.change] {
            TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
            if (!e) return;
            const bool cp1252 = e->encoding == TextEncoding::Windows1252;
            RewriteSelection(e, [&](const char *s, qsizetype, qsizetype from, qsizetype to) {
                return Assist::ChangeCase(QString::fromUtf8(s + from, to - from), change, cp1252)
                    .toUtf8();
            });
            m_ctx.docs->mwCustomEdit1StatusChange(e);
        });
        needSelection << a;
    }
    QAction *url = r.add(QStringLiteral("OutilsEncodeURL"),
                         QStringLiteral("Encoder la chaîne de caractères"), {}, kOutils);
    connect(url, &QAction::triggered, this, [this] {
        TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
        if (!e || !e->selAvail()) return;
        Markup::InsertMarkup(m_ctx, e, Markup::UrlEncode(e, e->selText()), true);
    });
    needSelection << url;
    r.addUpdate([this, needSelection] {
        const TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
        const bool on = e && e->selAvail();
        for (QAction *a : needSelection)
            a->setEnabled(on);
    });
}

// ---- block indent ----

void RewriteCommands::addBlockCommands() {
    ActionRegistry &r = *m_ctx.actions;
    // Tab and Shift+Tab reach these through the editors' key hook (below), never as
    // window shortcuts, so that the editor keeps its own Tab and the completion list
    // its keys; the menu shows the keys after the tab character.
    QAction *indent =
        r.add(QStringLiteral("EditIndent"), QStringLiteral("Indenter le bloc"), {}, kEdit);
    QAction *unindent =
        r.add(QStringLiteral("EditIndentInv"), QStringLiteral("Réduire le bloc"), {}, kEdit);
    indent->setText(QStringLiteral("Indenter le bloc\tTab"));
    unindent->setText(QStringLiteral("Réduire le bloc\tMaj+Tab"));
    auto run = [this](bool un) {
        return [this, un] {
            TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
            if (!spansLines(e)) return;
            Markup::SelectWholeLines(e);
            e->undoGroupBreak();
            e->SendScintilla(un ? QsciScintillaBase::SCI_BACKTAB : QsciScintillaBase::SCI_TAB);
            m_ctx.docs->mwCustomEdit1StatusChange(e);
        };
    };
    connect(indent, &QAction::triggered, this, run(false));
    connect(unindent, &QAction::triggered, this, run(true));
    r.addUpdate([this, indent, unindent] {
        const bool on = spansLines(m_ctx.docs->ActiveEditor());
        indent->setEnabled(on);
        unindent->setEnabled(on);
    });
}

bool RewriteCommands::blockIndentKey(TMyMwCustomEdit *e, bool unindent) {
    if (e->isListActive() || !spansLines(e)) return false;
    m_ctx.actions->action(unindent ? QStringLiteral("EditIndentInv") : QStringLiteral("EditIndent"))
        ->trigger();
    return true;
}

bool RewriteCommands::eventFilter(QObject *watched, QEvent *event) {
    auto *e = qobject_cast<TMyMwCustomEdit *>(watched);
    if (!e) return false;
    if (event->type() == QEvent::InputMethod) {
        // Characters composed with dead keys arrive this way.
        auto *im = static_cast<QInputMethodEvent *>(event);
        return im->preeditString().isEmpty() && im->replacementLength() == 0 &&
               ConvertTypedCharacter(e, im->commitString());
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Tab && mods == Qt::NoModifier) return blockIndentKey(e, false);
    if (key->key() == Qt::Key_Backtab && (mods & ~Qt::ShiftModifier) == Qt::NoModifier)
        return blockIndentKey(e, true);
    if (!(mods & (Qt::ControlModifier | Qt::AltModifier)) ||
        mods == (Qt::ControlModifier | Qt::AltModifier))
        return ConvertTypedCharacter(e, key->text());
    return false;
}

// ---- line-break style ----

void RewriteCommands::addLineBreakCommands() {
    ActionRegistry &r = *m_ctx.actions;
    const struct {
        const char *name;
        QString caption;
        LineBreak style;
    } styles[] = {{"EditBRWin", QStringLiteral("Windows (CRLF)"), LineBreak::CrLf},
                  {"EditBRLinux", QStringLiteral("Linux (LF)"), LineBreak::Lf},
                  {"EditBRMac", QStringLiteral("Mac (CR)"), LineBreak::Cr}};
    QList<std::pair<QAction *, LineBreak>> actions;
    for (const auto &s : styles) {
        QAction *a = r.add(QString::fromLatin1(s.name), s.caption, {}, kEdit);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, style = s.style] { setLineBreak(style); });
        actions.append({a, s.style});
    }
    r.addUpdate([this, actions] {
        const TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
        for (const auto &[a, style] : actions) {
            a->setEnabled(e != nullptr);
            a->setChecked(e && e->lineBreak == style);
        }
    });
}

void RewriteCommands::setLineBreak(LineBreak style) {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (e && e->lineBreak != style) {
        e->lineBreak = style;
        e->setEolMode(style == LineBreak::CrLf ? QsciScintilla::EolWindows
                      : style == LineBreak::Lf ? QsciScintilla::EolUnix
                                               : QsciScintilla::EolMac);
        m_ctx.docs->mwCustomEdit1StatusChange(e);
    }
    emit m_ctx.events->stateChanged();
}

// ---- HTML indenter ----

void RewriteCommands::addIndenter() {
    QAction *a = m_ctx.actions->add(QStringLiteral("OutilsIndenter"),
                                    QStringLiteral("Indenter le code HTML"), {}, kOutils);
    connect(a, &QAction::triggered, this, &RewriteCommands::OutilsIndenter);
    m_ctx.actions->addUpdate([this, a] { a->setEnabled(m_ctx.docs->ActiveEditor() != nullptr); });
}

void RewriteCommands::OutilsIndenter() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    const WaitCursor wait;
    // The text as bytes, in the document's own line breaks: large pages never go
    // through a UTF-16 copy, and an unchanged document gets no undo step.
    const TextSnapshot snapshot(e);
    WholeDocumentProgress progress(m_ctx.window, QStringLiteral("Indenter le code HTML"),
                                   QStringLiteral("Indentation du code HTML..."));
    const Assist::TextRewrite out =
        Assist::IndentText(snapshot.text().constData(), snapshot.text().size(), e->lineBreak,
                           e->preferences().tabsToSpaces, e->tabWidth(), std::ref(progress));
    if (out.cancelled || (out.changed && !progress.complete())) {
        m_ctx.window->statusBar()->showMessage(
            QStringLiteral("Indentation annulée : document inchangé"), 15000);
        return;
    }
    if (!snapshot.stillValid()) return;
    if (out.changed) replaceKeepingPlace(e, out.text);
    if (out.failure.stop != THtmlIndenter::Stop::None) {
        const QString reason = Assist::IndentStopReason(out.failure);
        m_ctx.window->statusBar()->showMessage(
            out.failure.atEnd
                ? QStringLiteral("Indentation terminée : %1").arg(reason)
                : QStringLiteral("Indentation arrêtée à la ligne %1 : %2, suite inchangée")
                      .arg(out.failure.line)
                      .arg(reason),
            15000);
    }
    m_ctx.docs->mwCustomEdit1StatusChange(e);
}
