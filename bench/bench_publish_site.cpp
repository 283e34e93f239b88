// Publishing a site of 1 000 pages of which 100 changed, against the test FTP
// server on a loopback port, beside `lftp -e "mirror -R --only-newer"` on the same
// server in the same run; then a publishing with nothing changed.
//
// What is timed for the program is what the user waits for: the comparison
// (local site, record of what was sent, server's listing) and the sending, from
// "Comparer" to the end, without the time the user spends reading the list.
#include "../tests/support/ftp_test_server.h"
#include "site/publish_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFiles = 1000;
constexpr int kChanged = 100;
constexpr int kRounds = 5;

QByteArray page(int i, int round) {
    QByteArray body = "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<title>Page " +
                      QByteArray::number(i) +
                      "</title>\n<link rel=\"stylesheet\" href=\"../site.css\">\n"
                      "</head>\n<body>\n";
    // 2 to 10 kB, as pages of a small site are.
    for (int p = 0; p < 8 + (i * 37) % 40; ++p)
        body += "<p>Paragraphe " + QByteArray::number(p) + " de la page, avec un <a href=\"page" +
                QByteArray::number((i + p) % kFiles) +
                ".html\">lien</a> et du texte accentué : été, çà, où.</p>\n";
    if (round) body += "<p>Révision " + QByteArray::number(round) + "</p>\n";
    return body + "</body>\n</html>\n";
}

QString pagePath(const QString &site, int i) {
    return QStringLiteral("%1/rubrique%2/page%3.html")
        .arg(site)
        .arg(i % 20, 2, 10, QLatin1Char('0'))
        .arg(i);
}

bool write(const QString &path, const QByteArray &bytes, const QDateTime &when) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return false;
    f.close();
    // A whole minute later than anything before, so that lftp's date test sees it.
    return f.open(QIODevice::ReadWrite) && f.setFileTime(when, QFileDevice::FileModificationTime);
}

struct Timing {
    double compareMs = 0;
    double totalMs = 0;
    int sent = 0;
    int failures = 0;
};

Timing publishOnce(SitePublisher &p, const FtpSession &s, const QString &site) {
    Timing t;
    QElapsedTimer clock;
    clock.start();
    QSignalSpy compared(&p, &SitePublisher::compared);
    QSignalSpy failed(&p, &SitePublisher::compareFailed);
    // A plain event loop, as the window's: no polling interval of its own.
    QEventLoop loop;
    QObject::connect(&p, &SitePublisher::compared, &loop, &QEventLoop::quit);
    QObject::connect(&p, &SitePublisher::compareFailed, &loop, &QEventLoop::quit);
    p.compare(s, site, QStringLiteral("/balizor"));
    loop.exec();
    t.compareMs = double(clock.nsecsElapsed()) / 1e6;
    if (!failed.isEmpty()) {
        std::fprintf(stderr, "comparison failed: %s\n",
                     qPrintable(failed.first().first().value<FtpReply>().error));
        t.failures = -1;
        return t;
    }
    if (!p.plan().isEmpty()) {
        QSignalSpy done(&p, &SitePublisher::published);
        p.publish();
        done.wait(600000);
        const PublishResult r = done.first().first().value<PublishResult>();
        t.sent = r.sent;
        t.failures = int(r.failures.size());
    }
    t.totalMs = double(clock.nsecsElapsed()) / 1e6;
    return t;
}

double lftp(int port, const QString &site, int *sent) {
    QProcess p;
    const QString script =
        QStringLiteral("set ftp:ssl-allow no; set ftp:passive-mode on; set net:max-retries 1; "
                       "open -u balizor,secret -p %1 127.0.0.1; "
                       "mirror -R --only-newer --verbose=1 \"%2\" /lftp; quit")
            .arg(port)
            .arg(site);
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral("lftp"), {QStringLiteral("-e"), script});
    p.waitForFinished(600000);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    *sent = int(QString::fromLocal8Bit(p.readAllStandardOutput())
                    .count(QStringLiteral("Transferring file")));
    if (p.exitCode() != 0) std::fprintf(stderr, "lftp: %s\n", p.readAllStandardError().constData());
    return ms;
}

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

QString load() {
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).section(u' ', 0, 2)
                                       : QStringLiteral("?");
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("lftp")).isEmpty()) {
        std::fprintf(stderr, "lftp is missing: bash scripts/install-deps.sh installs it\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString site = dir.filePath(QStringLiteral("site"));
    const QString root = dir.filePath(QStringLiteral("serveur"));
    QDir().mkpath(root + QStringLiteral("/lftp"));
    QDateTime when = QDateTime::currentDateTime().addSecs(-3600);
    for (int i = 0; i < kFiles; ++i) {
        QDir().mkpath(QFileInfo(pagePath(site, i)).path());
        write(pagePath(site, i), page(i, 0), when);
    }
    FtpTestServer server;
    if (!server.start(QStringLiteral(BALIZOR_SOURCE_DIR "/tests/support/ftp_test_server.py"),
                      root)) {
        std::fprintf(stderr, "the test FTP server does not start (python3-pyftpdlib)\n");
        return 1;
    }
    FtpSession s;
    s.name = QStringLiteral("bench");
    s.host = QStringLiteral("127.0.0.1");
    s.port = server.port;
    s.user = QStringLiteral("balizor");
    s.password = QStringLiteral("secret");
    s.passive = true;
    SitePublisher publisher;
    publisher.setStateFolder(dir.filePath(QStringLiteral("donnees")));

    // The first sending of the whole site, both ways (not compared: a one-time cost).
    int lftpSent = 0;
    const Timing first = publishOnce(publisher, s, site);
    const double lftpFirst = lftp(server.port, site, &lftpSent);
    std::printf("first publishing of %d files: Balizor %.0f ms (%d sent), lftp %.0f ms (%d sent)\n",
                kFiles, first.totalMs, first.sent, lftpFirst, lftpSent);

    QList<double> ours, theirs, compares;
    for (int round = 1; round <= kRounds; ++round) {
        when = when.addSecs(60);
        for (int k = 0; k < kChanged; ++k) {
            const int i = (k * 10 + round) % kFiles;
            write(pagePath(site, i), page(i, round), when);
        }
        // Each in turn goes first, so that neither always meets a warmer server.
        Timing t;
        double l = 0;
        if (round % 2) {
            t = publishOnce(publisher, s, site);
            l = lftp(server.port, site, &lftpSent);
        } else {
            l = lftp(server.port, site, &lftpSent);
            t = publishOnce(publisher, s, site);
        }
        std::printf("round %d, %d changed: Balizor %.0f ms (comparison %.0f ms, %d sent, %d "
                    "failed), lftp %.0f ms (%d sent)  load %s\n",
                    round, kChanged, t.totalMs, t.compareMs, t.sent, t.failures, l, lftpSent,
                    qPrintable(load()));
        ours << t.totalMs;
        compares << t.compareMs;
        theirs << l;
    }
    QList<double> unchanged;
    int unchangedSent = 0;
    for (int k = 0; k < kRounds; ++k) {
        const Timing t = publishOnce(publisher, s, site);
        unchanged << t.totalMs;
        unchangedSent += t.sent;
    }
    std::printf("\n100 of 1000 changed (median of %d): Balizor %.0f ms, lftp mirror -R "
                "--only-newer %.0f ms: %s\n",
                kRounds, median(ours), median(theirs),
                median(ours) <= median(theirs) ? "no longer" : "LONGER");
    std::printf("nothing changed (median of %d): %.0f ms, %d files sent: %s\n", kRounds,
                median(unchanged), unchangedSent,
                median(unchanged) < 1000 && unchangedSent == 0 ? "under a second" : "TOO SLOW");
    std::printf("load average at the end: %s\n", qPrintable(load()));
    return 0;
}
