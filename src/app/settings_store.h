#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

// The program's persistent settings: sections of named values under
// "Software\Balizor\Balizor" (the registry on Windows, an INI file elsewhere).
// A section name with a backslash names a deeper sub-key.
//
// Encodings: booleans are written as the strings "0"/"1" and read as integers
// (non-zero is true); integers are written as numbers unless a string of that
// name already exists, in which case they stay strings; a missing value or a
// value that is not a number reads as the default.
class SettingsStore {
public:
    // The user's own store.
    SettingsStore();
    // A store kept in the given INI file (tests, portable use).
    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    bool readBool(const QString &section, const QString &name, bool def) const;
    int readInteger(const QString &section, const QString &name, int def) const;
    QString readString(const QString &section, const QString &name, const QString &def) const;

    void writeBool(const QString &section, const QString &name, bool value);
    void writeInteger(const QString &section, const QString &name, int value);
    void writeString(const QString &section, const QString &name, const QString &value);

    bool valueExists(const QString &section, const QString &name) const;
    bool sectionExists(const QString &section) const;
    // Names of the sub-keys of a section, and of its values.
    QStringList subSections(const QString &section) const;
    QStringList valueNames(const QString &section) const;
    void deleteValue(const QString &section, const QString &name);
    // Removes the section with all its values and sub-keys.
    void eraseSection(const QString &section);

    void sync();
    QString fileName() const;

private:
    static QString key(const QString &section, const QString &name);
    static QString group(const QString &section);
    std::unique_ptr<QSettings> m_settings;
};
