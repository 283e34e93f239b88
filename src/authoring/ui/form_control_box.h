#pragma once

#include "authoring/form_markup.h"

#include <QDialog>
#include <QGroupBox>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class UpDown;

// What the form control dialogs share: the " Nom identificateur " group, the
// OK/Annuler/Aide buttons and the check of a required name at OK.
class FormControlBox : public QDialog {
    Q_OBJECT
public:
    // The name as typed (the markup removes its spaces).
    QString name() const;

protected:
    // `help` opens the dialog's help page.
    FormControlBox(const QString &objectName, const QString &title, std::function<void()> help,
                   QWidget *parent);

    // Where each dialog puts its own controls, below the name.
    QVBoxLayout *body() const { return m_body; }
    QPushButton *okButton() const { return m_ok; }
    // Whether OK refuses an empty name.
    virtual bool nameRequired() const { return true; }
    void showEvent(QShowEvent *event) override;

    QLineEdit *m_name;

private:
    void confirm();

    QVBoxLayout *m_body;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QPushButton *m_help;
    bool m_tabOrderSet = false;
};

// A digits-only entry field with its arrow buttons, and a label before it.
struct NumberField {
    QLabel *label;
    QLineEdit *edit;
    UpDown *upDown;
};
NumberField makeNumberField(QWidget *parent, const QString &label, const char *name, int minimum,
                            int maximum, int maxDigits, const QString &text);

// The item list shared by the radio, check box, drop-down and list dialogs (group
// " Elément "): an entry field, "Ajouter" (the dialog's default button), the list,
// "Supprimer" and the two arrows. The radio and check box dialogs list their items
// with a check box each and add "Case cochée par défaut".
class ItemListEditor : public QGroupBox {
    Q_OBJECT
public:
    enum Checks { NoChecks, SingleCheck, ManyChecks };
    ItemListEditor(Checks checks, QWidget *parent);

    const Authoring::ItemList &items() const { return m_model; }
    void setDefaultChoice(int row);
    QPushButton *addButton() const { return m_add; }

signals:
    // After every add, delete and move.
    void itemsChanged();

private:
    void add();
    void removeCurrent();
    void move(bool up);
    void itemChecked(QListWidgetItem *item);
    void refresh();
    void updateButtons();

    Authoring::ItemList m_model;
    bool m_checks;
    QLineEdit *m_entry;
    QPushButton *m_add;
    QListWidget *m_list;
    QPushButton *m_delete;
    QToolButton *m_up;
    QToolButton *m_down;
    QCheckBox *m_checkNew = nullptr;
    bool m_refreshing = false;
};
