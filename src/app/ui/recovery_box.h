#pragma once

#include <QDateTime>
#include <QDialog>
#include <QList>

class QCheckBox;
class QTreeWidget;

// A document found in the journal of a run that did not end.
struct RecoveryItem {
    QString name; // file name, or the untitled tab's caption
    QDateTime written;
    qint64 size = 0;
};

struct RecoveryChoice {
    QList<bool> restore;         // per item, in the order given
    bool deleteDeclined = false; // the user asked to throw the others away
};

// Lists the documents found and lets the user choose which come back.
class TRecuperationBox : public QDialog {
    Q_OBJECT
public:
    TRecuperationBox(const QList<RecoveryItem> &items, QWidget *parent = nullptr);
    RecoveryChoice choice() const;

private:
    QTreeWidget *m_list;
    QCheckBox *m_delete;
};
