#include "app/command_line.h"

bool commandLineForcesNewInstance(const QStringList &args)
{
    for (const QString &a : args) {
        if (!a.startsWith(QLatin1Char('-')))
            return false;
        if (a == QLatin1String("-N"))
            return true;
    }
    return false;
}

QStringList commandLineFiles(const QStringList &args)
{
    QStringList files;
    for (const QString &a : args) {
        if (!a.startsWith(QLatin1Char('-')))
            files << a;
    }
    return files;
}
