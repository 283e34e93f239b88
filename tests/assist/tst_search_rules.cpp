#include "assist/search_rules.h"

#include <QTest>

using namespace SearchRules;

class TstSearchRules : public QObject {
    Q_OBJECT
private slots:
    void history_data();
    void history();
    void proposal_data();
    void proposal();
    void tabOrder_data();
    void tabOrder();
    void confirmation_data();
    void confirmation();
    void lineBox_data();
    void lineBox();
    void messages();
    void bookmarkKeys_data();
    void bookmarkKeys();
};

void TstSearchRules::history_data() {
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QStringList ten;
    for (int i = 0; i < 10; ++i)
        ten << QStringLiteral("t%1").arg(i);
    QTest::newRow("first") << QStringList() << "a" << QStringList{"a"};
    QTest::newRow("moved to the top")
        << QStringList{"a", "b", "c"} << "c" << QStringList{"c", "a", "b"};
    QTest::newRow("empty is not added") << QStringList{"a"} << "" << QStringList{"a"};
    QTest::newRow("case differs: another text") << QStringList{"a"} << "A" << QStringList{"A", "a"};
    QTest::newRow("at most ten") << ten << "new" << (QStringList{"new"} + ten.mid(0, 9));
    QTest::newRow("present in a full list") << ten << "t9" << (QStringList{"t9"} + ten.mid(0, 9));
}

void TstSearchRules::history() {
    QFETCH(QStringList, history);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(pushHistory(history, text), expected);
}

void TstSearchRules::proposal_data() {
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("expected");
    QTest::newRow("selection in one line") << "deux mots"
                                           << "mot"
                                           << "x"
                                           << "deux mots";
    QTest::newRow("selection over two lines") << "a\r\nb"
                                              << "mot"
                                              << "x"
                                              << "mot";
    QTest::newRow("LF line break") << "a\nb"
                                   << ""
                                   << "x"
                                   << "x";
    QTest::newRow("word at the caret") << ""
                                       << "mot"
                                       << "x"
                                       << "mot";
    QTest::newRow("last text") << ""
                               << ""
                               << "x"
                               << "x";
}

void TstSearchRules::proposal() {
    QFETCH(QString, selection);
    QFETCH(QString, word);
    QFETCH(QString, last);
    QFETCH(QString, expected);
    QCOMPARE(proposedText(selection, word, last), expected);
}

void TstSearchRules::tabOrder_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<int>("expected");
    QTest::newRow("next") << 0 << 3 << false << 1;
    QTest::newRow("round the end") << 2 << 3 << false << 0;
    QTest::newRow("previous round the start") << 0 << 3 << true << 2;
    QTest::newRow("one tab") << 0 << 1 << false << 0;
    QTest::newRow("no tab") << 0 << 0 << false << -1;
}

void TstSearchRules::tabOrder() {
    QFETCH(int, index);
    QFETCH(int, count);
    QFETCH(bool, backwards);
    QFETCH(int, expected);
    QCOMPARE(nextTab(index, count, backwards), expected);
}

void TstSearchRules::confirmation_data() {
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QSize>("dialog");
    QTest::addColumn<QRect>("match");
    QTest::addColumn<QPoint>("expected");
    const QRect area(100, 50, 800, 600); // lower third starts at y 450
    QTest::newRow("below the match")
        << area << QSize(300, 100) << QRect(200, 100, 1, 16) << QPoint(200, 120);
    QTest::newRow("kept inside at the right")
        << area << QSize(300, 100) << QRect(800, 100, 1, 16) << QPoint(600, 120);
    QTest::newRow("above in the lower third")
        << area << QSize(300, 100) << QRect(200, 440, 1, 16) << QPoint(200, 336);
    QTest::newRow("line ending on the two thirds")
        << area << QSize(300, 100) << QRect(200, 434, 1, 16) << QPoint(200, 454);
    QTest::newRow("wider than the window: centred")
        << area << QSize(1000, 100) << QRect(200, 100, 1, 16) << QPoint(0, 120);
}

void TstSearchRules::confirmation() {
    QFETCH(QRect, area);
    QFETCH(QSize, dialog);
    QFETCH(QRect, match);
    QFETCH(QPoint, expected);
    QCOMPARE(confirmPlacement(area, dialog, match), expected);
}

void TstSearchRules::lineBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("line");
    QTest::newRow("a line") << "5" << 10 << true << 5;
    QTest::newRow("the last line") << " 10 " << 10 << true << 10;
    QTest::newRow("beyond") << "11" << 10 << false << 0;
    QTest::newRow("not a number") << "abc" << 10 << true << 1;
    QTest::newRow("below one") << "-3" << 10 << true << 1;
    QTest::newRow("empty document") << "1" << 0 << true << 1;
    QTest::newRow("beyond an empty document") << "2" << 0 << false << 0;
    QTest::newRow("six digits") << "123456" << 200000 << true << 123456;
    QTest::newRow("huge number") << "99999999999999" << 200000 << false << 0;
}

void TstSearchRules::lineBox() {
    QFETCH(QString, text);
    QFETCH(int, lines);
    QFETCH(bool, accepted);
    QFETCH(int, line);
    const LineChoice c = parseLine(text, lines);
    QCOMPARE(c.accepted, accepted);
    if (accepted) QCOMPARE(c.line, line);
}

void TstSearchRules::messages() {
    QCOMPARE(lineLabel(0), QStringLiteral("Numéro de ligne :"));
    QCOMPARE(lineLabel(12), QStringLiteral("Numéro de ligne : (1 - 12)"));
    // The ampersand is shown once: the message boxes show plain text.
    QCOMPARE(notFoundMessage(QStringLiteral("a&b")),
             QStringLiteral("Chaîne recherchée \"a&b\" non trouvée"));
    QCOMPARE(confirmMessage(QStringLiteral("R&D")),
             QStringLiteral("Voulez-vous remplacer cette occurence de \"R&D\" ?"));
    QCOMPARE(documentsLabel(false, 3), QStringLiteral("Recherche dans les 3 documents ouverts"));
    QCOMPARE(documentsLabel(true, 2), QStringLiteral("Remplace dans les 2 documents ouverts"));
}

void TstSearchRules::bookmarkKeys_data() {
    QTest::addColumn<QString>("platform");
    QTest::addColumn<uint>("scanCode");
    QTest::addColumn<uint>("virtualKey");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("X: key 1") << "xcb" << 10u << 0x26u << int(Qt::Key_Ampersand) << "&" << 1;
    QTest::newRow("X: key 0") << "xcb" << 19u << 0xE0u << int(Qt::Key_Agrave) << "à" << 0;
    QTest::newRow("X: key 6 shows a minus")
        << "xcb" << 15u << 0x2Du << int(Qt::Key_Minus) << "-" << 6;
    QTest::newRow("X: a minus elsewhere")
        << "xcb" << 20u << 0x2Du << int(Qt::Key_Minus) << "-" << -1;
    QTest::newRow("Windows: virtual key 7")
        << "windows" << 8u << 0x37u << int(Qt::Key_Egrave) << "è" << 7;
    QTest::newRow("Windows: another key")
        << "windows" << 12u << 0xDBu << int(Qt::Key_ParenRight) << ")" << -1;
    QTest::newRow("macOS: key 0") << "cocoa" << 0u << 0x1Du << int(Qt::Key_Agrave) << "à" << 0;
    QTest::newRow("macOS: key 5") << "cocoa" << 0u << 0x17u << int(Qt::Key_ParenLeft) << "(" << 5;
    const QString french = QStringLiteral("à&é\"'(-è_ç");
    for (int d = 0; d < 10; ++d)
        QTest::addRow("character %d", d)
            << "offscreen" << 0u << 0u << int(french[d].toUpper().unicode()) << QString(french[d])
            << d;
    QTest::newRow("key code when the text is a control character")
        << "offscreen" << 0u << 0u << int(Qt::Key_Eacute) << "\x05" << 2;
    QTest::newRow("plain digit") << "offscreen" << 0u << 0u << int(Qt::Key_3) << "3" << 3;
    QTest::newRow("letter") << "offscreen" << 0u << 0u << int(Qt::Key_A) << "a" << -1;
}

void TstSearchRules::bookmarkKeys() {
    QFETCH(QString, platform);
    QFETCH(uint, scanCode);
    QFETCH(uint, virtualKey);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(bookmarkDigit(platform, scanCode, virtualKey, key, text), expected);
}

QTEST_GUILESS_MAIN(TstSearchRules)
#include "tst_search_rules.moc"
