// The QScintilla adapter on real (offscreen) editors: styles, incremental
// restyling after edits, colours and fonts.

#include "app/document_types.h"
#include "editor/plain_highlighters.h"
#include "editor/ui/highlight_lexer.h"
#include "highlight_probe.h"

#include <QApplication>
#include <QRandomGenerator>
#include <Qsci/qsciscintilla.h>
#include <QtTest>

namespace {

void setBytes(QsciScintilla &editor, const QByteArray &text) {
    editor.SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    editor.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, uintptr_t(text.size()),
                         text.constData());
}

QByteArray bytesOf(QsciScintilla &editor) {
    const int n = int(editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    QByteArray text(n + 1, '\0');
    editor.SendScintilla(QsciScintillaBase::SCI_GETTEXT, uintptr_t(n + 1), text.data());
    text.chop(1);
    return text;
}

// What painting does: style whatever is not yet styled, up to `end` (-1: all).
void styleTo(QsciScintilla &editor, long end = -1) {
    const long styled = editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, (unsigned long)styled, end);
}

QByteArray stylesOf(QsciScintilla &editor) {
    const int n = int(editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    QByteArray styles(n, '\0');
    for (int i = 0; i < n; ++i)
        styles[i] = char(editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, (unsigned long)i));
    return styles;
}

// The styles the core scanners give the text, line breaks in style 0.
QByteArray expectedStyles(const Highlighter &h, const QByteArray &text) {
    QByteArray styles(text.size(), '\0');
    qsizetype lineStart = 0;
    for (const probe::ScannedLine &line : probe::scanText(h, text)) {
        for (const HighlightToken &t : line.tokens)
            for (int k = 0; k < t.length; ++k)
                styles[lineStart + t.start + k] =
                    char(HighlightLexer::styleFor(t.language, t.category));
        lineStart += line.text.size();
        if (lineStart < text.size())
            lineStart += (text[lineStart] == '\r' && lineStart + 1 < text.size() &&
                          text[lineStart + 1] == '\n')
                             ? 2
                             : 1;
    }
    return styles;
}

int firstDifference(const QByteArray &a, const QByteArray &b) {
    for (int i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i]) return i;
    return a.size() == b.size() ? -1 : int(std::min(a.size(), b.size()));
}

QColor styleFore(QsciScintilla &editor, int style) {
    const long bgr =
        editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, (unsigned long)style);
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

// QScintilla passes Qt font weights, negated.
bool isBold(QsciScintilla &editor, int style) {
    return std::abs(editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETWEIGHT,
                                         (unsigned long)style)) >= 600;
}

const char *const PhpPage =
    "<html>\r\n<head>\r\n<style type=\"text/css\">\n  body { color: #336699; }\n</style>\r"
    "<script>\n  var n = 0x10; /* a\n  b */\n</script>\n</head>\n<body>\n"
    "<p class=\"x\">caf\xc3\xa9 &amp; <?php echo $name; ?></p>\n"
    "<% $y = <<<EOT\nheredoc $v\nEOT;\n%>\n<!-- end\n-->\n</body></html>";

} // namespace

class TestHighlightLexer : public QObject {
    Q_OBJECT
private slots:
    void styleNumbers();
    void stylesFollowTheScanners_data();
    void stylesFollowTheScanners();
    void keystrokeRestylesOnlyChangedLines();
    void randomEditsMatchAFreshScan();
    void coloursFontsAndSharedChanges();
    void noneColoursNothing();
    void languageAtPositions();
    void distantScreenConverges_data();
    void distantScreenConverges();
    void randomScreensAndEditsConverge();

private:
    DocumentTypes m_types;
};

void TestHighlightLexer::styleNumbers() {
    HighlightLexer lexer(m_types.highlighter(DocumentTypes::SynMultiSynPHP));
    QSet<int> seen;
    for (int l = 0; l < LanguageCount; ++l) {
        for (int c = 0; c < languageCategoryCount(Language(l)); ++c) {
            const int style = HighlightLexer::styleFor(Language(l), c);
            QVERIFY(style > 0 && style < 128);
            QVERIFY(style < 32 || style > 39);
            QVERIFY(!seen.contains(style));
            seen.insert(style);
            const HighlightLexer::StyleInfo info = lexer.styleInfo(style);
            QCOMPARE(int(info.language), l);
            QCOMPARE(info.category, c);
        }
    }
    // The PHP page uses HTML, CSS, JavaScript, VBScript and PHP, not XML.
    QVERIFY(lexer.styleInfo(HighlightLexer::styleFor(Language::Php, 0)).highlighter);
    QVERIFY(!lexer.styleInfo(HighlightLexer::styleFor(Language::Xml, 0)).highlighter);
    QCOMPARE(lexer.description(HighlightLexer::styleFor(Language::Css, CssHighlighter::Property)),
             QString("Propriété"));
}

void TestHighlightLexer::stylesFollowTheScanners_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("php page, mixed line breaks")
        << int(DocumentTypes::SynMultiSynPHP) << QByteArray(PhpPage);
    QTest::newRow("html page") << int(DocumentTypes::SynMultiSynHTML) << QByteArray(PhpPage);
    QTest::newRow("none") << int(DocumentTypes::SynGeneralSyn1) << QByteArray(PhpPage);
    QTest::newRow("empty") << int(DocumentTypes::SynMultiSynHTML) << QByteArray();
    QTest::newRow("final line break") << int(DocumentTypes::SynCssSyn1) << QByteArray("a {\n}\n\n");
}

void TestHighlightLexer::stylesFollowTheScanners() {
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    QsciScintilla editor;
    editor.setUtf8(true);
    auto *lexer = new HighlightLexer(m_types.highlighter(type), &editor);
    editor.setLexer(lexer);
    setBytes(editor, text);
    styleTo(editor);
    QCOMPARE(bytesOf(editor), text);
    const QByteArray actual = stylesOf(editor);
    const QByteArray expected = expectedStyles(*m_types.highlighter(type), text);
    QCOMPARE(firstDifference(actual, expected), -1);
}

void TestHighlightLexer::keystrokeRestylesOnlyChangedLines() {
    // 1000 lines of markup; line 600 closes a comment only when one is open.
    QByteArray text;
    for (int i = 0; i < 1000; ++i)
        text += i == 600 ? "x --> <b>y</b>\n" : "<p class=\"c\">line</p>\n";
    QsciScintilla editor;
    auto *lexer = new HighlightLexer(m_types.highlighter(DocumentTypes::SynMultiSynHTML), &editor);
    editor.setLexer(lexer);
    setBytes(editor, text);
    styleTo(editor);
    const qint64 full = lexer->scannedLineCount();
    QVERIFY(full >= 1000);

    const auto lineStart = [&](int line) {
        return int(
            editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, (unsigned long)line));
    };
    auto insertAt = [&](int pos, const char *s) {
        editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, (unsigned long)pos, s);
    };

    // A letter in the text: one line.
    qint64 before = lexer->scannedLineCount();
    insertAt(lineStart(500) + 15, "z");
    styleTo(editor);
    QCOMPARE(lexer->scannedLineCount() - before, 1);

    // Opening a comment: lines 500 to 600 change, no more.
    before = lexer->scannedLineCount();
    insertAt(lineStart(500), "<!--");
    styleTo(editor);
    QCOMPARE(lexer->scannedLineCount() - before, 101);
    QCOMPARE(
        firstDifference(stylesOf(editor), expectedStyles(*lexer->highlighter(), bytesOf(editor))),
        -1);

    // Undo: the same lines again.
    before = lexer->scannedLineCount();
    editor.undo();
    styleTo(editor);
    QCOMPARE(lexer->scannedLineCount() - before, 101);

    // A new line in the middle: the two halves.
    before = lexer->scannedLineCount();
    insertAt(lineStart(300) + 5, "\n");
    styleTo(editor);
    QCOMPARE(lexer->scannedLineCount() - before, 2);

    // Only what is asked for is styled: a comment opened far above a short request.
    before = lexer->scannedLineCount();
    insertAt(lineStart(10), "<!--");
    styleTo(editor, lineStart(20));
    QVERIFY(lexer->scannedLineCount() - before <= 12);
    styleTo(editor);
    QCOMPARE(
        firstDifference(stylesOf(editor), expectedStyles(*lexer->highlighter(), bytesOf(editor))),
        -1);
}

void TestHighlightLexer::randomEditsMatchAFreshScan() {
    const char *const pieces[] = {"<!--",     "-->",
                                  "<script>", "</script>",
                                  "<?php ",   " ?>",
                                  "/*",       "*/",
                                  "\"",       "'",
                                  "<%",       "%>",
                                  "\n",       "\r\n",
                                  "<<<EOT\n", "\nEOT;\n",
                                  "`",        "${",
                                  "}",        "<style type=\"text/css\">",
                                  "</style>", " color: red; ",
                                  "<p>",      "\xc3\xa9",
                                  "&amp;"};
    QByteArray base;
    for (int i = 0; i < 60; ++i)
        base += QByteArray(PhpPage) + "\n";
    QsciScintilla editor;
    editor.setUtf8(true);
    // As in the program's editors: only the notices sent before a change.
    editor.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK,
                         QsciScintillaBase::SC_MOD_BEFOREINSERT |
                             QsciScintillaBase::SC_MOD_BEFOREDELETE);
    auto *lexer = new HighlightLexer(m_types.highlighter(DocumentTypes::SynMultiSynPHP), &editor);
    editor.setLexer(lexer);
    setBytes(editor, base);
    styleTo(editor);

    QRandomGenerator rng(42);
    for (int round = 0; round < 300; ++round) {
        const int length = int(editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
        const int pos = int(rng.bounded(length + 1));
        const int action = int(rng.bounded(3));
        if (action == 0 && length > 0) {
            const int n = std::min(int(rng.bounded(1, 40)), length - pos);
            editor.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, (unsigned long)pos, long(n));
        } else if (action == 1 && round > 0) {
            editor.undo();
        } else {
            const char *piece = pieces[rng.bounded(int(std::size(pieces)))];
            editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, (unsigned long)pos, piece);
        }
        // Sometimes only a "screen" below the edit is shown before the next edit.
        if (rng.bounded(2) == 0)
            styleTo(editor,
                    std::min<long>(pos + 2000,
                                   long(editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH))));
        if (round % 20 == 19) {
            styleTo(editor);
            const QByteArray text = bytesOf(editor);
            const int diff =
                firstDifference(stylesOf(editor), expectedStyles(*lexer->highlighter(), text));
            QVERIFY2(diff < 0,
                     qPrintable(QStringLiteral("round %1, byte %2").arg(round).arg(diff)));
        }
    }
}

void TestHighlightLexer::coloursFontsAndSharedChanges() {
    Highlighter *html = m_types.highlighter(DocumentTypes::SynHTMLSyn1);
    QsciScintilla a, b;
    auto *lexerA = new HighlightLexer(m_types.highlighter(DocumentTypes::SynMultiSynHTML), &a);
    auto *lexerB = new HighlightLexer(m_types.highlighter(DocumentTypes::SynMultiSynPHP), &b);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSize(13);
    lexerA->setBaseFont(font);
    a.setLexer(lexerA);
    b.setLexer(lexerB);

    const int identifier = HighlightLexer::styleFor(Language::Html, HtmlHighlighter::Identifier);
    const int text = HighlightLexer::styleFor(Language::Html, HtmlHighlighter::Text);
    const int jsReserved =
        HighlightLexer::styleFor(Language::JavaScript, JavaScriptHighlighter::ReservedWord);
    const int marker = HighlightLexer::styleFor(Language::Marker, 0);
    QCOMPARE(styleFore(a, identifier), QColor(255, 0, 0));
    QCOMPARE(styleFore(a, text), QApplication::palette().color(QPalette::WindowText));
    QCOMPARE(styleFore(a, marker), QApplication::palette().color(QPalette::WindowText));
    QCOMPARE(a.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZE, (unsigned long)identifier), 13);
    QVERIFY(isBold(a, jsReserved));
    QVERIFY(!isBold(a, identifier));

    // A change to the shared highlighter reaches both editors.
    TokenAttribute attr = html->attribute(HtmlHighlighter::Identifier);
    attr.foreground = TextColour::rgb(10, 20, 30);
    attr.style = StyleItalic;
    html->setAttribute(HtmlHighlighter::Identifier, attr);
    QCOMPARE(styleFore(a, identifier), QColor(10, 20, 30));
    QCOMPARE(styleFore(b, identifier), QColor(10, 20, 30));
    QCOMPARE(b.SendScintilla(QsciScintillaBase::SCI_STYLEGETITALIC, (unsigned long)identifier), 1);
    QCOMPARE(a.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZE, (unsigned long)identifier), 13);
    html->setAttribute(HtmlHighlighter::Identifier,
                       html->defaultAttribute(HtmlHighlighter::Identifier));
    QCOMPARE(styleFore(b, identifier), QColor(255, 0, 0));
}

void TestHighlightLexer::noneColoursNothing() {
    QsciScintilla editor;
    auto *lexer = new HighlightLexer(m_types.highlighter(DocumentTypes::SynGeneralSyn1), &editor);
    editor.setLexer(lexer);
    setBytes(editor, PhpPage);
    styleTo(editor);
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    QSet<int> styles;
    for (char s : stylesOf(editor))
        styles.insert(s);
    for (int s : styles) {
        QCOMPARE(styleFore(editor, s), windowText);
        QVERIFY(!isBold(editor, s));
    }
    QVERIFY(styles.size() <= 3); // words, blanks, line breaks
}

void TestHighlightLexer::languageAtPositions() {
    QsciScintilla editor;
    auto *lexer = new HighlightLexer(m_types.highlighter(DocumentTypes::SynMultiSynPHP), &editor);
    editor.setLexer(lexer);
    const QByteArray text(PhpPage);
    setBytes(editor, text);
    auto languageAt = [&](const char *needle, int offset) {
        const int pos = int(text.indexOf(needle)) + offset;
        return probe::languagePrefix(lexer->languageAt(pos)->language());
    };
    QCOMPARE(languageAt("<head>", 1), QString("html"));
    QCOMPARE(languageAt("color", 0), QString("css"));
    QCOMPARE(languageAt("var n", 0), QString("js"));
    QCOMPARE(languageAt("  b */", 2), QString("js"));
    QCOMPARE(languageAt("echo", 0), QString("php"));
    QCOMPARE(languageAt("heredoc $v", 0), QString("php"));
    QCOMPARE(languageAt("</p>", 0), QString("html"));
    QCOMPARE(languageAt("-->", 0), QString("html"));
}

namespace {

QByteArray repeated(const char *line, int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += QByteArray(line).replace("#", QByteArray::number(i));
    return out;
}

int lineStartOf(QsciScintilla &editor, int line) {
    return int(editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, (unsigned long)line));
}

} // namespace

// Pages far longer than the distance beyond which the screen is coloured on its
// own, shown at a line deep inside a construct: the screen is coloured at once
// from a few lines before it, and once the background colouring has gone through,
// every line has the colours of a pass from the start.
void TestHighlightLexer::distantScreenConverges_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("screenLine");
    QTest::addColumn<QByteArray>("typed"); // on the screen, before the background colouring
    QTest::addColumn<bool>("rightAtOnce");
    const int html = DocumentTypes::SynMultiSynHTML;
    const int php = DocumentTypes::SynMultiSynPHP;
    const QByteArray filler = repeated("<p class=\"c#\">Paragraphe # &amp; suite</p>\n", 400);
    const QByteArray script = filler + "<script type=\"text/javascript\">\n" +
                              repeated("  s += \"<div>#</div>\"; /* <!-- */\n", 150) +
                              "</script>\n" + filler;
    QTest::newRow("inside a script") << html << script << 470 << QByteArray() << true;
    const QByteArray comment =
        filler + "<!-- notes\n" + repeated("<b>#</b> old\n", 150) + "-->\n" + filler;
    QTest::newRow("inside a comment") << html << comment << 470 << QByteArray() << true;
    QTest::newRow("a comment closed on the screen")
        << html << comment << 530 << QByteArray("-->") << true;
    QTest::newRow("a comment opened on the screen")
        << html << script << 800 << QByteArray("<!--") << true;
    const QByteArray phpBlocks = filler + "<?php\n" + repeated("echo \"<td>#</td>\"; // ?\n", 150) +
                                 "?>\n" + repeated("<p><?php echo $v#; ?></p>\n", 300);
    QTest::newRow("inside a PHP block") << php << phpBlocks << 480 << QByteArray() << true;
    QTest::newRow("after PHP blocks") << php << phpBlocks << 700 << QByteArray() << true;
    const QByteArray cdata = repeated("<e n=\"#\">texte</e>\n", 400) + "<![CDATA[\n" +
                             repeated("<notatag #>\n", 150) + "]]>\n" + repeated("<e/>\n", 100);
    QTest::newRow("inside CDATA") << int(DocumentTypes::SynXMLSyn1) << cdata << 480 << QByteArray()
                                  << true;
    QByteArray longLines;
    for (int i = 0; i < 60; ++i)
        longLines += "<p>" + QByteArray(1500, 'a') + "<script>var a = '<b>';</script>" +
                     QByteArray(1000, ' ') + "<!-- " + QByteArray(300, '-') + " -->\r\n";
    QTest::newRow("long lines") << html << longLines << 40 << QByteArray() << true;
    // Further back than the guess looks: coloured wrong at first, then put right.
    const QByteArray longComment =
        filler + "<!--\n" + repeated("<p>#</p>\n", 2000) + "-->\n" + filler;
    QTest::newRow("a comment longer than the guess reaches")
        << html << longComment << 2000 << QByteArray() << false;
    QTest::newRow("typed in a comment longer than the guess reaches")
        << php << longComment << 2000 << QByteArray("<?php") << false;
}

void TestHighlightLexer::distantScreenConverges() {
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    QFETCH(int, screenLine);
    QFETCH(QByteArray, typed);
    QFETCH(bool, rightAtOnce);
    QsciScintilla editor;
    editor.setUtf8(true);
    editor.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK,
                         QsciScintillaBase::SC_MOD_BEFOREINSERT |
                             QsciScintillaBase::SC_MOD_BEFOREDELETE);
    auto *lexer = new HighlightLexer(m_types.highlighter(type), &editor);
    lexer->setFarThreshold(4096);
    editor.setLexer(lexer);
    editor.resize(600, 400);
    editor.show();
    setBytes(editor, text);
    const int onScreen = int(editor.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
    QVERIFY(onScreen > 5);
    const int lines = int(editor.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));

    // What painting the screen asks for.
    editor.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, (unsigned long)screenLine);
    const auto screenEnd = [&] { return lineStartOf(editor, screenLine + onScreen); };
    styleTo(editor, screenEnd());
    QVERIFY2(lexer->scannedLineCount() < 200,
             qPrintable(QString::number(lexer->scannedLineCount())));
    QVERIFY(lexer->islandLineCount() > 0);
    if (!typed.isEmpty()) {
        editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT,
                             (unsigned long)lineStartOf(editor, screenLine + 2), typed.constData());
        styleTo(editor, screenEnd());
        QVERIFY(lexer->scannedLineCount() < 200 + onScreen);
    }
    const QByteArray now = bytesOf(editor);
    const QByteArray expected = expectedStyles(*m_types.highlighter(type), now);
    const int from = lineStartOf(editor, screenLine);
    const bool right =
        stylesOf(editor).mid(from, screenEnd() - from) == expected.mid(from, screenEnd() - from);
    QCOMPARE(right, rightAtOnce);
    // The language in the middle of the screen comes from its colouring too.
    const int middle = screenLine + onScreen / 2;
    const probe::ScannedLine &line = probe::scanText(*lexer->highlighter(), now)[size_t(middle)];
    if (rightAtOnce)
        QCOMPARE(lexer->languageAt(lineStartOf(editor, middle) + 1),
                 lexer->highlighter()->languageAt(line.text.constData(), int(line.text.size()),
                                                  line.startState, 1));
    QVERIFY(lexer->scannedLineCount() < 200 + onScreen);

    QDeadlineTimer deadline(20000);
    while ((lexer->colouringAhead() || lexer->islandLineCount() > 0) && !deadline.hasExpired())
        QTest::qWait(5);
    QCOMPARE(lexer->islandLineCount(), 0);
    QCOMPARE(firstDifference(stylesOf(editor), expected), -1);
    // An island that started right is kept whole: no line is scanned twice.
    if (rightAtOnce && typed.isEmpty()) QCOMPARE(lexer->scannedLineCount(), qint64(lines));
}

// Screens shown here and there, edits on and off them (some joining or splitting
// many lines), undo, and bits of background colouring in between: once the
// background colouring is done, the colours are a pass from the start's.
void TestHighlightLexer::randomScreensAndEditsConverge() {
    const char *const pieces[] = {"<!--", "-->",    "<script>", "</script>", "<?php ",
                                  " ?>",  "/*",     "*/",       "\"",        "\n",
                                  "\r\n", "\n\n\n", "<p>",      "<![CDATA["};
    QByteArray base;
    for (int i = 0; i < 150; ++i)
        base += QByteArray(PhpPage) + "\n";
    QsciScintilla editor;
    editor.setUtf8(true);
    editor.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK,
                         QsciScintillaBase::SC_MOD_BEFOREINSERT |
                             QsciScintillaBase::SC_MOD_BEFOREDELETE);
    auto *lexer = new HighlightLexer(m_types.highlighter(DocumentTypes::SynMultiSynPHP), &editor);
    lexer->setFarThreshold(1024);
    editor.setLexer(lexer);
    editor.resize(600, 300);
    editor.show();
    setBytes(editor, base);
    const int onScreen = int(editor.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));

    QRandomGenerator rng(7);
    int islandsSeen = 0;
    for (int round = 0; round < 400; ++round) {
        const int lines = int(editor.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
        const int length = int(editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
        const int top = int(rng.bounded(lines));
        editor.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, (unsigned long)top);
        styleTo(editor, lineStartOf(editor, std::min(lines - 1, top + onScreen)));
        islandsSeen += lexer->islandLineCount() > 0;
        const int action = int(rng.bounded(5));
        // Mostly on the screen, where the user types.
        const int pos = action == 4
                            ? int(rng.bounded(length + 1))
                            : std::min(length, lineStartOf(editor, top) + int(rng.bounded(200)));
        if (action == 0 && length > 0) {
            const int n = std::min(int(rng.bounded(1, 600)), length - pos);
            editor.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, (unsigned long)pos, long(n));
        } else if (action == 1 && round > 0) {
            editor.undo();
        } else {
            const char *piece = pieces[rng.bounded(int(std::size(pieces)))];
            editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, (unsigned long)pos, piece);
        }
        if (rng.bounded(3) == 0) QTest::qWait(1); // a slice or two of background colouring
        if (round % 100 == 99) {
            QDeadlineTimer deadline(20000);
            while ((lexer->colouringAhead() || lexer->islandLineCount() > 0) &&
                   !deadline.hasExpired())
                QTest::qWait(5);
            styleTo(editor);
            const int diff = firstDifference(
                stylesOf(editor), expectedStyles(*lexer->highlighter(), bytesOf(editor)));
            QVERIFY2(diff < 0,
                     qPrintable(QStringLiteral("round %1, byte %2").arg(round).arg(diff)));
        }
    }
    QVERIFY(islandsSeen > 50);
}

QTEST_MAIN(TestHighlightLexer)
#include "tst_highlight_lexer.moc"
