#include "app/settings_store.h"
#include "publish/ftp_listing.h"
#include "publish/ftp_names.h"
#include "publish/ftp_session.h"
#include "publish/ftp_texts.h"
#include "publish/ftp_url.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

Q_DECLARE_METATYPE(FtpEntryType)
Q_DECLARE_METATYPE(FtpProtocol)

namespace {
const QDateTime kNow(QDate(2024, 3, 10), QTime(12, 0));

FtpEntry entry(const QString &name, FtpEntryType type, qint64 size, const QDateTime &when) {
    FtpEntry e;
    e.name = name;
    e.type = type;
    e.size = size;
    e.modified = when;
    return e;
}
} // namespace

class TstFtpCore : public QObject {
    Q_OBJECT
private slots:
    void listLines_data();
    void listLines();
    void mlsdLines_data();
    void mlsdLines();
    void wholeReply();
    void sorting_data();
    void sorting();
    void columnClicks_data();
    void columnClicks();
    void dates_data();
    void dates();
    void remoteNames_data();
    void remoteNames();
    void typedNames_data();
    void typedNames();
    void paths_data();
    void paths();
    void urls_data();
    void urls();
    void sessionNames_data();
    void sessionNames();
    void sessionsStoredWithoutPassword();
    void plainPasswordErased();
    void portText_data();
    void portText();
};

void TstFtpCore::listLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("name");
    QTest::addColumn<FtpEntryType>("type");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QDateTime>("when");
    const auto F = FtpEntryType::File, D = FtpEntryType::Folder, L = FtpEntryType::Link;
    QTest::newRow("unix file, this year")
        << "-rw-r--r--   1 owner    group        1234 Feb 10 14:05 index.html" << true
        << "index.html" << F << qint64(1234) << QDateTime(QDate(2024, 2, 10), QTime(14, 5));
    QTest::newRow("unix date ahead is last year")
        << "-rw-r--r--   1 owner    group          10 Dec 24 09:00 noel.html" << true << "noel.html"
        << F << qint64(10) << QDateTime(QDate(2023, 12, 24), QTime(9, 0));
    QTest::newRow("unix folder with year")
        << "drwxr-xr-x   5 owner    group        4096 Jan  1  2019 images" << true << "images" << D
        << qint64(4096) << QDateTime(QDate(2019, 1, 1), QTime(0, 0));
    QTest::newRow("unix link")
        << "lrwxrwxrwx   1 owner    group          11 Mar  9 08:30 www -> public_html" << true
        << "www" << L << qint64(11) << QDateTime(QDate(2024, 3, 9), QTime(8, 30));
    QTest::newRow("unix name with spaces kept")
        << "-rw-r--r--   1 owner    group           5 Mar  9 08:30  deux  espaces .txt" << true
        << " deux  espaces .txt" << F << qint64(5) << QDateTime(QDate(2024, 3, 9), QTime(8, 30));
    QTest::newRow("unix without group, big size")
        << "-rw-r--r-- 1 ftp 5368709120 Mar  1 2023 video.mp4" << true << "video.mp4" << F
        << qint64(5368709120LL) << QDateTime(QDate(2023, 3, 1), QTime(0, 0));
    QTest::newRow("unix owner named like a month")
        << "-rw-r--r--   1 may      group         777 Oct  3 2022 Jun 5 notes" << true
        << "Jun 5 notes" << F << qint64(777) << QDateTime(QDate(2022, 10, 3), QTime(0, 0));
    QTest::newRow("windows folder")
        << "01-15-20  03:04PM       <DIR>          Nouveau dossier" << true << "Nouveau dossier"
        << D << qint64(0) << QDateTime(QDate(2020, 1, 15), QTime(15, 4));
    QTest::newRow("windows file, 4-digit year, midnight")
        << "11-02-2021  12:30AM                 2048 page.htm" << true << "page.htm" << F
        << qint64(2048) << QDateTime(QDate(2021, 11, 2), QTime(0, 30));
    QTest::newRow("windows 24-hour clock")
        << "07-04-2019  18:45                    99 a.css" << true << "a.css" << F << qint64(99)
        << QDateTime(QDate(2019, 7, 4), QTime(18, 45));
    QTest::newRow("total line") << "total 12" << false << "" << F << qint64(0) << QDateTime();
    QTest::newRow("garbage") << "hello world how are you today" << false << "" << F << qint64(0)
                             << QDateTime();
    QTest::newRow("unix without name")
        << "-rw-r--r--   1 o g 1 Mar  9 08:30" << false << "" << F << qint64(0) << QDateTime();
}

void TstFtpCore::listLines() {
    QFETCH(QString, line);
    QFETCH(bool, ok);
    FtpEntry e;
    QCOMPARE(FtpListing::parseListLine(line, kNow, &e), ok);
    if (!ok) return;
    QTEST(e.name, "name");
    QTEST(e.type, "type");
    QTEST(e.size, "size");
    QTEST(e.modified, "when");
}

void TstFtpCore::mlsdLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("name");
    QTest::addColumn<FtpEntryType>("type");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QDateTime>("utc");
    const auto F = FtpEntryType::File, D = FtpEntryType::Folder, L = FtpEntryType::Link;
    QTest::newRow("file") << "type=file;size=1830;modify=20240101120000;perm=r; index.html" << true
                          << "index.html" << F << qint64(1830)
                          << QDateTime(QDate(2024, 1, 1), QTime(12, 0), QTimeZone::utc());
    QTest::newRow("folder, upper-case facts")
        << "Type=dir;Modify=20231231235959;Size=4096; css" << true << "css" << D << qint64(0)
        << QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59), QTimeZone::utc());
    QTest::newRow("fractional seconds")
        << "type=file;size=1;modify=20240101120000.123; a" << true << "a" << F << qint64(1)
        << QDateTime(QDate(2024, 1, 1), QTime(12, 0), QTimeZone::utc());
    QTest::newRow("symbolic link")
        << "type=OS.unix=symlink;size=9;modify=20240101120000; lien" << true << "lien" << L
        << qint64(9) << QDateTime(QDate(2024, 1, 1), QTime(12, 0), QTimeZone::utc());
    QTest::newRow("name with spaces and semicolons")
        << "type=file;size=3;modify=20240101120000; a b;c.txt" << true << "a b;c.txt" << F
        << qint64(3) << QDateTime(QDate(2024, 1, 1), QTime(12, 0), QTimeZone::utc());
    QTest::newRow("current folder")
        << "type=cdir;modify=20240101120000; ." << false << "" << F << qint64(0) << QDateTime();
    QTest::newRow("parent folder")
        << "type=pdir;modify=20240101120000; .." << false << "" << F << qint64(0) << QDateTime();
    QTest::newRow("no type") << "size=3; x" << false << "" << F << qint64(0) << QDateTime();
    QTest::newRow("no name") << "type=file;size=3;" << false << "" << F << qint64(0) << QDateTime();
}

void TstFtpCore::mlsdLines() {
    QFETCH(QString, line);
    QFETCH(bool, ok);
    FtpEntry e;
    QCOMPARE(FtpListing::parseMlsdLine(line, &e), ok);
    if (!ok) return;
    QTEST(e.name, "name");
    QTEST(e.type, "type");
    QTEST(e.size, "size");
    QFETCH(QDateTime, utc);
    QCOMPARE(e.modified.toUTC(), utc);
}

void TstFtpCore::wholeReply() {
    // CR LF lines, "." and "..", a UTF-8 name, a Latin-1 name, a name with a CR
    // inside (listed, so that it can be seen and refused later).
    const QByteArray reply = "total 3\r\n"
                             "drwxr-xr-x 2 o g 4096 Mar  1 10:00 .\r\n"
                             "drwxr-xr-x 2 o g 4096 Mar  1 10:00 ..\r\n"
                             "-rw-r--r-- 1 o g 5 Mar  1 10:00 \xc3\xa9t\xc3\xa9.html\r\n"
                             "-rw-r--r-- 1 o g 6 Mar  1 10:00 caf\xe9.html\r\n"
                             "-rw-r--r-- 1 o g 7 Mar  1 10:00 a\rb\r\n";
    const QList<FtpEntry> list = FtpListing::parse(reply, FtpListingFormat::List, kNow);
    QCOMPARE(list.size(), 3);
    QCOMPARE(list[0].name, QStringLiteral("été.html"));
    QCOMPARE(list[1].name, QStringLiteral("café.html"));
    QCOMPARE(list[2].name, QStringLiteral("a\rb"));
    for (int i = 0; i < list.size(); ++i)
        QCOMPARE(list[i].position, i);
    const QList<FtpEntry> mlsd = FtpListing::parse(
        "type=cdir; .\r\ntype=pdir; ..\r\ntype=file;size=1; x\r\n", FtpListingFormat::Mlsd, kNow);
    QCOMPARE(mlsd.size(), 1);
    QCOMPARE(mlsd[0].name, QStringLiteral("x"));
}

void TstFtpCore::sorting_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("name ascending")
        << 0 << false << QStringList{"a", "Zeta", "b.txt", "C.html", "lien"};
    QTest::newRow("name descending")
        << 0 << true << QStringList{"Zeta", "a", "lien", "C.html", "b.txt"};
    QTest::newRow("size ascending")
        << 1 << false << QStringList{"a", "Zeta", "lien", "C.html", "b.txt"};
    QTest::newRow("size descending")
        << 1 << true << QStringList{"a", "Zeta", "b.txt", "C.html", "lien"};
    QTest::newRow("date ascending")
        << 2 << false << QStringList{"Zeta", "a", "C.html", "lien", "b.txt"};
    QTest::newRow("date descending")
        << 2 << true << QStringList{"a", "Zeta", "b.txt", "lien", "C.html"};
}

void TstFtpCore::sorting() {
    QFETCH(int, column);
    QFETCH(bool, descending);
    const QDateTime d(QDate(2024, 1, 1), QTime(0, 0));
    QList<FtpEntry> list{
        entry("b.txt", FtpEntryType::File, 300, d.addDays(5)),
        entry("Zeta", FtpEntryType::Folder, 0, d.addDays(1)),
        entry("C.html", FtpEntryType::File, 200, d.addDays(3)),
        entry("lien", FtpEntryType::Link, 10, d.addDays(4)),
        entry("a", FtpEntryType::Folder, 0, d.addDays(2)),
    };
    FtpListing::sort(list, column, descending);
    QStringList names;
    for (const FtpEntry &e : list)
        names << e.name;
    QTEST(names, "order");
}

void TstFtpCore::columnClicks_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<bool>("expected");
    QTest::newRow("same column ascending turns descending") << 1 << false << 1 << true;
    QTest::newRow("same column descending turns ascending") << 1 << true << 1 << false;
    QTest::newRow("other column is ascending") << 0 << true << 2 << false;
}

void TstFtpCore::columnClicks() {
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(int, clicked);
    FtpListing::clickColumn(clicked, &column, &descending);
    QCOMPARE(column, clicked);
    QTEST(descending, "expected");
}

void TstFtpCore::dates_data() {
    QTest::addColumn<QDateTime>("modified");
    QTest::addColumn<QString>("text");
    const QDateTime local(QDate(2026, 12, 10), QTime(4, 55, 30));
    QTest::newRow("local time, French order") << local << "10/12/2026 04:55";
    QTest::newRow("UTC from MLSD shown in local time") << local.toUTC() << "10/12/2026 04:55";
    QTest::newRow("no date") << QDateTime() << "";
}

void TstFtpCore::dates() {
    QFETCH(QDateTime, modified);
    QTEST(FtpListing::dateText(modified), "text");
}

void TstFtpCore::remoteNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plain");
    QTest::newRow("plain") << "index.html" << true;
    QTest::newRow("spaces and accents") << " été 2024 .html" << true;
    QTest::newRow("two dots inside") << "a..b" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("slash") << "../../.bashrc" << false;
    QTest::newRow("back slash") << "..\\..\\autoexec.bat" << false;
    QTest::newRow("carriage return") << "a\rDELE x" << false;
    QTest::newRow("line feed") << "a\nb" << false;
    QTest::newRow("NUL") << QString::fromLatin1("a\0b", 3) << false;
    QTest::newRow("escape") << "a\x1b[31mb" << false;
    QTest::newRow("C1 control") << QString(QChar(0x85)) + "x" << false;
    QTest::newRow("line separator") << QString(QChar(0x2028)) << false;
}

void TstFtpCore::remoteNames() {
    QFETCH(QString, name);
    QTEST(FtpNames::isPlainRemoteName(name), "plain");
}

void TstFtpCore::typedNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    const QString forbidden = FtpTexts::forbiddenCharacters();
    QTest::newRow("plain") << "nouveau"
                           << "";
    QTest::newRow("hash percent space") << "a #1 100%"
                                        << "";
    for (const char *c : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|"})
        QTest::newRow(c) << QStringLiteral("a%1b").arg(QLatin1String(c)) << forbidden;
    QTest::newRow("CR LF injection") << "x\r\nDELE index.html" << FtpTexts::controlCharacters();
    QTest::newRow("tab") << "a\tb" << FtpTexts::controlCharacters();
    QTest::newRow("dot dot") << ".." << forbidden;
}

void TstFtpCore::typedNames() {
    QFETCH(QString, name);
    QTEST(FtpNames::typedNameError(name), "error");
}

void TstFtpCore::paths_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("parent");
    QTest::newRow("empty folder: login folder") << "/home/u"
                                                << ""
                                                << "/home/u"
                                                << "/home";
    QTest::newRow("relative") << "/home/u"
                              << "www/html"
                              << "/home/u/www/html"
                              << "/home/u/www";
    QTest::newRow("absolute") << "/home/u"
                              << "/var/www/"
                              << "/var/www"
                              << "/var";
    QTest::newRow("back slashes, dots") << "/"
                                        << "a\\.\\b\\..\\c"
                                        << "/a/c"
                                        << "/a";
    QTest::newRow("dots above root") << "/"
                                     << "../../x"
                                     << "/x"
                                     << "/";
    QTest::newRow("root") << ""
                          << ""
                          << "/"
                          << "/";
}

void TstFtpCore::paths() {
    QFETCH(QString, entry);
    QFETCH(QString, session);
    QFETCH(QString, start);
    QCOMPARE(FtpNames::startFolder(entry, session), start);
    QTEST(FtpNames::parent(start), "parent");
    QCOMPARE(FtpNames::join(start, QStringLiteral("f")),
             start == QLatin1String("/") ? QStringLiteral("/f") : start + QStringLiteral("/f"));
}

void TstFtpCore::urls_data() {
    QTest::addColumn<FtpProtocol>("protocol");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QByteArray>("url");
    QTest::newRow("ftp root") << FtpProtocol::Ftp << "ftp.example.com"
                              << "/" << true << QByteArray("ftp://ftp.example.com:21/%2F/");
    QTest::newRow("ftps folder") << FtpProtocol::Ftps << "h"
                                 << "/www/html" << true << QByteArray("ftp://h:21/%2Fwww/html/");
    QTest::newRow("hash percent space question")
        << FtpProtocol::Ftp << "h"
        << "/a b/#1 100%?.html" << false << QByteArray("ftp://h:21/%2Fa%20b/%231%20100%25%3F.html");
    QTest::newRow("accents as UTF-8")
        << FtpProtocol::Ftp << "h"
        << "/été" << false << QByteArray("ftp://h:21/%2F%C3%A9t%C3%A9");
    QTest::newRow("sftp absolute")
        << FtpProtocol::Sftp << "h"
        << "/home/u/x y" << false << QByteArray("sftp://h:22/home/u/x%20y");
    QTest::newRow("sftp root") << FtpProtocol::Sftp << "h"
                               << "/" << true << QByteArray("sftp://h:22/");
    QTest::newRow("ipv6") << FtpProtocol::Ftp << "::1"
                          << "/" << true << QByteArray("ftp://[::1]:21/%2F/");
    QTest::newRow("international name")
        << FtpProtocol::Ftp << "bücher.example"
        << "/" << true << QByteArray("ftp://xn--bcher-kva.example:21/%2F/");
}

void TstFtpCore::urls() {
    QFETCH(FtpProtocol, protocol);
    QFETCH(QString, host);
    QFETCH(QString, path);
    QFETCH(bool, folder);
    QVERIFY(FtpUrl::validHost(host));
    QTEST(FtpUrl::make(protocol, host, FtpSessions::defaultPort(protocol), path, folder), "url");
    // Hosts that would change the URL's meaning are refused.
    for (const char *bad : {"user@h", "h/x", "h%2F", "h x", "", "h?a", "h#a"})
        QVERIFY2(!FtpUrl::validHost(QString::fromLatin1(bad)), bad);
}

void TstFtpCore::sessionNames_data() {
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("editing");
    QTest::addColumn<QString>("error");
    const QStringList two{"Mon site", "Travail"};
    QTest::newRow("free") << two << "Perso"
                          << ""
                          << "";
    QTest::newRow("empty") << two << ""
                           << "" << FtpTexts::sessionNameMissing();
    QTest::newRow("taken, other case") << two << "travail"
                                       << "" << FtpTexts::sessionNameTaken("travail");
    QTest::newRow("own name kept") << two << "Travail"
                                   << "Travail"
                                   << "";
    QTest::newRow("own name, other case") << two << "TRAVAIL"
                                          << "Travail"
                                          << "";
    QTest::newRow("another's name when editing")
        << two << "mon site"
        << "Travail" << FtpTexts::sessionNameTaken("mon site");
    QTest::newRow("slash") << two << "a/b"
                           << "" << FtpTexts::sessionNameSlash();
    QTest::newRow("back slash") << two << "a\\b"
                                << "" << FtpTexts::sessionNameSlash();
}

void TstFtpCore::sessionNames() {
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    QFETCH(QString, editing);
    QTEST(FtpSessions::nameError(name, existing, editing), "error");
    QCOMPARE(FtpSessions::proposedName({}), QStringLiteral("Mon site"));
    QCOMPARE(FtpSessions::proposedName({"mon SITE", "Mon site 1", "Mon site 3"}),
             QStringLiteral("Mon site 2"));
}

void TstFtpCore::sessionsStoredWithoutPassword() {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("s.ini"));
    {
        SettingsStore store(ini);
        FtpSession s;
        s.name = QStringLiteral("Mon site");
        s.host = QStringLiteral("ftp.example.com");
        s.user = QStringLiteral("moi");
        s.password = QStringLiteral("TresSecret42");
        s.folder = QStringLiteral("www");
        s.port = 2121;
        s.passive = true;
        s.protocol = FtpProtocol::Sftp;
        FtpSessions::write(store, s);
    }
    QFile f(ini);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(!f.readAll().contains("TresSecret42"));
    const QFile::Permissions mode = QFile::permissions(ini);
    QVERIFY(mode & QFile::ReadOwner);
    QVERIFY(
        !(mode & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));
    SettingsStore again(ini);
    const FtpSession r = FtpSessions::read(again, QStringLiteral("Mon site"));
    QCOMPARE(r.host, QStringLiteral("ftp.example.com"));
    QCOMPARE(r.user, QStringLiteral("moi"));
    QCOMPARE(r.password, QString());
    QCOMPARE(r.folder, QStringLiteral("www"));
    QCOMPARE(r.port, 2121);
    QVERIFY(r.passive);
    QCOMPARE(r.protocol, FtpProtocol::Sftp);
    QVERIFY(FtpSessions::exists(again, QStringLiteral("MON SITE")));
    FtpSessions::erase(again, QStringLiteral("Mon site"));
    QVERIFY(FtpSessions::names(again).isEmpty());
}

void TstFtpCore::plainPasswordErased() {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("s.ini"));
    {
        SettingsStore store(ini);
        store.writeString(QStringLiteral("FTP\\Ancien"), QStringLiteral("FtpServerEdit"),
                          QStringLiteral("h"));
        store.writeString(QStringLiteral("FTP\\Ancien"), QStringLiteral("UserPasswordEdit"),
                          QStringLiteral("EnClair99"));
        store.sync();
    }
    SettingsStore store(ini);
    const FtpSession s = FtpSessions::read(store, QStringLiteral("Ancien"));
    QCOMPARE(s.password, QStringLiteral("EnClair99"));
    QCOMPARE(s.port, 21);
    QVERIFY(!s.passive);
    QVERIFY(FtpSessions::erasePlainPassword(store, QStringLiteral("Ancien")));
    QVERIFY(!FtpSessions::erasePlainPassword(store, QStringLiteral("Ancien")));
    QFile f(ini);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(!f.readAll().contains("EnClair99"));
}

void TstFtpCore::portText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<FtpProtocol>("protocol");
    QTest::addColumn<int>("port");
    QTest::newRow("number") << " 2121 " << FtpProtocol::Ftp << 2121;
    QTest::newRow("not a number, ftp") << "abc" << FtpProtocol::Ftp << 21;
    QTest::newRow("not a number, sftp") << "" << FtpProtocol::Sftp << 22;
    QTest::newRow("out of range") << "70000" << FtpProtocol::Ftps << 21;
}

void TstFtpCore::portText() {
    QFETCH(QString, text);
    QFETCH(FtpProtocol, protocol);
    QTEST(FtpSessions::portFromText(text, protocol), "port");
}

QTEST_GUILESS_MAIN(TstFtpCore)
#include "tst_ftp_core.moc"
