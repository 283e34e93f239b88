#include "app/settings_store.h"

#include <QSettings>

namespace {
// Whole decimal number, as the store's readers accept it (surrounding blanks allowed).
bool parseInteger(const QVariant &v, int *out)
{
    if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::UInt ||
        v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::ULongLong) {
        *out = static_cast<int>(v.toLongLong());
        return true;
    }
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok, 10);
    if (ok)
        *out = n;
    return ok;
}
} // namespace

SettingsStore::SettingsStore()
#ifdef Q_OS_WIN
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Balizor"), QStringLiteral("Balizor")))
#else
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Balizor"), QStringLiteral("Balizor")))
#endif
{
}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::group(const QString &section)
{
    QString g = section;
    g.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return g;
}

QString SettingsStore::key(const QString &section, const QString &name)
{
    return group(section) + QLatin1Char('/') + name;
}

bool SettingsStore::readBool(const QString &section, const QString &name, bool def) const
{
    return readInteger(section, name, def ? 1 : 0) != 0;
}

int SettingsStore::readInteger(const QString &section, const QString &name, int def) const
{
    const QVariant v = m_settings->value(key(section, name));
    int n = def;
    if (!v.isValid() || !parseInteger(v, &n))
        return def;
    return n;
}

QString SettingsStore::readString(const QString &section, const QString &name,
                                  const QString &def) const
{
    const QVariant v = m_settings->value(key(section, name));
    return v.isValid() ? v.toString() : def;
}

void SettingsStore::writeBool(const QString &section, const QString &name, bool value)
{
    m_settings->setValue(key(section, name), value ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsStore::writeInteger(const QString &section, const QString &name, int value)
{
    const QVariant old = m_settings->value(key(section, name));
    if (old.isValid() && old.typeId() == QMetaType::QString)
        m_settings->setValue(key(section, name), QString::number(value));
    else
        m_settings->setValue(key(section, name), value);
}

void SettingsStore::writeString(const QString &section, const QString &name, const QString &value)
{
    m_settings->setValue(key(section, name), value);
}

bool SettingsStore::valueExists(const QString &section, const QString &name) const
{
    return m_settings->contains(key(section, name));
}

bool SettingsStore::sectionExists(const QString &section) const
{
    m_settings->beginGroup(group(section));
    const bool any = !m_settings->allKeys().isEmpty();
    m_settings->endGroup();
    return any;
}

QStringList SettingsStore::subSections(const QString &section) const
{
    m_settings->beginGroup(group(section));
    const QStringList groups = m_settings->childGroups();
    m_settings->endGroup();
    return groups;
}

QStringList SettingsStore::valueNames(const QString &section) const
{
    m_settings->beginGroup(group(section));
    const QStringList keys = m_settings->childKeys();
    m_settings->endGroup();
    return keys;
}

void SettingsStore::deleteValue(const QString &section, const QString &name)
{
    m_settings->remove(key(section, name));
}

void SettingsStore::eraseSection(const QString &section)
{
    m_settings->remove(group(section));
}

void SettingsStore::sync()
{
    m_settings->sync();
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}
