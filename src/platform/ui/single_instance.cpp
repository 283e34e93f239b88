#include "platform/ui/single_instance.h"

#include "platform/instance_protocol.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QVariant>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {
qint64 currentUser()
{
#ifdef Q_OS_UNIX
    return qint64(::geteuid());
#else
    return -1;
#endif
}
} // namespace

InstanceServer::InstanceServer(QObject *parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_allowedUser(currentUser())
{
#ifdef Q_OS_WIN
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
#else
    // The socket's folder is private already; with access options the server would
    // be renamed into place over a socket that another start has just taken.
    m_server->setSocketOptions(QLocalServer::NoOptions);
#endif
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::acceptConnection);
}

InstanceServer::~InstanceServer() { close(); }

bool InstanceServer::listen(const QString &name, int *errorCode, QString *errorText)
{
    if (m_server->listen(name))
        return true;
    if (m_server->serverError() == QAbstractSocket::AddressInUseError && !instanceRunning(name)) {
        // Left behind by an instance that did not end cleanly.
        QLocalServer::removeServer(name);
        if (m_server->listen(name))
            return true;
    }
    if (errorCode)
        *errorCode = int(m_server->serverError());
    if (errorText)
        *errorText = m_server->errorString();
    return false;
}

void InstanceServer::close()
{
    if (m_server->isListening())
        m_server->close();
}

void InstanceServer::acceptConnection()
{
    while (QLocalSocket *s = m_server->nextPendingConnection()) {
        s->setParent(this);
        if (!fromAllowedUser(s)) {
            // Another user's program: it gets nothing opened here.
            s->abort();
            s->deleteLater();
            continue;
        }
        s->setProperty("activated", false);
        connect(s, &QLocalSocket::readyRead, this, [this, s] { readFrom(s); });
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        if (s->bytesAvailable() > 0)
            readFrom(s);
    }
}

bool InstanceServer::fromAllowedUser(QLocalSocket *s) const
{
#if defined(Q_OS_LINUX)
    struct ucred cred = {};
    socklen_t len = sizeof cred;
    if (::getsockopt(int(s->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return false;
    return qint64(cred.uid) == m_allowedUser;
#elif defined(Q_OS_UNIX)
    uid_t uid;
    gid_t gid;
    if (::getpeereid(int(s->socketDescriptor()), &uid, &gid) != 0)
        return false;
    return qint64(uid) == m_allowedUser;
#else
    // The pipe itself admits this user only (UserAccessOption).
    Q_UNUSED(s);
    return true;
#endif
}

void InstanceServer::readFrom(QLocalSocket *s)
{
    QByteArray buf = s->property("buffer").toByteArray() + s->readAll();
    for (;;) {
        QString arg;
        const auto st = InstanceProtocol::decode(buf, &arg);
        if (st == InstanceProtocol::Decode::NeedMore)
            break;
        if (st == InstanceProtocol::Decode::Malformed) {
            // Not one of ours: drop it and carry on.
            s->abort();
            return;
        }
        if (!s->property("activated").toBool()) {
            s->setProperty("activated", true);
            if (onActivate)
                onActivate();
        }
        if (onArgument)
            onArgument(arg);
        if (s->state() != QLocalSocket::ConnectedState)
            return;
        s->write(QByteArray(1, InstanceProtocol::kHandled));
        s->flush();
    }
    s->setProperty("buffer", buf);
}

StartRole claimOrHandOver(InstanceServer &server, const QString &name, const QStringList &arguments,
                          bool mayHandOver, int *errorCode, QString *errorText)
{
    {
        // One start at a time looks and listens: otherwise one could take the
        // other's socket for a leftover between its creation and its first call.
        const QString lockPath = QDir::isAbsolutePath(name)
                                     ? name + QStringLiteral(".lock")
                                     : QDir::temp().filePath(name + QStringLiteral(".lock"));
        QLockFile lock(lockPath);
        lock.tryLock(5000);
        if (server.listen(name, errorCode, errorText))
            return StartRole::First;
    }
    // Two first starts at the same moment: the other one won.
    if (instanceRunning(name)) {
        if (!mayHandOver)
            return StartRole::Alone;
        if (handOverArguments(name, arguments))
            return StartRole::HandedOver;
    }
    return StartRole::Failed;
}

bool instanceRunning(const QString &name)
{
    QLocalSocket s;
    s.connectToServer(name);
    const bool ok = s.waitForConnected(1000);
    s.abort();
    return ok;
}

bool handOverArguments(const QString &name, const QStringList &arguments)
{
    QLocalSocket s;
    s.connectToServer(name);
    if (!s.waitForConnected(3000))
        return false;
    // Without arguments one empty message still brings the running window to the front.
    const QStringList args = arguments.isEmpty() ? QStringList{QString()} : arguments;
    for (const QString &a : args) {
        s.write(InstanceProtocol::encode(a));
        if (!s.waitForBytesWritten(30000))
            return false;
        // The first instance answers once the argument is handled (a message box
        // may wait for the user), so wait as long as it stays connected.
        while (s.bytesAvailable() < 1) {
            if (s.state() != QLocalSocket::ConnectedState)
                return false;
            s.waitForReadyRead(1000);
        }
        s.read(1);
    }
    s.disconnectFromServer();
    return true;
}
