#pragma once

#include <QDialog>

class QRadioButton;

// Where the accent conversion applies.
enum class AccentScope { Selection, Document, AllDocuments };

// The conversion dialog: the scope of a conversion or deconversion of accents.
class TAccentsConvBoite : public QDialog {
    Q_OBJECT
public:
    explicit TAccentsConvBoite(QWidget *parent = nullptr);

    // Title per direction; the selection is offered first when there is one.
    void prepare(bool toReferences, bool hasSelection);
    AccentScope scope() const;

private:
    QRadioButton *m_selection;
    QRadioButton *m_document;
    QRadioButton *m_all;
};
