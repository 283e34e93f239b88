#include "platform/ui/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

bool shellOpenChecked(const QString &target, const QString &parameters, const QString &folder)
{
    if (target.isEmpty())
        return false;
    const QFileInfo info(target);
    if (info.isFile() && info.isExecutable()) {
        QStringList args;
        if (!parameters.isEmpty())
            args << parameters;
        return QProcess::startDetached(info.absoluteFilePath(), args, folder);
    }
    QUrl url = QUrl::fromUserInput(target, folder, QUrl::AssumeLocalFile);
    if (info.exists())
        url = QUrl::fromLocalFile(info.absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

void ShellOpen(const QString &target, const QString &parameters, const QString &folder, int)
{
    shellOpenChecked(target, parameters, folder);
}

bool openWithDesktop(const QString &target)
{
    if (target.isEmpty())
        return false;
    const QFileInfo info(target);
    const QUrl url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath())
                                   : QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
    return QDesktopServices::openUrl(url);
}

bool startProgram(const QString &program, const QStringList &arguments, const QString &folder)
{
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(info.absoluteFilePath(), arguments, folder);
}
