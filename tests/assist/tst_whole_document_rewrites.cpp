// The window's rewrites of a whole document, done on its bytes in its own line
// breaks, against the road they replace (the text with CR LF breaks, rewritten,
// then given the document's breaks).
#include "app/document_types.h"
#include "assist/document_rewrites.h"
#include "assist/file_rewrites.h"
#include "editor/multi_highlighter.h"

#include <QTest>

using namespace Assist;

namespace {

QByteArray withBreaks(const QByteArray &lfText, const QString &breaks) {
    QByteArray out;
    int line = 0;
    for (const char c : lfText) {
        if (c != '\n') {
            out.append(c);
            continue;
        }
        const QString b =
            breaks == "mixed" ? QStringList{"lf", "crlf", "cr"}.at(line++ % 3) : breaks;
        out.append(b == "lf" ? "\n" : b == "cr" ? "\r" : "\r\n");
    }
    return out;
}

LineBreak styleOf(const QString &breaks) {
    return breaks == "lf" ? LineBreak::Lf : breaks == "cr" ? LineBreak::Cr : LineBreak::CrLf;
}

} // namespace

class TestWholeDocumentRewrites : public QObject {
    Q_OBJECT
private slots:
    void sameAsTheTextRoad_data();
    void sameAsTheTextRoad();
    void stopped_data();
    void stopped();

private:
    DocumentTypes m_types;
    RawTextRegions regions() const {
        return RawTextRegions(static_cast<const MultiHighlighter *>(
            m_types.highlighter(DocumentTypes::SynMultiSynHTML)));
    }
};

void TestWholeDocumentRewrites::sameAsTheTextRoad_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("breaks");
    const QList<QByteArray> pages = {
        "<html>\n<body>\n<p>Été &eacute; œ\n<ul>\n<li>un\n<li>deux\n</ul>\n"
        "<script>\nvar é = 1;\n</script>\n<pre>\n  gardé\n</pre>\n</body>\n</html>\n",
        "<div>\n  <p>\n    déjà\n  </p>\n</div>",
        "<div>\n<span>x\n</div>\n   reste\n\n",
        "sans balise &agrave; convertir",
        "",
    };
    for (int p = 0; p < pages.size(); ++p)
        for (const char *breaks : {"lf", "crlf", "cr", "mixed"})
            QTest::addRow("page %d, %s", p, breaks) << withBreaks(pages.at(p), breaks) << breaks;
}

void TestWholeDocumentRewrites::sameAsTheTextRoad() {
    QFETCH(QByteArray, text);
    QFETCH(QString, breaks);
    // Mixed breaks: the document says CR LF, as a file with both is read.
    const LineBreak style = styleOf(breaks);

    for (const bool spaces : {true, false}) {
        IndentOutcome old = IndentDocument(WithCrLfBreaks(text), spaces, 3);
        if (style != LineBreak::CrLf) old.text.replace("\r\n", lineBreakBytes(style));
        const TextRewrite now = IndentText(text.constData(), text.size(), style, spaces, 3);
        QCOMPARE(now.changed, old.changed);
        if (old.changed) QCOMPARE(now.text, old.text);
        QCOMPARE(now.failure.stop, old.failure.stop);
        QCOMPARE(now.failure.line, old.failure.line);
    }

    for (const AccentDirection d : {AccentDirection::ToReferences, AccentDirection::ToCharacters}) {
        const QByteArray old = ConvertAccents(text, d, true, regions());
        const TextRewrite now =
            ConvertAccentsInText(text.constData(), text.size(), style, d, true, regions());
        QCOMPARE(now.changed, old != text);
        if (now.changed) QCOMPARE(now.text, old);
    }
}

void TestWholeDocumentRewrites::stopped_data() {
    QTest::addColumn<bool>("indent");
    QTest::newRow("indenter") << true;
    QTest::newRow("accents") << false;
}

void TestWholeDocumentRewrites::stopped() {
    // A page of several megabytes, stopped at the first report of progress.
    QFETCH(bool, indent);
    QByteArray text = "<html>\r\n<body>\r\n";
    while (text.size() < 3 << 20)
        text += "<div>\r\n<p>Été <b>x</b> &eacute;\r\n</div>\r\n";
    text += "</body>\r\n</html>\r\n";
    int reports = 0;
    qsizetype total = 0;
    const RewriteProgress stop = [&](qsizetype done, qsizetype all) {
        ++reports;
        total = all;
        return done < 0;
    };
    const TextRewrite r =
        indent ? IndentText(text.constData(), text.size(), LineBreak::CrLf, true, 2, stop)
               : ConvertAccentsInText(text.constData(), text.size(), LineBreak::CrLf,
                                      AccentDirection::ToReferences, true, regions(), stop);
    QCOMPARE(reports, 1);
    QVERIFY(total >= text.size() - 2);
    QVERIFY(r.cancelled);
    QVERIFY(!r.changed);
    QVERIFY(r.text.isEmpty());

    // Let run, it reports along the way, in order, and finishes.
    qsizetype last = -1;
    reports = 0;
    const RewriteProgress go = [&](qsizetype done, qsizetype) {
        ++reports;
        const bool ordered = done > last;
        last = done;
        return ordered;
    };
    const TextRewrite full =
        indent ? IndentText(text.constData(), text.size(), LineBreak::CrLf, true, 2, go)
               : ConvertAccentsInText(text.constData(), text.size(), LineBreak::CrLf,
                                      AccentDirection::ToReferences, true, regions(), go);
    QVERIFY(!full.cancelled);
    QVERIFY(full.changed);
    QVERIFY(reports >= 3);
}

QTEST_APPLESS_MAIN(TestWholeDocumentRewrites)
#include "tst_whole_document_rewrites.moc"
