#pragma once

#include <QString>

#include <functional>
#include <optional>

class QComboBox;
class QDialog;
class QHBoxLayout;
class QLineEdit;
class QToolButton;
class QWidget;

// Pieces shared by the dialogs that refer to files and addresses.
namespace DialogParts {

// A file chosen by browsing: its full path and the address to write for it.
struct BrowsedFile {
    QString path;
    QString url;
};
// Asks for a file with the program's filter form; nothing when cancelled.
using FileBrowser = std::function<std::optional<BrowsedFile>(const QString &filter)>;

// An editable drop-down that lists remembered values; typing never adds to it.
QComboBox *historyCombo(QWidget *parent, const char *name);
// The "..." button beside a path field.
QToolButton *browseButton(QWidget *parent, const char *name = "BoutParcourir");
// Digits only, at most `maxDigits` of them.
QLineEdit *numberField(QWidget *parent, const char *name, int maxDigits = 4);
// Replaces the drop-down's list, keeping the text typed in it.
void setHistory(QComboBox *combo, const QStringList &items);
// Writes a browsed address and selects its folder part, so that typing replaces
// the folder and keeps the file name.
void fillBrowsedPath(QComboBox *combo, const QString &url);

// "OK" (default), "Annuler" and "Aide" at the right; `help` opens the topic.
QHBoxLayout *okCancelHelp(QDialog *dialog, const std::function<void()> &help);

} // namespace DialogParts
