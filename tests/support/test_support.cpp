#include "test_support.h"

#include <QFile>

namespace TestSupport {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray everyByteButCr()
{
    QByteArray b;
    for (int i = 0; i < 256; ++i) {
        if (i == '\r')
            continue;
        b.append(char(i));
        if (i % 16 == 15)
            b.append('\n');
    }
    b.append('\n');
    return b;
}

} // namespace TestSupport
