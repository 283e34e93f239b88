// The document-type table: names, filters, choice by extension, stored settings.

#include "app/document_types.h"
#include "app/settings_store.h"
#include "editor/highlighter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestDocumentTypes : public QObject {
    Q_OBJECT
private slots:
    void tableOrder();
    void documentTypeName_data();
    void documentTypeName();
    void typeListAndFilter();
    void extension_data();
    void extension();
    void changedExtensionList();
    void defaultExtension_data();
    void defaultExtension();
    void colourKeysRoundTrip();
    void missingValuesKeepColours();
    void resetSuppressesColourSaving();

private:
    QTemporaryDir m_dir;
};

void TestDocumentTypes::tableOrder() {
    DocumentTypes types;
    QStringList objects;
    QList<int> tags;
    for (int i = 0; i < types.count(); ++i) {
        objects << types.entry(i).objectName;
        tags << types.entry(i).tag;
    }
    QCOMPARE(objects,
             QStringList({"SynGeneralSyn1", "SynHTMLSyn1", "SynMultiSynHTML", "SynXMLSyn1",
                          "SynCssSyn1", "SynJScriptSyn1", "SynVBScriptSyn1", "SynPHPSyn1",
                          "SynPerlSyn1", "SynSQLSyn1", "SynMultiSynASP", "SynMultiSynPHP"}));
    QCOMPARE(tags, QList<int>({-1, 0, 4, 1, 1, 1, 1, 0, 1, 1, 2, 3}));
    QCOMPARE(types.indexOfObjectName("SynCssSyn1"), int(DocumentTypes::SynCssSyn1));
    QCOMPARE(types.indexOf(types.highlighter(DocumentTypes::SynMultiSynASP)),
             int(DocumentTypes::SynMultiSynASP));
}

void TestDocumentTypes::documentTypeName_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("name");
    QTest::newRow("general") << "General" << -1 << "Aucun";
    QTest::newRow("html document") << "HTML document" << 1 << "Document HTML";
    QTest::newRow("html") << "HTML" << 0 << "Document HTML";
    QTest::newRow("xml") << "XML" << 1 << "Document XML";
    QTest::newRow("css") << "Cascading Style Sheet" << 1 << "Feuille de style";
    QTest::newRow("vbs") << "MS VBScript" << 1 << "VBScript";
    QTest::newRow("vrml") << "Vrml97" << 1 << "VRML";
    QTest::newRow("asp") << "General Multi-Highlighter" << 2 << "ASP";
    QTest::newRow("php") << "General Multi-Highlighter" << 3 << "PHP";
    QTest::newRow("html multi") << "General Multi-Highlighter" << 4 << "Document HTML";
    QTest::newRow("other multi") << "General Multi-Highlighter" << 7 << "General Multi-Highlighter";
    QTest::newRow("own name") << "JavaScript" << 1 << "JavaScript";
    QTest::newRow("php plain") << "PHP" << 0 << "PHP";
}

void TestDocumentTypes::documentTypeName() {
    QFETCH(QString, language);
    QFETCH(int, tag);
    QFETCH(QString, name);
    QCOMPARE(DocumentTypeName(language, tag), name);
}

void TestDocumentTypes::typeListAndFilter() {
    DocumentTypes types;
    const TypeLists lists = BuildTypeLists(types);
    QCOMPARE(lists.names, QStringList({"Aucun", "Document HTML", "Document XML", "Feuille de style",
                                       "JavaScript", "VBScript", "Perl", "SQL", "ASP", "PHP"}));
    QCOMPARE(lists.entries.first(), int(DocumentTypes::SynGeneralSyn1));
    QCOMPARE(lists.entries.at(1), int(DocumentTypes::SynMultiSynHTML));
    QCOMPARE(lists.entries.last(), int(DocumentTypes::SynMultiSynPHP));
    QCOMPARE(
        lists.filter,
        QString("Tous les fichiers connus|*.htm;*.html;*.shtm;*.shtml;*.xml;*.xsd;*.xsl;*.xslt;"
                "*.dtd;*.css;*.js;*.vbs;*.pl;*.pm;*.cgi;*.sql;*.asp;*.aspx;*.asa;*.php;*.php3;"
                "*.phtml;*.inc;*.txt|Fichiers HTML (*.htm,*.html,*.shtm,*.shtml)|*.htm;*.html;"
                "*.shtm;*.shtml|Fichiers XML (*.xml,*.xsd,*.xsl,*.xslt,*.dtd)|*.xml;*.xsd;"
                "*.xsl;*.xslt;*.dtd|Feuilles de style (*.css)|*.css|Fichiers Javascript "
                "(*.js)|*.js|Fichiers VBScript (*.vbs)|*.vbs|Fichiers Perl (*.pl,*.pm,*.cgi)|"
                "*.pl;*.pm;*.cgi|Fichiers SQL (*.sql)|*.sql|Fichiers ASP (*.asp;*.aspx;*.asa)|"
                "*.asp;*.aspx;*.asa|Fichiers PHP (*.php,*.php3,*.phtml;*.inc)|*.php;*.php3;"
                "*.phtml;*.inc|Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*"));

    // A type whose filter is empty drops out of the list and the filters.
    types.entry(DocumentTypes::SynPerlSyn1).filter.clear();
    const TypeLists fewer = BuildTypeLists(types);
    QVERIFY(!fewer.names.contains("Perl"));
    QVERIFY(!fewer.filter.contains("*.pl"));
}

void TestDocumentTypes::extension_data() {
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("object");
    QTest::newRow("html") << "html"
                          << "SynMultiSynHTML";
    QTest::newRow("dot and capitals") << ".HTML"
                                      << "SynMultiSynHTML";
    QTest::newRow("htm") << "htm"
                         << "SynMultiSynHTML";
    QTest::newRow("PHP capitals") << "PHP"
                                  << "SynMultiSynPHP";
    QTest::newRow("inc") << "inc"
                         << "SynMultiSynPHP";
    QTest::newRow("asp") << "asa"
                         << "SynMultiSynASP";
    QTest::newRow("css") << "css"
                         << "SynCssSyn1";
    QTest::newRow("xsl") << "xsl"
                         << "SynXMLSyn1";
    QTest::newRow("perl module") << "pm"
                                 << "SynPerlSyn1";
    QTest::newRow("vbs") << "vbs"
                         << "SynVBScriptSyn1";
    QTest::newRow("sql") << "sql"
                         << "SynSQLSyn1";
    QTest::newRow("text") << "txt"
                          << "";
    QTest::newRow("none") << ""
                          << "";
    QTest::newRow("star") << "*"
                          << "";
    QTest::newRow("prefix only") << "ht"
                                 << "";
}

void TestDocumentTypes::extension() {
    QFETCH(QString, extension);
    QFETCH(QString, object);
    DocumentTypes types;
    const int index = HighlighterForExtension(types, extension);
    QCOMPARE(index < 0 ? QString() : types.entry(index).objectName, object);
}

void TestDocumentTypes::changedExtensionList() {
    const QString ini = m_dir.filePath("extensions.ini");
    {
        SettingsStore store(ini);
        store.writeString("Highlighters", "Document HTML", "Fichiers HTML|*.htm;*.xhtml");
        store.writeString("Highlighters", "PHP", "");
        store.sync();
    }
    SettingsStore store(ini);
    DocumentTypes types;
    LoadHighlighterSettings(types, store);
    QCOMPARE(HighlighterForExtension(types, "xhtml"), int(DocumentTypes::SynMultiSynHTML));
    QCOMPARE(HighlighterForExtension(types, "html"), -1);
    QCOMPARE(types.entry(DocumentTypes::SynHTMLSyn1).filter,
             QString("Fichiers HTML|*.htm;*.xhtml"));
    // An empty value keeps the built-in filter.
    QCOMPARE(HighlighterForExtension(types, "php"), int(DocumentTypes::SynMultiSynPHP));
    // "*.*" in a list matches nothing.
    types.entry(DocumentTypes::SynSQLSyn1).filter = "Tout|*.*";
    QCOMPARE(HighlighterForExtension(types, "sql"), -1);
}

void TestDocumentTypes::defaultExtension_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no extension") << "/tmp/page"
                                  << "/tmp/page.htm";
    QTest::newRow("extension") << "/tmp/page.css"
                               << "/tmp/page.css";
    QTest::newRow("dotted folder") << "/tmp/site.d/page"
                                   << "/tmp/site.d/page.htm";
    QTest::newRow("trailing dot") << "/tmp/page."
                                  << "/tmp/page.htm";
}

void TestDocumentTypes::defaultExtension() {
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QCOMPARE(WithDefaultExtension(typed, DefaultExtension), saved);
}

void TestDocumentTypes::colourKeysRoundTrip() {
    const QString ini = m_dir.filePath("colours.ini");
    DocumentTypes types;
    Highlighter *css = types.highlighter(DocumentTypes::SynCssSyn1);
    const int property = css->categoryIndex("Propriété");
    css->setAttribute(
        property, {TextColour::rgb(1, 2, 3), TextColour::windowText(), StyleBold | StyleUnderline});
    {
        SettingsStore store(ini);
        SaveHighlighterSettings(types, store);
        store.sync();
        // The layout the store keeps.
        QCOMPARE(store.readString("Highlighters", "Feuille de style", ""),
                 QString("Feuilles de style (*.css)|*.css"));
        QCOMPARE(store.readInteger("Highlighters\\Feuille de style\\Propriété", "Foreground", 0),
                 0x030201);
        QCOMPARE(quint32(store.readInteger("Highlighters\\Feuille de style\\Propriété",
                                           "Background", 0)),
                 0x80000008u);
        QCOMPARE(store.readInteger("Highlighters\\Feuille de style\\Propriété", "Style", 0), 5);
        QCOMPARE(store.readInteger("Highlighters\\Document HTML\\Identificateur", "Foreground", 0),
                 0x0000FF);
        QCOMPARE(quint32(store.readInteger("Highlighters\\Document HTML\\Texte", "Background", 0)),
                 0x80000005u);
        QCOMPARE(store.readInteger("Highlighters\\VBScript\\Commentaire", "Foreground", 0),
                 0x008000);
        QStringList colourKeys;
        for (const QString &sub : store.subSections("Highlighters"))
            colourKeys << sub;
        QCOMPARE(colourKeys.size(), 8);
        for (const char *name : {"Document HTML", "Document XML", "Feuille de style", "JavaScript",
                                 "VBScript", "PHP", "Perl", "SQL"})
            QVERIFY2(colourKeys.contains(QString::fromUtf8(name)), name);
        QCOMPARE(store.valueNames("Highlighters").size(), 9); // one filter per type
    }
    // Read back through another file: a second store on the same file would be cached.
    const QString copy = m_dir.filePath("colours-copy.ini");
    QVERIFY(QFile::copy(ini, copy));
    SettingsStore store(copy);
    DocumentTypes fresh;
    LoadHighlighterSettings(fresh, store);
    for (int i = 0; i < types.count(); ++i) {
        QCOMPARE(fresh.entry(i).filter, types.entry(i).filter);
        QCOMPARE(fresh.highlighter(i)->attributes() == types.highlighter(i)->attributes(), true);
    }
    QCOMPARE(fresh.highlighter(DocumentTypes::SynCssSyn1)->attribute(property).foreground,
             TextColour::rgb(1, 2, 3));
}

void TestDocumentTypes::missingValuesKeepColours() {
    const QString ini = m_dir.filePath("partial.ini");
    {
        SettingsStore store(ini);
        store.writeInteger("Highlighters\\JavaScript\\Mot réservé", "Foreground", 0x00FF00);
        store.writeInteger("Highlighters\\Document HTML\\Commentaire", "Style", StyleItalic);
        store.sync();
    }
    SettingsStore store(ini);
    DocumentTypes types;
    QSignalSpy changed(types.highlighter(DocumentTypes::SynJScriptSyn1),
                       &Highlighter::attributesChanged);
    LoadHighlighterSettings(types, store);
    QCOMPARE(changed.count(), 1);
    const Highlighter *js = types.highlighter(DocumentTypes::SynJScriptSyn1);
    const int reserved = js->categoryIndex("Mot réservé");
    QCOMPARE(js->attribute(reserved).foreground, TextColour::rgb(0, 255, 0));
    QCOMPARE(js->attribute(reserved).background, TextColour::window());
    QCOMPARE(js->attribute(reserved).style, js->defaultAttribute(reserved).style);
    const Highlighter *html = types.highlighter(DocumentTypes::SynHTMLSyn1);
    const int comment = html->categoryIndex("Commentaire");
    QCOMPARE(html->attribute(comment).foreground, TextColour::rgb(128, 128, 128));
    QCOMPARE(html->attribute(comment).style, int(StyleItalic));
}

void TestDocumentTypes::resetSuppressesColourSaving() {
    const QString ini = m_dir.filePath("reset.ini");
    SettingsStore store(ini);
    DocumentTypes types;
    SaveHighlighterSettings(types, store);
    QVERIFY(store.sectionExists("Highlighters\\SQL\\Mot réservé"));

    types.resetColours(store);
    QVERIFY(types.coloursReset());
    QVERIFY(!store.sectionExists("Highlighters\\SQL\\Mot réservé"));
    QVERIFY(!store.sectionExists("Highlighters\\Document HTML\\Commentaire"));
    // The filters are values of the same names and stay.
    QCOMPARE(store.readString("Highlighters", "SQL", ""), QString("Fichiers SQL (*.sql)|*.sql"));

    types.highlighter(DocumentTypes::SynSQLSyn1)->setAttribute(0, {TextColour::rgb(9, 9, 9)});
    types.entry(DocumentTypes::SynSQLSyn1).filter = "SQL|*.sql;*.ddl";
    SaveHighlighterSettings(types, store);
    QVERIFY(!store.sectionExists("Highlighters\\SQL\\Commentaire"));
    QCOMPARE(store.readString("Highlighters", "SQL", ""), QString("SQL|*.sql;*.ddl"));
}

QTEST_GUILESS_MAIN(TestDocumentTypes)
#include "tst_document_types.moc"
