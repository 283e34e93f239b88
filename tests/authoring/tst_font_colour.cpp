#include "app/settings_store.h"
#include "authoring/font_colour.h"
#include "authoring/insertion.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Authoring;

class TestFontColour : public QObject {
    Q_OBJECT
private slots:
    void colourText_data();
    void colourText();
    void colourFromText_data();
    void colourFromText();
    void swatches();
    void fontOpening_data();
    void fontOpening();
    void faces_data();
    void faces();
    void presetNames_data();
    void presetNames();
    void presetRemoval_data();
    void presetRemoval();
    void faceMoves();
    void presetsWrittenAndRead();
    void decimal_data();
    void decimal();
    void hex_data();
    void hex();
    void hexSteps_data();
    void hexSteps();
    void pickerRoute_data();
    void pickerRoute();
};

void TestFontColour::colourText_data() {
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<QString>("text");
    QTest::newRow("pure red") << 255 << 0 << 0 << "#FF0000";
    QTest::newRow("pure blue") << 0 << 0 << 255 << "#0000FF";
    QTest::newRow("upper-case letters") << 0xAB << 0xCD << 0xEF << "#ABCDEF";
    QTest::newRow("leading zeros") << 1 << 2 << 3 << "#010203";
    QTest::newRow("black") << 0 << 0 << 0 << "#000000";
    QTest::newRow("white") << 255 << 255 << 255 << "#FFFFFF";
}

void TestFontColour::colourText() {
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(QString, text);
    QCOMPARE(ColourText({r, g, b}), text);
    // Held with red in the low byte: the bytes are reversed when written.
    QCOMPARE(ColourTextFromBgr(quint32(r) | quint32(g) << 8 | quint32(b) << 16), text);
}

void TestFontColour::colourFromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("named");
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::newRow("hex") << "#FF8000" << true << 255 << 128 << 0;
    QTest::newRow("lower-case hex") << "#a6caf0" << true << 0xA6 << 0xCA << 0xF0;
    QTest::newRow("name") << "Red" << true << 255 << 0 << 0;
    QTest::newRow("name in capitals") << "FUCHSIA" << true << 255 << 0 << 255;
    QTest::newRow("teal") << "teal" << true << 0 << 0x80 << 0x80;
    QTest::newRow("silver") << "Silver" << true << 0xC0 << 0xC0 << 0xC0;
    QTest::newRow("name beyond the sixteen") << "orange" << false << 0 << 0 << 0;
    QTest::newRow("short hex") << "#F00" << false << 0 << 0 << 0;
    QTest::newRow("not hex digits") << "#GG0000" << false << 0 << 0 << 0;
    QTest::newRow("no hash") << "FF0000" << false << 0 << 0 << 0;
    QTest::newRow("empty") << "" << false << 0 << 0 << 0;
    QTest::newRow("hash only") << "#" << false << 0 << 0 << 0;
}

void TestFontColour::colourFromText() {
    QFETCH(QString, text);
    QFETCH(bool, named);
    const std::optional<Rgb> c = ColourFromText(text);
    QCOMPARE(c.has_value(), named);
    if (named) {
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QCOMPARE(*c, (Rgb{r, g, b}));
    }
}

void TestFontColour::swatches() {
    const QStringList expected = {"#FFFFFF", "#000000", "#C0C0C0", "#808080", "#FF0000",
                                  "#800000", "#FFFF00", "#808000", "#00FF00", "#008000",
                                  "#00FFFF", "#008080", "#0000FF", "#000080", "#FF00FF",
                                  "#800080", "#C0DCC0", "#A6CAF0", "#FFFBF0", "#A0A0A4"};
    QStringList got;
    for (const Rgb &c : SelectorSwatches())
        got << ColourText(c);
    QCOMPARE(got, expected);
    QCOMPARE(SwatchIndex({0xA0, 0xA0, 0xA4}), 19);
    QCOMPARE(SwatchIndex({0x12, 0x34, 0x56}), -1);
    QCOMPARE(FontSizeChoices().size(), 22);
    QCOMPARE(FontSizeChoices().first(), QStringLiteral("Défaut"));
    QCOMPARE(FontSizeChoices().last(), QStringLiteral("-7"));
}

void TestFontColour::fontOpening_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("opening");
    QTest::newRow("full") << "Arial, Helvetica"
                          << "+1"
                          << "#FF0000" << false
                          << R"(<font face="Arial, Helvetica" size="+1" color="#FF0000">)";
    QTest::newRow("full, Casse") << "Arial, Helvetica"
                                 << "+1"
                                 << "#FF0000" << true
                                 << R"(<FONT FACE="Arial, Helvetica" SIZE="+1" COLOR="#FF0000">)";
    QTest::newRow("colour only") << ""
                                 << ""
                                 << "#00FF00" << false << R"(<font color="#00FF00">)";
    QTest::newRow("nothing") << ""
                             << ""
                             << "" << false << "<font>";
    QTest::newRow("size only, Casse") << ""
                                      << "-2"
                                      << "" << true << R"(<FONT SIZE="-2">)";
    QTest::newRow("quote in a face stays well formed")
        << R"(My "Font")"
        << ""
        << "" << false << R"(<font face="My &quot;Font&quot;">)";
    QTest::newRow("ampersand") << "A&B"
                               << ""
                               << "" << false << R"(<font face="A&amp;B">)";
}

void TestFontColour::fontOpening() {
    QFETCH(QString, face);
    QFETCH(QString, size);
    QFETCH(QString, colour);
    QFETCH(bool, casse);
    QFETCH(QString, opening);
    const FontPreset p{QStringLiteral("x"), size, colour, face};
    QCOMPARE(ApplyTagCase(FontOpening(p), casse), opening);
    QCOMPARE(ApplyTagCase(QStringLiteral("</font>"), casse),
             casse ? QStringLiteral("</FONT>") : QStringLiteral("</font>"));
}

void TestFontColour::faces_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("after");
    QTest::newRow("example") << "Times New Roman, Arial"
                             << "Verdana" << QStringList{"Times New Roman", "Arial"}
                             << "Times New Roman, Arial, Verdana";
    QTest::newRow("spaces trimmed")
        << " Arial ,Verdana  "
        << "Courier" << QStringList{"Arial", "Verdana"} << "Arial, Verdana, Courier";
    QTest::newRow("already there in another case")
        << "Arial, Verdana"
        << "ARIAL" << QStringList{"Arial", "Verdana"} << "Arial, Verdana";
    QTest::newRow("empty name not added") << "Arial"
                                          << "  " << QStringList{"Arial"} << "Arial";
    QTest::newRow("into an empty list") << ""
                                        << "Georgia" << QStringList{} << "Georgia";
}

void TestFontColour::faces() {
    QFETCH(QString, stored);
    QFETCH(QString, added);
    QFETCH(QStringList, shown);
    QFETCH(QString, after);
    QCOMPARE(SplitFaces(stored), shown);
    FontPresetList list;
    QCOMPARE(list.add(QStringLiteral("m")), 0);
    list.at(0).face = stored;
    list.addFace(0, added);
    QCOMPARE(list.at(0).face, after);
}

void TestFontColour::presetNames_data() {
    QTest::addColumn<int>("existing");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("accepted") << 3 << "Titre"
                              << "";
    QTest::newRow("empty") << 3 << ""
                           << "Le nom de modèle est vide";
    QTest::newRow("exists, other case")
        << 3 << "MODELE2"
        << "Ce nom de modèle existe déjà.\r\nChoisissez un nouveau nom.";
    QTest::newRow("ten already") << 10 << "Onze"
                                 << "Le maximum de modèles est atteint.\r\nSupprimez un modèle "
                                    "pour pouvoir en créer un nouveau.";
    QTest::newRow("ninth and tenth fit") << 9 << "Dix"
                                         << "";
}

void TestFontColour::presetNames() {
    QFETCH(int, existing);
    QFETCH(QString, name);
    QFETCH(QString, message);
    FontPresetList list;
    for (int i = 1; i <= existing; ++i)
        QCOMPARE(list.add(QStringLiteral("Modele%1").arg(i)), i - 1);
    const FontPresetList::NameCheck check = list.checkNewName(name);
    QCOMPARE(NameCheckMessage(check), message);
    const int slot = list.add(name);
    QCOMPARE(slot, message.isEmpty() ? existing : -1);
    QCOMPARE(list.count(), existing + (message.isEmpty() ? 1 : 0));
    if (slot >= 0) {
        QCOMPARE(list.at(slot).taille, QString());
        QCOMPARE(list.at(slot).face, QString());
    }
}

void TestFontColour::presetRemoval_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("shownNext");
    QTest::newRow("second of three") << 3 << 1 << QStringList{"A", "C"} << 0;
    QTest::newRow("first of three") << 3 << 0 << QStringList{"B", "C"} << 0;
    QTest::newRow("last of three") << 3 << 2 << QStringList{"A", "B"} << 1;
    QTest::newRow("only one") << 1 << 0 << QStringList{} << 0;
    QTest::newRow("tenth of ten") << 10 << 9
                                  << QStringList{"A", "B", "C", "D", "E", "F", "G", "H", "I"} << 8;
}

void TestFontColour::presetRemoval() {
    QFETCH(int, count);
    QFETCH(int, removed);
    QFETCH(QStringList, left);
    QFETCH(int, shownNext);
    FontPresetList list;
    for (int i = 0; i < count; ++i) {
        list.add(QString(QChar(u'A' + i)));
        list.at(i).couleur = QStringLiteral("#00000%1").arg(i);
    }
    QCOMPARE(list.remove(removed), shownNext);
    QCOMPARE(list.names(), left);
    // The later presets moved up whole, and the last slot is empty.
    for (int i = 0; i < left.size(); ++i) {
        const int was = left.at(i).at(0).unicode() - u'A';
        QCOMPARE(list.at(i).couleur, QStringLiteral("#00000%1").arg(was));
    }
    QCOMPARE(list.at(FontPresetList::kSlots - 1).nom, QString());
    QCOMPARE(list.at(left.size()).nom, QString());
}

void TestFontColour::faceMoves() {
    FontPresetList list;
    list.add(QStringLiteral("m"));
    list.at(0).face = QStringLiteral("A, B, C");
    QCOMPARE(list.moveFace(0, 2, -1), 1);
    QCOMPARE(list.at(0).face, QStringLiteral("A, C, B"));
    QCOMPARE(list.moveFace(0, 0, -1), 0); // the first cannot go up
    QCOMPARE(list.moveFace(0, 2, 1), 2);  // nor the last down
    QCOMPARE(list.at(0).face, QStringLiteral("A, C, B"));
    list.removeFace(0, 1);
    QCOMPARE(list.at(0).face, QStringLiteral("A, B"));
    list.removeFace(0, 7);
    QCOMPARE(list.at(0).face, QStringLiteral("A, B"));
}

void TestFontColour::presetsWrittenAndRead() {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("b.ini"));
    FontPresetList list;
    list.add(QStringLiteral("Titres"));
    list.at(0) = FontPreset{QStringLiteral("Titres"), QStringLiteral("+2"),
                            QStringLiteral("#800000"), QStringLiteral("Georgia, serif")};
    list.add(QStringLiteral("Notes"));
    {
        SettingsStore store(ini);
        WriteFontPresets(store, list.presets(), 1);
        store.sync();
    }
    SettingsStore again(ini);
    Options o;
    loadSettings(again, o);
    QCOMPARE(o.fontSelect, 1);
    QCOMPARE(o.fonts[0].face, QStringLiteral("Georgia, serif"));
    QCOMPARE(o.fonts[0].taille, QStringLiteral("+2"));
    QCOMPARE(o.fonts[1].nom, QStringLiteral("Notes"));
    QCOMPARE(o.fonts[2].nom, QString());
}

void TestFontColour::decimal_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("hex");
    QTest::newRow("255") << "255"
                         << "255"
                         << "FF";
    QTest::newRow("256") << "256"
                         << "255"
                         << "FF";
    QTest::newRow("999") << "999"
                         << "255"
                         << "FF";
    QTest::newRow("empty") << ""
                           << "0"
                           << "00";
    QTest::newRow("zero") << "0"
                          << "0"
                          << "00";
    QTest::newRow("not a number") << "a1"
                                  << "0"
                                  << "00";
    QTest::newRow("10") << "10"
                        << "10"
                        << "0A";
    QTest::newRow("1") << "1"
                       << "1"
                       << "01";
}

void TestFontColour::decimal() {
    QFETCH(QString, typed);
    QFETCH(QString, decimal);
    QFETCH(QString, hex);
    const HexState s = DecimalChanged(typed);
    QCOMPARE(s.decimal, decimal);
    QCOMPARE(s.hex, hex);
}

void TestFontColour::hex_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("follows");
    QTest::addColumn<QString>("decimal");
    QTest::newRow("FF") << "FF" << true << "255";
    QTest::newRow("lower case") << "0f" << true << "15";
    QTest::newRow("one digit waits") << "F" << false << "";
    QTest::newRow("empty waits") << "" << false << "";
    QTest::newRow("00") << "00" << true << "0";
}

void TestFontColour::hex() {
    QFETCH(QString, typed);
    QFETCH(bool, follows);
    QFETCH(QString, decimal);
    const std::optional<HexState> s = HexChanged(typed);
    QCOMPARE(s.has_value(), follows);
    if (follows) {
        QCOMPARE(s->decimal, decimal);
        QCOMPARE(s->hex, typed.toUpper());
    }
}

void TestFontColour::hexSteps_data() {
    QTest::addColumn<QString>("hex");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("decimal");
    QTest::newRow("0F up") << "0F" << 1 << "10"
                           << "16";
    QTest::newRow("FF up stays") << "FF" << 1 << "FF"
                                 << "255";
    QTest::newRow("10 down") << "10" << -1 << "0F"
                             << "15";
    QTest::newRow("00 down stays") << "00" << -1 << "00"
                                   << "0";
    QTest::newRow("empty up") << "" << 1 << "01"
                              << "1";
}

void TestFontColour::hexSteps() {
    QFETCH(QString, hex);
    QFETCH(int, delta);
    QFETCH(QString, after);
    QFETCH(QString, decimal);
    const HexState s = HexStep(hex, delta);
    QCOMPARE(s.hex, after);
    QCOMPARE(s.decimal, decimal);
}

void TestFontColour::pickerRoute_data() {
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<bool>("grabNull");
    QTest::addColumn<bool>("allBlack");
    QTest::addColumn<bool>("portal");
    QTest::addColumn<int>("route");
    const int grab = int(PickerRoute::Grab), portal = int(PickerRoute::Portal),
              none = int(PickerRoute::Unavailable);
    QTest::newRow("X11 grab") << false << false << false << false << grab;
    QTest::newRow("X11 black screen is a real colour") << false << false << true << false << grab;
    QTest::newRow("X11 grab with a portal too") << false << false << false << true << grab;
    QTest::newRow("X11 empty grab, portal") << false << true << false << true << portal;
    QTest::newRow("empty grab, nothing else") << false << true << false << false << none;
    QTest::newRow("Wayland prefers the portal") << true << false << false << true << portal;
    QTest::newRow("Wayland black grab, no portal") << true << false << true << false << none;
    QTest::newRow("Wayland empty grab, no portal") << true << true << false << false << none;
    QTest::newRow("Wayland real grab, no portal") << true << false << false << false << grab;
}

void TestFontColour::pickerRoute() {
    QFETCH(bool, wayland);
    QFETCH(bool, grabNull);
    QFETCH(bool, allBlack);
    QFETCH(bool, portal);
    QFETCH(int, route);
    QCOMPARE(int(ChoosePickerRoute({wayland, grabNull, allBlack, portal})), route);
    QVERIFY(PickerUnavailableMessage().contains(QStringLiteral("pipette")));
}

QTEST_GUILESS_MAIN(TestFontColour)
#include "tst_font_colour.moc"
