#pragma once

#include "publish/print_settings.h"

#include <QDialog>
#include <QList>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTextEdit;
class QToolBar;
class QFrame;

// The page set-up: margins and options on one tab, the header and footer boxes with
// their fields and looks on the other. Fills print settings; applies nothing itself.
class TPageSetupDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPageSetupDlg(QWidget *parent = nullptr);

    void setSettings(const PrintSettings &s);
    // The settings as the dialog shows them; false (and the first bad box in *bad) when
    // a length is not a number, in which case nothing is taken.
    bool collect(PrintSettings *out, int *bad = nullptr) const;
    void accept() override;

    // The box that holds the focus among the six header and footer boxes, or nullptr.
    QTextEdit *focusedBox() const;

private:
    struct BandControls {
        std::array<QTextEdit *, 3> boxes{};
        QCheckBox *mirror = nullptr;
        QCheckBox *line = nullptr;
        QCheckBox *box = nullptr;
        QCheckBox *shade = nullptr;
        QFrame *lineSample = nullptr;
        QFrame *shadeSample = nullptr;
        quint32 lineColor = 0;
        quint32 shadeColor = 0;
    };
    QWidget *makeMarginsPage();
    QWidget *makeHeaderPage();
    QWidget *makeBand(BandControls &c, bool header);
    void loadBand(BandControls &c, const HeaderFooter &band);
    void saveBand(const BandControls &c, HeaderFooter &band) const;
    void unitChanged(int index);
    void updateToolbar();
    void insertField(const QString &field);
    void toggleStyle(int which);
    void chooseFont();
    void chooseColor(BandControls &c, bool shade);
    QStringList marginTexts() const;

    PrintSettings m_settings;
    std::array<QLineEdit *, PrintRules::kMarginCount> m_margins{};
    QComboBox *m_unit = nullptr;
    int m_unitIndex = 0;
    QCheckBox *m_mirrorMargins = nullptr;
    QCheckBox *m_lineNumbers = nullptr;
    QCheckBox *m_numbersInMargin = nullptr;
    QCheckBox *m_syntax = nullptr;
    QCheckBox *m_colours = nullptr;
    QCheckBox *m_wrap = nullptr;
    QToolBar *m_tools = nullptr;
    BandControls m_header;
    BandControls m_footer;
    QTextEdit *m_lastBox = nullptr;
};
