#include "platform/ui/single_instance.h"

#include "platform/instance_protocol.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace {
qint64 currentUser() {
    return qint64(::geteuid());
}

// A name without a folder lives in the temporary folder.
QString socketPath(const QString &name) {
    return QDir::isAbsolutePath(name) ? name : QDir::temp().filePath(name);
}

bool makeAddress(const QString &name, sockaddr_un *addr) {
    const QByteArray path = QFile::encodeName(socketPath(name));
    *addr = {};
    addr->sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof addr->sun_path) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(addr->sun_path, path.constData(), size_t(path.size()));
    return true;
}

// Waits for the socket to become readable or writable; false on timeout.
bool waitFor(int fd, short events, int timeoutMs) {
    pollfd p = {fd, events, 0};
    for (;;) {
        const int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        return r > 0;
    }
}

// A connected socket to the instance under this name, or -1.
int connectTo(const QString &name, int timeoutMs) {
    sockaddr_un addr;
    if (!makeAddress(name, &addr)) return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0) return fd;
    if (errno == EAGAIN || errno == EINPROGRESS || errno == EINTR) {
        // The instance's queue of waiting starts is full: it may still take this one.
        int error = 0;
        socklen_t len = sizeof error;
        if (waitFor(fd, POLLOUT, timeoutMs) &&
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0)
            return fd;
    }
    ::close(fd);
    return -1;
}

bool writeAll(int fd, const QByteArray &data, int timeoutMs) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n =
            ::send(fd, data.constData() + done, size_t(data.size() - done), MSG_NOSIGNAL);
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!waitFor(fd, POLLOUT, timeoutMs)) return false;
        } else {
            return false;
        }
    }
    return true;
}
} // namespace

struct InstanceServer::Connection {
    int fd = -1;
    QSocketNotifier *notifier = nullptr;
    QByteArray buffer;
    bool activated = false;
};

InstanceServer::InstanceServer(QObject *parent) : QObject(parent), m_allowedUser(currentUser()) {}

InstanceServer::~InstanceServer() {
    close();
}

bool InstanceServer::listen(const QString &name, int *errorCode, QString *errorText) {
    close();
    sockaddr_un addr;
    int fd = -1;
    bool ok = makeAddress(name, &addr);
    if (ok) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        ok = fd >= 0;
    }
    auto bindAndListen = [&] {
        return ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0 &&
               ::listen(fd, 16) == 0;
    };
    int error = ok ? 0 : errno;
    if (ok && !bindAndListen()) {
        ok = false;
        error = errno;
        if (error == EADDRINUSE && !instanceRunning(name)) {
            // Left behind by an instance that did not end cleanly.
            ::unlink(addr.sun_path);
            ok = bindAndListen();
            error = ok ? 0 : errno;
        }
    }
    if (!ok) {
        if (fd >= 0) ::close(fd);
        if (errorCode) *errorCode = error;
        if (errorText) *errorText = QString::fromLocal8Bit(std::strerror(error));
        return false;
    }
    m_fd = fd;
    m_path = socketPath(name);
    m_notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InstanceServer::acceptConnections);
    return true;
}

void InstanceServer::close() {
    for (Connection *c : std::exchange(m_connections, {})) {
        delete c->notifier;
        ::close(c->fd);
        delete c;
    }
    if (m_fd < 0) return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_fd);
    m_fd = -1;
    QFile::remove(m_path);
}

void InstanceServer::acceptConnections() {
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (!fromAllowedUser(fd)) {
            // Another user's program: it gets nothing opened here.
            ::close(fd);
            continue;
        }
        auto *c = new Connection;
        c->fd = fd;
        c->notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
        connect(c->notifier, &QSocketNotifier::activated, this, [this, c] { readFrom(c); });
        m_connections << c;
    }
}

bool InstanceServer::fromAllowedUser(int fd) const {
#if defined(Q_OS_LINUX)
    struct ucred cred = {};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
    return qint64(cred.uid) == m_allowedUser;
#else
    uid_t uid;
    gid_t gid;
    if (::getpeereid(fd, &uid, &gid) != 0) return false;
    return qint64(uid) == m_allowedUser;
#endif
}

void InstanceServer::drop(Connection *c) {
    m_connections.removeOne(c);
    // Perhaps inside its own notice.
    c->notifier->setEnabled(false);
    c->notifier->deleteLater();
    ::close(c->fd);
    delete c;
}

void InstanceServer::readFrom(Connection *c) {
    bool ended = false;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(c->fd, chunk, sizeof chunk);
        if (n > 0) {
            c->buffer.append(chunk, n);
            if (c->buffer.size() > 4 + InstanceProtocol::kMaxMessage) break; // judged below
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            ended = n == 0 || errno != EAGAIN;
            break;
        }
    }
    // An argument's handling may wait for the user (a question): no second reading
    // of this start meanwhile.
    c->notifier->setEnabled(false);
    for (;;) {
        QString arg;
        const auto st = InstanceProtocol::decode(c->buffer, &arg);
        if (st == InstanceProtocol::Decode::NeedMore) break;
        if (st == InstanceProtocol::Decode::Malformed) {
            // Not one of ours: drop it and carry on.
            drop(c);
            return;
        }
        if (!c->activated) {
            c->activated = true;
            if (onActivate) onActivate();
        }
        if (onArgument) onArgument(arg);
        if (!m_connections.contains(c)) return; // closed meanwhile
        const char handled = InstanceProtocol::kHandled;
        if (!writeAll(c->fd, QByteArray(1, handled), 1000)) {
            drop(c);
            return;
        }
    }
    if (ended) {
        drop(c);
        return;
    }
    c->notifier->setEnabled(true);
}

StartRole claimOrHandOver(InstanceServer &server, const QString &name, const QStringList &arguments,
                          bool mayHandOver, int *errorCode, QString *errorText) {
    {
        // One start at a time looks and listens: otherwise one could take the
        // other's socket for a leftover between its creation and its first call.
        const QString lockPath = QDir::isAbsolutePath(name)
                                     ? name + QStringLiteral(".lock")
                                     : QDir::temp().filePath(name + QStringLiteral(".lock"));
        QLockFile lock(lockPath);
        lock.tryLock(5000);
        if (server.listen(name, errorCode, errorText)) return StartRole::First;
    }
    // Two first starts at the same moment: the other one won.
    if (instanceRunning(name)) {
        if (!mayHandOver) return StartRole::Alone;
        if (handOverArguments(name, arguments)) return StartRole::HandedOver;
    }
    return StartRole::Failed;
}

bool instanceRunning(const QString &name) {
    const int fd = connectTo(name, 1000);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool handOverArguments(const QString &name, const QStringList &arguments) {
    const int fd = connectTo(name, 3000);
    if (fd < 0) return false;
    // Without arguments one empty message still brings the running window to the front.
    const QStringList args = arguments.isEmpty() ? QStringList{QString()} : arguments;
    bool ok = true;
    for (const QString &a : args) {
        if (!writeAll(fd, InstanceProtocol::encode(a), 30000)) {
            ok = false;
            break;
        }
        // The first instance answers once the argument is handled (a message box
        // may wait for the user), so wait as long as it stays connected.
        char answer = 0;
        for (;;) {
            const ssize_t n = ::read(fd, &answer, 1);
            if (n == 1) break;
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
                ok = false;
                break;
            }
            waitFor(fd, POLLIN, 1000);
        }
        if (!ok) break;
    }
    ::close(fd);
    return ok;
}
