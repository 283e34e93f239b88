#include "app/ui/accessible_names.h"
#include "app/ui/action_registry.h"
#include "shell/ui/main_form.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// What the accessibility layer tells a screen reader, not just the property.
QString spokenName(QWidget *w) {
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

QString groupTitleOf(const QWidget *w) {
    for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (auto *g = qobject_cast<const QGroupBox *>(p))
            return g->title().remove(QLatin1Char('&')).remove(QLatin1Char(':')).trimmed();
    return {};
}

QString describe(const QWidget *w) {
    return QStringLiteral("%1 %2 (%3) in \"%4\"")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
             w->parentWidget() ? w->parentWidget()->objectName() : QString(),
             w->window()->windowTitle());
}

// Fields a reader names by their name. (A drop-down list is read by its value and the
// label that points to it.)
bool isField(const QWidget *w) {
    if (auto *combo = qobject_cast<const QComboBox *>(w)) return combo->isEditable();
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QTextEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w);
}

// The controls of `window` a user reaches that have no name, or only their group box's,
// and fields that share one name (each field is named by its own label).
QStringList unnamedControls(QWidget *window) {
    QStringList faults;
    QHash<QString, QStringList> fields;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !AccessibleNames::needsName(w) || !w->isVisibleTo(window))
            continue;
        if (isField(w) && !spokenName(w).isEmpty()) fields[spokenName(w)] << describe(w);
        // An editable drop-down's text field is what a screen reader reads as one types.
        if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit() &&
                                                        spokenName(combo->lineEdit()).isEmpty())
            faults << QStringLiteral("no name: text field of ") + describe(w);
        QString name = spokenName(w);
        const QString group = groupTitleOf(w);
        const auto *button = qobject_cast<QAbstractButton *>(w);
        if (name.isEmpty())
            faults << QStringLiteral("no name: ") + describe(w);
        else if (!group.isEmpty() && name.remove(QLatin1Char(':')).trimmed() == group &&
                 !(button && button->text().remove(QLatin1Char('&')).contains(group)))
            faults << QStringLiteral("group box name \"%1\": ").arg(group) + describe(w);
    }
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        if (it.value().size() > 1)
            faults << QStringLiteral("shared name \"%1\": ").arg(it.key()) +
                          it.value().join(QStringLiteral(", "));
    return faults;
}
} // namespace

class TstAccessibleNames : public QObject {
    Q_OBJECT
private slots:
    // First: the main window installs the naming itself, nothing here does it for it.
    void everyWindowAndDialogIsNamed();
    void nameChosen_data();
    void nameChosen();
};

// One control in a small dialog built the way the program's dialogs are.
void TstAccessibleNames::nameChosen_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("expectedName");
    QTest::addColumn<QString>("expectedDescription");

    QTest::newRow("picture button takes its hint") << "pictureButton"
                                                   << "Puce ronde"
                                                   << "";
    QTest::newRow("arrow button without hint") << "arrowUp"
                                               << "Monter"
                                               << "";
    QTest::newRow("browse button showing only dots") << "dots"
                                                     << "Parcourir"
                                                     << "";
    QTest::newRow("browse button with hint") << "dotsHint"
                                             << "Choisir un fichier"
                                             << "";
    QTest::newRow("caption button keeps its caption, hint as description") << "captionButton"
                                                                           << "Ajouter"
                                                                           << "Ajoute un élément";
    QTest::newRow("buddy label, mnemonic and colon removed") << "buddy"
                                                             << "Largeur"
                                                             << "";
    QTest::newRow("grid label to the left, inside a group box") << "gridInGroup"
                                                                << "Texte"
                                                                << "";
    QTest::newRow("form row label") << "formRow"
                                    << "Hauteur"
                                    << "";
    QTest::newRow("box label before the field") << "boxLabel"
                                                << "Valeur"
                                                << "";
    QTest::newRow("list in a group box with a hint: hint, not the group title")
        << "listInGroup"
        << "Liste des éléments"
        << "";
    QTest::newRow("group box title given as name is replaced") << "groupNamed"
                                                               << "Liste des éléments"
                                                               << "";
    QTest::newRow("a name set by the dialog is kept") << "explicit"
                                                      << "Nom choisi"
                                                      << "";
    QTest::newRow("rich text hint is read as text") << "richHint"
                                                    << "Gras"
                                                    << "";
    QTest::newRow("picture button: name follows a new hint") << "hintChanged"
                                                             << "Paramétrer la session"
                                                             << "";
    QTest::newRow("caption button: description follows a new hint")
        << "descriptionChanged"
        << "Ajouter"
        << "Ajoute une ligne";
    QTest::newRow("editable drop-down and its text field") << "editableCombo"
                                                           << "Chercher"
                                                           << "";
}

void TstAccessibleNames::nameChosen() {
    QFETCH(QString, layout);
    QFETCH(QString, expectedName);
    QFETCH(QString, expectedDescription);

    QDialog dialog;
    auto *outer = new QVBoxLayout(&dialog);
    QWidget *control = nullptr;
    auto *group = new QGroupBox(QStringLiteral(" Eléments "), &dialog);
    outer->addWidget(group);
    auto *inGroup = new QVBoxLayout(group);
    if (layout == QLatin1String("pictureButton")) {
        auto *b = new QToolButton(group);
        b->setToolTip(QStringLiteral("Puce ronde"));
        b->setIcon(QIcon(QPixmap(16, 16)));
        inGroup->addWidget(control = b);
    } else if (layout == QLatin1String("arrowUp")) {
        auto *b = new QToolButton(group);
        b->setArrowType(Qt::UpArrow);
        inGroup->addWidget(control = b);
    } else if (layout == QLatin1String("dots") || layout == QLatin1String("dotsHint")) {
        auto *b = new QPushButton(QStringLiteral("..."), group);
        if (layout == QLatin1String("dotsHint"))
            b->setToolTip(QStringLiteral("Choisir un fichier"));
        inGroup->addWidget(control = b);
    } else if (layout == QLatin1String("captionButton")) {
        auto *b = new QPushButton(QStringLiteral("&Ajouter"), group);
        b->setToolTip(QStringLiteral("Ajoute un élément"));
        inGroup->addWidget(control = b);
    } else if (layout == QLatin1String("buddy")) {
        auto *label = new QLabel(QStringLiteral("&Largeur :"), &dialog);
        auto *spin = new QSpinBox(group);
        label->setBuddy(spin);
        outer->addWidget(label);
        inGroup->addWidget(control = spin);
    } else if (layout == QLatin1String("gridInGroup")) {
        auto *grid = new QGridLayout;
        inGroup->addLayout(grid);
        grid->addWidget(new QLabel(QStringLiteral("Texte:"), group), 0, 0);
        grid->addWidget(control = new QLineEdit(group), 0, 1);
    } else if (layout == QLatin1String("formRow")) {
        auto *form = new QFormLayout;
        inGroup->addLayout(form);
        form->addRow(new QLabel(QStringLiteral("Hauteur"), group), control = new QLineEdit(group));
    } else if (layout == QLatin1String("boxLabel")) {
        auto *row = new QHBoxLayout;
        inGroup->addLayout(row);
        row->addWidget(new QLabel(QStringLiteral("Valeur"), group));
        row->addWidget(control = new QLineEdit(group));
    } else if (layout == QLatin1String("listInGroup") || layout == QLatin1String("groupNamed")) {
        auto *list = new QListWidget(group);
        list->setToolTip(QStringLiteral("Liste des éléments"));
        if (layout == QLatin1String("groupNamed"))
            list->setAccessibleName(QStringLiteral(" Eléments "));
        inGroup->addWidget(control = list);
    } else if (layout == QLatin1String("explicit")) {
        auto *edit = new QLineEdit(group);
        edit->setAccessibleName(QStringLiteral("Nom choisi"));
        inGroup->addWidget(control = edit);
    } else if (layout == QLatin1String("hintChanged")) {
        auto *b = new QToolButton(group);
        b->setToolTip(QStringLiteral("Paramétrer une nouvelle session"));
        b->setIcon(QIcon(QPixmap(16, 16)));
        inGroup->addWidget(control = b);
    } else if (layout == QLatin1String("descriptionChanged")) {
        auto *b = new QPushButton(QStringLiteral("&Ajouter"), group);
        b->setToolTip(QStringLiteral("Ajoute un élément"));
        inGroup->addWidget(control = b);
    } else if (layout == QLatin1String("editableCombo")) {
        auto *label = new QLabel(QStringLiteral("&Chercher :"), &dialog);
        auto *combo = new QComboBox(group);
        combo->setEditable(true);
        label->setBuddy(combo);
        outer->addWidget(label);
        inGroup->addWidget(control = combo);
    } else if (layout == QLatin1String("richHint")) {
        auto *b = new QToolButton(group);
        b->setToolTip(QStringLiteral("<b>Gras</b>"));
        inGroup->addWidget(control = b);
    }
    QVERIFY(control);
    AccessibleNames::install();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // Hints that change once the dialog is up, as a button's does when what it will
    // do changes.
    if (layout == QLatin1String("hintChanged"))
        control->setToolTip(QStringLiteral("Paramétrer la session"));
    else if (layout == QLatin1String("descriptionChanged"))
        control->setToolTip(QStringLiteral("Ajoute une ligne"));
    QCOMPARE(spokenName(control), expectedName);
    if (auto *combo = qobject_cast<QComboBox *>(control))
        QCOMPARE(spokenName(combo->lineEdit()), expectedName);
    if (!expectedDescription.isEmpty())
        QCOMPARE(control->accessibleDescription(), expectedDescription);
    QVERIFY2(unnamedControls(&dialog).isEmpty(), qPrintable(unnamedControls(&dialog).join('\n')));
}

// Opens the main window on a page, triggers every action that may show a dialog or a
// window, and checks every control of every window and dialog that comes up.
void TstAccessibleNames::everyWindowAndDialogIsNamed() {
    MainFormFixture f;
    const QString page = f.writeFile(
        QStringLiteral("page.htm"), "<html><head><title>t</title></head>\r\n<body>\r\n<ul>\r\n"
                                    "<li>un</li>\r\n</ul>\r\n<table><tr><td>a</td></tr></table>\r\n"
                                    "</body></html>\r\n");
    f.ui.openAnswers << QStringList{page};
    f.form->actions()->action(QStringLiteral("FileOpen"))->trigger();
    QApplication::processEvents();

    QStringList faults;
    QSet<QString> seenDialogs;
    f.ui.onDialog = [&](QDialog *dialog) {
        dialog->show();
        QApplication::processEvents();
        seenDialogs << QString::fromLatin1(dialog->metaObject()->className());
        faults << unnamedControls(dialog);
        // A dialog opened from inside this one.
        if (dialog->objectName() == QLatin1String("TOpenFTPBox"))
            dialog->findChild<QToolButton *>(QStringLiteral("BoutNouvelleSession"))->click();
        dialog->hide();
        return false;
    };
    faults << unnamedControls(f.form.get());

    // Actions that leave the program, start another, or load the browser engine.
    const QStringList skipped{
        "MenuQuitter",  "FileNewInstance", "FileClose", "FileCloseAll", "OutilsBarreNavigateur",
        "OutilsTester", "NavPrec",         "NavSuiv",   "NavStop",      "NavReload",
        "EditOnTop"};
    int triggered = 0;
    const QList<QAction *> actions = f.form->actions()->actions();
    for (QAction *action : actions) {
        if (skipped.contains(action->objectName()) || action->menu()) continue;
        f.form->actions()->runUpdates();
        if (!action->isEnabled()) continue;
        action->trigger();
        ++triggered;
        QApplication::processEvents();
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || top == f.form.get()) continue;
            faults << unnamedControls(top);
            seenDialogs << QString::fromLatin1(top->metaObject()->className());
            top->hide();
        }
        if (action->isCheckable() && action->isChecked() != false &&
            action->objectName().startsWith(QLatin1String("Edit")))
            action->trigger(); // back to how it was
    }
    faults.removeDuplicates();
    // The whole list, which a failure message would cut short.
    for (const QString &fault : std::as_const(faults))
        qInfo("%s", qPrintable(fault));
    qInfo("%d actions triggered, %d kinds of dialog and window checked", triggered,
          int(seenDialogs.size()));
    QVERIFY2(triggered > 20, "too few actions reached");
    QVERIFY2(seenDialogs.size() >= 10, qPrintable(QStringList(seenDialogs.values()).join(", ")));
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TstAccessibleNames)
#include "tst_accessible_names.moc"
