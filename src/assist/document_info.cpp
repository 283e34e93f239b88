#include "assist/document_info.h"

#include <QDir>
#include <QFileInfo>

DocumentStatistics documentStatistics(const char *utf8, qsizetype size) {
    DocumentStatistics s;
    qint64 units = 0;
    qint64 breaks = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\r') {
            ++breaks;
            if (i + 1 < size && utf8[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            ++breaks;
        } else if ((c & 0xC0) != 0x80) {
            units += c >= 0xF0 ? 2 : 1; // beyond the BMP: a surrogate pair
        }
    }
    if (size == 0) return s;
    const char last = utf8[size - 1];
    const bool endsWithBreak = last == '\n' || last == '\r';
    s.lines = endsWithBreak ? breaks : breaks + 1;
    s.characters = units;
    s.length = units + 2 * (s.lines - 1);
    return s;
}

QString groupedNumber(qint64 n) {
    QString digits = QString::number(qAbs(n));
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

QString sizeText(qint64 length) {
    constexpr qint64 ko = 1024, mo = ko * 1024, go = mo * 1024;
    if (length < ko) return groupedNumber(length) + QStringLiteral(" octets");
    const qint64 unit = length < mo ? ko : length < go ? mo : go;
    const QString name = length < mo   ? QStringLiteral("Ko")
                         : length < go ? QStringLiteral("Mo")
                                       : QStringLiteral("Go");
    const qint64 whole = length / unit;
    const qint64 hundredths = (length % unit) * 100 / unit;
    return groupedNumber(whole) + QLatin1Char(',') +
           QStringLiteral("%1").arg(hundredths, 2, 10, QLatin1Char('0')) + QLatin1Char(' ') + name +
           QStringLiteral(" (") + groupedNumber(length) + QStringLiteral(" octets)");
}

namespace InfoTexts {
QString renameQuestion(const QString &oldName, const QString &newName) {
    return QStringLiteral("Etes-vous sûr de vouloir renommer le fichier \"") + oldName +
           QStringLiteral("\" en \"") + newName + QStringLiteral("\" ?");
}
QString renameExists() {
    return QStringLiteral("Impossible de renommer ce fichier.\r\nUn fichier portant le même nom "
                          "existe déjà.");
}
QString renameFailed() {
    return QStringLiteral("Impossible de renommer ce fichier.");
}
QString renameBadName(const QString &newName) {
    return QStringLiteral("Impossible de renommer ce fichier.\r\n\"") + newName +
           QStringLiteral("\" n'est pas un nom de fichier valide : il ne doit contenir ni "
                          "dossier ni séparateur (/ ou \\).");
}
} // namespace InfoTexts

RenameCheck checkRename(const QString &oldPath, const QString &newName,
                        const std::function<bool(const QString &)> &exists,
                        const std::function<bool(const QString &, const QString &)> &sameFile,
                        QString *newPath) {
    const QFileInfo old(oldPath);
    if (newName == old.fileName()) return RenameCheck::Unchanged;
    if (newName.isEmpty() || newName == QLatin1String(".") || newName == QLatin1String("..") ||
        newName.contains(QLatin1Char('/')) || newName.contains(QLatin1Char('\\')) ||
        newName.contains(QChar(0)))
        return RenameCheck::BadName;
    const QString target = old.absolutePath() + QLatin1Char('/') + newName;
    if (newPath) *newPath = QDir::toNativeSeparators(target);
    // A name differing only by case is the same file where case is ignored; where it
    // is not, a file of that name is another file and stays.
    if (exists(target) && !sameFile(oldPath, target)) return RenameCheck::Exists;
    return RenameCheck::Ok;
}
