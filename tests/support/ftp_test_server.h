#pragma once

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// A real FTP server on a loopback port, started by a test and stopped with it.
class FtpTestServer {
public:
    ~FtpTestServer() { stop(); }

    // Serves `root` to user "balizor" / "secret"; extra arguments go to the script
    // ("--cert", "--key", "--no-mlsd", "--refuse-rename",
    // "--refuse-replace", "--no-size", "--limit", "BYTES_PER_SECOND").
    bool start(const QString &script, const QString &root, const QStringList &extra = {}) {
        stop();
        m_process.setProgram(QStringLiteral("/usr/bin/python3"));
        m_process.setArguments(QStringList{script, QStringLiteral("--root"), root} + extra);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000)) return false;
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(10000)) return false;
        }
        port = m_process.readLine().trimmed().toInt();
        return port > 0;
    }
    void stop() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    QString errors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }

    int port = 0;

private:
    QProcess m_process;
};
