#include "platform/install_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace InstallPaths {

namespace {
QString programFolder(const QString &programDir) {
    return programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
}
} // namespace

QStringList searchFolders(Kind kind, const QString &programDir) {
    const QDir dir(programFolder(programDir));
    const QString up = dir.filePath(QStringLiteral(".."));
    QStringList out{dir.path()};
    if (kind == Kind::Module) {
        out << QDir::cleanPath(up + QStringLiteral("/lib/balizor"))
            << QDir::cleanPath(up + QStringLiteral("/lib64/balizor"));
    } else {
        out << QDir::cleanPath(up + QStringLiteral("/share/balizor"));
    }
    return out;
}

QString find(Kind kind, const QString &name, const QString &programDir) {
    if (name.isEmpty()) return {};
    for (const QString &folder : searchFolders(kind, programDir)) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path)) return path;
    }
    return {};
}

QString findModule(const QString &baseName, const QString &programDir) {
    for (const QString &name : {QStringLiteral("lib") + baseName + QStringLiteral(".so"),
                                baseName + QStringLiteral(".dll"),
                                QStringLiteral("lib") + baseName + QStringLiteral(".dylib")}) {
        const QString path = find(Kind::Module, name, programDir);
        if (!path.isEmpty()) return path;
    }
    return {};
}

} // namespace InstallPaths
