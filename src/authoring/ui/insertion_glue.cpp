#include "authoring/ui/insertion_glue.h"

#include "app/app_settings.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "authoring/insertion.h"
#include "authoring/ui/save_img_box.h"

#include <QLineEdit>
#include <QMainWindow>

namespace Markup {

namespace {

// Editor columns count characters; the markup arithmetic counts UTF-16 units, which
// differ only for characters outside the basic plane. Columns past the line's end
// (virtual space) count one each in both.
Authoring::TextPos toCore(const TMyMwCustomEdit *e, const TextPos &p) {
    const QString line = e->lineAt(p.line - 1);
    int units = 0;
    int chars = 0;
    while (chars < p.col - 1 && units < line.size()) {
        units += (line.at(units).isHighSurrogate() && units + 1 < line.size()) ? 2 : 1;
        ++chars;
    }
    return {units + (p.col - 1 - chars) + 1, p.line};
}

TextPos toEditor(const TMyMwCustomEdit *e, const Authoring::TextPos &p) {
    const QString line = e->lineAt(p.line - 1);
    int units = 0;
    int chars = 0;
    while (units < p.column - 1 && units < line.size()) {
        units += (line.at(units).isHighSurrogate() && units + 1 < line.size()) ? 2 : 1;
        ++chars;
    }
    return {chars + (p.column - 1 - units) + 1, p.line};
}

// What a primitive replaces: the selection's ends, and the blanks that fill the
// virtual space between the end of the line and a caret standing beyond it (so that
// the markup lands where the caret shows).
struct Target {
    TextPos begin;
    TextPos end;
    QString fill;
};

Target currentTarget(const TMyMwCustomEdit *e) {
    Target t{e->blockBegin(), e->blockEnd(), {}};
    if (!e->selAvail()) {
        const TextPos caret = e->caretXY();
        if (caret.line == t.begin.line && caret.col > t.begin.col)
            t.fill = QString(caret.col - t.begin.col, QLatin1Char(' '));
    }
    return t;
}

// Suspends the repainting of an editor for the life of the object.
class RepaintFreeze {
public:
    explicit RepaintFreeze(QWidget *w) : m_w(w), m_was(w->updatesEnabled()) {
        m_w->setUpdatesEnabled(false);
    }
    ~RepaintFreeze() {
        m_w->setUpdatesEnabled(m_was);
        if (m_was) m_w->update();
    }
    RepaintFreeze(const RepaintFreeze &) = delete;
    RepaintFreeze &operator=(const RepaintFreeze &) = delete;

private:
    QWidget *m_w;
    bool m_was;
};

} // namespace

void WrapSelection(const AppContext &ctx, TMyMwCustomEdit *e, const QString &opening,
                   const QString &closing, bool raw) {
    if (!e) return;
    ctx.docs->mwCustomEdit1StatusChange(e);
    e->undoGroupBreak();

    const Target t = currentTarget(e);
    const Authoring::TextPos begin = toCore(e, t.begin);
    const Authoring::TextPos end = toCore(e, t.end);
    // The editor's selection runs from its anchor to its caret (a column selection
    // too), so the caret always stands at one of its ends: give it as the end.
    const Authoring::TextPos caret = end;
    const QString selected = e->textRange(t.begin, t.end);
    // Blanks are the same in either case, so the fill can lead the opening string.
    const Authoring::WrapEdit edit = Authoring::WrapSelection(
        begin, end, caret, selected, t.fill + opening, closing, raw, ctx.options->casse);

    e->replaceRange(t.begin, t.end, edit.text);
    e->selectRange(toEditor(e, edit.selStart), toEditor(e, edit.selEnd));
    e->ensureCaretVisible();
}

void InsertMarkup(const AppContext &ctx, TMyMwCustomEdit *e, const QString &text, bool raw) {
    if (!e) return;
    ctx.docs->mwCustomEdit1StatusChange(e);
    e->undoGroupBreak();
    const Target t = currentTarget(e);
    const Authoring::InsertEdit edit =
        Authoring::InsertMarkup(toCore(e, t.begin), text, raw, ctx.options->casse);
    e->replaceRange(t.begin, t.end, t.fill + edit.text);
    e->ensureCaretVisible();
}

void ReplaceDocumentText(TMyMwCustomEdit *e, const QString &text) {
    if (!e) return;
    const RepaintFreeze freeze(e);
    if (e->textCrLf() == text) return;
    e->undoGroupBreak();
    e->replaceRange({1, 1}, e->documentEnd(), text);
}

void SelectWholeLines(TMyMwCustomEdit *e) {
    if (!e) return;
    const TextPos end = e->blockEnd();
    const Authoring::LineRange r =
        Authoring::SelectWholeLines(toCore(e, e->blockBegin()), toCore(e, end), e->lines(),
                                    int(e->lineAt(end.line - 1).size()));
    e->selectRange(toEditor(e, r.start), toEditor(e, r.end));
}

QString XhtmlAdjust(const AppContext &ctx, const QString &piece) {
    return Authoring::XhtmlAdjust(piece, ctx.options->xhtml);
}

QString RelativeUrl(const AppContext &ctx, const QString &path) {
    const TMyMwCustomEdit *e = ctx.docs->ActiveEditor();
    return Authoring::RelativeUrl(path, e ? e->fileName : QString());
}

QString UrlEncode(const TMyMwCustomEdit *e, const QString &text) {
    const bool codePage = !e || e->encoding == TextEncoding::Windows1252;
    return Authoring::UrlEncode(text, codePage ? Authoring::UrlEncoding::Windows1252
                                               : Authoring::UrlEncoding::Utf8);
}

void PrepareFileDialog(const AppContext &ctx, FileDialogRequest &request) {
    const TMyMwCustomEdit *e = ctx.docs->ActiveEditor();
    request.startFolder = Authoring::FileDialogStartFolder(e ? e->fileName : QString(),
                                                           ctx.options->dossierParDefautSTR);
}

void SaveFirstPrompt(const AppContext &ctx) {
    const TMyMwCustomEdit *e = ctx.docs->ActiveEditor();
    if (ctx.options->saveCheck || !e || !e->fileName.isEmpty()) return;
    TSaveImgBox box(ctx.window);
    if (ui().execDialog(&box) == QDialog::Accepted) ctx.docs->FileSaveAs();
    ctx.options->saveCheck = box.dontAskAgain();
}

void SelectPathFolder(QLineEdit *field) {
    const int length = Authoring::PathFieldSelectionLength(field->text());
    if (length > 0)
        field->setSelection(0, length);
    else
        field->setCursorPosition(0);
    field->setFocus();
}

} // namespace Markup
