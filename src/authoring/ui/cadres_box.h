#pragma once

#include "authoring/frames_markup.h"
#include "authoring/ui/dialog_parts.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class TMyMwCustomEdit;

// A picture of a frames layout, its frames numbered when `numbers` is set.
QPixmap FrameLayoutPicture(int layout, const QSize &size, bool numbers);

// "Cadres": the three-page wizard that builds a frameset page: a layout, the
// properties of each of its frames, and the text for browsers without frames.
class TBoiteCadres : public QDialog {
    Q_OBJECT
public:
    TBoiteCadres(QWidget *parent, bool casse, bool xhtml);

    int layout() const { return m_layout; }
    Authoring::FrameSet frames() const { return m_frames[size_t(m_layout)]; }
    QString noFramesText() const;
    TMyMwCustomEdit *noFramesEditor() const { return m_editor; }
    void setFileBrowser(DialogParts::FileBrowser browser) { m_browser = std::move(browser); }

    void selectLayout(int layout);
    void next();
    void previous();

private:
    struct FrameControls {
        QWidget *page = nullptr;
        QLabel *sizeLabel = nullptr;
        QLineEdit *name = nullptr;
        QSpinBox *size = nullptr;
        QCheckBox *percent = nullptr;
        QComboBox *source = nullptr;
        QRadioButton *scrolling[3] = {};
        QSpinBox *top = nullptr;
        QSpinBox *left = nullptr;
        QCheckBox *noResize = nullptr;
        QCheckBox *border = nullptr;
    };
    QWidget *buildLayoutPage();
    QWidget *buildFramesPage();
    QWidget *buildNoFramesPage();
    FrameControls buildFrameTab(int index);
    void storeControls();
    void loadControls();
    void browse(int index);
    void wrap(const QString &tag);
    void updateButtons();

    bool m_casse;
    bool m_xhtml;
    int m_layout = 0;
    std::array<Authoring::FrameSet, Authoring::kFrameLayoutCount> m_frames;
    std::array<FrameControls, 4> m_controls;
    QStackedWidget *m_stack;
    QButtonGroup *m_layoutButtons;
    QLabel *m_picture;
    QTabWidget *m_frameTabs;
    TMyMwCustomEdit *m_editor;
    QPushButton *m_previous;
    QPushButton *m_next;
    DialogParts::FileBrowser m_browser;
};
