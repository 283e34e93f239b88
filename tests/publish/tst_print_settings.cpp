#include "publish/print_settings.h"

#include <QTest>

using namespace PrintRules;

class TstPrintSettings : public QObject {
    Q_OBJECT
private slots:
    void lengths_data();
    void lengths();
    void parse_data();
    void parse();
    void unitChange();
    void fields_data();
    void fields();
    void boxesRoundTrip();
    void boxesKeepLineNumbers();
    void emptyBoxesRemoveTheHeader();
    void zoom_data();
    void zoom();
};

void TstPrintSettings::lengths_data() {
    QTest::addColumn<double>("mm");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mm") << 25.0 << 0 << "C"
                        << "25";
    QTest::newRow("cm") << 25.0 << 1 << "C"
                        << "2.5";
    QTest::newRow("cm, French separator") << 25.0 << 1 << "fr_FR"
                                          << "2,5";
    QTest::newRow("inches") << 25.4 << 2 << "C"
                            << "1";
    QTest::newRow("thousandths") << 25.4 << 3 << "C"
                                 << "1000";
    QTest::newRow("half a mm") << 0.5 << 0 << "C"
                               << "0.5";
    QTest::newRow("inches rounded") << 25.0 << 2 << "C"
                                    << "0.9843";
}

void TstPrintSettings::lengths() {
    QFETCH(double, mm);
    QFETCH(int, unit);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(formatLength(mm, MarginUnit(unit), QLocale(locale)), expected);
}

void TstPrintSettings::parse_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("bad");
    QTest::addColumn<double>("firstMm");
    const QStringList good = {"25", "15", "25", "25", "0", "15", "15", "2", "2", "0.5"};
    QStringList bottomBad = good;
    bottomBad[3] = "2x";
    QStringList lastBad = good;
    lastBad[9] = "";
    QStringList negative = good;
    negative[0] = "-1";
    QStringList french = good;
    french[0] = "2,5";
    QTest::newRow("all numbers") << good << 0 << "C" << -1 << 25.0;
    QTest::newRow("bottom is not a number") << bottomBad << 0 << "C" << 3 << 0.0;
    QTest::newRow("empty internal margin") << lastBad << 0 << "C" << 9 << 0.0;
    QTest::newRow("negative") << negative << 0 << "C" << 0 << 0.0;
    QTest::newRow("French comma in cm") << french << 1 << "fr_FR" << -1 << 25.0;
    QTest::newRow("a point is read with French settings") << good << 1 << "fr_FR" << -1 << 250.0;
    QTest::newRow("inches") << good << 2 << "C" << -1 << 635.0;
}

void TstPrintSettings::parse() {
    QFETCH(QStringList, texts);
    QFETCH(int, unit);
    QFETCH(QString, locale);
    QFETCH(int, bad);
    QFETCH(double, firstMm);
    const MarginParse p = parseMargins(texts, MarginUnit(unit), QLocale(locale));
    QCOMPARE(p.ok, bad < 0);
    QCOMPARE(p.badIndex, bad);
    if (p.ok) QVERIFY(qAbs(p.mm[0] - firstMm) < 1e-9);
}

void TstPrintSettings::unitChange() {
    const QLocale c(QLocale::c());
    const QStringList mm = {"25", "x", "0.5"};
    QCOMPARE(convertTexts(mm, MarginUnit::Millimetres, MarginUnit::Centimetres, c),
             (QStringList{"2.5", "x", "0.05"}));
    // There and back again gives the same lengths.
    const QStringList in = convertTexts(mm, MarginUnit::Millimetres, MarginUnit::Inches, c);
    QCOMPARE(convertTexts(in, MarginUnit::Inches, MarginUnit::Millimetres, c),
             (QStringList{"25", "x", "0.5"}));
}

void TstPrintSettings::fields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");
    QTest::newRow("page of pages") << "$PAGENUM$ / $PAGECOUNT$"
                                   << ""
                                   << "2 / 3";
    QTest::newRow("default header") << "Page : $PAGENUM$ sur $PAGECOUNT$"
                                    << ""
                                    << "Page : 2 sur 3";
    QTest::newRow("title") << "$TITLE$"
                           << "C:\\site\\index.html"
                           << "C:\\site\\index.html";
    QTest::newRow("untitled") << "[$TITLE$]"
                              << ""
                              << "[]";
    QTest::newRow("a title holding a field is not expanded") << "$TITLE$"
                                                             << "a$PAGENUM$"
                                                             << "a$PAGENUM$";
    QTest::newRow("date and time") << "Date d'impression : $DATE$. Heure: $TIME$"
                                   << ""
                                   << "Date d'impression : 09/12/2026. Heure: 07:05:09";
    QTest::newRow("dollars of the text") << "Prix : 5 $ et $X$"
                                         << ""
                                         << "Prix : 5 $ et $X$";
    QTest::newRow("any case") << "$pagenum$"
                              << ""
                              << "2";
}

void TstPrintSettings::fields() {
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2026, 12, 9), QTime(7, 5, 9));
    QCOMPARE(expandFields(text, 2, 3, title, when), expected);
}

void TstPrintSettings::boxesRoundTrip() {
    const PrintSettings s = PrintSettings::defaults();
    const Boxes boxes = boxesFromItems(s.header.items, s.header.defaultFont);
    QCOMPARE(boxes[0].size(), 2); // line 1 of the left box is empty
    QCOMPARE(boxes[0][0].text, QString());
    QCOMPARE(boxes[1].size(), 0);
    QCOMPARE(boxes[2].size(), 2);
    QList<HeaderItem> back = itemsFromBoxes(boxes);
    QList<HeaderItem> original = s.header.items;
    auto order = [](const HeaderItem &a, const HeaderItem &b) {
        return std::pair(a.line, int(a.align)) < std::pair(b.line, int(b.align));
    };
    std::sort(back.begin(), back.end(), order);
    std::sort(original.begin(), original.end(), order);
    QCOMPARE(back, original);
}

void TstPrintSettings::boxesKeepLineNumbers() {
    Boxes boxes;
    FontSpec bold;
    bold.bold = true;
    boxes[2] = {{"a", FontSpec{}}, {"", FontSpec{}}, {"b", bold}};
    const QList<HeaderItem> items = itemsFromBoxes(boxes);
    QCOMPARE(items, (QList<HeaderItem>{{"a", FontSpec{}, ItemAlign::Right, 1},
                                       {"b", bold, ItemAlign::Right, 3}}));
    const QList<QList<HeaderItem>> l = lines(items);
    QCOMPARE(l.size(), 3);
    QVERIFY(l[1].isEmpty());
}

void TstPrintSettings::emptyBoxesRemoveTheHeader() {
    Boxes boxes;
    boxes[0] = {{"", FontSpec{}}};
    boxes[1] = {{"", FontSpec{}}, {"", FontSpec{}}};
    QVERIFY(itemsFromBoxes(boxes).isEmpty());
    QVERIFY(lines({}).isEmpty());
}

void TstPrintSettings::zoom_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("wholePage");
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("expected");
    QTest::newRow("left on the whole page") << 43 << true << false << 100;
    QTest::newRow("left doubles") << 100 << false << false << 200;
    QTest::newRow("left stops at 400") << 300 << false << false << 400;
    QTest::newRow("right halves") << 200 << false << true << 100;
    QTest::newRow("right stops at 25") << 40 << false << true << 25;
    QTest::newRow("right on the whole page") << 60 << true << true << 30;
}

void TstPrintSettings::zoom() {
    QFETCH(int, percent);
    QFETCH(bool, wholePage);
    QFETCH(bool, right);
    QFETCH(int, expected);
    QCOMPARE(zoomAfterClick(percent, wholePage, right), expected);
}

QTEST_GUILESS_MAIN(TstPrintSettings)
#include "tst_print_settings.moc"
