#include "app/document_types.h"
#include "assist/accents.h"
#include "assist/text_transforms.h"
#include "editor/multi_highlighter.h"

#include <QSet>
#include <QTest>

using namespace Assist;

class TestTextRewrites : public QObject {
    Q_OBJECT
private slots:
    void accentTable();
    void convert_data();
    void convert();
    void convertSlice_data();
    void convertSlice();
    void roundTrip();
    void typedCharacter_data();
    void typedCharacter();
    void changeCase_data();
    void changeCase();

private:
    DocumentTypes m_types;
    RawTextRegions regions() const {
        return RawTextRegions(static_cast<const MultiHighlighter *>(
            m_types.highlighter(DocumentTypes::SynMultiSynHTML)));
    }
};

void TestTextRewrites::accentTable() {
    const auto &t = AccentTable();
    QCOMPARE(t.size(), size_t(97));
    QCOMPARE(t[0].character, u'¡');
    QCOMPARE(QByteArray(t[0].named), QByteArray("&iexcl;"));
    QCOMPARE(QByteArray(t[72].numeric), QByteArray("&#233;"));
    QCOMPARE(QByteArray(t[72].named), QByteArray("&eacute;"));
    QCOMPARE(QByteArray(t[94].named), QByteArray("&yuml;"));
    QCOMPARE(t[95].character, u'œ');
    QCOMPARE(QByteArray(t[95].numeric), QByteArray("&#339;"));
    QCOMPARE(QByteArray(t[96].named), QByteArray("&OElig;"));
    QSet<QByteArray> names;
    for (int i = 0; i < 97; ++i) {
        if (i < 95) QCOMPARE(int(t[size_t(i)].character), 161 + i);
        names.insert(t[size_t(i)].named);
    }
    QCOMPARE(names.size(), 97);
}

void TestTextRewrites::convert_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("toReferences");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("expected");

    QTest::newRow("named") << "Été à la mer" << true << true << "&Eacute;t&eacute; &agrave; la mer";
    QTest::newRow("numeric") << "été à" << true << false << "&#233;t&#233; &#224;";
    QTest::newRow("ligatures named") << "œuvre Œil" << true << true << "&oelig;uvre &OElig;il";
    QTest::newRow("ligatures numeric") << "œŒ" << true << false << "&#339;&#338;";
    QTest::newRow("outside the table")
        << "a\u00A0b € “x” & < > \" ĉ" << true << true << "a\u00A0b € “x” & < > \" ĉ";
    QTest::newRow("markup converted too")
        << "<img alt=\"é\"><!-- à -->" << true << true << "<img alt=\"&eacute;\"><!-- &agrave; -->";
    QTest::newRow("script region left alone")
        << "é<script type=\"text/javascript\">s = \"é\";\r\nt = 'à';</script>è" << true << true
        << "&eacute;<script type=\"text/javascript\">s = \"é\";\r\nt = 'à';</script>&egrave;";
    QTest::newRow("style region left alone")
        << "<style type=\"text/css\">p:after { content: \"é\" }</style>é" << true << false
        << "<style type=\"text/css\">p:after { content: \"é\" }</style>&#233;";
    QTest::newRow("unterminated script runs to the end")
        << "à<SCRIPT>\r\né\r\n"
        << true << true << "&agrave;<SCRIPT>\r\né\r\n";
    QTest::newRow("back: named and numeric, either option")
        << "&eacute; &#233; &Eacute;" << false << false << "é é É";
    QTest::newRow("back: other forms stay")
        << "&EACUTE; &#xE9; &#0233; &#00233; &nbsp; &amp; &eacute &#160;" << false << true
        << "&EACUTE; &#xE9; &#0233; &#00233; &nbsp; &amp; &eacute &#160;";
    QTest::newRow("back: ligatures") << "&oelig;&OElig;&#339;&#338;" << false << true << "œŒœŒ";
    QTest::newRow("back: ampersands around") << "&&eacute;;&#&#233;&" << false << true << "&é;&#é&";
    QTest::newRow("back: script left alone") << "<script>x = '&eacute;';</script>&eacute;" << false
                                             << true << "<script>x = '&eacute;';</script>é";
    QTest::newRow("back: long unknown name")
        << "&abcdefghijklmnop;" << false << true << "&abcdefghijklmnop;";
    QTest::newRow("empty") << "" << true << true << "";
}

void TestTextRewrites::convert() {
    QFETCH(QString, text);
    QFETCH(bool, toReferences);
    QFETCH(bool, named);
    QFETCH(QString, expected);
    const QByteArray out = ConvertAccents(
        text.toUtf8(), toReferences ? AccentDirection::ToReferences : AccentDirection::ToCharacters,
        named, regions());
    QCOMPARE(QString::fromUtf8(out), expected);
}

void TestTextRewrites::convertSlice_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("expected");
    // Offsets are in characters here; the test turns them into UTF-8 offsets.
    QTest::newRow("middle of lines") << "éé\r\néé" << 1 << 5 << "&eacute;\r\n&eacute;";
    QTest::newRow("inside a script") << "<script>é\r\né</script>" << 8 << 12 << "é\r\né";
    QTest::newRow("after a script") << "<script>é</script>é" << 9 << 19 << "</script>&eacute;";
}

void TestTextRewrites::convertSlice() {
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, expected);
    const QByteArray utf8 = text.toUtf8();
    const qsizetype b = text.left(from).toUtf8().size();
    const qsizetype e = text.left(to).toUtf8().size();
    QCOMPARE(QString::fromUtf8(ConvertAccents(utf8.constData(), utf8.size(), b, e,
                                              AccentDirection::ToReferences, true, regions())),
             expected);
}

void TestTextRewrites::roundTrip() {
    QString all;
    for (const AccentRow &r : AccentTable())
        all += QChar(r.character) + QLatin1String("x");
    for (bool named : {true, false}) {
        const QByteArray refs = ConvertAccents(all.toUtf8(), AccentDirection::ToReferences, named);
        for (char c : refs)
            QVERIFY(static_cast<unsigned char>(c) < 0x80);
        QCOMPARE(QString::fromUtf8(ConvertAccents(refs, AccentDirection::ToCharacters, !named)),
                 all);
    }
}

void TestTextRewrites::typedCharacter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("expected");
    QTest::newRow("é named") << "é" << true << "&eacute;";
    QTest::newRow("é numeric") << "é" << false << "&#233;";
    QTest::newRow("ÿ") << "ÿ" << true << "&yuml;";
    QTest::newRow("euro passes") << "€" << true << "";
    QTest::newRow("no-break space passes") << "\u00A0" << false << "";
    QTest::newRow("oe ligature passes") << "œ" << true << "";
    QTest::newRow("ascii passes") << "a" << true << "";
}

void TestTextRewrites::typedCharacter() {
    QFETCH(QString, typed);
    QFETCH(bool, named);
    QFETCH(QString, expected);
    QCOMPARE(TypedCharacterReference(typed.at(0).unicode(), named), expected);
}

void TestTextRewrites::changeCase_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("cp1252");
    QTest::addColumn<QString>("expected");
    const int up = int(CaseChange::Upper), low = int(CaseChange::Lower),
              inv = int(CaseChange::Invert), cap = int(CaseChange::Capitalize),
              sen = int(CaseChange::Sentence);
    QTest::newRow("sentence") << "le CHAT noir. il dort ! vraiment" << sen << true
                              << "Le chat noir. Il dort ! Vraiment";
    QTest::newRow("sentence, glued letter keeps case")
        << "voir index.Html" << sen << true << "Voir index.Html";
    QTest::newRow("sentence across lines")
        << "FIN.\r\nsuite?  oui" << sen << true << "Fin.\r\nSuite?  Oui";
    QTest::newRow("sentence ends with a full stop") << "abc." << sen << true << "Abc.";
    QTest::newRow("sentence ends with a stop and blanks") << "abc. \r\n"
                                                          << sen << true << "Abc. \r\n";
    QTest::newRow("sentence, glued stop at the end") << "a.B" << sen << true << "A.B";
    QTest::newRow("sentence, stop before last") << "a.bC" << sen << true << "A.bc";
    QTest::newRow("capitalize") << "bonjour  le monde (et l'été)" << cap << true
                                << "Bonjour  Le Monde (Et L'Été)";
    QTest::newRow("capitalize, guillemets") << "«oui»NON" << cap << true << "«Oui»Non";
    QTest::newRow("capitalize ends in separators") << "ab ((" << cap << true << "Ab ((";
    QTest::newRow("capitalize one letter") << "x" << cap << true << "X";
    QTest::newRow("invert") << "Été" << inv << true << "éTÉ";
    QTest::newRow("upper") << "ÿ œ àb" << up << true << "Ÿ Œ ÀB";
    QTest::newRow("lower") << "ÀÉ ŒB" << low << true << "àé œb";
    QTest::newRow("sharp s keeps its length") << "straße" << up << false << "STRAßE";
    QTest::newRow("micro sign: code page cannot hold its capital") << "µm" << up << true << "µM";
    QTest::newRow("micro sign in UTF-8") << "µm" << up << false << "ΜM";
    QTest::newRow("outside the basic plane") << "𝐚b" << up << false << "𝐚B";
    QTest::newRow("empty") << "" << cap << true << "";
}

void TestTextRewrites::changeCase() {
    QFETCH(QString, text);
    QFETCH(int, change);
    QFETCH(bool, cp1252);
    QFETCH(QString, expected);
    QCOMPARE(ChangeCase(text, CaseChange(change), cp1252), expected);
}

QTEST_APPLESS_MAIN(TestTextRewrites)
#include "tst_text_rewrites.moc"
