#include "publish/ui/ftp_passwords.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QTimer>

namespace {
const QString kService = QStringLiteral("Balizor FTP");

// Runs a keychain job to its end; a service that does not answer within a few
// seconds counts as absent.
bool runJob(QKeychain::Job &job) {
    job.setAutoDelete(false);
    QEventLoop loop;
    bool done = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    job.start();
    if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);
    return done && job.error() == QKeychain::NoError;
}
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
    QKeychain::WritePasswordJob job(kService);
    job.setInsecureFallback(false);
    job.setKey(key);
    job.setTextData(password);
    return runJob(job);
}

bool FtpPasswords::secretRead(const QString &key, QString *password) {
    QKeychain::ReadPasswordJob job(kService);
    job.setInsecureFallback(false);
    job.setKey(key);
    if (!runJob(job)) return false;
    *password = job.textData();
    return true;
}

void FtpPasswords::secretDelete(const QString &key) {
    QKeychain::DeletePasswordJob job(kService);
    job.setInsecureFallback(false);
    job.setKey(key);
    runJob(job);
}
