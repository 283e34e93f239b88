#include "cli/batch_command.h"

#include "app/document_types.h"
#include "assist/accents.h"
#include "assist/document_rewrites.h"
#include "editor/multi_highlighter.h"
#include "platform/text_file.h"
#include "platform/windows1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QStringList errors;
};

Run run(const QStringList &args, const QByteArray &input = {}) {
    Run r;
    Batch::Io io;
    io.readStdin = [input] { return input; };
    io.writeStdout = [&r](const QByteArray &b) { r.out += b; };
    io.writeStderr = [&r](const QString &m) { r.errors << m; };
    r.status = Batch::Run(args, io);
    return r;
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The bytes the command gave when it decoded the whole file to the editor's text,
// rewrote that and encoded it again, as a save does: the reference for the byte road.
QByteArray textRoad(const QStringList &args, const QByteArray &bytes, bool *changed) {
    static DocumentTypes types;
    static const Assist::RawTextRegions regions(
        static_cast<const MultiHighlighter *>(types.highlighter(DocumentTypes::SynMultiSynHTML)));
    const LoadedText t = decodeFileBytes(bytes);
    QByteArray text = t.utf8;
    LineBreak style = t.lineBreak;
    if (args.first() == "indent") {
        const bool spaces = !args.contains("--tabs");
        const Assist::IndentOutcome o = Assist::IndentDocument(
            Assist::WithCrLfBreaks(t.utf8), spaces, spaces ? args.at(2).toInt() : 4);
        *changed = o.changed;
        text = o.text;
    } else if (args.first() == "accents") {
        text = Assist::ConvertAccents(t.utf8,
                                      args.contains("--to-text")
                                          ? Assist::AccentDirection::ToCharacters
                                          : Assist::AccentDirection::ToReferences,
                                      !args.contains("--numeric"), regions);
        *changed = text != t.utf8;
    } else {
        style = args.contains("--lf")   ? LineBreak::Lf
                : args.contains("--cr") ? LineBreak::Cr
                                        : LineBreak::CrLf;
        // Mixed breaks count as a change even in the detected style.
        bool other = false;
        const QByteArray &u = t.utf8;
        for (qsizetype i = 0; i < u.size(); ++i) {
            if (u[i] != '\r' && u[i] != '\n') continue;
            const bool pair = u[i] == '\r' && i + 1 < u.size() && u[i + 1] == '\n';
            other = other || (pair           ? LineBreak::CrLf
                              : u[i] == '\r' ? LineBreak::Cr
                                             : LineBreak::Lf) != style;
            i += pair;
        }
        *changed = style != t.lineBreak || other;
    }
    if (!*changed) return bytes;
    QByteArray out;
    if (!encodeForFile(text.constData(), text.size(), t.encoding, style, &out)) return "<failed>";
    return out;
}

// The page in the given encoding and line breaks ("mixed": LF, CR LF and CR in turn).
QByteArray pageBytes(const QString &page, const QString &encoding, const QString &breaks) {
    QByteArray bytes;
    if (encoding == "windows-1252") {
        for (const QChar c : page) {
            const int b = Windows1252::fromUnicode(c.unicode());
            bytes.append(char(b < 0 ? '?' : b));
        }
    } else {
        bytes = page.toUtf8();
        if (encoding == "utf-8 bom") bytes.prepend("\xEF\xBB\xBF");
    }
    QByteArray out;
    int line = 0;
    for (const char c : bytes) {
        if (c != '\n') {
            out.append(c);
            continue;
        }
        const QString b =
            breaks == "mixed" ? QStringList{"lf", "crlf", "cr"}.at(line++ % 3) : breaks;
        out.append(b == "lf" ? "\n" : b == "cr" ? "\r" : "\r\n");
    }
    return out;
}

} // namespace

class TestBatchCommand : public QObject {
    Q_OBJECT
private slots:
    void bytes_data();
    void bytes();
    void check();
    void pageCheck();
    void siteLinks();
    void stoppedIndent_data();
    void stoppedIndent();
    void failuresLeaveOtherFilesDone();
    void usage_data();
    void usage();
    void byteRoadMatchesTextRoad_data();
    void byteRoadMatchesTextRoad();
};

void TestBatchCommand::bytes_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    const QStringList indent{"indent", "--spaces", "2"};
    QTest::newRow("indent, Windows-1252, LF")
        << indent << QByteArray("<p>\n\xE9t\xE9\n</p>\n") << QByteArray("<p>\n  \xE9t\xE9\n</p>\n");
    QTest::newRow("indent, UTF-8, CR LF")
        << indent << QByteArray("<p>\r\nété\r\n</p>\r\n") << QByteArray("<p>\r\n  été\r\n</p>\r\n");
    QTest::newRow("indent, UTF-8 with BOM, CR") << indent << QByteArray("\xEF\xBB\xBF<p>\rx\r</p>")
                                                << QByteArray("\xEF\xBB\xBF<p>\r  x\r</p>\r");
    QTest::newRow("indent, tabs") << QStringList{"indent", "--tabs"}
                                  << QByteArray("<ul>\n<li>a\n</ul>\n")
                                  << QByteArray("<ul>\n\t<li>a\n</ul>\n");
    QTest::newRow("indent keeps undefined code page bytes")
        << indent << QByteArray("<b>\n\x81\x8D\x8F\x90\x9D\x01\n</b>\n")
        << QByteArray("<b>\n  \x81\x8D\x8F\x90\x9D\x01\n</b>\n");
    QTest::newRow("accents to entities, Windows-1252")
        << QStringList{"accents", "--to-entities"} << QByteArray("caf\xE9 \x9C\n")
        << QByteArray("caf&eacute; &oelig;\n");
    QTest::newRow("accents to numeric entities, UTF-8")
        << QStringList{"accents", "--to-entities", "--numeric"} << QByteArray("à\r\n")
        << QByteArray("&#224;\r\n");
    QTest::newRow("accents to text, UTF-8 BOM")
        << QStringList{"accents", "--to-text"} << QByteArray("\xEF\xBB\xBF&eacute;\n")
        << QByteArray("\xEF\xBB\xBFé\n");
    QTest::newRow("accents to text, ASCII file becomes Windows-1252")
        << QStringList{"accents", "--to-text"} << QByteArray("&eacute;&#339;\r\n")
        << QByteArray("\xE9\x9C\r\n");
    QTest::newRow("eol to CR LF") << QStringList{"eol", "--crlf"} << QByteArray("a\nb\n\xE9\n")
                                  << QByteArray("a\r\nb\r\n\xE9\r\n");
    QTest::newRow("eol to CR") << QStringList{"eol", "--cr"} << QByteArray("a\r\nb")
                               << QByteArray("a\rb\r");
    QTest::newRow("eol to CR LF on mixed breaks")
        << QStringList{"eol", "--crlf"} << QByteArray("a\nb\r\nc\rd")
        << QByteArray("a\r\nb\r\nc\r\nd\r\n");
    QTest::newRow("eol to LF on mixed breaks")
        << QStringList{"eol", "--lf"} << QByteArray("a\r\nb\n") << QByteArray("a\nb\n");
    QTest::newRow("eol unchanged: file untouched")
        << QStringList{"eol", "--lf"} << QByteArray("a\nb") << QByteArray("a\nb");
    QTest::newRow("already indented: file untouched")
        << QStringList{"indent", "--tabs"} << QByteArray("<p>\n\tx\n</p>")
        << QByteArray("<p>\n\tx\n</p>");
    QTest::newRow("indent adds the final line break a save writes")
        << indent << QByteArray("<p>\nx\n</p>") << QByteArray("<p>\n  x\n</p>\n");
}

void TestBatchCommand::bytes() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    write(path, before);
    const Run r = run(args + QStringList{path});
    QCOMPARE(r.status, int(Batch::Done));
    QCOMPARE(readAll(path), after);

    // Standard input gives the same bytes on standard output.
    const Run piped = run(args + QStringList{"-"}, before);
    QCOMPARE(piped.status, int(Batch::Done));
    QCOMPARE(piped.out, after);
}

void TestBatchCommand::check() {
    QTemporaryDir dir;
    const QString messy = dir.filePath(QStringLiteral("a.html"));
    const QString tidy = dir.filePath(QStringLiteral("b.html"));
    write(messy, "<div>\nx\n</div>\n");
    write(tidy, "<div>\n\tx\n</div>\n");
    Run r = run({"indent", "--tabs", "--check", tidy});
    QCOMPARE(r.status, int(Batch::Done));
    r = run({"indent", "--check", "--tabs", tidy, messy});
    QCOMPARE(r.status, int(Batch::WouldChange));
    QCOMPARE(readAll(messy), QByteArray("<div>\nx\n</div>\n"));
    QCOMPARE(r.errors.size(), 1);
    QVERIFY(r.errors.first().contains(messy));
    r = run({"eol", "--crlf", "--check", "-"}, "a\nb\r\n");
    QCOMPARE(r.status, int(Batch::WouldChange));
    r = run({"indent", "--check", "-"}, "<div>\nx\n</div>");
    QCOMPARE(r.status, int(Batch::WouldChange));
    QVERIFY(r.out.isEmpty());
}

void TestBatchCommand::pageCheck() {
    // Findings in the form compilers use, status 1 when there are any; clean pages,
    // a Windows-1252 page (columns in characters) and a PHP page give none.
    QTemporaryDir dir;
    const QString faulty = dir.filePath(QStringLiteral("faute.html"));
    write(faulty, "<p><b><i>x</b></i>\r\n<img src=\"absent.png\">\r\n");
    const QString latin = dir.filePath(QStringLiteral("latin.htm"));
    write(latin, "<p>\xC9t\xE9</p><p id=a>1</p><a href=\"#b\">2</a>\n");
    const QString clean = dir.filePath(QStringLiteral("propre.html"));
    write(clean, "<!DOCTYPE html>\n<title>T</title>\n<p>Un <a href=\"faute.html\">lien</a>\n"
                 "<ul><li>a<li>b</ul>\n");
    const QString php = dir.filePath(QStringLiteral("page.php"));
    write(php, "<?php echo '<div>'; ?>\n<p class=\"<?= $c ?>\">x</p>\n");

    Run r = run({"check", clean, php});
    QCOMPARE(r.status, int(Batch::Done));
    QVERIFY(r.out.isEmpty());
    QVERIFY(r.errors.isEmpty());

    r = run({"check", faulty, clean, latin});
    QCOMPARE(r.status, int(Batch::Found));
    QCOMPARE(QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             (QStringList{faulty + ":1:15: Balises croisées : </i> vient après </b> (ligne 1), "
                                   "qui ferme l'élément englobant",
                          faulty + ":2:1: Image sans texte de remplacement (attribut alt)",
                          faulty + ":2:11: Fichier introuvable : absent.png",
                          latin + ":1:33: Lien « #b » : aucun élément de la page n'a cet "
                                  "identifiant ou ce nom"}));

    r = run({"check", "-"}, "<div>\n");
    QCOMPARE(r.status, int(Batch::Found));
    QCOMPARE(r.out, QByteArray("(entrée standard):1:1: L'élément <div> n'est jamais fermé\n"));
    // An unreadable file outweighs the findings.
    r = run({"check", faulty, dir.filePath(QStringLiteral("absent.html"))});
    QCOMPARE(r.status, int(Batch::Failed));
}

void TestBatchCommand::stoppedIndent_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("message");
    QTest::newRow("stray end tag")
        << QByteArray("<div>\nx\n</span>\n<p>y\n") << QByteArray("<div>\n\tx\n</span>\n<p>y\n")
        << "indentation arrêtée à la ligne 3 (balise de fin </span> sans balise d'ouverture)";
    QTest::newRow("element left open")
        << QByteArray("<div>\ntexte\n") << QByteArray("<div>\n\ttexte\n")
        << "c.html : élément <div> ouvert à la ligne 1 et jamais fermé";
}

void TestBatchCommand::stoppedIndent() {
    // A stopped indent names its cause and exits with its own status; the indented
    // part is still written.
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("c.html"));
    const QString tidy = dir.filePath(QStringLiteral("d.html"));
    write(broken, before);
    write(tidy, "<b>\n</b>\n");
    Run r = run({"indent", "--tabs", broken, tidy});
    QCOMPARE(r.status, int(Batch::Stopped));
    QCOMPARE(readAll(broken), after);
    QCOMPARE(r.errors.size(), 1);
    QVERIFY2(r.errors.first().contains(message), qPrintable(r.errors.first()));
    r = run({"indent", "--check", tidy, broken});
    QCOMPARE(r.status, int(Batch::Stopped));
    // An error outweighs a stop.
    r = run({"indent", broken, dir.filePath(QStringLiteral("absent.html"))});
    QCOMPARE(r.status, int(Batch::Failed));
}

void TestBatchCommand::failuresLeaveOtherFilesDone() {
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.html"));
    write(good, "\xE9\n");
    const QString missing = dir.filePath(QStringLiteral("absent.html"));
    const Run r = run({"accents", "--to-entities", missing, dir.path(), good});
    QCOMPARE(r.status, int(Batch::Failed));
    QCOMPARE(readAll(good), QByteArray("&eacute;\n"));
    QCOMPARE(r.errors.size(), 2);
    QCOMPARE(r.errors.at(0),
             QStringLiteral("balizor-cli : impossible de lire le fichier %1").arg(missing));
    QVERIFY(!QFile::exists(missing));

    // A folder that cannot take the new file: the old one stays.
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(locked));
    const QString inside = locked + QStringLiteral("/p.html");
    write(inside, "\xE9\n");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const Run w = run({"accents", "--to-entities", inside});
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (w.status == int(Batch::Done))
        QSKIP("needs a plain user's rights: the administrator writes in any folder");
    QCOMPARE(w.status, int(Batch::Failed));
    QCOMPARE(readAll(inside), QByteArray("\xE9\n"));
    QVERIFY(w.errors.first().startsWith(QStringLiteral("balizor-cli : impossible d'écrire")));
}

void TestBatchCommand::siteLinks() {
    // The site's broken links in the form compilers use, under the folder as typed.
    QTemporaryDir dir;
    write(dir.filePath(QStringLiteral("a.html")), "<a href=\"b.html#x\">b</a>\n");
    write(dir.filePath(QStringLiteral("b.html")), "<p id=\"x\"><img src=\"absent.png\" alt=\"\">");
    Run r = run({"links", dir.path()});
    QCOMPARE(r.status, int(Batch::Found));
    QCOMPARE(QString::fromUtf8(r.out),
             dir.path() + "/b.html:1:21: Fichier introuvable : absent.png\n");
    write(dir.filePath(QStringLiteral("absent.png")), "png");
    r = run({"links", dir.path()});
    QCOMPARE(r.status, int(Batch::Done));
    QVERIFY(r.out.isEmpty());
    r = run({"links", dir.filePath(QStringLiteral("absent"))});
    QCOMPARE(r.status, int(Batch::Failed));
    QCOMPARE(r.errors.size(), 1);
}

void TestBatchCommand::usage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("help") << QStringList{"--help"} << 0 << QString();
    QTest::newRow("nothing") << QStringList{} << 2 << "commande manquante";
    QTest::newRow("unknown command") << QStringList{"tidy", "a"} << 2 << "commande inconnue";
    QTest::newRow("unknown option")
        << QStringList{"indent", "--crlf", "a"} << 2 << "option inconnue « --crlf »";
    QTest::newRow("bad width") << QStringList{"indent", "--spaces", "x", "a"} << 2 << "--spaces";
    QTest::newRow("no direction") << QStringList{"accents", "a"} << 2 << "--to-entities";
    QTest::newRow("no style") << QStringList{"eol", "a"} << 2 << "--crlf";
    QTest::newRow("no file") << QStringList{"eol", "--lf"} << 2 << "aucun fichier";
    QTest::newRow("links without folder") << QStringList{"links"} << 2 << "aucun dossier";
    QTest::newRow("check changes nothing")
        << QStringList{"check", "--check", "a"} << 2 << "option inconnue « --check »";
}

void TestBatchCommand::usage() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Run r = run(args);
    QCOMPARE(r.status, status);
    if (status == 0) {
        QVERIFY(r.out.contains("Utilisation"));
        QVERIFY(r.errors.isEmpty());
    } else {
        QCOMPARE(r.errors.size(), 1);
        QVERIFY2(r.errors.first().contains(message), qPrintable(r.errors.first()));
    }
}

void TestBatchCommand::byteRoadMatchesTextRoad_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("bytes");

    const QStringList pages = {
        // A whole page: accents, entities, regions left alone, pre, items left open.
        "<!DOCTYPE html>\n<html>\n<head>\n<title>Été à Noël</title>\n"
        "<style type=\"text/css\">\np { content: \"é\"; }\n</style>\n</head>\n<body>\n"
        "<p>Un   Œ été <b>chaud</b> &eacute;t&eacute; &#233; &#339; &nbsp; œuvre 12 €\n"
        "<p>Second\n<pre>\n  gardé   tel quel\n\tà la tabulation près\n</pre>\n"
        "<ul>\n<li>un\n<li>deux &amp; trois\n</ul>\n<table><tr><td>a<td>ç\n</table>\n"
        "<script>\nvar s = \"é\" + \"&eacute;\";\n</script>\n"
        "   \n\n</body>\n</html>\n",
        // Stops in the middle: the rest stays as it was.
        "<div>\n<span>déjà\n</div>\n   reste  à   laisser\n<p>è\n\n\n",
        "<div>\n<a href=\"x>\n<b>é</b></div>",
        "<div>\n  <p>\n    déjà indenté\n  </p>\n</div>\n",
        "<b>é</b>",
        "",
        "\n\n  \n",
        "<p>&eacute;&#339;&Eacute;</p>\n",
        "<meta charset=\"utf-8\">\n<p>&agrave; bient&ocirc;t\n",
    };
    const QList<QStringList> commands = {
        {"indent", "--spaces", "2"},
        {"indent", "--tabs"},
        {"accents", "--to-entities"},
        {"accents", "--to-entities", "--numeric"},
        {"accents", "--to-text"},
        {"eol", "--lf"},
        {"eol", "--crlf"},
        {"eol", "--cr"},
    };
    for (int p = 0; p < pages.size(); ++p)
        for (const char *encoding : {"windows-1252", "utf-8", "utf-8 bom"})
            for (const char *breaks : {"lf", "crlf", "cr", "mixed"})
                for (const QStringList &c : commands)
                    QTest::addRow("page %d, %s, %s, %s", p, encoding, breaks,
                                  qPrintable(c.join(' ')))
                        << c << pageBytes(pages.at(p), encoding, breaks);

    // Bytes the code page leaves undefined, and control characters.
    static const char raw[] = "<p>\x81\x8D\x8F\x90\x9D\0\x01\r\n\xE9\x9C</p>\n\r";
    for (const QStringList &c : commands)
        QTest::addRow("undefined bytes, %s", qPrintable(c.join(' ')))
            << c << QByteArray(raw, sizeof raw - 1);

    // Pages larger than the pieces the output is written in: a pre block and a
    // stopped run whose rest both run over several pieces.
    QString big = "<html>\n<body>\n";
    for (int i = 0; i < 12000; ++i)
        big += "<div class=\"a\">\n<p>Été <i>n°" + QString::number(i) + "</i> &eacute;\n</div>\n";
    big += "<pre>\n";
    for (int i = 0; i < 30000; ++i)
        big += "  ligne   é " + QString::number(i) + "\n";
    big += "</pre>\n</span>\n";
    for (int i = 0; i < 30000; ++i)
        big += "   reste à laisser " + QString::number(i) + "\n";
    for (const QStringList &c : commands) {
        QTest::addRow("large page, windows-1252, crlf, %s", qPrintable(c.join(' ')))
            << c << pageBytes(big, "windows-1252", "crlf");
        QTest::addRow("large page, utf-8 bom, mixed, %s", qPrintable(c.join(' ')))
            << c << pageBytes(big, "utf-8 bom", "mixed");
    }
}

void TestBatchCommand::byteRoadMatchesTextRoad() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, bytes);
    bool changed = false;
    const QByteArray expected = textRoad(args, bytes, &changed);
    const Run piped = run(args + QStringList{"-"}, bytes);
    QVERIFY(piped.status == Batch::Done || piped.status == Batch::Stopped);
    QCOMPARE(piped.out, expected);
    const Run check = run(args + QStringList{"--check", "-"}, bytes);
    QCOMPARE(check.errors.join('\n').contains("serait modifié"), changed);
}

QTEST_APPLESS_MAIN(TestBatchCommand)
#include "tst_batch_command.moc"
