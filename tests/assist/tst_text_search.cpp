#include "assist/text_search.h"

#include <QRandomGenerator>
#include <QTest>

// Offsets in the tables are character indexes of the text; the engine works in UTF-8
// bytes, so they are converted here.
namespace {
// The text after the replacements, applied from the last one back.
QByteArray applied(QByteArray text, const QList<Replacement> &list) {
    for (qsizetype i = list.size() - 1; i >= 0; --i)
        text.replace(list[i].start, list[i].end - list[i].start, list[i].text);
    return text;
}

qsizetype bytesBefore(const QString &text, qsizetype index) {
    return index < 0 ? -1 : text.left(index).toUtf8().size();
}

MatchRules rules(const QString &flags) {
    MatchRules r;
    r.caseSensitive = flags.contains(QLatin1Char('c'));
    r.wholeWords = flags.contains(QLatin1Char('w'));
    r.regularExpression = flags.contains(QLatin1Char('r'));
    return r;
}
} // namespace

class TstTextSearch : public QObject {
    Q_OBJECT
private slots:
    void find_data();
    void find();
    void replaceAll_data();
    void replaceAll();
    void replaceAllWithinRange();
    void invalidExpression_data();
    void invalidExpression();
    void largeTextBoundaries();
    void literalMatchesAgreeWithReference();
    void expressionOverStrayBytes_data();
    void expressionOverStrayBytes();
};

void TstTextSearch::find_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("flags"); // c: case, w: whole words, r: expression, b: backwards
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("expectedLength");

    QTest::newRow("case-sensitive") << "abc ABC abc"
                                    << "abc"
                                    << "c" << 1 << 8 << 3;
    QTest::newRow("any case") << "abc ABC abc"
                              << "abc"
                              << "" << 1 << 4 << 3;
    QTest::newRow("from a match start finds it") << "abc ABC abc"
                                                 << "abc"
                                                 << "" << 4 << 4 << 3;
    QTest::newRow("whole words") << "cat concat cat_s cat"
                                 << "cat"
                                 << "w" << 1 << 17 << 3;
    QTest::newRow("accents any case") << "Été été ÉTÉ"
                                      << "été"
                                      << "" << 1 << 4 << 3;
    QTest::newRow("accents any case, upper") << "xx ÉTÉ"
                                             << "été"
                                             << "" << 0 << 3 << 3;
    QTest::newRow("accents case-sensitive") << "Été ÉTÉ été"
                                            << "été"
                                            << "c" << 0 << 8 << 3;
    QTest::newRow("accented letter is part of a word") << "éabc abc"
                                                       << "abc"
                                                       << "w" << 0 << 5 << 3;
    QTest::newRow("after a four-byte character") << "😀abc"
                                                 << "ABC"
                                                 << "" << 0 << 2 << 3;
    QTest::newRow("letters beyond ASCII only") << "aÉÉ éé"
                                               << "éé"
                                               << "" << 0 << 1 << 2;
    QTest::newRow("letters beyond ASCII only, backwards") << "éé ÉÉ x"
                                                          << "Éé"
                                                          << "b" << 7 << 3 << 2;
    QTest::newRow("overlapping") << "aaaa"
                                 << "aa"
                                 << "" << 1 << 1 << 2;
    // Candidates of the rare byte come thick: the search changes its method after sixteen,
    // and the match begins at the very next place.
    QTest::newRow("thick candidates") << QString(18, QLatin1Char('b')) + "a"
                                      << "bba"
                                      << "c" << 0 << 16 << 3;
    QTest::newRow("none") << "abc"
                          << "abd"
                          << "" << 0 << -1 << 0;
    QTest::newRow("longer than the text") << "ab"
                                          << "abc"
                                          << "" << 0 << -1 << 0;
    QTest::newRow("backwards from the end") << "abc abc abc"
                                            << "abc"
                                            << "b" << 11 << 8 << 3;
    QTest::newRow("backwards: the match must end before") << "abc abc abc"
                                                          << "abc"
                                                          << "b" << 10 << 4 << 3;
    QTest::newRow("backwards, accents any case") << "été ÉTÉ x"
                                                 << "Été"
                                                 << "b" << 9 << 4 << 3;
    QTest::newRow("backwards, whole words") << "cat cats"
                                            << "cat"
                                            << "bw" << 8 << 0 << 3;
    QTest::newRow("backwards none") << "abc"
                                    << "x"
                                    << "b" << 3 << -1 << 0;
    QTest::newRow("expression") << "a1 b22 c333"
                                << "[a-z](\\d+)"
                                << "r" << 1 << 3 << 3;
    QTest::newRow("expression any case") << "x ABC"
                                         << "a[a-z]c"
                                         << "r" << 0 << 2 << 3;
    QTest::newRow("expression backwards") << "a1 b22 c333"
                                          << "[a-z]\\d+"
                                          << "rb" << 11 << 7 << 4;
    QTest::newRow("expression whole words") << "x12 12 a12"
                                            << "\\d+"
                                            << "rw" << 0 << 4 << 2;
    QTest::newRow("expression line start") << "ab\ncd\nab"
                                           << "^ab"
                                           << "r" << 1 << 6 << 2;
    QTest::newRow("expression after accents") << "é à b"
                                              << "b"
                                              << "r" << 0 << 4 << 1;
    QTest::newRow("expression empty matches passed over") << "abc"
                                                          << "x*"
                                                          << "r" << 0 << -1 << 0;
}

void TstTextSearch::find() {
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, flags);
    QFETCH(int, from);
    QFETCH(int, expected);
    QFETCH(int, expectedLength);
    TextSearch s;
    QVERIFY(s.prepare(pattern, rules(flags)));
    const QByteArray bytes = text.toUtf8();
    const qsizetype start = bytesBefore(text, from);
    const TextMatch m = flags.contains(QLatin1Char('b'))
                            ? s.findBackward(bytes.constData(), bytes.size(), start, 0)
                            : s.findForward(bytes.constData(), bytes.size(), start, bytes.size());
    QCOMPARE(m.start, bytesBefore(text, expected));
    if (expected >= 0) QCOMPARE(m.end, bytesBefore(text, expected + expectedLength));
}

void TstTextSearch::replaceAll_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("count");

    QTest::newRow("replacement holds the search text") << "a-a-a"
                                                       << "a"
                                                       << ""
                                                       << "aa"
                                                       << "aa-aa-aa" << 3;
    QTest::newRow("any case") << "Foo foo FOO"
                              << "foo"
                              << ""
                              << "bar"
                              << "bar bar bar" << 3;
    QTest::newRow("whole words") << "cat concat cat"
                                 << "cat"
                                 << "w"
                                 << "dog"
                                 << "dog concat dog" << 2;
    QTest::newRow("accents") << "Ça ça"
                             << "ça"
                             << ""
                             << "x"
                             << "x x" << 2;
    QTest::newRow("empty replacement") << "<b>x</b>"
                                       << "<b>"
                                       << ""
                                       << ""
                                       << "x</b>" << 1;
    QTest::newRow("nothing") << "abc"
                             << "z"
                             << ""
                             << "y"
                             << "abc" << 0;
    QTest::newRow("groups swapped") << "John Smith, Jane Doe"
                                    << "(\\w+) (\\w+)"
                                    << "r"
                                    << "\\2 \\1"
                                    << "Smith John, Doe Jane" << 2;
    QTest::newRow("whole match and backslash") << "ab"
                                               << "b"
                                               << "r"
                                               << "[\\0\\\\]"
                                               << "a[b\\]" << 1;
    QTest::newRow("line break and tab") << "a,b;c"
                                        << "[,;]"
                                        << "r"
                                        << "\\n\\t"
                                        << "a\r\n\tb\r\n\tc" << 2;
    QTest::newRow("missing group is empty") << "ab"
                                            << "(a)"
                                            << "r"
                                            << "<\\3>"
                                            << "<>b" << 1;
    QTest::newRow("empty matches") << "abc"
                                   << "x*"
                                   << "r"
                                   << "-"
                                   << "-a-b-c-" << 4;
    QTest::newRow("line starts") << "l1\nl2"
                                 << "^"
                                 << "r"
                                 << "> "
                                 << "> l1\n> l2" << 2;
    QTest::newRow("literal backslashes stay") << "a.b"
                                              << "."
                                              << ""
                                              << "\\1"
                                              << "a\\1b" << 1;
    QTest::newRow("expression with accents") << "été Été"
                                             << "é(t)é"
                                             << "r"
                                             << "\\1"
                                             << "t t" << 2;
    // Every line of a list as an item: the line breaks stay outside the markup.
    const struct {
        const char *name, *eol;
    } breaks[] = {{"CR LF", "\r\n"}, {"LF", "\n"}, {"CR", "\r"}};
    for (const auto &b : breaks) {
        const QString eol = QString::fromLatin1(b.eol);
        QTest::addRow("lines to items, %s", b.name)
            << "un" + eol + "deux" + eol << "(.+)"
            << "r"
            << "<li>\\1</li>" << "<li>un</li>" + eol + "<li>deux</li>" + eol << 2;
        QTest::addRow("line ends, %s", b.name) << "un" + eol + "deux" << "$"
                                               << "r"
                                               << ";" << "un;" + eol + "deux;" << 2;
    }
}

void TstTextSearch::replaceAll() {
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, flags);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    QFETCH(int, count);
    TextSearch s;
    QVERIFY(s.prepare(pattern, rules(flags)));
    const QByteArray bytes = text.toUtf8();
    const QList<Replacement> r =
        s.replacements(bytes.constData(), bytes.size(), 0, bytes.size(), replacement);
    QCOMPARE(r.size(), count);
    QCOMPARE(QString::fromUtf8(applied(bytes, r)), expected);
}

// Bytes that are not UTF-8 (a stray byte, a cut sequence, an encoded surrogate) are
// matched by nothing, not even ".": matches after them are reported at their true bytes,
// never past the end of the text.
void TstTextSearch::expressionOverStrayBytes_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");

    QTest::newRow("after a stray byte") << QByteArray("a\xe9 b") << "b" << false << 0 << 3 << 4;
    QTest::newRow("after a cut sequence") << QByteArray("\xe2\x82xyz") << "y" << false << 0 << 3 << 4;
    QTest::newRow("after an encoded surrogate")
        << QByteArray("\xed\xa0\x80<p>") << "<p>" << false << 0 << 3 << 6;
    QTest::newRow("dot over stray bytes") << QByteArray("\x80\x81\x82") << "..$" << false << 0 << -1 << -1;
    QTest::newRow("dot after stray bytes") << QByteArray("\x80\x81" "ab") << "..$" << false << 0 << 2 << 4;
    QTest::newRow("from after stray bytes") << QByteArray("\xff x \xfe x") << "x" << false << 3 << 6 << 7;
    QTest::newRow("valid text after them") << QByteArray("\x92 \xc3\xa9t\xc3\xa9") << "t" << false << 0 << 4 << 5;
    QTest::newRow("backwards") << QByteArray("b\xe9\xe9 b") << "b" << true << 5 << 4 << 5;
    QTest::newRow("backwards, lower bound past stray bytes")
        << QByteArray("\xe9" "b\xe9" "b") << "b" << true << 4 << 3 << 4;
}

void TstTextSearch::expressionOverStrayBytes() {
    QFETCH(QByteArray, text);
    QFETCH(QString, pattern);
    QFETCH(bool, backwards);
    QFETCH(int, from);
    QFETCH(int, start);
    QFETCH(int, end);
    TextSearch s;
    MatchRules r;
    r.regularExpression = true;
    QVERIFY(s.prepare(pattern, r));
    const TextMatch m = backwards ? s.findBackward(text.constData(), text.size(), from, 0)
                                  : s.findForward(text.constData(), text.size(), from, text.size());
    QCOMPARE(m.start, qsizetype(start));
    QCOMPARE(m.end, qsizetype(end));
    const QList<Replacement> all =
        s.replacements(text.constData(), text.size(), 0, text.size(), QStringLiteral("-"));
    for (const Replacement &x : all)
        QVERIFY(x.start >= 0 && x.end <= text.size() && x.start <= x.end);
}

void TstTextSearch::replaceAllWithinRange() {
    // Only the range is searched (the selection).
    const QByteArray bytes = "aaa|aaa|aaa";
    TextSearch s;
    QVERIFY(s.prepare(QStringLiteral("a"), {}));
    const QList<Replacement> r =
        s.replacements(bytes.constData(), bytes.size(), 4, 7, QStringLiteral("b"));
    QCOMPARE(r.size(), 3);
    QCOMPARE(applied(bytes, r), QByteArray("aaa|bbb|aaa"));
}

void TstTextSearch::invalidExpression_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("position"); // counted in the text the user typed
    QTest::newRow("open group") << "(abc" << 5;
    QTest::newRow("open class") << "[a-" << 4;
    QTest::newRow("bad repeat") << "a{2,1}" << 6;
    QTest::newRow("nothing to repeat") << "*a" << 1;
    QTest::newRow("after accents") << "éé(" << 4;
}

void TstTextSearch::invalidExpression() {
    QFETCH(QString, pattern);
    QFETCH(int, position);
    TextSearch s;
    QString error;
    QVERIFY(!s.prepare(pattern, rules("r"), &error));
    QVERIFY(error.startsWith(QStringLiteral("Expression régulière incorrecte : ")));
    QVERIFY2(error.endsWith(QStringLiteral("(position %1)").arg(position)), qPrintable(error));
    QVERIFY(!s.isValid());
    const QByteArray bytes = "abc";
    QVERIFY(!s.findForward(bytes.constData(), bytes.size(), 0, 3).found());
    // The same text is an ordinary search text without the option.
    QVERIFY(s.prepare(pattern, {}, &error));
}

void TstTextSearch::largeTextBoundaries() {
    // A match that touches the end of the text or of the range, and one that crosses it.
    QByteArray bytes(100000, 'x');
    bytes.replace(99997, 3, "end");
    TextSearch s;
    QVERIFY(s.prepare(QStringLiteral("END"), {}));
    QCOMPARE(s.findForward(bytes.constData(), bytes.size(), 0, bytes.size()).start,
             qsizetype(99997));
    QVERIFY(!s.findForward(bytes.constData(), bytes.size(), 0, bytes.size() - 1).found());
    QCOMPARE(s.findBackward(bytes.constData(), bytes.size(), bytes.size(), 0).start,
             qsizetype(99997));
    QVERIFY(!s.findBackward(bytes.constData(), bytes.size(), bytes.size(), 99998).found());

    // One case of a letter far away, the other nowhere; and a rejected whole-word candidate
    // in every stretch of the text.
    QByteArray far(100000, 'x');
    for (qsizetype i = 0; i < far.size(); i += 1000)
        far[i] = 'Q';
    far.replace(70001, 3, " q ");
    QVERIFY(s.prepare(QStringLiteral("q"), {false, true, false}));
    QCOMPARE(s.findForward(far.constData(), far.size(), 0, far.size()).start, qsizetype(70002));
    QCOMPARE(s.findBackward(far.constData(), far.size(), far.size(), 0).start, qsizetype(70002));
    QVERIFY(!s.findForward(far.constData(), far.size(), 70003, far.size()).found());
}

void TstTextSearch::literalMatchesAgreeWithReference() {
    // Texts long enough for the sixteen-at-a-time comparison and its tail, from an
    // alphabet with the traps of a case-blind comparison ('@' and '`' differ from 'A' and
    // 'a' by the case bit alone), accents and word characters; each search is checked
    // against QString's own search, the whole-word rule applied by hand.
    const QString alphabet = QStringLiteral("aAbB@`_ -é\n");
    QRandomGenerator rng(7);
    for (int round = 0; round < 3000; ++round) {
        QString text;
        const int size = int(rng.bounded(1, 400));
        for (int i = 0; i < size; ++i)
            text += alphabet[int(rng.bounded(int(alphabet.size())))];
        const int at = int(rng.bounded(size));
        QString pattern = text.mid(at, int(rng.bounded(1, 5)));
        for (QChar &c : pattern)
            if (rng.bounded(2)) c = c.isUpper() ? c.toLower() : c.toUpper();
        const MatchRules r{bool(rng.bounded(2)), bool(rng.bounded(2)), false};
        const int from = int(rng.bounded(size));
        const int limit = int(rng.bounded(from, size + 1));

        const auto isWord = [&](int i) {
            return i >= 0 && i < text.size() && (text[i].isLetterOrNumber() || text[i] == '_');
        };
        int expected = -1;
        const Qt::CaseSensitivity cs = r.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
        for (int i = from; (i = int(text.indexOf(pattern, i, cs))) >= 0; ++i) {
            if (i + pattern.size() > limit) break;
            if (!r.wholeWords || (!isWord(i - 1) && !isWord(int(i + pattern.size())))) {
                expected = i;
                break;
            }
        }
        const QByteArray bytes = text.toUtf8();
        TextSearch s;
        QVERIFY(s.prepare(pattern, r));
        const TextMatch m = s.findForward(bytes.constData(), bytes.size(), bytesBefore(text, from),
                                          bytesBefore(text, limit));
        QVERIFY2(m.start == bytesBefore(text, expected),
                 qPrintable(QStringLiteral("'%1' in '%2' from %3 to %4, case %5, words %6")
                                .arg(pattern, text)
                                .arg(from)
                                .arg(limit)
                                .arg(r.caseSensitive)
                                .arg(r.wholeWords)));
    }
}

QTEST_GUILESS_MAIN(TstTextSearch)
#include "tst_text_search.moc"
