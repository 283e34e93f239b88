#pragma once

#include "authoring/list_markup.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class UpDown;

// The list dialog: the list type, its items, and how many to write. It only gathers
// values; the command turns them into markup.
class TListes_Boite : public QDialog {
    Q_OBJECT
public:
    static const QString HelpPage;

    explicit TListes_Boite(QWidget *parent = nullptr);

    // Set by the command before showing: the page to show and the items (which
    // replace any earlier ones).
    void setKind(Authoring::ListKind kind);
    void setItems(const QStringList &items);

    // Read after OK.
    Authoring::ListValues values() const;
    QStringList items() const;

    // Runs at each showing: empties the entry, leaves edit mode, sorts when sorting is
    // still on, and sets the count to the number of items.
    void prepareForShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    int selectedRow() const;
    void selectRow(int row);
    void addOrModify();
    void deleteSelected();
    void moveSelected(int delta);
    void editToggled(bool down);
    void selectionChanged();
    void sortItems();
    void itemsChanged();
    void updateButtons();

    QTabWidget *m_pages;
    QButtonGroup *m_typeGroups[3];
    QLineEdit *m_entry;
    QPushButton *m_add;
    QListWidget *m_list;
    QPushButton *m_delete;
    QToolButton *m_upButton;
    QToolButton *m_downButton;
    QPushButton *m_edit;
    QCheckBox *m_sort;
    QLineEdit *m_count;
    UpDown *m_countUpDown;
};
