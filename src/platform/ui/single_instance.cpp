#include "platform/ui/single_instance.h"

#include "platform/instance_protocol.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>

InstanceServer::InstanceServer(QObject *parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
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
        s->setProperty("activated", false);
        connect(s, &QLocalSocket::readyRead, this, [this, s] { readFrom(s); });
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        if (s->bytesAvailable() > 0)
            readFrom(s);
    }
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
