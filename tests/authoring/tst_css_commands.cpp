#include "authoring/css_commands.h"
#include "authoring/insertion.h"

#include <QSet>
#include <QTest>

using namespace Authoring;

namespace {

const CssFamily &family(const QString &name) {
    for (const CssFamily &f : CssFamilies()) {
        if (f.name == name) return f;
    }
    qFatal("no family %s", qPrintable(name));
}

std::optional<CssItem> findItem(const QString &name) {
    for (const CssFamily &f : CssFamilies()) {
        for (const CssItem &i : f.items()) {
            if (i.name == name) return i;
        }
    }
    return std::nullopt;
}

} // namespace

class TestCssCommands : public QObject {
    Q_OBJECT
private slots:
    void families_data();
    void families();
    void namesAreUnique();
    void declarations_data();
    void declarations();
    void sideGroupsBySubstitution_data();
    void sideGroupsBySubstitution();
    void selectors();
    void skeletons_data();
    void skeletons();
    void styleSheet_data();
    void styleSheet();
    void history_data();
    void history();
};

void TestCssCommands::families_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("properties");
    QTest::addColumn<QStringList>("palettes");
    QTest::newRow("Fond") << "CSSBackground"
                          << "Fond" << 26 << 5 << QStringList{"background-color"};
    QTest::newRow("Texte") << "CSSText"
                           << "Texte" << 33 << 9 << QStringList{"color"};
    QTest::newRow("Police") << "CSSFont"
                            << "Police" << 36 << 5 << QStringList{};
    QTest::newRow("Bordure") << "CSSBorder"
                             << "Bordure" << 90 << 19
                             << QStringList{"border-color", "border-bottom-color",
                                            "border-left-color", "border-right-color",
                                            "border-top-color"};
    QTest::newRow("Marges") << "CSSMargin"
                            << "Marges" << 17 << 4 << QStringList{};
    QTest::newRow("Remplissage") << "CSSPadding"
                                 << "Remplissage" << 13 << 4 << QStringList{};
    QTest::newRow("Listes") << "CSSListStyle"
                            << "Listes" << 29 << 3 << QStringList{};
}

void TestCssCommands::families() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, items);
    QFETCH(int, properties);
    QFETCH(QStringList, palettes);
    const CssFamily &f = family(name);
    QCOMPARE(f.caption, caption);
    QCOMPARE(f.items().size(), items);
    QCOMPARE(f.properties.size(), properties);
    QStringList withPalette;
    for (const CssProperty &p : f.properties) {
        if (p.palette) withPalette << p.item.text;
        // A value item writes its own property; a placeholder the bare property.
        for (const CssItem &v : p.values) {
            QCOMPARE(v.form, CssForm::Value);
            QVERIFY2(v.text.startsWith(p.item.text + QLatin1Char(':')), qPrintable(v.name));
        }
        for (const CssItem &v : p.placeholders) {
            QCOMPARE(v.form, CssForm::Placeholder);
            QCOMPARE(v.text, p.item.text);
        }
    }
    QCOMPARE(withPalette, palettes);
}

void TestCssCommands::namesAreUnique() {
    QSet<QString> names;
    int total = 0;
    for (const CssFamily &f : CssFamilies()) {
        QCOMPARE(f.name.isEmpty(), false);
        for (const CssItem &i : f.items()) {
            QVERIFY2(!names.contains(i.name), qPrintable(i.name));
            names.insert(i.name);
            ++total;
        }
    }
    QCOMPARE(CssFamilies().size(), 7);
    QCOMPARE(total, 244);
}

void TestCssCommands::declarations_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::newRow("shorthand") << "CSSBackground_"
                               << "Fond"
                               << "background:"
                               << ";";
    QTest::newRow("value") << "CSSBackgroundRepeatRepeatx"
                           << "repeat-x"
                           << "background-repeat:repeat-x;"
                           << "";
    QTest::newRow("value with its own caption") << "CSSBackgroundRepeatNoRepeat"
                                                << "no repeat"
                                                << "background-repeat:no-repeat;"
                                                << "";
    QTest::newRow("two-word value") << "CSSBackgroundPositionBottomCenter"
                                    << "bottom center"
                                    << "background-position:bottom center;"
                                    << "";
    QTest::newRow("placeholder") << "CSSBackgroundPositionXYpourc"
                                 << "x-% y-%"
                                 << "background-position:"
                                 << ";";
    QTest::newRow("text align") << "CSSTextTextAlignJustify"
                                << "justify"
                                << "text-align:justify;"
                                << "";
    QTest::newRow("font shorthand") << "CSSFont_"
                                    << "Police"
                                    << "font:"
                                    << ";";
    QTest::newRow("font size length") << "CSSFontSizeLength"
                                      << "Taille"
                                      << "font-size:"
                                      << ";";
    QTest::newRow("weight 900") << "CSSFontWeight900"
                                << "900"
                                << "font-weight:900;"
                                << "";
    QTest::newRow("border") << "CSSBorder_"
                            << "Bordure"
                            << "border:"
                            << ";";
    QTest::newRow("border top dotted") << "CSSBorderTopStyleDotted"
                                       << "dotted"
                                       << "border-top-style:dotted;"
                                       << "";
    QTest::newRow("border left width length") << "CSSBorderLeftWidthLongueur"
                                              << "Longueur"
                                              << "border-left-width:"
                                              << ";";
    QTest::newRow("margin shorthand") << "CSSMargin_"
                                      << "Marges"
                                      << "margin:"
                                      << ";";
    QTest::newRow("margin right auto") << "CSSMarginRightAuto"
                                       << "auto"
                                       << "margin-right:auto;"
                                       << "";
    QTest::newRow("padding top %") << "CSSPaddingTopPourc"
                                   << "%"
                                   << "padding-top:"
                                   << ";";
    QTest::newRow("list shorthand writes the type") << "CSSList_"
                                                    << "Liste"
                                                    << "list-style-type:"
                                                    << ";";
    QTest::newRow("list image URL") << "CSSListStyleImageURL"
                                    << "URL"
                                    << "list-style-image:"
                                    << ";";
    QTest::newRow("katakana iroha") << "CSSListStyleTypeKatakanaIroha"
                                    << "katakana-iroha"
                                    << "list-style-type:katakana-iroha;"
                                    << "";
}

void TestCssCommands::declarations() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    const std::optional<CssItem> item = findItem(name);
    QVERIFY2(item, qPrintable(name));
    QCOMPARE(item->caption, caption);
    const CssWrap w = CssDeclaration(*item);
    QCOMPARE(w.opening, opening);
    QCOMPARE(w.closing, closing);
}

void TestCssCommands::sideGroupsBySubstitution_data() {
    QTest::addColumn<QString>("side");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("where");
    QTest::newRow("left") << "Left"
                          << "left"
                          << "de gauche";
    QTest::newRow("right") << "Right"
                           << "right"
                           << "de droite";
    QTest::newRow("top") << "Top"
                         << "top"
                         << "du haut";
}

void TestCssCommands::sideGroupsBySubstitution() {
    QFETCH(QString, side);
    QFETCH(QString, property);
    QFETCH(QString, where);
    // Every bottom item has its twin on the other side, with every part substituted.
    int twins = 0;
    for (const CssItem &bottom : family(QStringLiteral("CSSBorder")).items()) {
        if (!bottom.name.startsWith(QLatin1String("CSSBorderBottom"))) continue;
        QString name = bottom.name;
        name.replace(QLatin1String("Bottom"), side);
        const std::optional<CssItem> twin = findItem(name);
        QVERIFY2(twin, qPrintable(name));
        QString text = bottom.text;
        QCOMPARE(twin->text, text.replace(QLatin1String("bottom"), property));
        QString caption = bottom.caption;
        QCOMPARE(twin->caption, caption.replace(QLatin1String("du bas"), where));
        QCOMPARE(twin->form, bottom.form);
        ++twins;
    }
    QCOMPARE(twins, 18);
    for (const char *f : {"CSSMargin", "CSSPadding"}) {
        const QString base = QLatin1String(f);
        int n = 0;
        for (const CssItem &i : family(base).items())
            n += i.name.startsWith(base + side) ? 1 : 0;
        QCOMPARE(n, base == QLatin1String("CSSMargin") ? 4 : 3);
    }
}

void TestCssCommands::selectors() {
    const QStringList &s = CssSelectors();
    QCOMPARE(s.size(), 100);
    QCOMPARE(s.first(), QStringLiteral("a"));
    QCOMPARE(s.at(4), QStringLiteral("a:visited"));
    QCOMPARE(s.last(), QStringLiteral("wbr"));
    QVERIFY(s.contains(QStringLiteral("noframes")));
    QVERIFY(!s.contains(QStringLiteral("noframe")));
    QCOMPARE(s.indexOf(QStringLiteral("noframes")), s.indexOf(QStringLiteral("nobr")) + 1);
    QCOMPARE(QSet<QString>(s.begin(), s.end()).size(), 100);
}

void TestCssCommands::skeletons_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("restricted");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("opening");
    const int tag = int(CssRuleKind::Tag), cls = int(CssRuleKind::Class),
              id = int(CssRuleKind::Ident);
    QTest::newRow("tag") << tag << "h1"
                         << "" << false << false << "h1{\r\n";
    QTest::newRow("tag, Casse") << tag << "a:hover"
                                << "" << false << true << "A:HOVER{\r\n";
    QTest::newRow("class for h1") << cls << "h1"
                                  << "titre" << true << false << "h1.titre{\r\n";
    QTest::newRow("class for h1, Casse") << cls << "h1"
                                         << "titre" << true << true << "H1.titre{\r\n";
    QTest::newRow("class alone") << cls << "h1"
                                 << "Titre" << false << true << ".Titre{\r\n";
    QTest::newRow("identifier") << id << "div"
                                << "menu" << true << false << "div#menu{\r\n";
    QTest::newRow("identifier alone, Casse") << id << "div"
                                             << "menu" << false << true << "#menu{\r\n";
    QTest::newRow("typed selector") << tag << "ul li"
                                    << "" << false << true << "UL LI{\r\n";
}

void TestCssCommands::skeletons() {
    QFETCH(int, kind);
    QFETCH(QString, selector);
    QFETCH(QString, name);
    QFETCH(bool, restricted);
    QFETCH(bool, casse);
    QFETCH(QString, opening);
    QCOMPARE(CssRuleOpening(CssRuleKind(kind), selector, name, restricted, casse), opening);
    // With no selection: the rule's line, an empty line holding the caret, and "}".
    const WrapEdit e =
        WrapSelection({1, 1}, {1, 1}, {1, 1}, QString(), opening, CssRuleClosing(), true, casse);
    QCOMPARE(e.text, opening + QStringLiteral("\r\n}"));
    QCOMPARE(e.caret, (TextPos{1, 2}));
}

void TestCssCommands::styleSheet_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<QString>("link");
    QTest::newRow("plain") << "styles/site.css" << false
                           << R"(<link rel="StyleSheet" type="text/css" href="styles/site.css">)";
    QTest::newRow("XHTML") << "site.css" << true
                           << R"(<link rel="StyleSheet" type="text/css" href="site.css" />)";
    QTest::newRow("empty") << "" << false << R"(<link rel="StyleSheet" type="text/css" href="">)";
    QTest::newRow("quote and ampersand escaped")
        << R"(a"b.css?x=1&y=2)" << false
        << R"(<link rel="StyleSheet" type="text/css" href="a&quot;b.css?x=1&amp;y=2">)";
}

void TestCssCommands::styleSheet() {
    QFETCH(QString, address);
    QFETCH(bool, xhtml);
    QFETCH(QString, link);
    QCOMPARE(StyleSheetLink(address, xhtml), link);
    QCOMPARE(StyleSheetInternal().opening, QStringLiteral("<style type=\"text/css\">\r\n"));
    QCOMPARE(StyleSheetInternal().closing, QStringLiteral("\r\n</style>"));
}

void TestCssCommands::history_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("first") << QStringList{} << "a.css" << QStringList{"a.css"};
    QTest::newRow("empty not added") << QStringList{"a.css"} << "" << QStringList{"a.css"};
    QTest::newRow("other case moves up")
        << QStringList{"a.css", "B.css"} << "b.CSS" << QStringList{"b.CSS", "a.css"};
    QTest::newRow("six at most") << QStringList{"1", "2", "3", "4", "5", "6"} << "7"
                                 << QStringList{"7", "1", "2", "3", "4", "5"};
    QTest::newRow("existing within six") << QStringList{"1", "2", "3", "4", "5", "6"} << "6"
                                         << QStringList{"6", "1", "2", "3", "4", "5"};
}

void TestCssCommands::history() {
    QFETCH(QStringList, before);
    QFETCH(QString, entry);
    QFETCH(QStringList, after);
    QCOMPARE(PushHistory(before, entry), after);
}

QTEST_GUILESS_MAIN(TestCssCommands)
#include "tst_css_commands.moc"
