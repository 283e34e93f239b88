#pragma once

#include <QHash>
#include <QString>

// Where session passwords are kept: the desktop's secret service, and memory for
// the run (always, and alone where no secret service answers). Never the
// settings file.
class FtpPasswords {
public:
    virtual ~FtpPasswords() = default;
    // Keeps a password; true when the secret service holds it from now on.
    bool store(const QString &session, const QString &password);
    // The password of a session, from memory or the secret service.
    bool find(const QString &session, QString *password);
    void remove(const QString &session);
    void rename(const QString &from, const QString &to);
    // Forgets what this run remembers (after a refused login).
    void forget(const QString &session) { m_memory.remove(session); }

protected:
    // The secret service itself; false when it does not answer or has nothing.
    virtual bool secretWrite(const QString &key, const QString &password);
    virtual bool secretRead(const QString &key, QString *password);
    virtual void secretDelete(const QString &key);

private:
    QHash<QString, QString> m_memory;
};

// Memory only: for runs that must not touch the desktop's secret service.
class MemoryFtpPasswords : public FtpPasswords {
protected:
    bool secretWrite(const QString &, const QString &) override { return false; }
    bool secretRead(const QString &, QString *) override { return false; }
    void secretDelete(const QString &) override {}
};
