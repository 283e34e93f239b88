#pragma once

#include <QString>
#include <QStringList>

// Where the program finds what ships with it. In the build folder everything sits
// beside the program; once installed, the program is in <prefix>/bin, its modules in
// <prefix>/lib/balizor and its data (help book, templates) in <prefix>/share/balizor.
namespace InstallPaths {

enum class Kind {
    Module, // loadable modules (browser engine, help window)
    Data,   // files and folders shipped with the program (help book, templates)
};

// Folders searched for a kind, in order, for a program living in `programDir`.
QStringList searchFolders(Kind kind, const QString &programDir);

// The first existing `name` (a file or a folder) in the folders of `kind`, or an empty
// string. `programDir` defaults to the running program's folder.
QString find(Kind kind, const QString &name, const QString &programDir = QString());

// A loadable module by its base name (`balizor_webengine`), whatever the platform's
// file naming; empty when not found.
QString findModule(const QString &baseName, const QString &programDir = QString());

} // namespace InstallPaths
