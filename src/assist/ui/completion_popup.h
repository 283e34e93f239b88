#pragma once

#include "assist/completion.h"

#include <QFrame>

class QListWidget;

// The borderless list the completion shows beside the caret. It never takes the
// focus: the editor keeps the keys and the completion module steers the list.
class CompletionPopup : public QFrame {
    Q_OBJECT
public:
    explicit CompletionPopup(QWidget *parent = nullptr);

    void setList(const Completion::List &list);
    // Selects a row and scrolls to it; rowChanged is emitted when it differs.
    void selectRow(int row);
    int selectedRow() const;
    int rowCount() const;
    // Moves the selection by `delta` rows (a page: the rows shown).
    void moveSelection(int delta);
    int visibleRows() const { return m_visibleRows; }
    void showAt(const QPoint &globalTopLeft, int lineHeight);
    QListWidget *listWidget() const { return m_listWidget; }

signals:
    void rowChanged(int row);
    void rowActivated(int row);

private:
    QListWidget *m_listWidget;
    int m_visibleRows = 10;
    int m_lastRow = -1;
};
