#include "authoring/page_properties.h"
#include "platform/text_file.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Authoring;
Q_DECLARE_METATYPE(Authoring::PageProperties)

namespace {

// Values as a short description: "title=Accueil;bgcolor=#FFFFFF;+generator=Balizor;-author".
PageProperties props(const QString &base, const QString &changes) {
    PageProperties p = ReadPageProperties(base);
    for (const QString &c : changes.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (c.startsWith(QLatin1Char('-')) || c.startsWith(QLatin1Char('+'))) {
            const QString name = c.mid(1).section(QLatin1Char('='), 0, 0);
            for (int m = 0; m < MetaCount; ++m) {
                if (metaNameText(m) != name) continue;
                p.hasMeta[size_t(m)] = c.startsWith(QLatin1Char('+'));
                if (c.contains(QLatin1Char('=')))
                    p.meta[size_t(m)] = c.section(QLatin1Char('='), 1);
            }
            continue;
        }
        const QString name = c.section(QLatin1Char('='), 0, 0);
        const QString value = c.section(QLatin1Char('='), 1);
        if (name == QLatin1String("title")) p.title = value;
        for (int i = 0; i < BodyCount; ++i)
            if (bodyAttributeText(i) == name) p.body[size_t(i)] = value;
    }
    return p;
}

const QString kFull = QStringLiteral(
    "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<title>Ma page</title>\r\n"
    "<meta name=\"description\" content=\"Une page\">\r\n"
    "<meta name=\"author\" content=\"Jean\">\r\n</head>\r\n"
    "<body bgcolor=\"#FFFFFF\" text=\"#000000\">\r\n<p>Bonjour</p>\r\n</body>\r\n</html>\r\n");

} // namespace

class TestPageProperties : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void failureChangesNothing_data();
    void failureChangesNothing();
    void unclosedRegions_data();
    void unclosedRegions();
    void colourFields_data();
    void colourFields();
    void typedColour_data();
    void typedColour();
    void changedSpan_data();
    void changedSpan();
    void noChangeKeepsBytes_data();
    void noChangeKeepsBytes();
};

void TestPageProperties::read_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("bgcolor");
    QTest::addColumn<QString>("background");
    QTest::addColumn<QString>("metas"); // "name=content" of the metas found, in order, ";"-joined

    QTest::newRow("crlf page") << kFull << "Ma page"
                               << "#FFFFFF"
                               << ""
                               << "description=Une page;author=Jean";
    QTest::newRow("lf breaks") << QString(kFull).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                               << "Ma page"
                               << "#FFFFFF"
                               << ""
                               << "description=Une page;author=Jean";
    QTest::newRow("cr breaks") << QString(kFull).replace(QLatin1String("\r\n"), QLatin1String("\r"))
                               << "Ma page"
                               << "#FFFFFF"
                               << ""
                               << "description=Une page;author=Jean";
    QTest::newRow("title at the very end") << "<p>x</p><title>Fin</title>"
                                           << "Fin"
                                           << ""
                                           << ""
                                           << "";
    QTest::newRow("upper case names") << "<TITLE>T</TITLE><META NAME=\"Keywords\" CONTENT=\"a, b\">"
                                         "<BODY BGCOLOR=\"#123456\">"
                                      << "T"
                                      << "#123456"
                                      << ""
                                      << "keywords=a, b";
    QTest::newRow("break inside the body tag") << "<body\r\nbgcolor=\"#FFFFFF\"\r\n>"
                                               << ""
                                               << "#FFFFFF"
                                               << ""
                                               << "";
    QTest::newRow("unquoted value keeps its extension")
        << "<body background=bg.gif bgcolor=#FF0000>"
        << ""
        << "#FF0000"
        << "bg.gif"
        << "";
    QTest::newRow("single quotes") << "<body bgcolor='#00FF00'>"
                                   << ""
                                   << "#00FF00"
                                   << ""
                                   << "";
    QTest::newRow("bodyx is not body") << "<bodyx bgcolor=\"red\"><body bgcolor=\"blue\">"
                                       << ""
                                       << "blue"
                                       << ""
                                       << "";
    QTest::newRow("header is not head, titles first wins")
        << "<header><title>Un</title></header><title>Deux</title>"
        << "Un"
        << ""
        << ""
        << "";
    QTest::newRow("first body and first meta win")
        << "<meta name=\"author\" content=\"A\"><meta name=\"author\" content=\"B\">"
           "<body bgcolor=\"#111111\"><body bgcolor=\"#222222\">"
        << ""
        << "#111111"
        << ""
        << "author=A";
    QTest::newRow("commented title skipped") << "<!-- <title>Non</title> --><title>Oui</title>"
                                             << "Oui"
                                             << ""
                                             << ""
                                             << "";
    QTest::newRow("title across lines") << "<title>Deux\nlignes</title>"
                                        << "Deux lignes"
                                        << ""
                                        << ""
                                        << "";
    QTest::newRow("meta without content") << "<meta name=\"generator\">"
                                          << ""
                                          << ""
                                          << ""
                                          << "generator=";
    QTest::newRow("script text ignored")
        << "<script>var s = '<title>Non</title>';</script><title>Oui</title>"
        << "Oui"
        << ""
        << ""
        << "";
    QTest::newRow("gt inside quoted value") << "<body onload=\"a>b\" bgcolor=\"#ABCDEF\">"
                                            << ""
                                            << "#ABCDEF"
                                            << ""
                                            << "";
    using S = QString;
    QTest::newRow("server code in the tag and its values")
        << S("<body <?php body_class(); ?> bgcolor=\"<%=c%>\" background=<?=$f?>.gif>") << S()
        << S("<%=c%>") << S("<?=$f?>.gif") << S();
    QTest::newRow("server code with quotes in a meta")
        << S("<meta name=\"author\" content=\"<?php echo \"<b>\"; ?>\">") << S() << S() << S()
        << S("author=<?php echo \"<b>\"; ?>");
}

void TestPageProperties::read() {
    QFETCH(QString, text);
    const PageProperties p = ReadPageProperties(text);
    QFETCH(QString, title);
    QCOMPARE(p.title, title);
    QFETCH(QString, bgcolor);
    QFETCH(QString, background);
    QFETCH(QString, metas);
    QCOMPARE(p.body[BodyBgcolor], bgcolor);
    QCOMPARE(p.body[BodyBackground], background);
    QStringList found;
    for (int m = 0; m < MetaCount; ++m)
        if (p.hasMeta[size_t(m)]) found << metaNameText(m) + QLatin1Char('=') + p.meta[size_t(m)];
    QCOMPARE(found.join(QLatin1Char(';')), metas);
}

void TestPageProperties::write_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("eol");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caretLine"); // 0-based line of the caret, -1: not checked

    const QString crlf = QStringLiteral("\r\n");
    QTest::newRow("empty document")
        << ""
        << "title=Accueil;+generator=Balizor" << crlf << false << false
        << "<html>\r\n<head>\r\n<title>Accueil</title>\r\n"
           "<meta name=\"generator\" content=\"Balizor\">\r\n</head>\r\n"
           "<body>\r\n\r\n</body>\r\n</html>\r\n"
        << 6;
    QTest::newRow("empty document, lf")
        << ""
        << "title=Accueil;+generator=Balizor"
        << "\n"
        << false << false
        << "<html>\n<head>\n<title>Accueil</title>\n"
           "<meta name=\"generator\" content=\"Balizor\">\n</head>\n"
           "<body>\n\n</body>\n</html>\n"
        << 6;
    QTest::newRow("tag case on, typed text kept")
        << ""
        << "title=Accueil;+generator=Balizor" << crlf << true << false
        << "<HTML>\r\n<HEAD>\r\n<TITLE>Accueil</TITLE>\r\n<META NAME=\"generator\" "
           "CONTENT=\"Balizor\">"
           "\r\n</HEAD>\r\n<BODY>\r\n\r\n</BODY>\r\n</HTML>\r\n"
        << 6;
    QTest::newRow("xhtml meta") << ""
                                << "+author=Moi" << crlf << false << true
                                << "<html>\r\n<head>\r\n<title></title>\r\n"
                                   "<meta name=\"author\" content=\"Moi\" />\r\n</head>\r\n"
                                   "<body>\r\n\r\n</body>\r\n</html>\r\n"
                                << 6;
    QTest::newRow("complete page, no change")
        << kFull << "" << crlf << false << false << kFull << 8;
    QTest::newRow("only the link value changes")
        << "<html><head><title></title></head><body alink=\"red\" link=\"blue\"></body></html>"
        << "link=#00FF00" << crlf << false << false
        << "<html><head><title></title></head><body alink=\"red\" link=\"#00FF00\"></body></html>"
        << -1;
    QTest::newRow("cleared colour keeps the attribute")
        << kFull << "text=" << crlf << false << false << kFull << -1;
    QTest::newRow("unchecked author goes with its line")
        << kFull << "-author" << crlf << false << false
        << QString(kFull).remove(QStringLiteral("<meta name=\"author\" content=\"Jean\">\r\n"))
        << -1;
    QTest::newRow("title with markup, then a meta removed")
        << kFull << "title=<b>Ma</b> page;-description" << crlf << false << false
        << QString(kFull)
               .replace(QStringLiteral("<title>Ma page"), QStringLiteral("<title><b>Ma</b> page"))
               .remove(QStringLiteral("<meta name=\"description\" content=\"Une page\">\r\n"))
        << 7;
    QTest::newRow("mixed case doctype")
        << "<!DocType html>\r\n<p>x</p>\r\n"
        << "title=T" << crlf << false << false
        << "<!DocType html>\r\n<html>\r\n<head>\r\n<title>T</title>\r\n</head>\r\n<body>\r\n"
           "<p>x</p>\r\n\r\n</body>\r\n</html>\r\n"
        << 6;
    QTest::newRow("header is not head")
        << "<header>Haut</header>\n"
        << "title=T"
        << "\n"
        << false << false
        << "<html>\n<head>\n<title>T</title>\n</head>\n<body>\n<header>Haut</header>\n\n</body>\n"
           "</html>\n"
        << 5;
    QTest::newRow("break inside body tag, no duplicate")
        << "<html><head><title></title></head><body\nbgcolor=\"#FFFFFF\"></body></html>"
        << "bgcolor=#000000"
        << "\n"
        << false << false
        << "<html><head><title></title></head><body\nbgcolor=\"#000000\"></body></html>" << -1;
    QTest::newRow("unquoted value replaced whole")
        << "<html><head><title></title></head><body background=bg.gif></body></html>"
        << "background=img/fond.png" << crlf << false << false
        << "<html><head><title></title></head><body background=\"img/fond.png\"></body></html>"
        << -1;
    QTest::newRow("cr breaks, title at its place")
        << "<html>\r<head>\r<title>Ancien</title>\r</head>\r<body>\r</body>\r</html>\r"
        << "title=Nouveau"
        << "\r" << false << false
        << "<html>\r<head>\r<title>Nouveau</title>\r</head>\r<body>\r</body>\r</html>\r" << 5;
    QTest::newRow("title ending the text")
        << "<html><head><title>A</title>"
        << "title=B" << crlf << false << false
        << "<html><head><title>B</title>\r\n</head>\r\n<body>\r\n\r\n</body>\r\n</html>\r\n"
        << 3;
    QTest::newRow("first title written")
        << "<html><head><title>Un</title><title>Deux</title></head><body></body></html>"
        << "title=Premier" << crlf << false << false
        << "<html><head><title>Premier</title><title>Deux</title></head><body></body></html>" << -1;
    QTest::newRow("values escaped, new attribute before >")
        << "<html><head><title></title></head><body></body></html>"
        << "+description=a \"b\" & c;bgcolor=#FFFFFF" << crlf << false << false
        << "<html><head><title></title>\r\n<meta name=\"description\" content=\"a &quot;b&quot; "
           "&amp; "
           "c\"></head><body bgcolor=\"#FFFFFF\"></body></html>"
        << -1;
    QTest::newRow("four metas in order")
        << "<html><head><title></title>\n</head><body></body></html>"
        << "+description=d;+keywords=k;+author=a;+generator=g"
        << "\n"
        << false << false
        << "<html><head><title></title>\n<meta name=\"description\" content=\"d\">\n"
           "<meta name=\"keywords\" content=\"k\">\n<meta name=\"author\" content=\"a\">\n"
           "<meta name=\"generator\" content=\"g\">\n</head><body></body></html>"
        << -1;
    using S = QString;
    QTest::newRow("server code in the body tag")
        << "<html><head><title></title><meta name=\"author\" content=\"<?= $a ?>\"></head>"
           "<body <?php body_class(); ?> text=\"<%=c%>\"></body></html>"
        << "bgcolor=#000000;-author" << crlf << false << false
        << "<html><head><title></title></head><body <?php body_class(); ?> text=\"<%=c%>\" "
           "bgcolor=\"#000000\"></body></html>"
        << -1;
    // What the frames wizard writes; colours typed anyway have nowhere to go.
    const QString frames = QStringLiteral("<html>\r\n<head>\r\n</head>\r\n<frameset cols=\"200,*\">"
                                          "\r\n<frame src=\"a.html\">\r\n</frameset>\r\n</html>");
    QTest::newRow("frames page gets a title, never a body")
        << frames << "title=Cadres;bgcolor=#FFFFFF" << crlf << false << false
        << QString(frames).replace(QStringLiteral("<head>\r\n"),
                                   QStringLiteral("<head>\r\n<title>Cadres</title>\r\n"))
        << 5;
    QTest::newRow("xml declaration, then the doctype")
        << S("<?xml version=\"1.0\"?>\n<!DOCTYPE html>\n<p>x</p>\n") << S("title=T") << S("\n")
        << false << false
        << S("<?xml version=\"1.0\"?>\n<!DOCTYPE html>\n<html>\n<head>\n<title>T</title>\n</head>\n"
             "<body>\n<p>x</p>\n\n</body>\n</html>\n")
        << 7;
    QTest::newRow("meta without content gets one")
        << "<html><head><title></title><meta name=\"keywords\" /></head><body></body></html>"
        << "+keywords=x" << crlf << false << false
        << "<html><head><title></title><meta name=\"keywords\" content=\"x\" /></head><body></body>"
           "</html>"
        << -1;
}

void TestPageProperties::write() {
    QFETCH(QString, text);
    QFETCH(QString, changes);
    QFETCH(QString, eol);
    QFETCH(bool, casse);
    QFETCH(bool, xhtml);
    QFETCH(QString, expected);
    QFETCH(int, caretLine);
    const PageWrite w = WritePageProperties(text, props(text, changes), eol, casse, xhtml);
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    QCOMPARE(w.text, expected);
    if (caretLine >= 0) {
        const QString before = w.text.left(w.caret);
        QCOMPARE(before.count(eol), caretLine);
        QVERIFY(before.isEmpty() || before.endsWith(eol));
    }
    // Reading what was written gives the values back, and writing them again changes nothing.
    const PageProperties again = ReadPageProperties(w.text);
    QCOMPARE(WritePageProperties(w.text, again, eol, casse, xhtml).text, w.text);
}

void TestPageProperties::failureChangesNothing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("changes");
    QTest::newRow("title never closed") << "<html><head><title>Titre\n<body></body></html>"
                                        << "title=X";
    QTest::newRow("body tag never ends")
        << "<html><head><title></title></head><body bgcolor=\"#FFFFFF\""
        << "bgcolor=#000000";
    QTest::newRow("meta to remove never ends") << "<html><head><title></title></head><body></"
                                                  "body></html><meta name=\"author\" content=\"x\""
                                               << "-author";
    // Found by the fuzz test: an end tag added after it would pair the quotes otherwise.
    QTest::newRow("meta never ends after an odd quote")
        << "<title>T</title><script id=\"a\n<meta name=\"author\" content=\"x\""
        << "";
}

void TestPageProperties::failureChangesNothing() {
    QFETCH(QString, text);
    QFETCH(QString, changes);
    const PageWrite w =
        WritePageProperties(text, props(text, changes), QStringLiteral("\n"), false, false);
    QVERIFY(w.text.isEmpty());
    QVERIFY(w.error.contains(QStringLiteral("n'a pas été modifié")));
}

// Tags added inside an unclosed comment or script cannot be found again: the writer
// gives a page or a reason, never an empty page without one (which would empty the
// document) and never a crash.
void TestPageProperties::unclosedRegions_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("comment") << "<!--";
    QTest::newRow("comment in head") << "<html><head><!-- <title>x</title>";
    QTest::newRow("comment after body") << "<html><head><title></title></head><body>\n<!-- suite";
    QTest::newRow("script") << "<p>x</p><script>var a = 1;";
    QTest::newRow("style in head") << "<html><head><style>p{}";
    QTest::newRow("only an end tag") << "</html><!--";
    QTest::newRow("server code") << "<html><body><?php echo 1;";
    QTest::newRow("asp code") << "<%  x";
    QTest::newRow("body start, server code") << "<body><% x";
    QTest::newRow("unclosed xml declaration") << "<html lang=\"fr\">\n<head>\n<?xml version=";
    QTest::newRow("unclosed xml declaration, no head") << "<html>\n<?xml version=";
    // Found by the fuzz test: nested start tags, doctypes and an unclosed "<?xml".
    QFile tangled(QStringLiteral(BALIZOR_SOURCE_DIR "/tests/data/page_tangled.html"));
    QVERIFY(tangled.open(QIODevice::ReadOnly));
    QTest::newRow("tangled page") << QString::fromUtf8(tangled.readAll());
}

void TestPageProperties::unclosedRegions() {
    QFETCH(QString, text);
    for (const QString &changes : {QStringLiteral("title=X"), QStringLiteral("title=Titre & <b>"),
                                   QStringLiteral("bgcolor=#000000"), QStringLiteral("+author")}) {
        const PageWrite w =
            WritePageProperties(text, props(text, changes), QStringLiteral("\n"), false, false);
        QVERIFY2(!w.text.isEmpty() || !w.error.isEmpty(), qPrintable(changes));
        // Running the command again adds nothing more.
        const PageProperties again = props(w.text, changes);
        if (w.error.isEmpty())
            QCOMPARE(WritePageProperties(w.text, again, QStringLiteral("\n"), false, false).text,
                     w.text);
    }
}

void TestPageProperties::colourFields_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("rgb"); // -1: no colour
    QTest::newRow("six digits get #") << "FF8000"
                                      << "#FF8000" << 0xFF8000;
    QTest::newRow("lower case") << "#00ff7f"
                                << "#00ff7f" << 0x00FF7F;
    QTest::newRow("not hexadecimal") << "#GG0000"
                                     << "#GG0000" << -1;
    QTest::newRow("sign is not a digit") << "#+12345"
                                         << "#+12345" << -1;
    QTest::newRow("empty") << ""
                           << "" << -1;
    QTest::newRow("five") << "12345"
                          << "12345" << -1;
    QTest::newRow("six letters name a colour") << "yellow"
                                               << "yellow" << -1;
}

void TestPageProperties::typedColour_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("background");
    QTest::addColumn<QString>("field");
    using S = QString;
    QTest::newRow("sixth digit") << S("FF800") << S("FF8000") << true << S("#FF8000");
    QTest::newRow("name, no limit") << S("darkgree") << S("darkgreen") << false << S("darkgreen");
    QTest::newRow("letter refused") << S("12") << S("12g") << true << S("12");
    QTest::newRow("eighth refused") << S("#123456") << S("#1234567") << true << S("#123456");
    QTest::newRow("read value shortened")
        << S("darkgreen") << S("darkgree") << true << S("darkgree");
}

void TestPageProperties::typedColour() {
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(bool, background);
    QFETCH(QString, field);
    QCOMPARE(TypedColourField(before, typed, background), field);
}

void TestPageProperties::changedSpan_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("inserted");
    using S = QString;
    QTest::newRow("equal") << S("abc") << S("abc") << S() << S();
    QTest::newRow("emoji to emoji")
        << S("<b>\U0001F600</b>") << S("<b>\U0001F603</b>") << S("\U0001F600") << S("\U0001F603");
    QTest::newRow("same second half")
        << S("x\U0001F600y") << S("x\U0001F200y") << S("\U0001F600") << S("\U0001F200");
}

void TestPageProperties::changedSpan() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, removed);
    QFETCH(QString, inserted);
    const ChangedSpan s = FindChangedSpan(before, after);
    QCOMPARE(before.mid(s.from, s.beforeEnd - s.from), removed);
    QCOMPARE(after.mid(s.from, s.afterEnd - s.from), inserted);
    QCOMPARE(before.left(s.from) + inserted + before.mid(s.beforeEnd), after);
}

void TestPageProperties::colourFields() {
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(int, rgb);
    QCOMPARE(CompleteColourField(typed), field);
    const std::optional<unsigned> c = ParseColourField(field);
    QCOMPARE(c ? int(*c) : -1, rgb);
    if (c) QCOMPARE(ColourFieldText(*c), field.toUpper());
}

namespace {

// Whether a page holds its whole skeleton, so that writing it back adds nothing.
bool hasSkeleton(const QString &text) {
    for (const char *tag : {"<html[\\s>]", "<head[\\s>]", "</title", "</head", "</html",
                            "<body[\\s>][\\s\\S]*</body|<frameset"})
        if (!QRegularExpression(QLatin1String(tag), QRegularExpression::CaseInsensitiveOption)
                 .match(text)
                 .hasMatch())
            return false;
    return true;
}

} // namespace

void TestPageProperties::noChangeKeepsBytes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("sample"); // a documentation page, not made for this test
    const QString page = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<title>Caf&eacute; &amp; th\u00E9 "
        "\U0001F600</title>\n<meta name=\"description\" content=\"&quot;Le&quot; caf&#233;\">\n"
        "<meta name=\"generator\" content=\"\">\n</head>\n"
        "<body bgcolor=\"yellow\" text=\"darkgreen\" link=\"#0000FF\" vlink=rgb(128,0,128) "
        "alink='  red '\nbackground=\"fond&amp;1.gif\">\n<p>x</p>\n</body>\n</html>\n");
    QTest::newRow("named colours, entities, lf") << page << false;
    QTest::newRow("crlf") << QString(page).replace(QLatin1Char('\n'), QLatin1String("\r\n"))
                          << false;
    QTest::newRow("cr") << QString(page).replace(QLatin1Char('\n'), QLatin1Char('\r')) << false;
    QTest::newRow("rgb colours, keywords without content")
        << "<html><head><title></title><meta name=\"keywords\"></head><body bgcolor=\"rgb(255, "
           "255, 0)\" text=\"rgba(0,0,0,.5)\" link=\"#00f\"></body></html>"
        << false;

    // The pages of this machine's documentation: a bounded sample spread over the list.
    // The program's own pages too: a machine may keep no documentation.
    QStringList files;
    for (const char *root : {"/usr/share/doc", BALIZOR_SOURCE_DIR "/resources"}) {
        QDirIterator it(QString::fromUtf8(root),
                        {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    QVERIFY(!files.isEmpty());
    files.sort();
    const qsizetype step = (files.size() + 119) / 120;
    for (qsizetype i = 0; i < files.size(); i += step) {
        QFile f(files[i]);
        if (f.size() > 2 * 1024 * 1024 || !f.open(QIODevice::ReadOnly)) continue;
        QTest::newRow(qPrintable(files[i]))
            << QString::fromUtf8(decodeFileBytes(f.readAll()).utf8) << true;
    }
}

// OK in the dialog with nothing changed: a page that has its skeleton stays byte for
// byte; any other page is completed once, and then stays.
void TestPageProperties::noChangeKeepsBytes() {
    QFETCH(QString, text);
    QFETCH(bool, sample);
    const QString eol = text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n")
                        : text.contains(QLatin1Char('\r'))   ? QStringLiteral("\r")
                                                             : QStringLiteral("\n");
    const auto ok = [&eol](const QString &t) {
        return WritePageProperties(t, PagePropertiesFields(ReadPageProperties(t)), eol, false,
                                   false);
    };
    const PageWrite w = ok(text);
    if (!w.error.isEmpty()) {
        // Only a page whose title is left open, or hidden by a comment or script.
        QVERIFY2(sample && (!hasSkeleton(text) ||
                            text.contains(QLatin1String("<title"), Qt::CaseInsensitive)),
                 qPrintable(w.error));
        return;
    }
    if (hasSkeleton(text)) QCOMPARE(w.text, text);
    QCOMPARE(ReadPageProperties(w.text), ReadPageProperties(text));
    QCOMPARE(ok(w.text).text, w.text);
}

QTEST_APPLESS_MAIN(TestPageProperties)
#include "tst_page_properties.moc"
