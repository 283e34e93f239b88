// The new-document wizard, the template commands, page properties and frames through
// a real main window.
#include "app/document_types.h"
#include "app/templates.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "app/ui/new_box.h"
#include "app/ui/outside_change_check.h"
#include "authoring/ui/cadres_box.h"
#include "authoring/ui/proprietes_box.h"
#include "app/ui/help.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

QListWidgetItem *item(QDialog *d, const char *list, const QString &text) {
    const auto found =
        d->findChild<QListWidget *>(QLatin1String(list))->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

QStringList captions(QDialog *d, const char *list) {
    QStringList l;
    const QListWidget *w = d->findChild<QListWidget *>(QLatin1String(list));
    for (int i = 0; i < w->count(); ++i)
        l << w->item(i)->text();
    return l;
}

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestNewDocument : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void tenKinds_data();
    void tenKinds();
    void cancelChangesNothing();
    void templateRoundTrip();
    void overwriteNeedsYes();
    void failedTemplateWriteKeepsTheDocument();
    void savedTemplateIsNoOutsideChange();
    void renameInTheList();
    void pagePropertiesOnAPage();
    void pagePropertiesFailureSaysSo();
    void pagePropertiesUntouched();
    void framesReplaceOnlyWhenAgreed();
    void newFramesDocument();
    void helpButtons();
    void wizardKey();

private:
    TMyMwCustomEdit *editor() { return f->form->documents()->ActiveEditor(); }
    void trigger(const char *name) { f->form->actions()->action(QLatin1String(name))->trigger(); }
    int typeOf(TMyMwCustomEdit *e) { return f->form->documentTypes()->highlighterOf(e); }
    QString folder() const { return Templates::folder(); }

    QTemporaryDir m_data;
    std::unique_ptr<MainFormFixture> f;
};

void TestNewDocument::initTestCase() {
    // The user's data folder, templates included, lives in the test's own folder.
    qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
}

void TestNewDocument::init() {
    QDir(folder()).removeRecursively();
    f = std::make_unique<MainFormFixture>();
}

void TestNewDocument::cleanup() {
    f.reset();
}

void TestNewDocument::tenKinds_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text"); // what the new document starts with
    using T = DocumentTypes;
    QTest::newRow("texte") << 0 << "Texte" << int(T::SynGeneralSyn1) << "";
    QTest::newRow("html")
        << 1 << "HTML" << int(T::SynMultiSynHTML)
        << "<html>\r\n<head>\r\n<title>Accueil</title>\r\n</head>\r\n<body>\r\n\r\n"
           "</body>\r\n</html>\r\n";
    QTest::newRow("cadres") << 2 << "HTML avec cadres" << int(T::SynMultiSynHTML)
                            << "<html>\r\n<head>\r\n</head>\r\n<frameset cols=\"200,*\">\r\n";
    QTest::newRow("css") << 3 << "Feuille de style" << int(T::SynCssSyn1) << "";
    QTest::newRow("js") << 4 << "JavaScript" << int(T::SynJScriptSyn1) << "";
    QTest::newRow("vbs") << 5 << "VBScript" << int(T::SynVBScriptSyn1) << "";
    QTest::newRow("php") << 6 << "PHP" << int(T::SynMultiSynPHP) << "";
    QTest::newRow("asp") << 7 << "ASP" << int(T::SynMultiSynASP) << "";
    QTest::newRow("perl") << 8 << "Perl" << int(T::SynPerlSyn1) << "";
    QTest::newRow("sql") << 9 << "SQL" << int(T::SynSQLSyn1) << "";
}

void TestNewDocument::tenKinds() {
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(int, type);
    QFETCH(QString, text);
    QStringList seen;
    f->ui.onDialog = [&](QDialog *d) {
        if (auto *box = qobject_cast<TNewBox *>(d)) {
            const QStringList shown = captions(d, "LView");
            seen = shown;
            // OK waits for a choice.
            if (d->findChild<QPushButton *>(QStringLiteral("BoutOk"))->isEnabled()) return false;
            box->findChild<QListWidget *>(QStringLiteral("LView"))->setCurrentRow(kind);
            return d->findChild<QPushButton *>(QStringLiteral("BoutOk"))->isEnabled();
        }
        if (qobject_cast<TProprietesBox *>(d)) {
            d->findChild<QLineEdit *>(QStringLiteral("EditTitre"))
                ->setText(QStringLiteral("Accueil"));
            d->findChild<QCheckBox *>(QStringLiteral("Checkgen"))->setChecked(false);
            return true;
        }
        if (auto *frames = qobject_cast<TBoiteCadres *>(d)) {
            frames->next();
            frames->next();
            frames->next();
            return frames->result() == QDialog::Accepted;
        }
        return false;
    };
    TMyMwCustomEdit *before = editor();
    trigger("FileNewWizard");
    QCOMPARE(seen.value(kind), caption);
    QCOMPARE(seen.size(), 10);
    TMyMwCustomEdit *e = editor();
    QVERIFY(e != before);
    QVERIFY(e->fileName.isEmpty());
    QCOMPARE(typeOf(e), type);
    if (text.isEmpty())
        QCOMPARE(e->textCrLf(), QString());
    else
        QVERIFY2(e->textCrLf().startsWith(text), qPrintable(e->textCrLf()));
    QCOMPARE(f->ui.messages.size(), 0);
}

void TestNewDocument::cancelChangesNothing() {
    const int count = f->form->documents()->EditorCount();
    f->ui.onDialog = [](QDialog *) { return false; };
    for (const char *name :
         {"FileNewWizard", "FileModeleNew", "FileModeleSave", "FileModeleModifier"})
        trigger(name);
    QCOMPARE(f->form->documents()->EditorCount(), count);
    QCOMPARE(editor()->documentKind, int(KindOrdinary));
    QVERIFY(editor()->fileName.isEmpty());
}

void TestNewDocument::templateRoundTrip() {
    const QString page = f->writeFile(QStringLiteral("page.html"), "<p>Mon modèle</p>\r\n");
    f->form->documents()->OpenDocument(page, true);

    // Save as template, under another name.
    f->ui.onDialog = [&](QDialog *d) {
        auto *name = d->findChild<QLineEdit *>(QStringLiteral("EditFilename"));
        if (!name || name->text() != QLatin1String("page.html")) return false;
        // The shipped templates are there from the first use.
        if (captions(d, "LVModeles").size() != 4) return false;
        if (d->findChild<QPushButton *>(QStringLiteral("BoutOk"))->text() !=
            QLatin1String("Enregistrer"))
            return false;
        name->setText(QStringLiteral("essai.html"));
        d->accept();
        return d->result() == QDialog::Accepted;
    };
    trigger("FileModeleSave");
    const QString saved = QDir(folder()).filePath(QStringLiteral("essai.html"));
    QCOMPARE(fileBytes(saved), QByteArray("<p>Mon modèle</p>\r\n"));
    QCOMPARE(editor()->documentKind, int(KindTemplate));
    QCOMPARE(QFileInfo(editor()->fileName), QFileInfo(saved));
    QVERIFY2(f->form->windowTitle().contains(QStringLiteral("Modèle : essai.html")),
             qPrintable(f->form->windowTitle()));
    QVERIFY(!f->form->documents()->recentFiles().items().contains(QDir::toNativeSeparators(saved)));

    // Create a document from it.
    f->ui.onDialog = [&](QDialog *d) {
        auto *pages = d->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
        if (pages->tabText(pages->currentIndex()) != QStringLiteral("Modèles")) return false;
        QListWidgetItem *it = item(d, "LVModeles", QStringLiteral("essai.html"));
        if (!it) return false;
        it->setSelected(true);
        return true;
    };
    trigger("FileModeleNew");
    QVERIFY(editor()->fileName.isEmpty());
    QCOMPARE(editor()->textCrLf(), QStringLiteral("<p>Mon modèle</p>\r\n"));
    QCOMPARE(editor()->documentKind, int(KindOrdinary));
    QCOMPARE(typeOf(editor()), int(DocumentTypes::SynMultiSynHTML));
    QVERIFY(editor()->isModified());

    // Open it to change it; Save goes through Save as.
    f->ui.onDialog = [&](QDialog *d) {
        if (d->findChild<QPushButton *>(QStringLiteral("BoutOk"))->text() !=
            QLatin1String("Ouvrir"))
            return false;
        if (d->findChild<QTabWidget *>(QStringLiteral("PageControl1"))->count() != 1) return false;
        item(d, "LVModeles", QStringLiteral("essai.html"))->setSelected(true);
        return true;
    };
    trigger("FileModeleModifier");
    QCOMPARE(QFileInfo(editor()->fileName), QFileInfo(saved));
    QCOMPARE(editor()->documentKind, int(KindTemplate));
    editor()->replaceAllText(QStringLiteral("<p>Modèle changé</p>\r\n"));
    f->ui.saveAnswers << saved;
    f->ui.answers << MsgAnswer::Yes; // the overwrite question of a real dialog, if any
    trigger("FileSave");
    QCOMPARE(f->ui.fileRequests.size(), 1);
    QCOMPARE(fileBytes(saved), QByteArray("<p>Modèle changé</p>\r\n"));

    // Delete it from the list.
    f->ui.answers = {MsgAnswer::Yes};
    QStringList after;
    f->ui.onDialog = [&](QDialog *d) {
        item(d, "LVModeles", QStringLiteral("essai.html"))->setSelected(true);
        d->findChild<QAction *>(QStringLiteral("SupprimerModele"))->trigger();
        after = captions(d, "LVModeles");
        return false;
    };
    trigger("FileModeleModifier");
    QVERIFY(!QFileInfo::exists(saved));
    QVERIFY(!after.contains(QStringLiteral("essai.html")));
    QCOMPARE(after.size(), 4);
    QCOMPARE(f->ui.lastMessage(), Templates::deleteQuestion(QStringLiteral("essai.html")));
}

void TestNewDocument::overwriteNeedsYes() {
    editor()->replaceAllText(QStringLiteral("nouveau"));
    bool keptOpen = false;
    f->ui.onDialog = [&](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("EditFilename"))
            ->setText(QStringLiteral("Page HTML5.html"));
        d->accept();
        keptOpen = d->result() != QDialog::Accepted;
        return !keptOpen;
    };
    f->ui.answers = {MsgAnswer::No};
    const QByteArray shipped =
        fileBytes(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/Modeles/Page HTML5.html"));
    trigger("FileModeleSave");
    QVERIFY(keptOpen);
    QCOMPARE(f->ui.lastMessage(), Templates::overwriteQuestion(QStringLiteral("Page HTML5.html")));
    QVERIFY(!shipped.isEmpty());
    QCOMPARE(fileBytes(QDir(folder()).filePath(QStringLiteral("Page HTML5.html"))), shipped);
    QVERIFY(editor()->fileName.isEmpty());
    QCOMPARE(editor()->documentKind, int(KindOrdinary));

    // A name with a folder in it is refused, in French, before anything is written.
    f->ui.onDialog = [&](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("EditFilename"))
            ->setText(QStringLiteral("../evade.html"));
        d->accept();
        return d->result() == QDialog::Accepted;
    };
    trigger("FileModeleSave");
    QCOMPARE(f->ui.lastMessage(), Templates::nameError(QStringLiteral("../evade.html")));
    QVERIFY(!QFileInfo::exists(QDir(folder()).filePath(QStringLiteral("../evade.html"))));
}

void TestNewDocument::failedTemplateWriteKeepsTheDocument() {
    const QString page = f->writeFile(QStringLiteral("garde.html"), "<p>x</p>\r\n");
    f->form->documents()->OpenDocument(page, true);
    QDir().mkpath(
        QDir(folder()).filePath(QStringLiteral("bloque.html"))); // a folder: cannot be written
    f->ui.answers = {MsgAnswer::Yes};
    f->ui.onDialog = [&](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("EditFilename"))
            ->setText(QStringLiteral("bloque.html"));
        d->accept();
        return d->result() == QDialog::Accepted;
    };
    trigger("FileModeleSave");
    QVERIFY(f->ui.messages.size() >= 2); // the overwrite question, then the failure
    QCOMPARE(QFileInfo(editor()->fileName), QFileInfo(page));
    QCOMPARE(editor()->documentKind, int(KindOrdinary));
    QCOMPARE(f->form->documents()->tabCaption(f->form->documents()->activeIndex()),
             QStringLiteral("garde.html"));
}

void TestNewDocument::savedTemplateIsNoOutsideChange() {
    const QString page = f->writeFile(QStringLiteral("page.html"), "<p>x</p>\r\n");
    f->form->documents()->OpenDocument(page, true);
    f->ui.onDialog = [&](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("EditFilename"))
            ->setText(QStringLiteral("modele.html"));
        d->accept();
        return d->result() == QDialog::Accepted;
    };
    trigger("FileModeleSave");
    QCOMPARE(editor()->documentKind, int(KindTemplate));
    // The file just written is the one the check knows: nothing to ask.
    f->form->outsideChanges()->CheckDocumentsOnDisk();
    QCOMPARE(f->ui.messages.size(), 0);
    QVERIFY(!editor()->isModified());
}

void TestNewDocument::renameInTheList() {
    QStringList after;
    f->ui.onDialog = [&](QDialog *d) {
        QListWidgetItem *css = item(d, "LVModeles", QStringLiteral("Feuille de style.css"));
        css->setSelected(true);
        d->findChild<QAction *>(QStringLiteral("RenommerModele"))->trigger();
        css->setText(QStringLiteral("style.css"));
        // A taken name is refused and the caption goes back.
        QListWidgetItem *php = item(d, "LVModeles", QStringLiteral("Page PHP.php"));
        d->findChild<QListWidget *>(QStringLiteral("LVModeles"))->clearSelection();
        php->setSelected(true);
        d->findChild<QAction *>(QStringLiteral("RenommerModele"))->trigger();
        php->setText(QStringLiteral("style.css"));
        after = captions(d, "LVModeles");
        return false;
    };
    trigger("FileModeleModifier");
    QVERIFY(QFileInfo::exists(QDir(folder()).filePath(QStringLiteral("style.css"))));
    QVERIFY(QFileInfo::exists(QDir(folder()).filePath(QStringLiteral("Page PHP.php"))));
    QVERIFY(after.contains(QStringLiteral("Page PHP.php")));
    QCOMPARE(f->ui.lastMessage(), Templates::cannotRename());
}

void TestNewDocument::pagePropertiesOnAPage() {
    const QByteArray bytes =
        "<html>\n<head>\n<title>Ancien</title>\n<meta name=\"author\" content=\"Moi\">\n"
        "</head>\n<body\nbgcolor=\"#FFFFFF\">\n<p>Texte</p>\n</body>\n</html>\n";
    f->form->documents()->OpenDocument(f->writeFile(QStringLiteral("page.html"), bytes), true);
    editor()->setCaretXY({1, 1});
    QString seenTitle;
    bool authorChecked = false;
    f->ui.onDialog = [&](QDialog *d) {
        seenTitle = d->findChild<QLineEdit *>(QStringLiteral("EditTitre"))->text();
        authorChecked = d->findChild<QCheckBox *>(QStringLiteral("Checkaut"))->isChecked();
        d->findChild<QLineEdit *>(QStringLiteral("EditTitre"))->setText(QStringLiteral("Nouveau"));
        // Typed, so the "#" is put in front; a letter is refused.
        auto *background = d->findChild<QLineEdit *>(QStringLiteral("EditBGColor"));
        background->clear();
        QTest::keyClicks(background, QStringLiteral("000000g"));
        d->findChild<QCheckBox *>(QStringLiteral("Checkaut"))->setChecked(false);
        return true;
    };
    trigger("ModifierProprietes");
    QCOMPARE(seenTitle, QStringLiteral("Ancien"));
    QVERIFY(authorChecked);
    QCOMPARE(editor()->textCrLf(),
             QStringLiteral("<html>\r\n<head>\r\n<title>Nouveau</title>\r\n</head>\r\n"
                            "<body\r\nbgcolor=\"#000000\">\r\n<p>Texte</p>\r\n"
                            "</body>\r\n</html>\r\n"));
    QCOMPARE(editor()->caretXY(), (TextPos{1, 7}));
    editor()->undo();
    QCOMPARE(editor()->text().toUtf8(), bytes);
}

void TestNewDocument::pagePropertiesFailureSaysSo() {
    const QByteArray bytes = "<html><head><title>Sans fin\n<body></body></html>\n";
    f->form->documents()->OpenDocument(f->writeFile(QStringLiteral("casse.txt"), bytes), true);
    const int plainType = typeOf(editor());
    QVERIFY(plainType != int(DocumentTypes::SynMultiSynHTML));
    f->ui.onDialog = [&](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("EditTitre"))->setText(QStringLiteral("X"));
        return true;
    };
    trigger("ModifierProprietes");
    QCOMPARE(editor()->text().toUtf8(), bytes);
    QVERIFY(!editor()->isModified());
    QCOMPARE(typeOf(editor()), plainType); // nothing changes, the type neither
    QCOMPARE(f->ui.messages.size(), 1);
    QVERIFY(f->ui.lastMessage().contains(QStringLiteral("n'a pas été modifié")));

    // Once the title is closed, the page is written and becomes an HTML document.
    editor()->replaceAllText(
        QStringLiteral("<html><head><title>Fin</title></head><body></body></html>\n"));
    trigger("ModifierProprietes");
    QCOMPARE(editor()->textCrLf(),
             QStringLiteral("<html><head><title>X</title></head><body></body></html>\r\n"));
    QCOMPARE(typeOf(editor()), int(DocumentTypes::SynMultiSynHTML));
}

// The dialog gives back what it was given: OK with nothing changed changes nothing.
void TestNewDocument::pagePropertiesUntouched() {
    const QByteArray bytes = "<html><head><title>A</title><meta name=\"generator\" content=\"\">"
                             "</head><body bgcolor=\"yellow\" text=\"darkgreen\" "
                             "vlink=\"rgb(128, 0, 128)\" alink=\"abcdef\"></body></html>\r\n";
    f->form->documents()->OpenDocument(f->writeFile(QStringLiteral("page.html"), bytes), true);
    f->ui.onDialog = [](QDialog *) { return true; };
    trigger("ModifierProprietes");
    QCOMPARE(editor()->text().toUtf8(), bytes);
    QVERIFY(!editor()->isModified());
}

void TestNewDocument::framesReplaceOnlyWhenAgreed() {
    f->form->documents()->OpenDocument(
        f->writeFile(QStringLiteral("style.css"), "p { color: red; }\n"), true);
    QCOMPARE(typeOf(editor()), int(DocumentTypes::SynCssSyn1));
    f->ui.onDialog = [](QDialog *d) {
        auto *w = qobject_cast<TBoiteCadres *>(d);
        w->selectLayout(7);
        w->next();
        w->next();
        w->next();
        return w->result() == QDialog::Accepted;
    };
    f->ui.answers = {MsgAnswer::No};
    trigger("InsertionCadres");
    QCOMPARE(editor()->textCrLf(), QStringLiteral("p { color: red; }\r\n"));
    QCOMPARE(typeOf(editor()), int(DocumentTypes::SynCssSyn1)); // the type waits for the answer

    f->ui.answers = {MsgAnswer::Yes};
    trigger("InsertionCadres");
    QVERIFY(editor()->textCrLf().contains(QStringLiteral("<frameset rows=\"150,*,150\">\r\n")));
    QVERIFY(editor()->textCrLf().contains(QStringLiteral("<noframes>\r\nVotre navigateur")));
    QCOMPARE(typeOf(editor()), int(DocumentTypes::SynMultiSynHTML));
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), QStringLiteral("p { color: red; }\r\n"));
}

// "Document avec cadres": a new untitled HTML document, the wizard run on it.
void TestNewDocument::newFramesDocument() {
    f->ui.onDialog = [](QDialog *d) {
        auto *w = qobject_cast<TBoiteCadres *>(d);
        if (!w) return false;
        w->next();
        w->next();
        w->next();
        return w->result() == QDialog::Accepted;
    };
    const int count = f->form->documents()->EditorCount();
    trigger("FileNewFrames");
    QCOMPARE(f->form->documents()->EditorCount(), count + 1);
    QVERIFY(editor()->fileName.isEmpty());
    QCOMPARE(typeOf(editor()), int(DocumentTypes::SynMultiSynHTML));
    QVERIFY2(editor()->textCrLf().contains(QStringLiteral("<frameset cols=\"200,*\">\r\n")),
             qPrintable(editor()->textCrLf()));
    QCOMPARE(f->ui.messages.size(), 0);
}

void TestNewDocument::helpButtons() {
    QStringList topics;
    setHelpHandler([&topics](const QString &t) { topics << t; });
    f->ui.onDialog = [&](QDialog *d) {
        auto *help = d->findChild<QPushButton *>(QStringLiteral("BoutAide"));
        help->click();
        if (auto *pages = d->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
            pages && qobject_cast<TProprietesBox *>(d)) {
            pages->setCurrentIndex(1);
            help->click();
        }
        return false;
    };
    trigger("ModifierProprietes");
    trigger("InsertionCadres");
    trigger("FileNewWizard");
    setHelpHandler({});
    QCOMPARE(topics, (QStringList{"Ressources/proprietes.htm", "Ressources/proprietes2.htm",
                                  "Ressources/cadres.htm", "Ressources/nouveau.htm"}));
    for (const QString &t : topics)
        QVERIFY2(QFileInfo::exists(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/") + t),
                 qPrintable(t));
}

void TestNewDocument::wizardKey() {
    bool shown = false;
    f->ui.onDialog = [&](QDialog *d) {
        shown = qobject_cast<TNewBox *>(d) != nullptr;
        return false;
    };
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(shown);
}

QTEST_MAIN(TestNewDocument)
#include "tst_new_document.moc"
