// What the preferences window accepts in its fields, and its browser list.
#include "app/preference_rules.h"

#include <QTest>

namespace PR = PreferenceRules;
using Nav = std::array<bool, 4>;

class TstPreferenceRules : public QObject {
    Q_OBJECT
private slots:
    void wholeNumbers_data();
    void wholeNumbers();
    void defaultExtension_data();
    void defaultExtension();
    void extensionLists_data();
    void extensionLists();
    void filterFromExtensions_data();
    void filterFromExtensions();
    void browserEntries_data();
    void browserEntries();
};

void TstPreferenceRules::wholeNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "30" << 0 << 500 << true << 30;
    QTest::newRow("spaces around") << " 80 " << 0 << 1000 << true << 80;
    QTest::newRow("zero allowed") << "0" << 0 << 500 << true << 0;
    QTest::newRow("zero refused") << "0" << 1 << 32 << false << 0;
    QTest::newRow("above max") << "33" << 1 << 32 << false << 0;
    QTest::newRow("empty") << "" << 0 << 500 << false << 0;
    QTest::newRow("pasted letters after") << "30px" << 0 << 500 << false << 0;
    QTest::newRow("sign") << "-4" << 0 << 500 << false << 0;
    QTest::newRow("plus sign") << "+4" << 0 << 500 << false << 0;
    QTest::newRow("inner space") << "3 0" << 0 << 500 << false << 0;
    QTest::newRow("decimal") << "4.5" << 0 << 500 << false << 0;
    QTest::newRow("overflow") << "99999999999" << 0 << 500 << false << 0;
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("٤") << 0 << 500 << false << 0;
}

void TstPreferenceRules::wholeNumbers() {
    QFETCH(QString, text);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(bool, ok);
    QFETCH(int, value);
    int n = -1;
    QCOMPARE(PR::isWholeNumber(text, min, max, &n), ok);
    if (ok) QCOMPARE(n, value);
}

void TstPreferenceRules::defaultExtension_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");
    QTest::newRow("htm") << "htm" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("typed slash") << "h/" << true;
    for (const char *c : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|"})
        QTest::newRow(c) << QStringLiteral("a%1b").arg(QString::fromLatin1(c)) << true;
    QTest::newRow("dot kept") << "tar.gz" << false;
}

void TstPreferenceRules::defaultExtension() {
    QFETCH(QString, text);
    QFETCH(bool, refused);
    QCOMPARE(PR::extensionHasForbiddenCharacter(text), refused);
    QCOMPARE(PR::forbiddenExtensionMessage(),
             QString::fromUtf8("Une extension de fichier ne peut contenir l'un des caractères "
                               "suivants :\r\n\\ / : * ? \" < > |"));
}

void TstPreferenceRules::extensionLists_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("valid");
    QTest::newRow("built-in") << "*.htm;*.html;*.shtm;*.shtml" << true;
    QTest::newRow("with spaces") << "*.htm; *.html; *.xhtml" << true;
    QTest::newRow("one") << "*.css" << true;
    QTest::newRow("digits") << "*.php3" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank") << "   " << false;
    QTest::newRow("trailing separator") << "*.htm;" << false;
    QTest::newRow("bar would split the filter") << "*.htm|*.x" << false;
    QTest::newRow("paren would end the description") << "*.htm)" << false;
    QTest::newRow("no star") << "htm" << false;
    QTest::newRow("no name") << "*." << false;
    QTest::newRow("star dot star") << "*.*" << false;
    QTest::newRow("comma separated") << "*.htm,*.html" << false;
    QTest::newRow("inner space") << "*.ht m" << false;
}

void TstPreferenceRules::extensionLists() {
    QFETCH(QString, list);
    QFETCH(bool, valid);
    QCOMPARE(PR::isValidExtensionList(list), valid);
}

void TstPreferenceRules::filterFromExtensions_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("expected");
    QTest::newRow("html")
        << "Fichiers HTML (*.htm,*.html,*.shtm,*.shtml)|*.htm;*.html;*.shtm;*.shtml"
        << "*.htm; *.html; *.xhtml"
        << "Fichiers HTML (*.htm; *.html; *.xhtml)|*.htm; *.html; *.xhtml";
    QTest::newRow("css") << "Feuilles de style (*.css)|*.css"
                         << "*.css;*.less"
                         << "Feuilles de style (*.css;*.less)|*.css;*.less";
    QTest::newRow("description without parenthesis") << "Fichiers HTML|*.htm"
                                                     << "*.xhtml"
                                                     << "*.xhtml)|*.xhtml";
}

void TstPreferenceRules::filterFromExtensions() {
    QFETCH(QString, filter);
    QFETCH(QString, list);
    QFETCH(QString, expected);
    const QString result = PR::filterWithExtensions(filter, list);
    QCOMPARE(result, expected);
    QCOMPARE(PR::extensionListOf(result), list);
}

void TstPreferenceRules::browserEntries_data() {
    QTest::addColumn<bool>("internal");
    QTest::addColumn<Nav>("nav");
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("browser");
    QTest::newRow("internal") << true << Nav{true, false, false, false} << 0 << 0;
    QTest::newRow("default") << true << Nav{false, true, false, false} << 1 << 1;
    QTest::newRow("user 1") << true << Nav{false, false, true, false} << 2 << 2;
    QTest::newRow("user 2 wins") << true << Nav{true, false, true, true} << 3 << 3;
    QTest::newRow("user 1 before default") << true << Nav{false, true, true, false} << 2 << 2;
    QTest::newRow("none") << true << Nav{false, false, false, false} << -1 << -1;
    QTest::newRow("no engine: default first") << false << Nav{false, true, false, false} << 0 << 1;
    QTest::newRow("no engine: user 2") << false << Nav{false, false, false, true} << 2 << 3;
    QTest::newRow("no engine: internal has no entry")
        << false << Nav{true, false, false, false} << -1 << -1;
}

void TstPreferenceRules::browserEntries() {
    QFETCH(bool, internal);
    QFETCH(Nav, nav);
    QFETCH(int, entry);
    QFETCH(int, browser);
    QCOMPARE(PR::browserEntryForChoice(nav, internal), entry);
    QCOMPARE(PR::browserForEntry(entry, internal), browser);
    const QStringList entries =
        PR::browserEntries(internal, QStringLiteral("Firefox"), QStringLiteral("Autre"));
    QCOMPARE(entries.size(), internal ? 4 : 3);
    QCOMPARE(entries.first(), internal ? QStringLiteral("Navigateur interne")
                                       : QString::fromUtf8("Navigateur par défaut"));
    QCOMPARE(entries.last(), QStringLiteral("Autre"));
    QCOMPARE(PR::browserForEntry(entries.size(), internal), -1);
}

QTEST_APPLESS_MAIN(TstPreferenceRules)
#include "tst_preference_rules.moc"
