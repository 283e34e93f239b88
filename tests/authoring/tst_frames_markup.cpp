#include "authoring/frames_markup.h"

#include <QTest>

using namespace Authoring;

namespace {

// A frame line with the wizard's untouched options.
QString fr(const char *name, int indent) {
    return QString(indent, QLatin1Char(' ')) +
           QStringLiteral("<frame name=\"%1\" src=\"\" scrolling=\"auto\" frameborder=\"1\">")
               .arg(QLatin1String(name));
}

QString page(const QStringList &frameset) {
    return (QStringList{QStringLiteral("<html>"), QStringLiteral("<head>"),
                        QStringLiteral("</head>")} +
            frameset +
            QStringList{QString(), QStringLiteral("</frameset>"), QStringLiteral("</html>")})
        .join(QStringLiteral("\r\n"));
}

} // namespace

class TestFramesMarkup : public QObject {
    Q_OBJECT
private slots:
    void layouts_data();
    void layouts();
    void frameOptions_data();
    void frameOptions();
    void noFramesBlock();
    void defaultNoFramesText();
};

void TestFramesMarkup::layouts_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("sizeLabels"); // L (width) or H (height) per frame

    QTest::newRow("0 columns") << 0
                               << page({"<frameset cols=\"200,*\">", fr("frame_gauche", 2),
                                        fr("frame_droite", 2)})
                               << "LL";
    QTest::newRow("1 rows") << 1
                            << page({"<frameset rows=\"200,*\">", fr("frame_haut", 2),
                                     fr("frame_bas", 2)})
                            << "HH";
    QTest::newRow("2 three columns")
        << 2
        << page({"<frameset cols=\"33%,33%,*\">", fr("frame_gauche", 2), fr("frame_milieu", 2),
                 fr("frame_droite", 2)})
        << "LLL";
    QTest::newRow("3 three rows") << 3
                                  << page({"<frameset rows=\"33%,33%,*\">", fr("frame_haut", 2),
                                           fr("frame_milieu", 2), fr("frame_bas", 2)})
                                  << "HHH";
    QTest::newRow("4 left, nested rows")
        << 4
        << page({"<frameset cols=\"200,*\">", fr("frame_gauche", 2), "  <frameset rows=\"150,*\">",
                 fr("frame_haut", 4), fr("frame_bas", 4), "  </frameset>"})
        << "LHH";
    QTest::newRow("5 top, nested columns")
        << 5
        << page({"<frameset rows=\"150,*\">", fr("frame_haut", 2), "  <frameset cols=\"200,*\">",
                 fr("frame_gauche", 4), fr("frame_droite", 4), "  </frameset>"})
        << "HLL";
    QTest::newRow("6 nested rows, right")
        << 6
        << page({"<frameset cols=\"*,200\">", "  <frameset rows=\"200,*\">", fr("frame_haut", 4),
                 fr("frame_bas", 4), "  </frameset>", fr("frame_droite", 2)})
        << "HHL";
    QTest::newRow("7 top, nested columns, bottom")
        << 7
        << page({"<frameset rows=\"150,*,150\">", fr("frame_haut", 2),
                 "  <frameset cols=\"200,*\">", fr("frame_gauche", 4), fr("frame_droite", 4),
                 "  </frameset>", fr("frame_bas", 2)})
        << "HLLH";
}

void TestFramesMarkup::layouts() {
    QFETCH(int, layout);
    QFETCH(QString, expected);
    QFETCH(QString, sizeLabels);
    QCOMPARE(BuildFramesDocument(layout, DefaultFrames(layout), QString(), false, false), expected);
    QCOMPARE(FrameCount(layout), sizeLabels.size());
    for (int i = 0; i < sizeLabels.size(); ++i)
        QCOMPARE(FrameSizeIsWidth(layout, i), sizeLabels[i] == QLatin1Char('L'));
}

void TestFramesMarkup::frameOptions_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("scrolling");
    QTest::addColumn<bool>("noResize");
    QTest::addColumn<bool>("border");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("line");

    const QString plain = QStringLiteral("<frameset cols=\"200,*\">");
    QTest::newRow("size 0") << 0 << false << -1 << -1 << 0 << false << true << "frame_gauche"
                            << false << false << "<frameset cols=\"0,*\">" << fr("frame_gauche", 2);
    QTest::newRow("size -1") << -1 << false << -1 << -1 << 0 << false << true << "frame_gauche"
                             << false << false << "<frameset cols=\"*,*\">"
                             << fr("frame_gauche", 2);
    QTest::newRow("50 percent") << 50 << true << -1 << -1 << 0 << false << true << "frame_gauche"
                                << false << false << "<frameset cols=\"50%,*\">"
                                << fr("frame_gauche", 2);
    QTest::newRow("top margin") << 200 << false << 5 << -1 << 0 << false << true << "frame_gauche"
                                << false << false << plain
                                << "  <frame name=\"frame_gauche\" src=\"\" marginheight=\"5\" "
                                   "topmargin=\"5\" scrolling=\"auto\" frameborder=\"1\">";
    QTest::newRow("both margins, fixed order")
        << 200 << false << 5 << 0 << 1 << true << false << "frame_gauche" << false << false << plain
        << "  <frame name=\"frame_gauche\" src=\"\" marginwidth=\"0\" leftmargin=\"0\" "
           "marginheight=\"5\" topmargin=\"5\" scrolling=\"yes\" noresize frameborder=\"0\">";
    QTest::newRow("no scrolling") << 200 << false << -1 << -1 << 2 << false << true
                                  << "frame_gauche" << false << false << plain
                                  << "  <frame name=\"frame_gauche\" src=\"\" scrolling=\"no\" "
                                     "frameborder=\"1\">";
    QTest::newRow("xhtml") << 200 << false << -1 << -1 << 0 << true << true << "frame_gauche"
                           << false << true << plain
                           << "  <frame name=\"frame_gauche\" src=\"\" scrolling=\"auto\" "
                              "noresize=\"noresize\" frameborder=\"1\" />";
    QTest::newRow("tag case") << 200 << false << -1 << -1 << 0 << false << true << "frame_gauche"
                              << true << false << "<FRAMESET COLS=\"200,*\">"
                              << "  <FRAME NAME=\"frame_gauche\" SRC=\"\" SCROLLING=\"auto\" "
                                 "FRAMEBORDER=\"1\">";
    QTest::newRow("typed name escaped")
        << 200 << false << -1 << -1 << 0 << false << true << "a\"b & c" << true << false
        << "<FRAMESET COLS=\"200,*\">"
        << "  <FRAME NAME=\"a&quot;b &amp; c\" SRC=\"\" "
           "SCROLLING=\"auto\" FRAMEBORDER=\"1\">";
}

void TestFramesMarkup::frameOptions() {
    FrameSet frames = DefaultFrames(0);
    FrameValues &f = frames[0];
    QFETCH(int, size);
    QFETCH(bool, percent);
    QFETCH(int, top);
    QFETCH(int, left);
    QFETCH(int, scrolling);
    QFETCH(bool, noResize);
    QFETCH(bool, border);
    QFETCH(QString, name);
    QFETCH(bool, casse);
    QFETCH(bool, xhtml);
    QFETCH(QString, opening);
    QFETCH(QString, line);
    f.size = size;
    f.percent = percent;
    f.topMargin = top;
    f.leftMargin = left;
    f.scrolling = Scrolling(scrolling);
    f.noResize = noResize;
    f.border = border;
    f.name = name;
    const QStringList lines =
        BuildFramesetText(0, frames, QString(), casse, xhtml).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.value(0), opening);
    QCOMPARE(lines.value(1), line);
    QCOMPARE(lines.last(), casse ? QStringLiteral("</FRAMESET>") : QStringLiteral("</frameset>"));
}

void TestFramesMarkup::noFramesBlock() {
    const QString text =
        BuildFramesetText(1, DefaultFrames(1), QStringLiteral("Pas de <b>cadres</b>"), true, false);
    QVERIFY(text.endsWith(
        QStringLiteral("\r\n<NOFRAMES>\r\nPas de <b>cadres</b>\r\n</NOFRAMES>\r\n</FRAMESET>")));
}

void TestFramesMarkup::defaultNoFramesText() {
    const QString plain = DefaultNoFramesText(false, false);
    const QStringList lines = plain.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("Votre navigateur ne reconnaît pas les cadres.<br>"));
    QVERIFY(lines[1].startsWith(
        QStringLiteral("Veuillez installer un navigateur supportant les cadres comme <a href=\"")));
    QVERIFY(lines[1].contains(
        QStringLiteral("\" target=\"_blank\">Internet Explorer</a> ou <a href=\"")));
    QVERIFY(lines[1].endsWith(QStringLiteral("\" target=\"_blank\">Firefox</a>.")));
    const QString cased = DefaultNoFramesText(true, true);
    QVERIFY(cased.startsWith(
        QStringLiteral("Votre navigateur ne reconnaît pas les cadres.<BR />\r\nVeuillez")));
    QVERIFY(cased.contains(QStringLiteral("TARGET=\"_blank\">Firefox</A>.")));
}

QTEST_APPLESS_MAIN(TestFramesMarkup)
#include "tst_frames_markup.moc"
