#pragma once

#include "authoring/table_markup.h"

#include <QColor>
#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class UpDown;

// The table dialog. Created for each use, it writes the cells typed in it straight
// into the store it is given, which the command keeps for the whole run.
class TTab_Boite : public QDialog {
    Q_OBJECT
public:
    using ColourPicker = std::function<std::optional<QColor>(const QColor &initial)>;

    explicit TTab_Boite(Authoring::CellStore &cells, QWidget *parent = nullptr);

    // Replaces the standard colour dialog (tests).
    void setColourPicker(ColourPicker picker) { m_picker = std::move(picker); }

    Authoring::TableValues values() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Authoring::CellPos currentCell() const;
    void showCurrentCell();
    void storeAndMoveOn();
    void resetAll();
    void countChanged();
    void fixCount(QLineEdit *field);
    void chooseColour();
    void colourTextChanged(const QString &text);
    void confirm();

    Authoring::CellStore &m_cells;
    QLineEdit *m_rows;
    QLineEdit *m_columns;
    QLineEdit *m_border;
    QLineEdit *m_spacing;
    QLineEdit *m_padding;
    QLineEdit *m_width;
    QCheckBox *m_widthPercent;
    QLineEdit *m_height;
    QCheckBox *m_heightPercent;
    QLineEdit *m_colour;
    QToolButton *m_colourButton;
    QRadioButton *m_align[3];
    QLineEdit *m_caption;
    QLineEdit *m_row;
    UpDown *m_rowUpDown;
    QLineEdit *m_column;
    UpDown *m_columnUpDown;
    QLineEdit *m_cell;
    ColourPicker m_picker;
};
