#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

// The 32x32 picture of a kind of document ("html", "css", ...; "modele" for a template).
QIcon NewDocumentIcon(const QString &name);

// "Nouveau document": the kinds of document to start (page "Général") and the
// user's templates (page "Modèles", where they can also be renamed and deleted).
class TNewBox : public QDialog {
    Q_OBJECT
public:
    enum Mode {
        NewDocument,     // both pages, "Général" first
        NewFromTemplate, // both pages, "Modèles" first
        SaveTemplate,    // the templates page with the name box, button "Enregistrer"
        OpenTemplate     // the templates page alone, button "Ouvrir"
    };
    TNewBox(QWidget *parent, Mode mode, const QString &templatesFolder, const QString &name = {});

    // After OK: the chosen kind (index in NewDocumentKinds()), or -1 when a template
    // was chosen; the template's name; the name typed in the name box.
    int chosenKind() const;
    QString chosenTemplate() const;
    QString fileName() const;

    void accept() override;
    void refreshTemplates();

private:
    bool onTemplatesPage() const;
    void updateOk();
    void templatesMenu(const QPoint &at);
    void startRename();
    void deleteTemplate();
    void renamed(QListWidgetItem *item);

    Mode m_mode;
    QString m_folder;
    QTabWidget *m_pages;
    QWidget *m_generalPage;
    QListWidget *m_kinds;
    QListWidget *m_templates;
    QLineEdit *m_name;
    QPushButton *m_ok;
    QString m_renaming; // the template's name while its caption is edited
};
