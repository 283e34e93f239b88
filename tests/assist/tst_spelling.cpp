// Spelling: which words of a page are read, and what the French dictionary makes
// of them. Uses the dictionaries scripts/install-deps.sh installs (fr, en_US).
#include "app/document_types.h"
#include "assist/spell_checker.h"
#include "assist/spelling_words.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const Highlighter *page() {
    static DocumentTypes types;
    return types.highlighter(DocumentTypes::SynMultiSynPHP);
}

// "mot@lang" for each misspelt word (the lang left out for the default).
QStringList misspelt(const QByteArray &text, const Highlighter *h = page()) {
    static Spelling::Checker checker;
    const std::vector<Spelling::Word> words = Spelling::ExtractWords(text, h);
    std::vector<Spelling::Misspelling> found;
    checker.check(words, 0, words.size(), found);
    QStringList out;
    for (const Spelling::Misspelling &m : found) {
        const auto w = std::find_if(words.begin(), words.end(),
                                    [&](const Spelling::Word &w) { return w.start == m.start; });
        out << w->text + (w->language.isEmpty() ? QString() : QLatin1Char('@') + w->language);
    }
    return out;
}

} // namespace

class TestSpelling : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void markupNeverRead_data();
    void markupNeverRead();
    void frenchErrorsFound_data();
    void frenchErrorsFound();
    void referencesDecoded_data();
    void referencesDecoded();
    void languageFromLang_data();
    void languageFromLang();
    void dictionaryForLanguage_data();
    void dictionaryForLanguage();
    void personalWords();
};

void TestSpelling::initTestCase() {
    const std::vector<Spelling::Dictionary> d = Spelling::InstalledDictionaries();
    if (Spelling::DictionaryFor(d, QStringLiteral("fr")) < 0 ||
        Spelling::DictionaryFor(d, QStringLiteral("en")) < 0)
        QFAIL("the fr and en_US dictionaries are missing: run scripts/install-deps.sh");
}

void TestSpelling::markupNeverRead_data() {
    // Every made-up word below sits where a reader never reads it.
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("names and values")
        << QByteArray("<dvi clas=\"intro zorglub\" data-truc='machinn' id=bidulle>Bonjour</dvi>\n"
                      "<imgg srcc=\"imagez/fotos.png\" widht=\"10\">\n");
    QTest::newRow("script") << QByteArray(
        "<p>Texte</p>\n<script>\nvar maisonn = \"chaînne de caracteres\";\n"
        "function documnt() { return zorglub; }\n</script>\n<p>Suite</p>\n");
    QTest::newRow("typed scripts")
        << QByteArray("<script type=\"module\">import { trucc } from \"./machin.js\";</script>\n"
                      "<script type=\"text/template\"><b>gabaritt</b></script>\n");
    QTest::newRow("style") << QByteArray(
        "<style>\nbody { colr: rouje; fontt-size: 12px }\n.titrre::after { content: \"ziou\" }\n"
        "</style>\n<h1 style=\"margn: 0\">Titre</h1>\n");
    QTest::newRow("comments") << QByteArray(
        "<!-- un commentairre\nsur deux lignnes -->\n<p>Bonjour</p><!-- encorre -->\n");
    QTest::newRow("php") << QByteArray("<p>Prix : <?php echo $prixx . \"eurros\"; ?> TTC</p>\n"
                                       "<a href=\"<?= $lienn ?>\" title=\"Accueil\">Accueil</a>\n");
    QTest::newRow("asp") << QByteArray("<p><% Response.Write(\"bonjourr\") %> monde</p>\n");
    QTest::newRow("addresses") << QByteArray(
        "<p>Voir https://www.exemple.fr/pagge.html, www.trucc.fr ou écrire à "
        "jean.dupontt@exemplle.fr ; le fichier fotos.zipp.</p>\n");
    QTest::newRow("code elements") << QByteArray(
        "<p>Tapez <code>printff(x)</code> puis <kbd>Ctrl+Maj</kbd> ; <var>nbrr</var>.</p>\n");
    QTest::newRow("identifiers in text")
        << QByteArray("<p>La version 2e du fichier_config et JavaScript avec x86 et mp3.</p>\n");
    QTest::newRow("spellcheck false")
        << QByteArray("<div spellcheck=\"false\"><p>Zorglub bidulle</p></div><p>Bonjour</p>\n");
    QTest::newRow("doctype and declarations")
        << QByteArray("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strictt//EN\">\n"
                      "<?xml versionn=\"1.0\"?>\n<p>Texte</p>\n");
}

void TestSpelling::markupNeverRead() {
    QFETCH(QByteArray, text);
    QCOMPARE(misspelt(text), QStringList());
}

void TestSpelling::frenchErrorsFound_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("plain"); // a plain-text document: every word is read
    QTest::newRow("plain text") << QByteArray("Le mot <!-- strongg --> est lu, l'étée aussi.\n")
                                << QStringList{"strongg", "l'étée"} << true;
    QTest::newRow("text between tags")
        << QByteArray("<p>Une bonne nouvele pour <b>tout</b> le mondde.</p>\n")
        << QStringList{"nouvele", "mondde"} << false;
    QTest::newRow("read attributes")
        << QByteArray("<img src=\"a.png\" alt=\"Une foto\" title=\"Le jardinn\">\n"
                      "<input placeholder=\"Votre nomm\" value=\"valeurr\">\n")
        << QStringList{"foto", "jardinn", "nomm"} << false;
    QTest::newRow("apostrophes hyphens ligatures")
        << QByteArray("<p>L'été, aujourd’hui, c'est-à-dire peut-être une œuvre ; l'étée.</p>\n")
        << QStringList{"l'étée"} << false;
    QTest::newRow("around a script")
        << QByteArray("<p>Avantt</p><script>var x;</script><p>Aprés</p>\n")
        << QStringList{"Avantt", "Aprés"} << false;
    QTest::newRow("value over two lines")
        << QByteArray("<img alt=\"Une belle\nfotografie\" src=x>\n") << QStringList{"fotografie"}
        << false;
    QTest::newRow("title element")
        << QByteArray("<head><title>Ma pagee</title></head>\n") << QStringList{"pagee"} << false;
}

void TestSpelling::frenchErrorsFound() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, expected);
    QFETCH(bool, plain);
    QCOMPARE(misspelt(text, plain ? nullptr : page()), expected);
}

void TestSpelling::referencesDecoded_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("word");    // as read
    QTest::addColumn<QByteArray>("span"); // its bytes in the page
    QTest::newRow("named") << QByteArray("<p>Un caf&eacute; noir</p>") << QStringLiteral("café")
                           << QByteArray("caf&eacute;");
    QTest::newRow("decimal") << QByteArray("<p>Un caf&#233; noir</p>") << QStringLiteral("café")
                             << QByteArray("caf&#233;");
    QTest::newRow("hexadecimal") << QByteArray("<p>&Eacute;T&#xC9;</p>") << QStringLiteral("ÉTÉ")
                                 << QByteArray("&Eacute;T&#xC9;");
    QTest::newRow("ligature") << QByteArray("<p>une &oelig;uvre</p>") << QStringLiteral("œuvre")
                              << QByteArray("&oelig;uvre");
    QTest::newRow("apostrophe") << QByteArray("<p>l&rsquo;&eacute;t&eacute;</p>")
                                << QStringLiteral("l’été")
                                << QByteArray("l&rsquo;&eacute;t&eacute;");
    QTest::newRow("in a value") << QByteArray("<img alt=\"Cr&egrave;me br&ucirc;l&eacute;e\">")
                                << QStringLiteral("brûlée") << QByteArray("br&ucirc;l&eacute;e");
    QTest::newRow("non-breaking space parts words")
        << QByteArray("<p>mot&nbsp;suivant</p>") << QStringLiteral("suivant")
        << QByteArray("suivant");
}

void TestSpelling::referencesDecoded() {
    QFETCH(QByteArray, text);
    QFETCH(QString, word);
    QFETCH(QByteArray, span);
    const std::vector<Spelling::Word> words = Spelling::ExtractWords(text, page());
    const auto w = std::find_if(words.begin(), words.end(),
                                [&](const Spelling::Word &w) { return w.text == word; });
    QVERIFY2(w != words.end(), qPrintable(word));
    QCOMPARE(text.mid(w->start, w->length), span);
    // Nothing is found wrong in well-written French with references.
    QCOMPARE(misspelt(text), QStringList());
}

void TestSpelling::languageFromLang_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("nested")
        << QByteArray("<html lang=\"fr\"><body><p>Bonjourr</p>\n"
                      "<p lang=\"en-US\">Helo <em>wrld</em> <span lang=fr>mondde</span></p>\n"
                      "<p>retourr</p></body></html>\n")
        << QStringList{"Bonjourr@fr", "Helo@en-us", "wrld@en-us", "mondde@fr", "retourr@fr"};
    QTest::newRow("own attributes in own language")
        << QByteArray("<img alt=\"A nice fotograph\" lang=\"en\">\n")
        << QStringList{"fotograph@en"};
    QTest::newRow("no dictionary: not checked")
        << QByteArray("<p lang=\"xx\">Zorglub</p><p lang=\"\">Bidulle</p><p>Motte</p>\n")
        << QStringList{};
    QTest::newRow("void and closing elements")
        << QByteArray("<div lang=en><br><img alt=\"Picture\"><p>Tabel</p></div><p>Tablle</p>\n")
        << QStringList{"Tabel@en", "Tablle"};
}

void TestSpelling::languageFromLang() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, expected);
    QCOMPARE(misspelt(text), expected);
}

void TestSpelling::dictionaryForLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("dictionary");
    QTest::newRow("exact") << "fr_CA"
                           << "fr_CA";
    QTest::newRow("tag form") << "fr-ca"
                              << "fr_CA";
    QTest::newRow("own language first") << "fr-XX"
                                        << "fr";
    QTest::newRow("first of the language") << "en"
                                           << "en_AU";
    QTest::newRow("none") << "de"
                          << "";
}

void TestSpelling::dictionaryForLanguage() {
    QFETCH(QString, language);
    QFETCH(QString, dictionary);
    std::vector<Spelling::Dictionary> d;
    for (const char *name : {"en_AU", "en_US", "fr", "fr_CA", "fr_FR"})
        d.push_back({QString::fromLatin1(name), {}, {}});
    const int i = Spelling::DictionaryFor(d, language);
    QCOMPARE(i < 0 ? QString() : d[size_t(i)].name, dictionary);
}

void TestSpelling::personalWords() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("donnees/Orthographe/personnel.dic"));
    QVERIFY(Spelling::AddPersonalWord(path, QStringLiteral("Balizor")));
    QVERIFY(Spelling::AddPersonalWord(path, QStringLiteral("zorglub")));
    QVERIFY(Spelling::AddPersonalWord(path, QStringLiteral("Balizor")));
    QCOMPARE(Spelling::ReadPersonalWords(path), (QStringList{"Balizor", "zorglub"}));
    QCOMPARE(QFileInfo(QFileInfo(path).absolutePath()).permissions() & 0x0077,
             QFile::Permissions());
    QCOMPARE(QFile::permissions(path),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    Spelling::Checker checker;
    QVERIFY(!checker.isCorrect(QStringLiteral("zorglub"), QString()));
    checker.addWords(Spelling::ReadPersonalWords(path));
    QVERIFY(checker.isCorrect(QStringLiteral("zorglub"), QString()));
    QVERIFY(!checker.isCorrect(QStringLiteral("bidulle"), QString()));
    checker.ignore(QStringLiteral("bidulle"));
    QVERIFY(checker.isCorrect(QStringLiteral("bidulle"), QString()));
    QVERIFY(checker.suggestions(QStringLiteral("maisonn"), QString()).contains("maison"));
}

QTEST_GUILESS_MAIN(TestSpelling)
#include "tst_spelling.moc"
