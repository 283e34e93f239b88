// Build step: gathers the help pages and pictures into the build folder and writes
// the help project that the help compiler turns into the program's help file.
//
//   balizor_helpbook <pages folder> <contents file> <output folder>
//
// Every *.htm of the pages folder goes in the book (searchable), whether or not the
// contents file lists it; pictures and style sheets below it go in too.

#include "publish/help_book.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

namespace {
int fail(const QString &message) {
    std::fprintf(stderr, "balizor_helpbook: %s\n", qPrintable(message));
    return 1;
}

bool belongsInBook(const QString &name) {
    static const QStringList suffixes = {QStringLiteral(".htm"), QStringLiteral(".png"),
                                         QStringLiteral(".gif"), QStringLiteral(".jpg"),
                                         QStringLiteral(".css")};
    for (const QString &s : suffixes)
        if (name.endsWith(s, Qt::CaseInsensitive)) return true;
    return false;
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return fail(QStringLiteral(
            "usage: balizor_helpbook <pages folder> <contents file> <output folder>"));
    const QDir pages(args[1]);
    const QString contentsFile = args[2];
    const QDir out(args[3]);

    QFile toc(contentsFile);
    if (!toc.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(contentsFile));
    QString error;
    const QList<HelpBook::ContentsEntry> contents =
        HelpBook::parseContents(QString::fromUtf8(toc.readAll()), &error);
    if (!error.isEmpty()) return fail(contentsFile + QStringLiteral(", ") + error);

    // Start from an empty copy so that a page removed from the sources leaves the book.
    QDir(out.filePath(QStringLiteral("Ressources"))).removeRecursively();
    QMap<QString, QString> titles;
    QStringList files;
    QDirIterator it(pages.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString inside = pages.relativeFilePath(source);
        if (!belongsInBook(inside)) continue;
        const QString file = QStringLiteral("Ressources/") + inside;
        const QString target = out.filePath(file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            return fail(QStringLiteral("cannot copy %1 to %2").arg(source, target));
        files << file;
        if (inside.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)) {
            QFile f(source);
            if (!f.open(QIODevice::ReadOnly))
                return fail(QStringLiteral("cannot read %1").arg(source));
            const QString title = HelpBook::pageTitle(QString::fromUtf8(f.readAll()));
            if (title.isEmpty()) return fail(QStringLiteral("%1 has no <title>").arg(source));
            titles.insert(file, title);
        }
    }
    files.sort();
    for (const HelpBook::ContentsEntry &e : contents) {
        if (!titles.contains(QStringLiteral("Ressources/") + e.file))
            return fail(
                QStringLiteral("%1 lists %2, which is not a page").arg(contentsFile, e.file));
    }

    QSaveFile project(out.filePath(QStringLiteral("balizor.qhp")));
    if (!project.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1").arg(project.fileName()));
    project.write(HelpBook::buildProject(titles, contents, files));
    if (!project.commit()) return fail(QStringLiteral("cannot write %1").arg(project.fileName()));
    return 0;
}
