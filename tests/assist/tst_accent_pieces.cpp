#include "app/document_types.h"
#include "assist/accent_pieces.h"
#include "editor/multi_highlighter.h"

#include <QTest>

using namespace Assist;

class TestAccentPieces : public QObject {
    Q_OBJECT
private slots:
    void pieces_data();
    void pieces();

private:
    DocumentTypes m_types;
};

void TestAccentPieces::pieces_data() {
    QTest::addColumn<QString>("text"); // each piece between "{" and "}"
    QTest::addColumn<bool>("toReferences");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("pieces of lines") << "a{é}b\r\nc{àé}d\r\n{ç}" << true
                                     << QStringList{"&eacute;", "&agrave;&eacute;", "&ccedil;"};
    QTest::newRow("inside a script, line after line")
        << "{é}<script>\r\n{é}x\r\n{é}</script>\r\n{é}" << true
        << QStringList{"&eacute;", "é", "é", "&eacute;"};
    QTest::newRow("across the start and the end of a region")
        << "a{é<script>é}x\r\nb{é</script>é}" << true
        << QStringList{"&eacute;<script>é", "é</script>&eacute;"};
    QTest::newRow("regions between the pieces") << "{é}<style>é</style><script>é</script>{é}"
                                                << true << QStringList{"&eacute;", "&eacute;"};
    QTest::newRow("back to characters") << "{&eacute;}<script>{&eacute;}</script>{&#233;}" << false
                                        << QStringList{"é", "&eacute;", "é"};
    QTest::newRow("a reference cut by a piece stays")
        << "&ea{cute;} {&eacute;}" << false << QStringList{"cute;", "é"};
}

void TestAccentPieces::pieces() {
    QFETCH(QString, text);
    QFETCH(bool, toReferences);
    QFETCH(QStringList, expected);
    QByteArray utf8;
    QList<std::pair<qsizetype, qsizetype>> ranges;
    for (const QChar c : std::as_const(text)) {
        if (c == u'{')
            ranges.append({utf8.size(), -1});
        else if (c == u'}')
            ranges.last().second = utf8.size();
        else
            utf8 += QString(c).toUtf8();
    }
    const RawTextRegions regions(
        static_cast<const MultiHighlighter *>(m_types.highlighter(DocumentTypes::SynMultiSynHTML)));
    const AccentDirection direction =
        toReferences ? AccentDirection::ToReferences : AccentDirection::ToCharacters;
    const QList<QByteArray> got =
        ConvertAccentPieces(utf8.constData(), utf8.size(), ranges, direction, true, regions);
    QStringList converted;
    for (qsizetype i = 0; i < got.size(); ++i) {
        converted << QString::fromUtf8(got[i]);
        // The same as the piece converted alone.
        QCOMPARE(got[i], ConvertAccents(utf8.constData(), utf8.size(), ranges[i].first,
                                        ranges[i].second, direction, true, regions));
    }
    QCOMPARE(converted, expected);
}

QTEST_GUILESS_MAIN(TestAccentPieces)
#include "tst_accent_pieces.moc"
