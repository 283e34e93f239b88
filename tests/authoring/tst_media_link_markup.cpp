#include "authoring/link_markup.h"
#include "authoring/media_markup.h"

#include <QTest>

using namespace Authoring;

Q_DECLARE_METATYPE(Authoring::SizeUnit)
Q_DECLARE_METATYPE(Authoring::UrlEncoding)

class TestMediaLinkMarkup : public QObject {
    Q_OBJECT
private slots:
    void image_data();
    void image();
    void addresses_data();
    void addresses();
    void attributeText_data();
    void attributeText();
    void sound_data();
    void sound();
    void video();
    void unitChange_data();
    void unitChange();
    void emphasis_data();
    void emphasis();
    void restoredSize();
    void history();
    void readErrors();
    void link_data();
    void link();
    void targets();
    void anchors_data();
    void anchors();
    void looksLikeAddress_data();
    void looksLikeAddress();
    void extractAddress_data();
    void extractAddress();
    void mail_data();
    void mail();
};

void TestMediaLinkMarkup::image_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<int>("widthUnit");
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("heightUnit");
    QTest::addColumn<QString>("alt");
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<int>("align");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<QString>("markup");
    const QString src = QStringLiteral("<img src=\"images/mon%20logo.gif\"");
    QTest::newRow("example") << "120" << 0 << "50" << 1 << "Logo"
                             << "" << 9 << false << false
                             << src + " width=\"120\" height=\"50%\" border=\"0\" alt=\"Logo\" "
                                      "align=\"right\">";
    QTest::newRow("xhtml, no size")
        << "" << 0 << "" << 0 << ""
        << "" << 0 << false << true << src + " border=\"0\" alt=\"\" />";
    QTest::newRow("top with a capital A")
        << "" << 0 << "" << 0 << "x"
        << "" << 1 << false << false << src + " border=\"0\" alt=\"x\" Align=\"top\">";
    QTest::newRow("absmiddle") << "" << 0 << "" << 0 << "x"
                               << "" << 5 << false << false
                               << src + " border=\"0\" alt=\"x\" align=\"absmiddle\">";
    QTest::newRow("spacing") << "10" << 1 << "" << 0 << ""
                             << "4" << 7 << false << false
                             << src + " width=\"10%\" border=\"0\" hspace=\"4\" vspace=\"4\" "
                                      "alt=\"\" align=\"baseline\">";
    QTest::newRow("alt escaped") << "" << 0 << "" << 0 << "Tom & \"Jerry\" &amp; &#233;"
                                 << "" << 0 << false << false
                                 << src + " border=\"0\" alt=\"Tom &amp; &quot;Jerry&quot; &amp; "
                                          "&#233;\">";
    QTest::newRow("tag case spares typed text")
        << "120" << 0 << "" << 0 << "Mon logo = joli"
        << "" << 2 << true << true
        << "<IMG SRC=\"images/mon%20logo.gif\" WIDTH=\"120\" BORDER=\"0\" ALT=\"Mon logo = joli\" "
           "ALIGN=\"middle\" />";
}

void TestMediaLinkMarkup::image() {
    QFETCH(QString, width);
    QFETCH(int, widthUnit);
    QFETCH(QString, height);
    QFETCH(int, heightUnit);
    QFETCH(QString, alt);
    QFETCH(QString, spacing);
    QFETCH(int, align);
    QFETCH(bool, casse);
    QFETCH(bool, xhtml);
    QFETCH(QString, markup);
    ImageValues v;
    v.source = QStringLiteral("images/mon logo.gif");
    v.width = width;
    v.widthUnit = SizeUnit(widthUnit);
    v.height = height;
    v.heightUnit = SizeUnit(heightUnit);
    v.alt = alt;
    v.hspace = v.vspace = spacing;
    v.align = ImageAlign(align);
    QCOMPARE(ApplyTagCase(BuildImageMarkup(v, xhtml, UrlEncoding::Windows1252), casse), markup);
}

void TestMediaLinkMarkup::addresses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("picked");
    QTest::addColumn<UrlEncoding>("encoding");
    QTest::addColumn<QString>("encoded");
    const auto cp = UrlEncoding::Windows1252;
    const auto utf8 = UrlEncoding::Utf8;
    QTest::newRow("typed escape kept") << "a%20b.html" << false << cp << "a%20b.html";
    QTest::newRow("picked file named with %") << "a%20b.html" << true << cp << "a%2520b.html";
    QTest::newRow("typed space") << "mon dossier/page.html" << false << cp
                                 << "mon%20dossier/page.html";
    QTest::newRow("lone percent") << "50% off.html" << false << cp << "50%25%20off.html";
    QTest::newRow("percent without two hex digits") << "a%2g%4" << false << cp << "a%252g%254";
    QTest::newRow("lower-case escape kept") << "x%c3%a9" << false << utf8 << "x%c3%a9";
    QTest::newRow("accent in code page") << "été.gif" << false << cp << "%E9t%E9.gif";
    QTest::newRow("accent in UTF-8") << "été.gif" << true << utf8 << "%C3%A9t%C3%A9.gif";
    QTest::newRow("escape then accent") << "%41é" << false << utf8 << "%41%C3%A9";
    QTest::newRow("delimiters stay")
        << "../a/b.php?x=1&y=2#h" << false << cp << "../a/b.php?x=1&y=2#h";
}

void TestMediaLinkMarkup::addresses() {
    QFETCH(QString, text);
    QFETCH(bool, picked);
    QFETCH(UrlEncoding, encoding);
    QFETCH(QString, encoded);
    QCOMPARE(EncodeAddress(text, picked, encoding), encoded);
}

void TestMediaLinkMarkup::attributeText_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("plain") << "abc"
                           << "abc";
    QTest::newRow("quote") << "a\"b"
                           << "a&quot;b";
    QTest::newRow("bare ampersand") << "a & b"
                                    << "a &amp; b";
    QTest::newRow("named reference") << "&eacute;t&eacute;"
                                     << "&eacute;t&eacute;";
    QTest::newRow("decimal reference") << "&#233;"
                                       << "&#233;";
    QTest::newRow("hex reference") << "&#xE9;"
                                   << "&#xE9;";
    QTest::newRow("unterminated") << "&eacute"
                                  << "&amp;eacute";
    QTest::newRow("empty numeric") << "&#;"
                                   << "&amp;#;";
    QTest::newRow("query") << "a.php?x=1&y=2"
                           << "a.php?x=1&amp;y=2";
    QTest::newRow("angle brackets stay") << "<b>"
                                         << "<b>";
}

void TestMediaLinkMarkup::attributeText() {
    QFETCH(QString, value);
    QFETCH(QString, escaped);
    QCOMPARE(EscapeAttributeValue(value), escaped);
}

void TestMediaLinkMarkup::sound_data() {
    QTest::addColumn<QString>("repetitions");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<QString>("markup");
    QTest::newRow("3") << "3" << false << "<bgsound src=\"x.wav\" loop=\"3\">";
    QTest::newRow("0 is infinite") << "0" << false << "<bgsound src=\"x.wav\" loop=\"infinite\">";
    QTest::newRow("1") << "1" << false << "<bgsound src=\"x.wav\">";
    QTest::newRow("-1") << "-1" << false << "<bgsound src=\"x.wav\">";
    QTest::newRow("empty counts as 1") << "" << true << "<bgsound src=\"x.wav\" />";
    QTest::newRow("not a number counts as 1") << "abc" << false << "<bgsound src=\"x.wav\">";
}

void TestMediaLinkMarkup::sound() {
    QFETCH(QString, repetitions);
    QFETCH(bool, xhtml);
    QFETCH(QString, markup);
    SoundValues v;
    v.source = QStringLiteral("x.wav");
    v.repetitions = repetitions;
    QCOMPARE(BuildSoundMarkup(v, xhtml, UrlEncoding::Windows1252), markup);
}

void TestMediaLinkMarkup::video() {
    VideoValues v;
    v.source = QStringLiteral("film 1.avi");
    QCOMPARE(BuildVideoMarkup(v, false, UrlEncoding::Windows1252),
             "<img dynsrc=\"film%201.avi\" alt=\"\">");
    v.image = QStringLiteral("a%20b.gif");
    v.imagePicked = true;
    v.alt = QStringLiteral("\"Film\"");
    QCOMPARE(BuildVideoMarkup(v, true, UrlEncoding::Windows1252),
             "<img dynsrc=\"film%201.avi\" src=\"a%2520b.gif\" alt=\"&quot;Film&quot;\" />");
}

void TestMediaLinkMarkup::unitChange_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<SizeUnit>("to");
    QTest::addColumn<int>("natural");
    QTest::addColumn<QString>("result");
    const auto pc = SizeUnit::Percent;
    const auto px = SizeUnit::Pixel;
    QTest::newRow("120 of 240 is 50%") << "120" << pc << 240 << "50";
    QTest::newRow("33% of 240 is 79") << "33" << px << 240 << "79";
    QTest::newRow("percent truncated") << "100" << pc << 300 << "33";
    QTest::newRow("percent capped at 100") << "500" << pc << 240 << "100";
    QTest::newRow("half rounds to even, down") << "50" << px << 241 << "120";
    QTest::newRow("half rounds to even, up") << "50" << px << 243 << "122";
    QTest::newRow("above half") << "51" << px << 241 << "123";
    QTest::newRow("zero stays") << "0" << pc << 240 << "0";
    QTest::newRow("unknown natural size") << "120" << pc << 0 << "120";
    QTest::newRow("empty field stays empty") << "" << pc << 240 << "";
    QTest::newRow("huge picture") << "9999" << px << 20000 << "1999800";
}

void TestMediaLinkMarkup::unitChange() {
    QFETCH(QString, field);
    QFETCH(SizeUnit, to);
    QFETCH(int, natural);
    QFETCH(QString, result);
    const UnitChange c = ConvertSizeUnit(field, to, natural);
    QVERIFY(c.ok);
    QCOMPARE(c.text, result);
}

void TestMediaLinkMarkup::emphasis_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<SizeUnit>("unit");
    QTest::addColumn<int>("natural");
    QTest::addColumn<bool>("bold");
    QTest::newRow("natural width") << "240" << SizeUnit::Pixel << 240 << false;
    QTest::newRow("other width") << "120" << SizeUnit::Pixel << 240 << true;
    QTest::newRow("100 percent is normal") << "100" << SizeUnit::Percent << 240 << false;
    QTest::newRow("other percent") << "50" << SizeUnit::Percent << 240 << true;
    QTest::newRow("percent equal to the pixels") << "240" << SizeUnit::Percent << 240 << true;
    QTest::newRow("no picture") << "120" << SizeUnit::Pixel << 0 << false;
    QTest::newRow("empty field") << "" << SizeUnit::Pixel << 240 << false;
}

void TestMediaLinkMarkup::emphasis() {
    QFETCH(QString, field);
    QFETCH(SizeUnit, unit);
    QFETCH(int, natural);
    QFETCH(bool, bold);
    QCOMPARE(SizeDiffersFromNatural(field, unit, natural), bold);
}

void TestMediaLinkMarkup::restoredSize() {
    QCOMPARE(RestoredSize(SizeUnit::Percent, 240), "100");
    QCOMPARE(RestoredSize(SizeUnit::Pixel, 240), "240");
    QCOMPARE(RestoredSize(SizeUnit::Pixel, 0), "");
    const UnitChange bad = ConvertSizeUnit("1x", SizeUnit::Percent, 240);
    QVERIFY(!bad.ok);
    QCOMPARE(bad.text, "1x");
    QCOMPARE(bad.error, "'1x' n'est pas une valeur entière correcte");
}

void TestMediaLinkMarkup::history() {
    History<QString> h;
    for (const char *v : {"1", "2", "3", "4", "5", "6", "7"})
        h.add(QLatin1String(v));
    QCOMPARE(h.items(), QStringList({"7", "6", "5", "4", "3", "2"}));
    h.add(QStringLiteral("4"));
    QCOMPARE(h.items(), QStringList({"4", "7", "6", "5", "3", "2"}));

    // Entries compared by their key keep the values of the last use.
    History<QPair<QString, int>> keyed;
    auto sameKey = [](const auto &a, const auto &b) { return a.first == b.first; };
    keyed.add({QStringLiteral("a.gif"), 1}, sameKey);
    keyed.add({QStringLiteral("b.gif"), 2}, sameKey);
    keyed.add({QStringLiteral("a.gif"), 3}, sameKey);
    QCOMPARE(keyed.items().size(), 2);
    QCOMPARE(keyed.items().first(), qMakePair(QStringLiteral("a.gif"), 3));
}

void TestMediaLinkMarkup::readErrors() {
    QCOMPARE(ImageReadError("gif"), "Impossible d'ouvrir cette image GIF");
    QCOMPARE(ImageReadError("PNG"), "Impossible d'ouvrir cette image PNG");
    QCOMPARE(ImageReadError("jpeg"), "Impossible d'ouvrir cette image");
    QCOMPARE(ImageReadError(""), "Impossible d'ouvrir cette image");
}

void TestMediaLinkMarkup::link_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("picked");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("opening");
    QTest::newRow("example") << "index.html" << false << "_top" << false
                             << "<a href=\"index.html\" target=\"_top\">";
    QTest::newRow("space") << "mon dossier/page.html" << false << "" << false
                           << "<a href=\"mon%20dossier/page.html\">";
    QTest::newRow("typed escape") << "a%20b.html" << false << "" << false
                                  << "<a href=\"a%20b.html\">";
    QTest::newRow("picked escape")
        << "a%20b.html" << true << "" << false << "<a href=\"a%2520b.html\">";
    QTest::newRow("query") << "p.php?a=1&b=\"2\"" << false << "" << false
                           << "<a href=\"p.php?a=1&amp;b=&quot;2&quot;\">";
    QTest::newRow("odd target") << "x.html" << false << "cadre \"1\"" << false
                                << "<a href=\"x.html\" target=\"cadre &quot;1&quot;\">";
    QTest::newRow("tag case") << "Index.html" << false << "Cadre" << true
                              << "<A HREF=\"Index.html\" TARGET=\"Cadre\">";
}

void TestMediaLinkMarkup::link() {
    QFETCH(QString, address);
    QFETCH(bool, picked);
    QFETCH(QString, target);
    QFETCH(bool, casse);
    QFETCH(QString, opening);
    QCOMPARE(
        ApplyTagCase(BuildLinkOpening({address, picked, target}, UrlEncoding::Windows1252), casse),
        opening);
}

void TestMediaLinkMarkup::targets() {
    QCOMPARE(TargetDescription("_blank"), "Ouverture dans une nouvelle fenêtre du navigateur");
    QCOMPARE(TargetDescription("_self"), "Ouverture dans le cadre d'où le lien est appelé");
    QCOMPARE(TargetDescription("_parent"), "Ouverture dans le cadre parent");
    QCOMPARE(TargetDescription("_top"), "Ouverture dans une pleine page pour sortir des cadres");
    QCOMPARE(TargetDescription("_Top"), "");
    QCOMPARE(TargetDescription("cadre"), "");
}

void TestMediaLinkMarkup::anchors_data() {
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("text");
    QTest::newRow("no link") << QStringList() << QStringList() << QStringList() << "";
    QTest::newRow("one fragment") << QStringList{"#haut"} << QStringList() << QStringList{"haut"}
                                  << "haut";
    QTest::newRow("most recent first") << QStringList{"#b", "page.html", "#a"} << QStringList{"z"}
                                       << QStringList{"b", "a", "z"} << "b";
    QTest::newRow("no fragment leaves the field empty")
        << QStringList{"page.html"} << QStringList{"z"} << QStringList{"z"} << "";
    QTest::newRow("fragment already offered moves up")
        << QStringList{"#z"} << QStringList{"y", "z"} << QStringList{"z", "y"} << "z";
    QTest::newRow("page with fragment is not an anchor here")
        << QStringList{"page.html#x"} << QStringList() << QStringList() << "";
}

void TestMediaLinkMarkup::anchors() {
    QFETCH(QStringList, links);
    QFETCH(QStringList, before);
    QFETCH(QStringList, names);
    QFETCH(QString, text);
    const AnchorOffer offer = AnchorNamesFromLinks(links, before);
    QCOMPARE(offer.names, names);
    QCOMPARE(offer.text, text);
    QCOMPARE(BuildAnchorMarkup("haut de page", UrlEncoding::Windows1252),
             "<a name=\"haut%20de%20page\"></a>");
    QCOMPARE(BuildAnchorMarkup("Haut", UrlEncoding::Windows1252, true), "<A NAME=\"Haut\"></A>");
    // The name offered from a link "#a%20b" is written as the link is: not encoded twice.
    QCOMPARE(BuildAnchorMarkup("a%20b", UrlEncoding::Windows1252), "<a name=\"a%20b\"></a>");
}

void TestMediaLinkMarkup::looksLikeAddress_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("address");
    QTest::newRow("plain") << "jean@site.fr" << true;
    QTest::newRow("no dot after @") << "jean.dupont@site" << false;
    QTest::newRow("starts with @") << "@site.fr" << false;
    QTest::newRow("ends with a dot") << "jean@site.fr." << false;
    QTest::newRow("no @") << "site.fr" << false;
    QTest::newRow("in a sentence") << "Ecrire à : <a@b.fr> merci" << true;
}

void TestMediaLinkMarkup::looksLikeAddress() {
    QFETCH(QString, text);
    QFETCH(bool, address);
    QCOMPARE(LooksLikeEmailAddress(text), address);
}

void TestMediaLinkMarkup::extractAddress_data() {
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("address");
    QTest::newRow("words, colon, brackets") << "Écrire à : <jean.dupont@site.fr> merci"
                                            << "jean.dupont@site.fr";
    QTest::newRow("mailto prefix") << " mailto:jean@site.fr "
                                   << "jean@site.fr";
    QTest::newRow("quoted name") << "\"Jean Dupont\" <jean@site.fr>"
                                 << "jean@site.fr";
    QTest::newRow("link markup") << "<a href='mailto:x@y.org'>x</a>"
                                 << "x@y.org";
    QTest::newRow("bare") << "x@y.org"
                          << "x@y.org";
    QTest::newRow("path before") << "c:\\dir/x@y.org"
                                 << "x@y.org";
}

void TestMediaLinkMarkup::extractAddress() {
    QFETCH(QString, selection);
    QFETCH(QString, address);
    QCOMPARE(ExtractEmailAddress(selection), address);
}

void TestMediaLinkMarkup::mail_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("opening");
    QTest::newRow("no subject") << "jean@site.fr"
                                << "" << false << "<a href=\"mailto:jean@site.fr\">";
    QTest::newRow("subject in UTF-8") << "jean@site.fr"
                                      << "Bonjour à vous" << false
                                      << "<a href=\"mailto:jean@site.fr?subject=Bonjour%20%C3%A0%20"
                                         "vous\">";
    QTest::newRow("delimiters in the subject")
        << "a@b.fr"
        << "Q&R? \"oui\" 1+1=2 #5 100%" << false
        << "<a href=\"mailto:a@b.fr?subject=Q%26R%3F%20%22oui%22%201%2B1%3D2%20%235%20100%25\">";
    QTest::newRow("address as typed, headers kept")
        << "jean+web@site.fr?cc=x@y.fr&bcc=z@y.fr"
        << "" << false << "<a href=\"mailto:jean+web@site.fr?cc=x@y.fr&amp;bcc=z@y.fr\">";
    QTest::newRow("subject after typed headers")
        << "a@b.fr?cc=c@d.fr"
        << "Été" << false << "<a href=\"mailto:a@b.fr?cc=c@d.fr&amp;subject=%C3%89t%C3%A9\">";
    QTest::newRow("quote in the address escaped")
        << "a\"b@c.fr"
        << "" << false << "<a href=\"mailto:a&quot;b@c.fr\">";
    QTest::newRow("typed escapes kept")
        << "a%40b@c.fr"
        << "x%20y" << false << "<a href=\"mailto:a%40b@c.fr?subject=x%20y\">";
    QTest::newRow("tag case spares the address")
        << "Jean@Site.fr"
        << "Salut" << true << "<A HREF=\"mailto:Jean@Site.fr?subject=Salut\">";
}

void TestMediaLinkMarkup::mail() {
    QFETCH(QString, address);
    QFETCH(QString, subject);
    QFETCH(bool, casse);
    QFETCH(QString, opening);
    QCOMPARE(ApplyTagCase(BuildMailOpening(address, subject), casse), opening);
}

QTEST_APPLESS_MAIN(TestMediaLinkMarkup)
#include "tst_media_link_markup.moc"
