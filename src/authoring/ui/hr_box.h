#pragma once

#include "authoring/rule_markup.h"

#include <QColor>
#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class UpDown;

// The horizontal rule dialog. It only gathers values; the command turns them into
// markup (and reports a field that is not a number).
class THRBox : public QDialog {
    Q_OBJECT
public:
    static const QString HelpPage;

    // Chooses a colour starting from the given one; nothing when cancelled.
    using ColourPicker = std::function<std::optional<QColor>(const QColor &initial)>;

    explicit THRBox(QWidget *parent = nullptr);

    // Replaces the standard colour dialog (tests).
    void setColourPicker(ColourPicker picker);

    Authoring::RuleValues values() const;

    // Runs at each showing: no colour, width "100" in percent, thickness "2".
    void prepareForShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void chooseColour();
    void colourTextChanged(const QString &text);
    void thicknessChanged(const QString &text);

    QRadioButton *m_centre;
    QRadioButton *m_left;
    QRadioButton *m_right;
    QLineEdit *m_width;
    UpDown *m_widthUpDown;
    QCheckBox *m_percent;
    QLineEdit *m_thickness;
    QLabel *m_unit;
    QToolButton *m_colourButton;
    QLineEdit *m_colour;
    QCheckBox *m_3d;
    ColourPicker m_picker;
};
