#pragma once

#include <QStringList>

class SettingsStore;

// The recent-file list: at most ten full paths, most recent first, each at most
// once (paths compared without regard to case).
class RecentFileList {
public:
    static constexpr int kMaxEntries = 10;

    // Expands the path to a full path and puts it at the top.
    void add(const QString &path);
    void remove(const QString &path);
    const QStringList &items() const { return m_items; }
    bool isEmpty() const { return m_items.isEmpty(); }

    // Section "Recent", values "MRU1" to "MRU10"; values beyond the list are deleted.
    void load(const SettingsStore &store);
    void save(SettingsStore &store) const;

private:
    qsizetype indexOf(const QString &path) const;
    QStringList m_items;
};
