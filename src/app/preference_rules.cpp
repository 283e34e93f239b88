#include "app/preference_rules.h"

#include <QRegularExpression>

namespace PreferenceRules {

QStringList dateFormats() {
    return {QStringLiteral("19:53 24/12/2001"), QStringLiteral("24/12/2001 19:53"),
            QStringLiteral("24/12/2001"), QStringLiteral("24/12/01"), QStringLiteral("19:53")};
}

bool isWholeNumber(const QString &text, int min, int max, int *value) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9) return false;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    }
    const int n = t.toInt();
    if (n < min || n > max) return false;
    if (value) *value = n;
    return true;
}

bool extensionHasForbiddenCharacter(const QString &text) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : text) {
        if (forbidden.contains(c)) return true;
    }
    return false;
}

QString forbiddenExtensionMessage() {
    return QStringLiteral("Une extension de fichier ne peut contenir l'un des caractères "
                          "suivants :\r\n\\ / : * ? \" < > |");
}

bool isValidExtensionList(const QString &list) {
    if (list.contains(QLatin1Char('|')) || list.contains(QLatin1Char(')'))) return false;
    static const QRegularExpression item(QStringLiteral("^\\*\\.[^\\s\\\\/:*?\"<>|();,]+$"));
    const QStringList items = list.split(QLatin1Char(';'));
    for (const QString &i : items) {
        if (!item.match(i.trimmed()).hasMatch()) return false;
    }
    return !items.isEmpty();
}

QString invalidExtensionListMessage(const QString &typeName, const QString &list) {
    return QStringLiteral("Les extensions associées au type \"%1\" ne sont pas valides : "
                          "\"%2\".\r\nIndiquez une ou plusieurs extensions de la forme *.ext, "
                          "séparées par des points-virgules (ex. : *.htm; *.html).")
        .arg(typeName, list);
}

QString extensionListOf(const QString &filter) {
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    return bar < 0 ? QString() : filter.mid(bar + 1);
}

QString filterWithExtensions(const QString &filter, const QString &list) {
    const qsizetype paren = filter.indexOf(QLatin1Char('('));
    const QString head = paren < 0 ? QString() : filter.left(paren + 1);
    return head + list + QStringLiteral(")|") + list;
}

QString fontCaption(const QString &name, int pointSize) {
    return name + QLatin1Char(' ') + QString::number(pointSize);
}

QStringList browserEntries(bool internalAvailable, const QString &label3, const QString &label4) {
    QStringList l;
    if (internalAvailable) l << QStringLiteral("Navigateur interne");
    l << QStringLiteral("Navigateur par défaut") << label3 << label4;
    return l;
}

int browserEntryForChoice(const std::array<bool, 4> &nav, bool internalAvailable) {
    const int shift = internalAvailable ? 0 : 1;
    for (int i : {3, 2, 1, 0}) {
        if (!nav[size_t(i)]) continue;
        if (i == 0 && !internalAvailable) continue;
        return i - shift;
    }
    return -1;
}

int browserForEntry(int entry, bool internalAvailable) {
    const int browser = internalAvailable ? entry : entry + 1;
    return entry < 0 || browser > 3 ? -1 : browser;
}

QString notExecutableMessage(const QString &path) {
    return QStringLiteral("Le fichier \"%1\" n'est pas un programme exécutable.\r\n"
                          "Choisissez le programme du navigateur.")
        .arg(path);
}

} // namespace PreferenceRules
