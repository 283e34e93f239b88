#pragma once

#include "app/ui/app_context.h"

#include <QPointer>
#include <QString>

#include <exception>
#include <memory>

class QLineEdit;
class QWidget;
class TMyMwCustomEdit;
struct FileDialogRequest;

// The insertion primitives applied to an editor view: every markup command goes
// through these, so that undo steps, tag case, caret and selection behave alike.
// They read the options (Casse...) from the context and refresh the status bar
// through its documents.
namespace Markup {

// Puts `opening` and `closing` around the selection (or at the caret). The selected
// text stays selected between them; with no selection the caret stands between.
// One undo step. Unless `raw`, the two strings (never the selected text) get the
// tag case.
void WrapSelection(const AppContext &ctx, TMyMwCustomEdit *editor, const QString &opening,
                   const QString &closing, bool raw);

// Replaces the selection (or inserts at the caret) with `text`; the caret ends after
// it with nothing selected. One undo step.
void InsertMarkup(const AppContext &ctx, TMyMwCustomEdit *editor, const QString &text, bool raw);

// Replaces the whole text (CR LF between lines) as one undo step; nothing happens,
// and no undo step is added, when the text is already the same.
void ReplaceDocumentText(TMyMwCustomEdit *editor, const QString &text);

// Widens the selection to whole lines; the caret goes to its end.
void SelectWholeLines(TMyMwCustomEdit *editor);

// The markup's own forms under the options.
QString XhtmlAdjust(const AppContext &ctx, const QString &piece);
QString RelativeUrl(const AppContext &ctx, const QString &path);
// Percent-encoding by the bytes of the document's own encoding.
QString UrlEncode(const TMyMwCustomEdit *editor, const QString &text);

// Sets the start folder of a file dialog: the active document's folder, or the
// default folder for an untitled document.
void PrepareFileDialog(const AppContext &ctx, FileDialogRequest &request);

// Offers to save an untitled document before a file is chosen for it; shown only
// while the option SaveCheck is off. The check box's state becomes SaveCheck.
void SaveFirstPrompt(const AppContext &ctx);

// After browsing has filled a path field: selects its folder part, so that typing
// replaces the folder and keeps the file name.
void SelectPathFolder(QLineEdit *field);

} // namespace Markup

// A dialog created on its command's first run and kept, so that its fields remember
// what was typed. If the command fails (returns false or throws), the dialog is
// discarded, to be created anew next time, and the command ends quietly.
template <typename Dialog> class KeptDialog {
public:
    Dialog *dialog() const { return m_dialog; }

    // `command(Dialog &)` returns false when it failed (not when cancelled).
    template <typename Command> void run(QWidget *parent, Command &&command) {
        if (!m_dialog) m_dialog = new Dialog(parent);
        bool done = false;
        try {
            done = command(*m_dialog);
        } catch (const std::exception &) {
            done = false;
        }
        if (!done) delete m_dialog.data();
    }

private:
    QPointer<Dialog> m_dialog;
};

// A dialog created for one run of its command and freed after it.
template <typename Dialog, typename Command>
void RunPerUseDialog(QWidget *parent, Command &&command) {
    const std::unique_ptr<Dialog> dialog = std::make_unique<Dialog>(parent);
    command(*dialog);
}
