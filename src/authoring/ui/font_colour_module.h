#pragma once

#include "app/ui/app_context.h"
#include "authoring/ui/font_boite.h"
#include "authoring/ui/hexa_dec_boite.h"
#include "authoring/ui/insertion_glue.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QLineEdit;
class QToolButton;
class ScreenColourPicker;

// The font and colour commands: the font tag from the presets and their menu, the
// preset dialog, the colour palette of the Texte menu, bigger and smaller text, the
// screen colour picker, the colour box and swatch of the Texte toolbar, and the
// hexadecimal converter.
class FontColourModule : public QObject {
    Q_OBJECT
public:
    explicit FontColourModule(AppContext &ctx);

    // The colour shown by the toolbar's box and swatch.
    QColor currentColour() const { return m_colour; }
    void setCurrentColour(const QColor &colour);
    ScreenColourPicker *picker() const { return m_picker; }
    THexaDecBoite *converter() const { return m_converter; }

signals:
    void currentColourChanged(const QColor &colour);

private:
    void addFontCommands();
    void addColourCommands();
    void addToolbarWidgets();
    void addConverter();
    void texteFont();
    void configurePresets();
    void refreshPresetMenu();
    void chooseColourInDialog();

    AppContext &m_ctx;
    KeptDialog<TFont_Boite> m_fontBox;
    QList<QAction *> m_presetActions;
    QList<QAction *> m_markupActions;
    QColor m_colour;
    ScreenColourPicker *m_picker = nullptr;
    QPointer<THexaDecBoite> m_converter;
};
