#pragma once

#include "assist/page_checker.h"

#include <QDockWidget>
#include <QPointer>

class QLabel;
class QTreeWidget;
class TMyMwCustomEdit;

// The dockable "Vérification" panel: the active document's findings, one row
// each (line, column, message); a click puts the caret on the place.
class PageCheckPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit PageCheckPanel(QWidget *parent);

    // The findings of `editor`'s text (null: no page is checked).
    void setResult(TMyMwCustomEdit *editor, const PageCheck::Result &result);
    void showNotChecked(const QString &why);
    int rowCount() const;
    // Goes to the place of row `row`.
    void goTo(int row);

private:
    QTreeWidget *m_list;
    QLabel *m_summary;
    QPointer<TMyMwCustomEdit> m_editor;
};

// "3 problèmes", "1 problème", "Aucun problème".
QString FindingCountText(const PageCheck::Result &result);
