#include "app/recent_files.h"

#include "app/settings_store.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("Recent");
QString valueName(int i) { return QStringLiteral("MRU%1").arg(i + 1); }
} // namespace

qsizetype RecentFileList::indexOf(const QString &path) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items[i].compare(path, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void RecentFileList::add(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString full = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    const qsizetype i = indexOf(full);
    if (i >= 0)
        m_items.removeAt(i);
    m_items.prepend(full);
    while (m_items.size() > kMaxEntries)
        m_items.removeLast();
}

void RecentFileList::remove(const QString &path)
{
    const qsizetype i = indexOf(path);
    if (i >= 0)
        m_items.removeAt(i);
}

void RecentFileList::load(const SettingsStore &store)
{
    m_items.clear();
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString p = store.readString(kSection, valueName(i), QString());
        if (!p.isEmpty() && indexOf(p) < 0)
            m_items << p;
    }
}

void RecentFileList::save(SettingsStore &store) const
{
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < m_items.size())
            store.writeString(kSection, valueName(i), m_items[i]);
        else
            store.deleteValue(kSection, valueName(i));
    }
}
