#include "assist/search_rules.h"

#include <QTest>

using namespace SearchRules;

class TstSearchRules : public QObject {
    Q_OBJECT
private slots:
    void history_data();
    void history();
    void confirmation_data();
    void confirmation();
    void lineBox_data();
    void lineBox();
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
