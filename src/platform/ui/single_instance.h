#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QSocketNotifier;

// The first instance's end of the hand-over: receives the arguments of later
// starts one at a time and answers each once it has been handled. A local stream
// socket under the name (a path, or a name in the temporary folder), spoken with
// the system's own calls: a networking library would cost every start its loading.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject *parent = nullptr);
    ~InstanceServer() override;

    // Starts listening under the name; false (with the system's code and text)
    // when the name cannot be taken.
    bool listen(const QString &name, int *errorCode = nullptr, QString *errorText = nullptr);
    void close();

    // Called for each argument, in order; the sender waits until it returns.
    std::function<void(const QString &)> onArgument;
    // Called when a later start connects (before its first argument).
    std::function<void()> onActivate;
    // Only this user's starts are heard (this process's user unless changed).
    void setAllowedUser(qint64 uid) { m_allowedUser = uid; }

private:
    struct Connection;
    bool fromAllowedUser(int fd) const;
    void acceptConnections();
    void readFrom(Connection *c);
    void drop(Connection *c);
    int m_fd = -1;
    QString m_path;
    QSocketNotifier *m_notifier = nullptr;
    QList<Connection *> m_connections;
    qint64 m_allowedUser;
};

// A start that found no instance: listen under the name; when another start took
// it in the meantime, hand the arguments to that one instead (unless a new window
// is asked for). What happened, and on failure the system's code and text.
enum class StartRole { First, HandedOver, Alone, Failed };
StartRole claimOrHandOver(InstanceServer &server, const QString &name, const QStringList &arguments,
                          bool mayHandOver, int *errorCode = nullptr, QString *errorText = nullptr);

// The later start's end: is an instance answering under this name?
bool instanceRunning(const QString &name);
// Hands the arguments over, each after the previous one was handled. False when no
// instance answers (it has just ended).
bool handOverArguments(const QString &name, const QStringList &arguments);
