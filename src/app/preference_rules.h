#pragma once

#include <QString>
#include <QStringList>
#include <array>

// Rules of the preferences window that need no widget: the texts of its lists,
// the checks of what the user types, and the browser list's entries.
namespace PreferenceRules {

// The entries of the date format list, by FormatDate index.
QStringList dateFormats();

// A number field's whole text (typed or pasted): digits only, surrounding
// spaces allowed, within [min, max]. *value gets the number when given.
bool isWholeNumber(const QString &text, int min, int max, int *value = nullptr);

// The characters a file extension cannot hold, and the message shown when one
// is typed or pasted into the default extension.
bool extensionHasForbiddenCharacter(const QString &text);
QString forbiddenExtensionMessage();

// An extension list as the type table keeps it: "*.ext" items separated by ";"
// (spaces around items allowed), at least one item, no "|" nor ")" anywhere, and
// no item without a name after "*.". Anything else would break the dialog filters.
bool isValidExtensionList(const QString &list);
QString invalidExtensionListMessage(const QString &typeName, const QString &list);

// The part of a filter after its first "|" (empty when it has none).
QString extensionListOf(const QString &filter);
// A filter with a new extension list: the part of the old one up to its first
// "(" included, the list, ")|", and the list again.
QString filterWithExtensions(const QString &filter, const QString &list);

// The font button's caption: the name, a space and the size in points.
QString fontCaption(const QString &name, int pointSize);

// The browser list: "Navigateur interne" (only while the embedded browser is
// available), "Navigateur par défaut", and the two user browsers' captions.
QStringList browserEntries(bool internalAvailable, const QString &label3, const QString &label4);
// The entry showing the chosen browser, tested in the order user browser 2,
// user browser 1, default browser, internal browser; -1 when none is chosen.
int browserEntryForChoice(const std::array<bool, 4> &nav, bool internalAvailable);
// The browser (0 to 3: Nav1 to Nav4) behind an entry, or -1.
int browserForEntry(int entry, bool internalAvailable);

// A user browser must be a program this system can start.
QString notExecutableMessage(const QString &path);

} // namespace PreferenceRules
