#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class SettingsStore;

enum class FtpProtocol { Ftp = 0, Ftps = 1, Sftp = 2 };

// A stored FTP session. The password is never part of what is written to the
// settings: it lives in the secret store (or in memory for the run).
struct FtpSession {
    QString name;
    QString host;
    QString user;
    QString password;
    QString folder;
    int port = 21;
    bool passive = false;
    FtpProtocol protocol = FtpProtocol::Ftp;
};

namespace FtpSessions {

// The settings section holding the sessions and the window's values.
QString section();
QStringList names(const SettingsStore &store);
bool exists(const SettingsStore &store, const QString &name);
// The stored values; `password` holds a plain password left by older versions.
FtpSession read(const SettingsStore &store, const QString &name);
// Writes the session without its password (a plain one is erased) and keeps the
// settings file private to the user.
void write(SettingsStore &store, const FtpSession &session);
void erase(SettingsStore &store, const QString &name);
// Removes a plain password from a stored session; true when there was one.
bool erasePlainPassword(SettingsStore &store, const QString &name);
// Hands a plain password left by older versions to `keep` (the secret store) and
// erases it only once kept; true when it moved.
bool movePlainPassword(SettingsStore &store, const QString &name,
                       const std::function<bool(const QString &password)> &keep);
// Puts back a plain password that the secret store could not take yet (it is
// moved at a later selection of the session).
void keepPlainPassword(SettingsStore &store, const QString &name, const QString &password);
void makePrivate(SettingsStore &store);

// "Mon site", or "Mon site N" with the first free N from 1.
QString proposedName(const QStringList &existing);
// Why a name cannot be used (empty when it can). `editing` is the name of the
// session being edited (empty for a new one): keeping it is allowed.
QString nameError(const QString &name, const QStringList &existing, const QString &editing);
// The port box read as an integer; the protocol's default when it is not one.
int portFromText(const QString &text, FtpProtocol protocol);
int defaultPort(FtpProtocol protocol);

} // namespace FtpSessions
