#include "editor/line_regex.h"

#include <QRegularExpression>
#include <QTest>

// Texts in the tables write "|" for a line break; each case runs with CR LF, LF and CR.
namespace {
const char *const kBreaks[] = {"\r\n", "\n", "\r"};
const char *const kBreakNames[] = {"CR LF", "LF", "CR"};

QByteArray withBreaks(const QString &text, const char *eol) {
    return text.toUtf8().replace('|', eol);
}

LineRegex compiled(const QString &pattern) {
    LineRegex r;
    [&] { QVERIFY(r.setPattern(pattern, false)); }();
    return r;
}

bool nonEmpty(qsizetype s, qsizetype e) {
    return e > s;
}

// The matched texts, joined by "/", with "|" again for a line break.
QString shown(const QByteArray &text, qsizetype s, qsizetype e) {
    QByteArray part = text.mid(s, e - s);
    part.replace("\r\n", "|").replace('\r', '|').replace('\n', '|');
    return QString::fromUtf8(part);
}

// Every non-empty match found by searching on from the end of the last one.
QStringList forwardWalk(const LineRegex &r, const QByteArray &text) {
    QStringList out;
    for (qsizetype pos = 0;;) {
        const LineRegex::Match m = r.first(text.constData(), pos, text.size(), nonEmpty);
        if (!m.found()) return out;
        out << QStringLiteral("%1-%2").arg(m.start).arg(m.end);
        pos = m.end;
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

// About 600 KB of lines, with one line longer than the windows a search reads at once.
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
    void backwardsAcrossWindows();
    void errorPosition_data();
    void errorPosition();
};

void TstLineRegex::lineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("matches"); // every match, empty ones included

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
    for (const auto &c : cases)
        for (int b = 0; b < 3; ++b)
            QTest::addRow("%s, %s", c.name, kBreakNames[b])
                << withBreaks(c.text, kBreaks[b]) << c.pattern << c.matches;
}

void TstLineRegex::lineEnds() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, pattern);
    QFETCH(QString, matches);
    const LineRegex r = compiled(pattern);
    QStringList all, taken;
    r.forEach(bytes.constData(), 0, bytes.size(), [&](const LineRegex::Match &m) {
        all << shown(bytes, m.start, m.end);
        return true;
    });
    QCOMPARE(all.join('/'), matches);
    // A search forwards and one backwards meet the same non-empty matches.
    for (qsizetype pos = 0;;) {
        const LineRegex::Match m = r.first(bytes.constData(), pos, bytes.size(), nonEmpty);
        if (!m.found()) break;
        taken << shown(bytes, m.start, m.end);
        pos = m.end;
    }
    QStringList back;
    for (qsizetype pos = bytes.size();;) {
        const LineRegex::Match m = r.last(bytes.constData(), pos, 0, nonEmpty);
        if (!m.found()) break;
        back.prepend(shown(bytes, m.start, m.end));
        pos = m.start;
    }
    all.removeAll(QString());
    QCOMPARE(taken, all);
    QCOMPARE(back, all);
}

// Over a large text with every kind of line break and a very long line, searching on from
// each match meets what one search of the whole decoded text meets.
void TstLineRegex::sameMatchesAsTheWholeText_data() {
    QTest::addColumn<QString>("pattern");
    QTest::newRow("word") << "ancien";
    QTest::newRow("end of line") << "ancien</p>$";
    QTest::newRow("start of line") << "^<p>ligne \\d+0 ";
    QTest::newRow("over many lines") << "DEBUT[\\s\\S]*?FIN";
    QTest::newRow("greedy to the end of the text") << "FIN[\\s\\S]*";
    QTest::newRow("long line") << "x{10}yz";
    QTest::newRow("look-behind") << "(?<=x)yz";
    QTest::newRow("look-ahead over lines") << "texte(?=[\\s\\S]{200}ligne 3001)";
    QTest::newRow("two lines") << "ancien</p>\\R<p>ligne 1000\\b";
    QTest::newRow("nothing") << "absent";
    QTest::newRow("empty matches passed over") << "x*";
}

void TstLineRegex::sameMatchesAsTheWholeText() {
    QFETCH(QString, pattern);
    static const QByteArray text = largeText();
    const LineRegex r = compiled(pattern);
    const QStringList expected = wholeText(pattern, text);
    QCOMPARE(forwardWalk(r, text), expected);
    // Stopping short of the end: the text is cut there.
    const qsizetype cut = text.size() * 2 / 3;
    const LineRegex::Match m = r.first(text.constData(), cut - 5000, cut, nonEmpty);
    if (m.found()) QVERIFY(m.end <= cut);
}

void TstLineRegex::backwardsAcrossWindows() {
    static const QByteArray text = largeText();
    // From the end back to a match far before, and one that spans windows.
    const LineRegex far = compiled(QStringLiteral("DEBUT"));
    const qsizetype debut = text.indexOf("DEBUT");
    QCOMPARE(far.last(text.constData(), text.size(), 0, nonEmpty).start, debut);
    QVERIFY(!far.last(text.constData(), text.size(), debut + 1, nonEmpty).found());
    const LineRegex span = compiled(QStringLiteral("DEBUT[\\s\\S]*FIN"));
    const LineRegex::Match m = span.last(text.constData(), text.size(), 0, nonEmpty);
    QCOMPARE(m.start, debut);
    QCOMPARE(m.end, text.indexOf("FIN") + 3);
    // Inside the long line, whose start lies far before.
    const LineRegex word = compiled(QStringLiteral("^x+yz"));
    const qsizetype yz = text.indexOf("yz");
    QCOMPARE(word.last(text.constData(), yz + 2, 0, nonEmpty).end, yz + 2);
    QCOMPARE(word.last(text.constData(), yz + 2, 0, nonEmpty).start, yz - 150000);
}

void TstLineRegex::errorPosition_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("position");
    QTest::newRow("nothing to repeat") << "*a"
                                       << "(position 1)";
    QTest::newRow("open group") << "ab(c"
                                << "(position 5)";
}

// The position names the user's pattern, not what is put before it.
void TstLineRegex::errorPosition() {
    QFETCH(QString, pattern);
    QFETCH(QString, position);
    LineRegex r;
    QString error;
    QVERIFY(!r.setPattern(pattern, true, &error));
    QVERIFY2(error.endsWith(position), qPrintable(error));
    QVERIFY(!r.isValid());
}

QTEST_GUILESS_MAIN(TstLineRegex)
#include "tst_line_regex.moc"
