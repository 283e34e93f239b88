#include "assist/search_rules.h"

namespace SearchRules {

QStringList pushHistory(const QStringList &history, const QString &text) {
    QStringList out = history;
    if (!text.isEmpty()) {
        out.removeAll(text);
        out.prepend(text);
    }
    out.removeAll(QString());
    while (out.size() > kHistorySize)
        out.removeLast();
    return out;
}

QString proposedText(const QString &selection, const QString &wordAtCaret,
                     const QString &lastSearch) {
    if (!selection.isEmpty() && !selection.contains(QLatin1Char('\n')) &&
        !selection.contains(QLatin1Char('\r')))
        return selection;
    if (!wordAtCaret.isEmpty()) return wordAtCaret;
    return lastSearch;
}

int nextTab(int index, int count, bool backwards) {
    if (count <= 0) return -1;
    return ((index + (backwards ? -1 : 1)) % count + count) % count;
}

QPoint confirmPlacement(const QRect &area, const QSize &dialog, const QRect &match) {
    int x;
    if (dialog.width() >= area.width())
        x = area.left() + (area.width() - dialog.width()) / 2;
    else
        x = std::min(match.left(), area.left() + area.width() - dialog.width());
    const int lowerThird = area.top() + area.height() * 2 / 3;
    const int matchBottom = match.top() + match.height();
    const int y = matchBottom > lowerThird ? match.top() - 4 - dialog.height() : matchBottom + 4;
    return {x, y};
}

QString lineLabel(int lineCount) {
    if (lineCount <= 0) return QStringLiteral("Numéro de ligne :");
    return QStringLiteral("Numéro de ligne : (1 - %1)").arg(lineCount);
}

LineChoice parseLine(const QString &text, int lineCount) {
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    const qlonglong value = ok ? n : 0;
    if (value > std::max(lineCount, 1)) return {false, 0};
    return {true, int(std::max<qlonglong>(value, 1))};
}

QString notFoundMessage(const QString &searchText) {
    return QStringLiteral("Chaîne recherchée \"%1\" non trouvée").arg(searchText);
}

QString confirmMessage(const QString &searchText) {
    return QStringLiteral("Voulez-vous remplacer cette occurence de \"%1\" ?").arg(searchText);
}

QString documentsLabel(bool replace, int count) {
    return (replace ? QStringLiteral("Remplace dans les ")
                    : QStringLiteral("Recherche dans les ")) +
           QString::number(count) + QStringLiteral(" documents ouverts");
}

int bookmarkDigit(const QString &platform, quint32 scanCode, quint32 virtualKey, int qtKey,
                  const QString &text) {
    if (platform == QLatin1String("xcb") && scanCode != 0)
        return scanCode >= 10 && scanCode <= 19 ? int(scanCode - 9) % 10 : -1;
    if (platform == QLatin1String("windows") && virtualKey != 0)
        return virtualKey >= '0' && virtualKey <= '9' ? int(virtualKey - '0') : -1;
    if (platform == QLatin1String("cocoa") && virtualKey != 0) {
        // Key codes of the digit row, for 0 to 9.
        static const quint32 codes[10] = {0x1D, 0x12, 0x13, 0x14, 0x15,
                                          0x17, 0x16, 0x1A, 0x1C, 0x19};
        for (int d = 0; d < 10; ++d) {
            if (codes[d] == virtualKey) return d;
        }
        return -1;
    }
    if (qtKey >= '0' && qtKey <= '9') return qtKey - '0';
    // The digit row of a French keyboard, unshifted, for 0 to 9.
    static const QString french = QStringLiteral("à&é\"'(-è_ç");
    // With Ctrl held the text may be a control character: the key code names the symbol.
    QChar c;
    if (text.size() == 1 && text[0].unicode() >= 0x20)
        c = text[0];
    else if (qtKey >= 0x20 && qtKey < 0x100)
        c = QChar(qtKey);
    const qsizetype i = c.isNull() ? -1 : french.indexOf(c.toLower());
    if (i >= 0) return int(i);
    return -1;
}

} // namespace SearchRules
