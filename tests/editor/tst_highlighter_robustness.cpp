// Every highlighter against random bytes, and against real files of this machine.

#include "app/document_types.h"
#include "editor/plain_highlighters.h"
#include "highlight_probe.h"

#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

namespace {

// Random text: raw bytes mixed with pieces of the languages' syntax.
QByteArray randomText(QRandomGenerator &rng, int length) {
    static const char *const pieces[] = {"<",
                                         ">",
                                         "</",
                                         "/>",
                                         "<!--",
                                         "-->",
                                         "<script>",
                                         "</script>",
                                         "<style type=text/css>",
                                         "</style>",
                                         "<?php",
                                         "?>",
                                         "<%",
                                         "%>",
                                         "<![CDATA[",
                                         "]]>",
                                         "<!DOCTYPE x [",
                                         "]>",
                                         "/*",
                                         "*/",
                                         "//",
                                         "#",
                                         "--",
                                         "'",
                                         "\"",
                                         "`",
                                         "${",
                                         "}",
                                         "{",
                                         "\\",
                                         "\n",
                                         "\r\n",
                                         "\r",
                                         "=",
                                         "&amp;",
                                         "&#",
                                         "$x",
                                         "@y",
                                         "%h",
                                         "<<<EOT\n",
                                         "\nEOT;\n",
                                         "<<EOF\n",
                                         "\nEOF\n",
                                         "=pod\n",
                                         "\n=cut\n",
                                         "s{a}{b}",
                                         "q(",
                                         "qw[",
                                         "tr/a/b/",
                                         "/re/",
                                         "__END__",
                                         "@media",
                                         "!important",
                                         "0x1F",
                                         "1.5e3",
                                         "&H1F",
                                         "REM ",
                                         "DELIMITER ",
                                         "/*!",
                                         "\xc3\xa9",
                                         "\t",
                                         " "};
    QByteArray text;
    while (text.size() < length) {
        if (rng.bounded(3) == 0)
            text += char(rng.bounded(256));
        else
            text += pieces[rng.bounded(int(std::size(pieces)))];
    }
    return text;
}

struct RealFileKind {
    const char *suffixes;
    int type;
};

} // namespace

class TestHighlighterRobustness : public QObject {
    Q_OBJECT
private slots:
    void randomBytes_data();
    void randomBytes();
    void spansAndStrayStates_data();
    void spansAndStrayStates();
    void realFiles_data();
    void realFiles();

private:
    DocumentTypes m_types;
};

void TestHighlighterRobustness::randomBytes_data() {
    QTest::addColumn<int>("type");
    for (int i = 0; i < m_types.count(); ++i)
        QTest::newRow(qPrintable(m_types.entry(i).objectName)) << i;
}

void TestHighlighterRobustness::randomBytes() {
    QFETCH(int, type);
    const Highlighter &h = *m_types.highlighter(type);
    QRandomGenerator rng(7 + quint32(type));
    for (int round = 0; round < 150; ++round) {
        const QByteArray text = randomText(rng, int(rng.bounded(1, 3000)));
        const QString error = probe::coverageError(probe::scanText(h, text));
        QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(error)));
    }
}

void TestHighlighterRobustness::spansAndStrayStates_data() {
    randomBytes_data();
}

// Scans that stop mid-line (as inside a multi-language page), from any state,
// still cover exactly their span.
void TestHighlighterRobustness::spansAndStrayStates() {
    QFETCH(int, type);
    const Highlighter &h = *m_types.highlighter(type);
    QRandomGenerator rng(99 + quint32(type));
    TokenSink sink;
    for (int round = 0; round < 2000; ++round) {
        QByteArray line = randomText(rng, int(rng.bounded(0, 120)));
        line.replace('\n', ' ').replace('\r', ' ');
        const int n = int(line.size());
        const int split = n ? int(rng.bounded(n + 1)) : 0;
        LineState state = rng.generate64();
        if (round % 2) state &= (1ull << std::min(h.stateBits(), 63)) - 1;
        sink.clear();
        state = h.scan(line.constData(), n, 0, split, state, sink);
        h.scan(line.constData(), n, split, n, state, sink);
        int expected = 0;
        for (const HighlightToken &t : sink.tokens()) {
            QVERIFY2(t.start == expected && t.length > 0,
                     qPrintable(QStringLiteral("round %1 at %2").arg(round).arg(t.start)));
            QVERIFY(t.category < languageCategoryCount(t.language));
            expected += t.length;
        }
        QCOMPARE(expected, n);
    }
}

void TestHighlighterRobustness::realFiles_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("type");
    const RealFileKind kinds[] = {{"html htm", DocumentTypes::SynMultiSynHTML},
                                  {"php", DocumentTypes::SynMultiSynPHP},
                                  {"css", DocumentTypes::SynCssSyn1},
                                  {"js", DocumentTypes::SynJScriptSyn1}};
    // The program's own pages and style sheets too: a machine may keep no documentation.
    const QStringList roots = {"/usr/share/doc", "/usr/share/javascript", "/usr/share/qt6",
                               BALIZOR_SOURCE_DIR "/resources"};
    QMap<QString, QList<QPair<qint64, QString>>> found;
    for (const QString &root : roots) {
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            if (info.size() > 10'000'000 || info.size() < 2000) continue;
            found[info.suffix().toLower()].append({info.size(), info.filePath()});
        }
    }
    int rows = 0;
    for (const RealFileKind &kind : kinds) {
        QList<QPair<qint64, QString>> files;
        for (const QString &suffix : QString(kind.suffixes).split(' '))
            files += found.value(suffix);
        std::sort(files.begin(), files.end(), std::greater<>());
        for (int i = 0; i < std::min<qsizetype>(3, files.size()); ++i, ++rows)
            QTest::newRow(qPrintable(files[i].second)) << files[i].second << kind.type;
    }
    if (rows == 0) QTest::newRow("none") << QString() << 0;
}

void TestHighlighterRobustness::realFiles() {
    QFETCH(QString, path);
    QFETCH(int, type);
    QVERIFY2(!path.isEmpty(), "no HTML, PHP, CSS or JavaScript file found, not even the program's");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    const Highlighter &h = *m_types.highlighter(type);
    const auto lines = probe::scanText(h, text);
    QCOMPARE(probe::coverageError(lines), QString());

    // A construct that ran away (an unclosed comment or string state) would
    // swallow the rest of the file: the last part must still hold code.
    qint64 quoted = 0, total = 0;
    int lateKeywords = 0, names = 0, knownNames = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        for (const HighlightToken &t : lines[i].tokens) {
            total += t.length;
            const TokenRole role = m_types.highlighter(type)->isMultiLanguage()
                                       ? TokenRole::Other
                                       : h.categoryRole(t.category);
            if (role == TokenRole::Comment || role == TokenRole::String) quoted += t.length;
            const bool late = i >= lines.size() * 9 / 10;
            if (t.language == Language::Html && (t.category == HtmlHighlighter::Identifier ||
                                                 t.category == HtmlHighlighter::UnknownWord)) {
                ++names;
                knownNames += t.category == HtmlHighlighter::Identifier;
                lateKeywords += late;
            }
            if (t.language == Language::Css && (t.category == CssHighlighter::Property ||
                                                t.category == CssHighlighter::UnknownProperty)) {
                ++names;
                knownNames += t.category == CssHighlighter::Property;
                lateKeywords += late;
            }
            if (t.language == Language::JavaScript &&
                t.category == JavaScriptHighlighter::ReservedWord)
                lateKeywords += late;
        }
    }
    QVERIFY2(lateKeywords > 0, "no tag, property or keyword in the last tenth of the file");
    QVERIFY2(quoted < total * 6 / 10, "most of the file is comment or string");
    if (names > 20)
        QVERIFY2(knownNames * 10 >= names * 8,
                 qPrintable(QStringLiteral("%1 of %2 names known").arg(knownNames).arg(names)));
}

QTEST_GUILESS_MAIN(TestHighlighterRobustness)
#include "tst_highlighter_robustness.moc"
