#include "publish/ftp_session.h"

#include "app/settings_store.h"
#include "publish/ftp_texts.h"

#include <QFile>

namespace {
QString sub(const QString &name) {
    return FtpSessions::section() + QLatin1Char('\\') + name;
}
} // namespace

namespace FtpSessions {

QString section() {
    return QStringLiteral("FTP");
}

QStringList names(const SettingsStore &store) {
    return store.subSections(section());
}

bool exists(const SettingsStore &store, const QString &name) {
    for (const QString &n : names(store))
        if (n.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

FtpSession read(const SettingsStore &store, const QString &name) {
    const QString s = sub(name);
    FtpSession f;
    f.name = name;
    f.host = store.readString(s, QStringLiteral("FtpServerEdit"), {});
    f.user = store.readString(s, QStringLiteral("UserIDEdit"), {});
    f.password = store.readString(s, QStringLiteral("UserPasswordEdit"), {});
    f.folder = store.readString(s, QStringLiteral("CurrentDirEdit"), {});
    const int protocol = store.readInteger(s, QStringLiteral("Protocole"), 0);
    f.protocol = protocol == 1   ? FtpProtocol::Ftps
                 : protocol == 2 ? FtpProtocol::Sftp
                                 : FtpProtocol::Ftp;
    f.port = store.readInteger(s, QStringLiteral("FtpPortEdit"), defaultPort(f.protocol));
    f.passive = store.readBool(s, QStringLiteral("UsePassiveMode"), false);
    return f;
}

void write(SettingsStore &store, const FtpSession &f) {
    const QString s = sub(f.name);
    store.writeString(s, QStringLiteral("FtpServerEdit"), f.host);
    store.writeString(s, QStringLiteral("UserIDEdit"), f.user);
    store.deleteValue(s, QStringLiteral("UserPasswordEdit"));
    store.writeString(s, QStringLiteral("CurrentDirEdit"), f.folder);
    store.writeInteger(s, QStringLiteral("FtpPortEdit"), f.port);
    store.writeBool(s, QStringLiteral("UsePassiveMode"), f.passive);
    store.writeInteger(s, QStringLiteral("Protocole"), int(f.protocol));
    makePrivate(store);
}

void erase(SettingsStore &store, const QString &name) {
    store.eraseSection(sub(name));
    store.sync();
}

bool erasePlainPassword(SettingsStore &store, const QString &name) {
    const QString s = sub(name);
    if (!store.valueExists(s, QStringLiteral("UserPasswordEdit"))) return false;
    store.deleteValue(s, QStringLiteral("UserPasswordEdit"));
    makePrivate(store);
    return true;
}

bool movePlainPassword(SettingsStore &store, const QString &name,
                       const std::function<bool(const QString &)> &keep) {
    const QString plain = read(store, name).password;
    return !plain.isEmpty() && keep(plain) && erasePlainPassword(store, name);
}

void keepPlainPassword(SettingsStore &store, const QString &name, const QString &password) {
    store.writeString(sub(name), QStringLiteral("UserPasswordEdit"), password);
    makePrivate(store);
}

void makePrivate(SettingsStore &store) {
    store.sync();
    const QString file = store.fileName();
    // The registry on Windows has no file of ours.
    if (QFile::exists(file)) QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
}

QString proposedName(const QStringList &existing) {
    auto taken = [&](const QString &n) {
        for (const QString &e : existing)
            if (e.compare(n, Qt::CaseInsensitive) == 0) return true;
        return false;
    };
    const QString base = QStringLiteral("Mon site");
    if (!taken(base)) return base;
    for (int i = 1;; ++i) {
        const QString n = base + QLatin1Char(' ') + QString::number(i);
        if (!taken(n)) return n;
    }
}

QString nameError(const QString &name, const QStringList &existing, const QString &editing) {
    if (name.isEmpty()) return FtpTexts::sessionNameMissing();
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return FtpTexts::sessionNameSlash();
    for (const QString &e : existing) {
        if (!editing.isEmpty() && e.compare(editing, Qt::CaseInsensitive) == 0) continue;
        if (e.compare(name, Qt::CaseInsensitive) == 0) return FtpTexts::sessionNameTaken(name);
    }
    return {};
}

int defaultPort(FtpProtocol protocol) {
    return protocol == FtpProtocol::Sftp ? 22 : 21;
}

int portFromText(const QString &text, FtpProtocol protocol) {
    bool ok = false;
    const int p = text.trimmed().toInt(&ok);
    return ok && p > 0 && p < 65536 ? p : defaultPort(protocol);
}

} // namespace FtpSessions
