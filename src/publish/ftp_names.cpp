#include "publish/ftp_names.h"

#include "publish/ftp_texts.h"

namespace FtpNames {

bool hasControlCharacter(const QString &name) {
    for (QChar c : name) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u <= 0x9f) || u == 0x2028 || u == 0x2029)
            return true;
    }
    return false;
}

bool isPlainRemoteName(const QString &name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !hasControlCharacter(name);
}

QString printable(const QString &name) {
    QString out;
    for (QChar c : name) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u <= 0x9f))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString typedNameError(const QString &name) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar c : name)
        if (forbidden.contains(c)) return FtpTexts::forbiddenCharacters();
    if (hasControlCharacter(name)) return FtpTexts::controlCharacters();
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return FtpTexts::forbiddenCharacters();
    return {};
}

QString join(const QString &folder, const QString &name) {
    if (folder.endsWith(QLatin1Char('/'))) return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString parent(const QString &folder) {
    QString f = folder;
    while (f.size() > 1 && f.endsWith(QLatin1Char('/')))
        f.chop(1);
    const int slash = int(f.lastIndexOf(QLatin1Char('/')));
    if (slash <= 0) return QStringLiteral("/");
    return f.left(slash);
}

QString startFolder(const QString &entryPath, const QString &sessionFolder) {
    QString base = entryPath.isEmpty() ? QStringLiteral("/") : entryPath;
    QString f = sessionFolder.trimmed();
    f.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString path = f.startsWith(QLatin1Char('/')) ? f : (f.isEmpty() ? base : join(base, f));
    // "." and ".." are resolved here: the server is only ever given plain paths.
    QStringList parts;
    for (const QString &p : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (p == QLatin1String(".")) continue;
        if (p == QLatin1String("..")) {
            if (!parts.isEmpty()) parts.removeLast();
            continue;
        }
        parts << p;
    }
    return QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

QString uploadTemporaryName(const QString &target, const QString &tag) {
    return QStringLiteral(".") + target + QStringLiteral(".") + tag + QStringLiteral(".part");
}

QString setAsideName(const QString &target, const QString &tag) {
    return QStringLiteral(".") + target + QStringLiteral(".") + tag + QStringLiteral(".old");
}

} // namespace FtpNames
