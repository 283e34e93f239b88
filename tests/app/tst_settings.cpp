#include "app/app_settings.h"
#include "app/recent_files.h"
#include "app/settings_store.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TstSettings : public QObject {
    Q_OBJECT
private slots:
    void encodings();
    void integersKeepTheirForm();
    void nonNumericReadsAsDefault_data();
    void nonNumericReadsAsDefault();
    void deeperSections();
    void emptyStoreGivesDefaults();
    void sessionRoundTrip();
    void maximisedKeepsNormalBounds();
    void preferencesRoundTrip();
    void fontPresetSelect_data();
    void fontPresetSelect();
    void browserLabelsNeverEmpty();
    void recentFiles();

private:
    QTemporaryDir m_dir;
    int m_n = 0;
    QString freshFile() { return m_dir.filePath(QStringLiteral("s%1.ini").arg(++m_n)); }
};

void TstSettings::encodings()
{
    const QString f = freshFile();
    {
        SettingsStore s(f);
        s.writeBool("Options", "Casse", true);
        s.writeBool("Options", "XHTML", false);
        s.writeInteger("Form", "Largeur", 617);
        s.writeString("Text", "DossierParDefautSTR", "C:\\site, avec virgule");
        s.sync();
    }
    QSettings raw(f, QSettings::IniFormat);
    QCOMPARE(raw.value("Options/Casse").toString(), QString("1"));
    QCOMPARE(raw.value("Options/XHTML").toString(), QString("0"));
    SettingsStore s(f);
    QCOMPARE(s.readBool("Options", "Casse", false), true);
    QCOMPARE(s.readBool("Options", "XHTML", true), false);
    QCOMPARE(s.readInteger("Form", "Largeur", 0), 617);
    QCOMPARE(s.readString("Text", "DossierParDefautSTR", {}), QString("C:\\site, avec virgule"));
    QCOMPARE(s.readBool("Options", "Absent", true), true);
    QCOMPARE(s.readInteger("Nowhere", "Absent", 42), 42);
}

void TstSettings::integersKeepTheirForm()
{
    // A value edited by hand into a string is still read, and written back as a string.
    const QString f = freshFile();
    {
        QSettings raw(f, QSettings::IniFormat);
        raw.setValue("Form/Largeur", QStringLiteral("617"));
        raw.setValue("Options/Casse", QStringLiteral("2"));
    }
    SettingsStore s(f);
    QCOMPARE(s.readInteger("Form", "Largeur", 0), 617);
    QCOMPARE(s.readBool("Options", "Casse", false), true);
    s.writeInteger("Form", "Largeur", 700);
    s.sync();
    QCOMPARE(s.readInteger("Form", "Largeur", 0), 700);
}

void TstSettings::nonNumericReadsAsDefault_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("letters") << "abc" << 5;
    QTest::newRow("empty") << "" << 5;
    QTest::newRow("mixed") << "12px" << 5;
    QTest::newRow("blanks around") << " 12 " << 12;
    QTest::newRow("negative") << "-3" << -3;
}

void TstSettings::nonNumericReadsAsDefault()
{
    QFETCH(QString, stored);
    QFETCH(int, expected);
    const QString f = freshFile();
    {
        QSettings raw(f, QSettings::IniFormat);
        raw.setValue("Options/FormatDate", stored);
    }
    SettingsStore s(f);
    QCOMPARE(s.readInteger("Options", "FormatDate", 5), expected);
}

void TstSettings::deeperSections()
{
    SettingsStore s(freshFile());
    s.writeString("Fonts\\Font3", "Nom", "Verdana");
    s.writeInteger("Highlighters\\Document HTML\\Commentaire", "Foreground", 0x808080);
    QCOMPARE(s.readString("Fonts\\Font3", "Nom", {}), QString("Verdana"));
    QVERIFY(s.sectionExists("Fonts"));
    QVERIFY(s.subSections("Fonts").contains("Font3"));
    QVERIFY(s.subSections("Highlighters").contains("Document HTML"));
    s.eraseSection("Highlighters\\Document HTML");
    QVERIFY(!s.sectionExists("Highlighters\\Document HTML"));
    QCOMPARE(s.readString("Fonts\\Font3", "Nom", {}), QString("Verdana"));
}

void TstSettings::emptyStoreGivesDefaults()
{
    SettingsStore s(freshFile());
    Options o;
    o.window.width = 1;
    o.editor.tabsWidth = "9";
    readStartupOptions(s, o);
    loadSettings(s, o);
    QCOMPARE(o.window.width, 617);
    QCOMPARE(o.window.height, 460);
    QCOMPARE(o.window.left, 0);
    QCOMPARE(o.window.top, 0);
    QVERIFY(!o.window.maximised);
    QVERIFY(o.showTips && o.splash && o.oneInstance && o.docExiste && o.compHTML);
    QVERIFY(o.editor.matchBrackets);
    QVERIFY(o.editor.tabsToSpaces);
    QCOMPARE(o.editor.tabWidth(), 4);
    QCOMPARE(o.editor.policeNom, QString("Courier New"));
    QCOMPARE(o.editor.policeTaille, 10);
    QVERIFY(o.editor.showGutter && !o.editor.showLineNumbers);
    QCOMPARE(o.editor.gutterWidth(), 30);
    QCOMPARE(o.editor.rightEdge(), 0);
    QCOMPARE(o.extensionDefaut, QString("htm"));
    QVERIFY(o.caracteresAlphabetiques);
    QCOMPARE(o.browser.nav, (std::array<bool, 4>{true, false, false, false}));
}

void TstSettings::sessionRoundTrip()
{
    const QString f = freshFile();
    Options o;
    o.window = {800, 600, 10, 20, false};
    o.saveCheck = true;
    o.wordWrap = true;
    o.showSpecialChars = true;
    o.dossierParDefautSTR = "/home/u/site";
    o.search.caseSensitive = true;
    o.replace.wholeWords = true;
    o.replace.regularExpression = true;
    o.browser.nav = {false, false, true, false};
    o.casse = true; // preference: not written by the session
    {
        SettingsStore s(f);
        saveSessionSettings(s, o);
        s.sync();
    }
    SettingsStore s2(f);
    Options r;
    loadSettings(s2, r);
    QCOMPARE(r.window.width, 800);
    QCOMPARE(r.window.top, 20);
    QVERIFY(r.saveCheck && r.wordWrap && r.showSpecialChars);
    QCOMPARE(r.dossierParDefautSTR, QString("/home/u/site"));
    QVERIFY(r.search.caseSensitive && !r.search.wholeWords);
    QVERIFY(r.replace.wholeWords && r.replace.regularExpression && !r.search.regularExpression);
    QCOMPARE(r.browser.nav, (std::array<bool, 4>{false, false, true, false}));
    QVERIFY(!r.casse);
}

void TstSettings::maximisedKeepsNormalBounds()
{
    const QString f = freshFile();
    SettingsStore s(f);
    Options o;
    o.window = {900, 700, 5, 6, false};
    saveSessionSettings(s, o);
    o.window = {1280, 800, 0, 0, true};
    saveSessionSettings(s, o);
    Options r;
    loadSettings(s, r);
    QVERIFY(r.window.maximised);
    QCOMPARE(r.window.width, 900);
    QCOMPARE(r.window.height, 700);
    QCOMPARE(r.window.left, 5);
}

void TstSettings::preferencesRoundTrip()
{
    SettingsStore s(freshFile());
    Options o;
    o.casse = o.xhtml = o.multiDoc = true;
    o.compHTML = o.docExiste = false;
    o.formatDate = 3;
    o.typeDefaut = 1;
    o.extensionDefaut = "html";
    o.editor.tabsWidth = "abc";
    o.editor.gutterSize = "x";
    o.editor.rightEdgeSize = "80";
    o.editor.policeNom = "DejaVu Sans Mono";
    o.editor.autoIndent = false;
    savePreferences(s, o);
    Options r;
    loadSettings(s, r);
    QVERIFY(r.casse && r.xhtml && r.multiDoc && !r.compHTML && !r.docExiste);
    QCOMPARE(r.formatDate, 3);
    QCOMPARE(r.typeDefaut, 1);
    QCOMPARE(r.extensionDefaut, QString("html"));
    QCOMPARE(r.editor.tabWidth(), 4); // "abc" is no number
    QCOMPARE(r.editor.gutterWidth(), 30);
    QCOMPARE(r.editor.rightEdge(), 80);
    QCOMPARE(r.editor.policeNom, QString("DejaVu Sans Mono"));
    QVERIFY(!r.editor.autoIndent);
    QVERIFY(s.valueExists("Editor", "NoTrimTrailingSpaces"));
}

void TstSettings::fontPresetSelect_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("read");
    QTest::newRow("in range") << 7 << 7;
    QTest::newRow("12 reads as 0") << 12 << 0;
    QTest::newRow("negative") << -1 << 0;
}

void TstSettings::fontPresetSelect()
{
    QFETCH(int, stored);
    QFETCH(int, read);
    SettingsStore s(freshFile());
    s.writeInteger("Fonts", "Select", stored);
    Options o;
    loadSettings(s, o);
    QCOMPARE(o.fontSelect, read);
}

void TstSettings::browserLabelsNeverEmpty()
{
    SettingsStore s(freshFile());
    s.writeString("Browser", "LibelleNav3", "");
    s.writeString("Browser", "LibelleNav4", "Mon navigateur");
    Options o;
    loadSettings(s, o);
    QCOMPARE(o.browser.libelleNav3, QString("Navigateur utilisateur"));
    QCOMPARE(o.browser.libelleNav4, QString("Mon navigateur"));
    o.browser.libelleNav4.clear();
    savePreferences(s, o);
    QCOMPARE(s.readString("Browser", "LibelleNav4", {}), QString("Navigateur utilisateur"));
}

void TstSettings::recentFiles()
{
    SettingsStore s(freshFile());
    RecentFileList l;
    for (int i = 0; i < 12; ++i)
        l.add(QStringLiteral("/site/p%1.html").arg(i));
    QCOMPARE(l.items().size(), 10);
    QCOMPARE(l.items().first(), QString("/site/p11.html"));
    // Same path in other letter case: moves to the top, kept once.
    l.add("/SITE/P5.HTML");
    QCOMPARE(l.items().size(), 10);
    QCOMPARE(l.items().first(), QString("/SITE/P5.HTML"));
    QCOMPARE(l.items().count("/site/p5.html"), 0);
    l.save(s);
    QVERIFY(s.valueExists("Recent", "MRU10"));
    RecentFileList r;
    r.load(s);
    QCOMPARE(r.items(), l.items());
    // Values beyond a shorter list are deleted when it is written.
    r.remove("/site/p11.html");
    r.remove("/site/p10.html");
    r.save(s);
    QVERIFY(!s.valueExists("Recent", "MRU9"));
    QVERIFY(s.valueExists("Recent", "MRU8"));
    // Relative paths are stored in full.
    RecentFileList rel;
    rel.add("page.html");
    QVERIFY(QFileInfo(rel.items().first()).isAbsolute());
}

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
