#include "site/site_folder.h"

#include "app/document_types.h"
#include "app/settings_store.h"

#include <QDir>
#include <QFileInfo>

namespace SiteFolder {

QStringList documentPatterns(const DocumentTypes &types) {
    QStringList out;
    for (int i = 0; i < types.count(); ++i) {
        const HighlighterEntry &e = types.entry(i);
        if (e.tag <= 0) continue;
        const qsizetype bar = e.filter.indexOf(QLatin1Char('|'));
        if (bar < 0) continue;
        for (const QString &p : splitPatterns(e.filter.mid(bar + 1))) {
            // "*.*" would show everything: the switch for all files says that.
            if (p == QLatin1String("*.*") || p == QLatin1String("*")) continue;
            if (!out.contains(p, Qt::CaseInsensitive)) out << p;
        }
    }
    return out;
}

QStringList splitPatterns(const QString &text) {
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

NamePatterns::NamePatterns(const QStringList &patterns) {
    QStringList parts;
    for (const QString &p : patterns)
        parts << QRegularExpression::wildcardToRegularExpression(
            p, QRegularExpression::UnanchoredWildcardConversion);
    if (parts.isEmpty()) return;
    m_any.setPattern(QStringLiteral("^(?:%1)$").arg(parts.join(QLatin1Char('|'))));
    m_any.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
    m_any.optimize();
}

bool NamePatterns::matches(const QString &name) const {
    return isEmpty() || m_any.match(name).hasMatch();
}

QString defaultExcludedFolders() {
    return QStringLiteral(".git;.svn;.hg;node_modules");
}

namespace {
const QString kSection = QStringLiteral("Sites");
QString valueName(int i) {
    return QStringLiteral("Site%1").arg(i + 1);
}
QString normalised(const QString &folder) {
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}
} // namespace

void RecentSites::add(const QString &folder) {
    if (folder.isEmpty()) return;
    const QString full = normalised(folder);
    m_items.removeAll(full);
    m_items.prepend(full);
    while (m_items.size() > kMaxEntries)
        m_items.removeLast();
}

void RecentSites::remove(const QString &folder) {
    m_items.removeAll(normalised(folder));
}

void RecentSites::load(const SettingsStore &store) {
    m_items.clear();
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString p = store.readString(kSection, valueName(i), QString());
        if (!p.isEmpty() && !m_items.contains(p)) m_items << p;
    }
}

void RecentSites::save(SettingsStore &store) const {
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < m_items.size())
            store.writeString(kSection, valueName(i), m_items[i]);
        else
            store.deleteValue(kSection, valueName(i));
    }
}

QString renamedPath(const QString &document, const QString &from, const QString &to) {
    if (document.isEmpty() || from.isEmpty()) return {};
    const QString doc = QDir::cleanPath(QDir::fromNativeSeparators(document));
    const QString old = QDir::cleanPath(QDir::fromNativeSeparators(from));
    const QString now = QDir::cleanPath(QDir::fromNativeSeparators(to));
    if (doc == old) return now;
    if (doc.startsWith(old + QLatin1Char('/'))) return now + doc.mid(old.size());
    return {};
}

} // namespace SiteFolder
