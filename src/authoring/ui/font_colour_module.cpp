#include "authoring/ui/font_colour_module.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/icons.h"
#include "app/ui/ui_services.h"
#include "authoring/font_colour.h"
#include "authoring/insertion.h"
#include "authoring/ui/colour_widgets.h"
#include "authoring/ui/hexa_dec_boite.h"
#include "authoring/ui/screen_picker.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

namespace {

const QString kTexte = QStringLiteral("Texte");

QIcon colourIcon(const QColor &c, QSize size = QSize(16, 16)) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    if (c.isValid()) p.fillRect(pm.rect().adjusted(1, 1, -1, -1), c);
    p.setPen(Qt::darkGray);
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    return QIcon(pm);
}

QIcon pipetteIcon() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(2, 14, 10, 6);
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(12, 4), 3, 3);
    return QIcon(pm);
}

// Drawn when first shown: most sit in menus not opened at start.
QIcon letterIcon(const QString &text, int pixelSize) {
    return Icons::draw([text, pixelSize](QPainter &p) {
        QFont f(QStringLiteral("Serif"));
        f.setPixelSize(pixelSize);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, text);
    });
}

// Menu captions show "&" as itself.
QString menuText(const QString &name) {
    QString t = name;
    return t.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

FontColourModule::FontColourModule(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    m_picker = new ScreenColourPicker(ctx.window);
    addFontCommands();
    addColourCommands();
    addToolbarWidgets();
    addConverter();
    connect(ctx.events, &AppEvents::settingsLoaded, this, &FontColourModule::refreshPresetMenu);
    m_ctx.actions->addUpdate([this] {
        const bool editor = m_ctx.docs->ActiveEditor() != nullptr;
        for (QAction *a : std::as_const(m_markupActions))
            a->setEnabled(editor);
    });
    refreshPresetMenu();
}

void FontColourModule::addFontCommands() {
    ActionRegistry &r = *m_ctx.actions;
    QAction *font = r.add(QStringLiteral("TexteFont"), QStringLiteral("Police"),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), kTexte);
    font->setIcon(letterIcon(QStringLiteral("F"), 13));
    connect(font, &QAction::triggered, this, &FontColourModule::texteFont);
    m_markupActions << font;

    QAction *conf = r.add(QStringLiteral("TextePoliceConf"),
                          QStringLiteral("Configuration des modèles..."), {}, kTexte);
    connect(conf, &QAction::triggered, this, &FontColourModule::configurePresets);

    for (int i = 0; i < Authoring::FontPresetList::kSlots; ++i) {
        QAction *a = r.add(QStringLiteral("Modele%1").arg(i + 1), QString(), {}, kTexte);
        a->setCheckable(true);
        a->setData(i); // the slot, as the action's tag
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, i] {
            m_ctx.options->fontSelect = i;
            refreshPresetMenu();
        });
        m_presetActions << a;
    }
}

void FontColourModule::addColourCommands() {
    ActionRegistry &r = *m_ctx.actions;
    auto *colours = new QMenu(QStringLiteral("Couleur"), m_ctx.window);
    colours->setObjectName(QStringLiteral("MenuCouleur"));
    colours->menuAction()->setObjectName(QStringLiteral("MenuCouleur"));
    addColourGrid(colours, [this](const QColor &c) {
        const QString opening =
            QStringLiteral("<font") +
            Authoring::Attribute(QStringLiteral("color"), ColourUi::colourText(c)) +
            QLatin1Char('>');
        Markup::WrapSelection(m_ctx, m_ctx.docs->ActiveEditor(), opening, QStringLiteral("</font>"),
                              false);
    });
    r.addMenu(QStringLiteral("MenuCouleur"), colours);
    m_markupActions << colours->menuAction();

    const struct {
        const char *name;
        QString caption;
        QString opening;
        QString closing;
        QString icon;
        int iconSize;
    } sizes[] = {{"StyleAugmenter", QStringLiteral("Augmenter la taille"), QStringLiteral("<big>"),
                  QStringLiteral("</big>"), QStringLiteral("A"), 15},
                 {"StyleDiminuer", QStringLiteral("Diminuer la taille"), QStringLiteral("<small>"),
                  QStringLiteral("</small>"), QStringLiteral("A"), 9}};
    for (const auto &s : sizes) {
        QAction *a = r.add(QLatin1String(s.name), s.caption, {}, kTexte);
        a->setIcon(letterIcon(s.icon, s.iconSize));
        connect(a, &QAction::triggered, this, [this, opening = s.opening, closing = s.closing] {
            Markup::WrapSelection(m_ctx, m_ctx.docs->ActiveEditor(), opening, closing, false);
        });
        m_markupActions << a;
    }

    QAction *pipette = r.add(QStringLiteral("StylePipette"), QStringLiteral("Pipette"), {}, kTexte);
    pipette->setIcon(pipetteIcon());
    pipette->setStatusTip(QStringLiteral("Récupérer une couleur à l'écran"));
    pipette->setToolTip(pipette->statusTip());
    connect(pipette, &QAction::triggered, this,
            [this] { m_picker->start([this](const QColor &c) { setCurrentColour(c); }); });
}

void FontColourModule::addToolbarWidgets() {
    ActionRegistry &r = *m_ctx.actions;
    r.addWidget(QStringLiteral("ColorDropDown"), [this](QWidget *parent) -> QWidget * {
        auto *box = new QWidget(parent);
        box->setObjectName(QStringLiteral("ColorDropDown"));
        auto *edit = new QLineEdit(box);
        edit->setObjectName(QStringLiteral("ColorDropDownEdit"));
        edit->setFixedWidth(70);
        // The box is there to be read or copied, never to insert anything.
        edit->setText(m_colour.isValid() ? ColourUi::colourText(m_colour) : QString());
        auto *arrow = new QToolButton(box);
        arrow->setObjectName(QStringLiteral("ColorDropDownArrow"));
        arrow->setArrowType(Qt::DownArrow);
        arrow->setPopupMode(QToolButton::InstantPopup);
        auto *menu = new QMenu(arrow);
        addColourGrid(menu, [this](const QColor &c) { setCurrentColour(c); });
        menu->addSeparator();
        QAction *more = menu->addAction(QStringLiteral("Plus de couleurs..."));
        more->setObjectName(QStringLiteral("PlusDeCouleurs"));
        connect(more, &QAction::triggered, this, &FontColourModule::chooseColourInDialog);
        arrow->setMenu(menu);
        auto *layout = new QHBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(edit);
        layout->addWidget(arrow);
        connect(this, &FontColourModule::currentColourChanged, edit,
                [edit](const QColor &c) { edit->setText(ColourUi::colourText(c)); });
        return box;
    });
    r.addWidget(QStringLiteral("ColorSwatch"), [this](QWidget *parent) -> QWidget * {
        auto *swatch = new QToolButton(parent);
        swatch->setObjectName(QStringLiteral("ColorSwatch"));
        swatch->setToolTip(QStringLiteral("Récupérer une couleur depuis la palette"));
        swatch->setIcon(colourIcon(m_colour));
        connect(swatch, &QToolButton::clicked, this, &FontColourModule::chooseColourInDialog);
        connect(this, &FontColourModule::currentColourChanged, swatch,
                [swatch](const QColor &c) { swatch->setIcon(colourIcon(c)); });
        return swatch;
    });
}

void FontColourModule::addConverter() {
    QAction *a = m_ctx.actions->add(QStringLiteral("OutilsConvertisseurHexa"),
                                    QStringLiteral("Afficher le convertisseur hexadécimal"), {},
                                    QStringLiteral("Outils"));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, a] {
        if (!m_converter) {
            m_converter = new THexaDecBoite(m_ctx.window);
            // Also when closed from its own title bar.
            connect(m_converter, &THexaDecBoite::shownChanged, a, &QAction::setChecked);
        }
        m_converter->setVisible(!m_converter->isVisible());
        a->setChecked(m_converter->isVisible());
    });
}

void FontColourModule::setCurrentColour(const QColor &colour) {
    if (!colour.isValid()) return;
    m_colour = colour.toRgb();
    emit currentColourChanged(m_colour);
}

void FontColourModule::chooseColourInDialog() {
    if (const std::optional<QColor> c = ColourUi::askColour(m_ctx.window, m_colour))
        setCurrentColour(*c);
}

void FontColourModule::texteFont() {
    Options &o = *m_ctx.options;
    if (o.fonts[0].nom.isEmpty()) {
        if (ui().message(MsgType::Warning, MsgButtons::YesNo,
                         QStringLiteral("Aucun modèle de police n'est configuré.\r\n"
                                        "Voulez-vous configurer un modèle maintenant ?")) ==
            MsgAnswer::Yes)
            configurePresets();
        return;
    }
    const int slot = o.fonts[o.fontSelect].nom.isEmpty() ? 0 : o.fontSelect;
    Markup::WrapSelection(m_ctx, m_ctx.docs->ActiveEditor(), Authoring::FontOpening(o.fonts[slot]),
                          QStringLiteral("</font>"), false);
}

void FontColourModule::configurePresets() {
    m_fontBox.run(m_ctx.window, [this](TFont_Boite &box) {
        Options &o = *m_ctx.options;
        box.setPresets(o.fonts, o.fontSelect);
        ui().execDialog(&box);
        o.fonts = box.presets();
        o.fontSelect = box.shownPreset();
        Authoring::WriteFontPresets(*m_ctx.store, o.fonts, o.fontSelect);
        refreshPresetMenu();
        return true;
    });
}

void FontColourModule::refreshPresetMenu() {
    const Options &o = *m_ctx.options;
    for (int i = 0; i < m_presetActions.size(); ++i) {
        QAction *a = m_presetActions.at(i);
        const QString &name = o.fonts[i].nom;
        a->setVisible(!name.isEmpty());
        a->setText(menuText(name));
        a->setStatusTip(name);
        a->setChecked(i == o.fontSelect);
    }
}
