#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Templates: ordinary document files kept in the user's templates folder, listed by
// file name.
namespace Templates {

// The user's templates folder: the application data location + "/Modeles".
QString folder();

// Why a template name cannot be used (empty when it can): nothing in it, a folder
// separator, "." or "..", or a control character.
QString nameError(const QString &name);

// The template files of a folder, sorted by name.
QStringList list(const QString &folder);

// At first use, creates the folder and copies in the templates the program ships
// (every file of `shippedFolder`, writable by the user). A folder that already exists
// is left alone, so templates the user deleted stay deleted. False when the folder
// cannot be made.
bool seed(const QString &folder, const QString &shippedFolder);

// Renames a template; returns the French error to show, empty when done. Another
// template of the new name is never replaced.
QString rename(const QString &folder, const QString &oldName, const QString &newName);
// Deletes a template; false when the file could not be deleted.
bool remove(const QString &folder, const QString &name);

// Texts of the template commands.
QString overwriteQuestion(const QString &name);
QString deleteQuestion(const QString &name);
QString cannotDelete();
QString cannotRename();

} // namespace Templates

// The kinds of document the "Nouveau document" dialog starts, in their list order.
struct NewDocumentKind {
    enum Then { Nothing, PageProperties, Frames };
    QString caption;
    int typeEntry = 0; // a DocumentTypes::Entry
    Then then = Nothing;
    QString icon; // the picture's name
};
const QList<NewDocumentKind> &NewDocumentKinds();
