#include "editor/line_regex.h"

#include <QRegularExpression>
#include <QTest>

namespace {
LineRegex compiled(const QString &pattern) {
    LineRegex r;
    [&] { QVERIFY(r.setPattern(pattern, false)); }();
    return r;
}

bool nonEmpty(qsizetype s, qsizetype e) {
    return e > s;
}

// Every non-empty match as "start-end", found by searching on from the last one, forwards
// from the start or backwards from the end.
QStringList walk(const LineRegex &r, const QByteArray &text, bool backwards) {
    QStringList out;
    for (qsizetype pos = backwards ? text.size() : 0;;) {
        const LineRegex::Match m = backwards
                                       ? r.last(text.constData(), pos, 0, nonEmpty)
                                       : r.first(text.constData(), pos, text.size(), nonEmpty);
        if (!m.found()) return out;
        const QString span = QStringLiteral("%1-%2").arg(m.start).arg(m.end);
        backwards ? out.prepend(span) : out.append(span);
        pos = backwards ? m.start : m.end;
    }
}

// The same found by QRegularExpression over the whole text decoded at once.
QStringList wholeText(const QString &pattern, const QByteArray &text) {
    QStringList out;
    const QString decoded = QString::fromUtf8(text); // the texts below are ASCII
    const QRegularExpression re(LineRegex::linePattern(pattern),
                                QRegularExpression::MultilineOption |
                                    QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatchIterator it = re.globalMatch(decoded);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedLength() > 0)
            out << QStringLiteral("%1-%2").arg(m.capturedStart()).arg(m.capturedEnd());
    }
    return out;
}

// About 600 KB of lines, with one line longer than the first stretches a backward search
// reads.
QByteArray largeText() {
    QByteArray text;
    for (int i = 0; i < 6000; ++i) {
        text += "<p>ligne " + QByteArray::number(i) + " du texte ancien</p>";
        text += (i % 3 == 0) ? "\r\n" : (i % 3 == 1) ? "\n" : "\r";
        if (i == 700) text += "DEBUT";
        if (i == 2500) text += "FIN\n";
        if (i == 3000)
            text += QByteArray(150000, 'x') + "yz ancien" + QByteArray(70000, 'x') + "\n";
    }
    return text;
}
} // namespace

class TstLineRegex : public QObject {
    Q_OBJECT
private slots:
    void lineEnds_data();
    void lineEnds();
    void sameMatchesAsTheWholeText_data();
    void sameMatchesAsTheWholeText();
};

// Texts in the table write "|" for a line break; each case runs with CR LF, LF and CR.
void TstLineRegex::lineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("matches"); // every match, empty ones included, "/" between

    const struct {
        const char *name, *text, *pattern, *matches;
    } cases[] = {
        {"$ before the break", "un|deux", "un$", "un"},
        {"$ at the end", "un|deux", "\\w+$", "un/deux"},
        {"^ after the break", "un|deux", "^\\w", "u/d"},
        {". stops at the break", "un|deux", "(.+)", "un/deux"},
        {". never crosses lines", "x|y", "x.y", ""},
        {"\\N stops at the break", "ab|c", "\\N+", "ab/c"},
        {"one line start per break", "a|b||c", "^", "///"},
        {"the break of an empty line", "a||b", "^\\R", "|"},
        {"\\R takes the break whole", "a|b", "a\\Rb", "a|b"},
        {"trailing spaces", "un  |deux ", " +$", "  / "},
    };
    const char *const breaks[][2] = {{"\r\n", "CR LF"}, {"\n", "LF"}, {"\r", "CR"}};
    for (const auto &c : cases)
        for (const auto &b : breaks)
            QTest::addRow("%s, %s", c.name, b[1])
                << QByteArray(c.text).replace('|', b[0]) << c.pattern << c.matches;
}

void TstLineRegex::lineEnds() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, pattern);
    QFETCH(QString, matches);
    const LineRegex r = compiled(pattern);
    QStringList all, spans;
    r.forEach(bytes.constData(), 0, bytes.size(), [&](const LineRegex::Match &m) {
        QByteArray part = bytes.mid(m.start, m.end - m.start);
        all << QString::fromLatin1(part.replace("\r\n", "|").replace('\r', '|').replace('\n', '|'));
        if (m.end > m.start) spans << QStringLiteral("%1-%2").arg(m.start).arg(m.end);
        return true;
    });
    QCOMPARE(all.join('/'), matches);
    // Searching forwards or backwards meets the same non-empty matches.
    QCOMPARE(walk(r, bytes, false), spans);
    QCOMPARE(walk(r, bytes, true), spans);
}

// Over a large text with every kind of line break and a very long line, searching on
// from each match meets what one search of the whole decoded text meets; backwards too,
// where the stretches searched before the end grow over many lines or start inside the
// long line.
void TstLineRegex::sameMatchesAsTheWholeText_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("backwardsToo");
    QTest::newRow("word") << "ancien" << true;
    QTest::newRow("end of line") << "ancien</p>$" << true;
    QTest::newRow("start of line") << "^<p>ligne \\d+0 " << true;
    QTest::newRow("over many lines") << "DEBUT[\\s\\S]*?FIN" << true;
    QTest::newRow("greedy to the end of the text") << "FIN[\\s\\S]*" << true;
    QTest::newRow("inside the long line") << "x{10}yz" << true;
    QTest::newRow("the long line from its start") << "^x+yz" << true;
    QTest::newRow("look-behind") << "(?<=x)yz" << true;
    QTest::newRow("look-ahead over lines") << "texte(?=[\\s\\S]{200}ligne 3001)" << true;
    QTest::newRow("two lines") << "ancien</p>\\R<p>ligne 1000\\b" << true;
    QTest::newRow("nothing") << "absent" << true;
    // Backwards, a stretch may begin inside a run of x: only forwards is compared.
    QTest::newRow("empty matches passed over") << "x*" << false;
}

void TstLineRegex::sameMatchesAsTheWholeText() {
    QFETCH(QString, pattern);
    QFETCH(bool, backwardsToo);
    static const QByteArray text = largeText();
    const LineRegex r = compiled(pattern);
    const QStringList expected = wholeText(pattern, text);
    QCOMPARE(walk(r, text, false), expected);
    if (backwardsToo) QCOMPARE(walk(r, text, true), expected);
}

QTEST_GUILESS_MAIN(TstLineRegex)
#include "tst_line_regex.moc"
