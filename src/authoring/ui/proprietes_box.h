#pragma once

#include "authoring/page_properties.h"
#include "authoring/ui/dialog_parts.h"

#include <QColor>
#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;
class QTabWidget;
class QToolButton;

// The sample of the page's colours: text, a link that takes the active colour while
// pressed and the visited colour after.
class PageColourPreview : public QWidget {
    Q_OBJECT
public:
    explicit PageColourPreview(QWidget *parent = nullptr);
    void setColours(const std::array<std::optional<unsigned>, Authoring::BodyCount> &colours);
    // The link as never followed.
    void resetLink();
    QSize sizeHint() const override { return {260, 48}; }

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *) override;
    void mouseReleaseEvent(QMouseEvent *) override;

private:
    QRect linkRect() const;
    QColor colour(int attribute, const QColor &fallback) const;
    std::array<std::optional<unsigned>, Authoring::BodyCount> m_colours;
    enum { Fresh, Pressed, Visited } m_link = Fresh;
};

// "Propriétés de la page": the title, background and colours of the body, and four
// meta elements. Filled with `PagePropertiesFields`, it gives back exactly what it was
// given unless the user changes something.
class TProprietesBox : public QDialog {
    Q_OBJECT
public:
    explicit TProprietesBox(QWidget *parent = nullptr);

    void setValues(const Authoring::PageProperties &values);
    Authoring::PageProperties values() const;
    void setFileBrowser(DialogParts::FileBrowser browser) { m_browser = std::move(browser); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void colourTyped(int attribute);
    void colourChanged(int attribute);
    void chooseColour(int attribute);
    void browseImage();
    void showHelp();

    QTabWidget *m_pages;
    QLineEdit *m_title;
    std::array<QLineEdit *, Authoring::BodyCount> m_body{};
    std::array<QToolButton *, Authoring::BodyCount> m_colourButtons{};
    std::array<QCheckBox *, Authoring::MetaCount> m_metaChecks{};
    std::array<QLineEdit *, Authoring::MetaCount> m_metaFields{};
    std::array<QString, Authoring::BodyCount> m_colourTexts; // before the last key
    QToolButton *m_browseImage;
    bool m_frameset = false;
    PageColourPreview *m_preview;
    DialogParts::FileBrowser m_browser;
};
