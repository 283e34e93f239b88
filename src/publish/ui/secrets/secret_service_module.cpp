// The secret service module (balizor_secrets): the keychain library behind the
// table of publish/ui/secret_service.h.
#include "publish/ui/secret_service.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QTimer>

namespace {
// Runs a keychain job to its end; a service that does not answer within a few
// seconds counts as absent.
bool runJob(QKeychain::Job &job) {
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
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

bool secretWrite(const QString &service, const QString &key, const QString &secret) {
    QKeychain::WritePasswordJob job(service);
    job.setKey(key);
    job.setTextData(secret);
    return runJob(job);
}

bool secretRead(const QString &service, const QString &key, QString *secret) {
    QKeychain::ReadPasswordJob job(service);
    job.setKey(key);
    if (!runJob(job)) return false;
    *secret = job.textData();
    return true;
}

void secretRemove(const QString &service, const QString &key) {
    QKeychain::DeletePasswordJob job(service);
    job.setKey(key);
    runJob(job);
}

const SecretService kService = {secretWrite, secretRead, secretRemove};
} // namespace

extern "C" Q_DECL_EXPORT const SecretService *balizorSecretService() {
    return &kService;
}
