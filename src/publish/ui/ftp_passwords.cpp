#include "publish/ui/ftp_passwords.h"

#include "publish/ui/secret_service.h"

namespace {
const QString kService = QStringLiteral("Balizor FTP");
} // namespace

bool FtpPasswords::store(const QString &session, const QString &password) {
    m_memory.insert(session, password);
    return secretWrite(session, password);
}

bool FtpPasswords::find(const QString &session, QString *password) {
    const auto it = m_memory.constFind(session);
    if (it != m_memory.constEnd()) {
        *password = it.value();
        return true;
    }
    if (secretRead(session, password)) {
        m_memory.insert(session, *password);
        return true;
    }
    return false;
}

void FtpPasswords::remove(const QString &session) {
    m_memory.remove(session);
    secretDelete(session);
}

void FtpPasswords::rename(const QString &from, const QString &to) {
    QString p;
    if (from == to || !find(from, &p)) return;
    remove(from);
    store(to, p);
}

bool FtpPasswords::secretWrite(const QString &key, const QString &password) {
    const SecretService *secrets = SecretServiceLoader::service();
    return secrets && secrets->write(kService, key, password);
}

bool FtpPasswords::secretRead(const QString &key, QString *password) {
    const SecretService *secrets = SecretServiceLoader::service();
    return secrets && secrets->read(kService, key, password);
}

void FtpPasswords::secretDelete(const QString &key) {
    if (const SecretService *secrets = SecretServiceLoader::service())
        secrets->remove(kService, key);
}
