#include "authoring/ui/proprietes_box.h"

#include "app/ui/ui_services.h"
#include "authoring/ui/insertion_glue.h"
#include "app/ui/help.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Authoring;

namespace {
const QString kLinkLead = QStringLiteral("Pour aller sur ma page, ");
const QString kLinkText = QStringLiteral("cliquez ici");
const QString kImageFilter = QStringLiteral(
    "Fichiers image (*.gif;*.jpg;*.jpeg;*.png)|*.gif;*.jpg;*.jpeg;*.png|Gif image "
    "(*.gif)|*.gif|Jpeg image (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG image (*.png)|*.png|Tous les "
    "fichiers (*.*)|*.*");

QIcon swatch(std::optional<unsigned> rgb) {
    if (!rgb) return QIcon();
    QPixmap pm(16, 16);
    pm.fill(QColor(QRgb(*rgb)));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 15);
    return QIcon(pm);
}
} // namespace

PageColourPreview::PageColourPreview(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Apercu"));
    setMinimumHeight(40);
}

void PageColourPreview::setColours(const std::array<std::optional<unsigned>, BodyCount> &colours) {
    m_colours = colours;
    update();
}

void PageColourPreview::resetLink() {
    m_link = Fresh;
    update();
}

QColor PageColourPreview::colour(int attribute, const QColor &fallback) const {
    const auto &c = m_colours[size_t(attribute)];
    return c ? QColor(QRgb(*c)) : fallback;
}

QRect PageColourPreview::linkRect() const {
    const QFontMetrics fm(font());
    const int x = 8 + fm.horizontalAdvance(kLinkLead);
    return QRect(x, (height() - fm.height()) / 2, fm.horizontalAdvance(kLinkText), fm.height());
}

void PageColourPreview::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), colour(BodyBgcolor, Qt::white));
    p.setPen(Qt::gray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect link = linkRect();
    p.setPen(colour(BodyText, Qt::black));
    p.drawText(QRect(8, link.top(), link.left() - 8, link.height()), Qt::AlignVCenter, kLinkLead);
    QColor lc = colour(BodyLink, Qt::blue);
    if (m_link == Pressed && m_colours[BodyAlink]) lc = colour(BodyAlink, lc);
    if (m_link == Visited) lc = colour(BodyVlink, QColor(128, 0, 128));
    QFont f = font();
    f.setUnderline(true);
    p.setFont(f);
    p.setPen(lc);
    p.drawText(link, Qt::AlignVCenter, kLinkText);
}

void PageColourPreview::mousePressEvent(QMouseEvent *e) {
    if (linkRect().contains(e->position().toPoint())) {
        m_link = Pressed;
        update();
    }
}

void PageColourPreview::mouseReleaseEvent(QMouseEvent *) {
    if (m_link == Pressed) {
        m_link = Visited;
        update();
    }
}

TProprietesBox::TProprietesBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ProprietesBox"));
    setWindowTitle(QStringLiteral("Propriétés de la page"));
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));

    // Page "Général".
    auto *general = new QWidget;
    auto *form = new QGridLayout(general);
    m_title = new QLineEdit(general);
    m_title->setObjectName(QStringLiteral("EditTitre"));
    form->addWidget(new QLabel(QStringLiteral("Titre du document :")), 0, 0);
    form->addWidget(m_title, 0, 1, 1, 2);

    m_body[BodyBackground] = new QLineEdit(general);
    m_body[BodyBackground]->setObjectName(QStringLiteral("EditImage"));
    QToolButton *browse = DialogParts::browseButton(general);
    m_browseImage = browse;
    form->addWidget(new QLabel(QStringLiteral("Image d'arrière-plan :")), 1, 0);
    form->addWidget(m_body[BodyBackground], 1, 1);
    form->addWidget(browse, 1, 2);
    connect(browse, &QToolButton::clicked, this, &TProprietesBox::browseImage);

    static const char *const fields[] = {"EditBGColor", "EditTEXT", "EditLINK", "EditVLINK",
                                         "EditALINK"};
    static const char *const labels[] = {
        "Couleur du fond :", "Couleur du texte :", "Couleur des liens :",
        "Couleur des liens visités :", "Couleur des liens actifs :"};
    for (int i = BodyBgcolor; i < BodyCount; ++i) {
        // No length limit: a value read from the page ("darkgreen", "rgb(0, 0, 0)") is
        // shown whole; what may be typed is checked as it is typed.
        auto *edit = new QLineEdit(general);
        edit->setObjectName(QLatin1String(fields[i - 1]));
        auto *button = new QToolButton(general);
        button->setObjectName(QStringLiteral("BoutCouleur%1").arg(i));
        button->setText(QStringLiteral("..."));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        m_body[size_t(i)] = edit;
        m_colourButtons[size_t(i)] = button;
        form->addWidget(new QLabel(QString::fromUtf8(labels[i - 1])), i + 1, 0);
        form->addWidget(edit, i + 1, 1);
        form->addWidget(button, i + 1, 2);
        connect(edit, &QLineEdit::textEdited, this, [this, i] { colourTyped(i); });
        connect(edit, &QLineEdit::textChanged, this, [this, i] { colourChanged(i); });
        connect(button, &QToolButton::clicked, this, [this, i] { chooseColour(i); });
    }
    auto *previewBox = new QGroupBox(QStringLiteral("Aperçu"), general);
    auto *previewLayout = new QVBoxLayout(previewBox);
    m_preview = new PageColourPreview(previewBox);
    previewLayout->addWidget(m_preview);
    form->addWidget(previewBox, BodyCount + 1, 0, 1, 3);
    form->setColumnStretch(1, 1);
    m_pages->addTab(general, QStringLiteral("Général"));

    // Page "Meta-informations".
    auto *metaPage = new QWidget;
    auto *metaLayout = new QVBoxLayout(metaPage);
    static const char *const checks[] = {"Checkdesc", "Checkkey", "Checkaut", "Checkgen"};
    static const char *const checkTexts[] = {"Description (DESCRIPTION)", "Mots-clés (KEYWORDS)",
                                             "Auteur (AUTHOR)", "Générateur (GENERATOR)"};
    static const char *const metaFields[] = {"editDesc", "EditKey", "EditAut", "EditGen"};
    static const char *const examples[] = {"ex. : Les plus belles motos de 1950 à nos jours",
                                           "ex. : moto, motobécane, Harley Davidson, Yamaha",
                                           "ex. : Jean Dupont", "ex. : Balizor"};
    for (int m = 0; m < MetaCount; ++m) {
        auto *check = new QCheckBox(QString::fromUtf8(checkTexts[m]), metaPage);
        check->setObjectName(QLatin1String(checks[m]));
        auto *field = new QLineEdit(metaPage);
        field->setObjectName(QLatin1String(metaFields[m]));
        auto *example = new QLabel(QString::fromUtf8(examples[m]), metaPage);
        example->setEnabled(false);
        m_metaChecks[size_t(m)] = check;
        m_metaFields[size_t(m)] = field;
        metaLayout->addWidget(check);
        metaLayout->addWidget(field);
        metaLayout->addWidget(example);
    }
    metaLayout->addStretch();
    m_pages->addTab(metaPage, QStringLiteral("Meta-informations"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(DialogParts::okCancelHelp(this, [this] { showHelp(); }));
    resize(440, 400);
}

void TProprietesBox::showHelp() {
    if (m_pages->currentIndex() == 1)
        ShowHelpTopic(QStringLiteral("Ressources/proprietes2.htm"));
    else
        ShowHelpTopic(QStringLiteral("Ressources/proprietes.htm"));
}

void TProprietesBox::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        m_pages->setCurrentIndex(0);
        m_title->setFocus();
    }
}

void TProprietesBox::setValues(const PageProperties &v) {
    m_pages->setCurrentIndex(0);
    m_preview->resetLink();
    m_frameset = v.frameset;
    m_title->setText(v.title);
    for (int i = 0; i < BodyCount; ++i) {
        m_body[size_t(i)]->setText(v.body[size_t(i)]);
        // A frames page has no body to hold these.
        m_body[size_t(i)]->setEnabled(!v.frameset);
        if (m_colourButtons[size_t(i)]) m_colourButtons[size_t(i)]->setEnabled(!v.frameset);
    }
    m_browseImage->setEnabled(!v.frameset);
    for (int m = 0; m < MetaCount; ++m) {
        m_metaChecks[size_t(m)]->setChecked(v.hasMeta[size_t(m)]);
        m_metaFields[size_t(m)]->setText(v.meta[size_t(m)]);
    }
    m_title->setFocus();
}

PageProperties TProprietesBox::values() const {
    PageProperties v;
    v.title = m_title->text();
    for (int i = 0; i < BodyCount; ++i)
        v.body[size_t(i)] = m_body[size_t(i)]->text();
    for (int m = 0; m < MetaCount; ++m) {
        v.hasMeta[size_t(m)] = m_metaChecks[size_t(m)]->isChecked();
        v.meta[size_t(m)] = m_metaFields[size_t(m)]->text();
    }
    v.frameset = m_frameset;
    return v;
}

void TProprietesBox::colourTyped(int attribute) {
    QLineEdit *edit = m_body[size_t(attribute)];
    const QString typed = edit->text();
    // textEdited comes before textChanged: m_colourTexts still holds the text before the key.
    const QString kept =
        TypedColourField(m_colourTexts[size_t(attribute)], typed, attribute == BodyBgcolor);
    if (kept == typed) return;
    const int cursor = edit->cursorPosition() + int(kept.size() - typed.size());
    edit->setText(kept);
    edit->setCursorPosition(std::clamp(cursor, 0, int(kept.size())));
}

void TProprietesBox::colourChanged(int attribute) {
    // The field's text, not the signal's: typing may have been corrected meanwhile.
    const QString text = m_body[size_t(attribute)]->text();
    m_colourTexts[size_t(attribute)] = text;
    m_colourButtons[size_t(attribute)]->setIcon(swatch(ParseColourField(text)));
    std::array<std::optional<unsigned>, BodyCount> colours;
    for (int i = BodyBgcolor; i < BodyCount; ++i)
        colours[size_t(i)] = ParseColourField(m_body[size_t(i)]->text());
    m_preview->setColours(colours);
}

void TProprietesBox::chooseColour(int attribute) {
    const std::optional<unsigned> current = ParseColourField(m_body[size_t(attribute)]->text());
    QColorDialog dialog(current ? QColor(QRgb(*current)) : QColor(Qt::white), this);
    if (ui().execDialog(&dialog) != QDialog::Accepted) return;
    m_body[size_t(attribute)]->setText(ColourFieldText(dialog.currentColor().rgb()));
}

void TProprietesBox::browseImage() {
    if (!m_browser) return;
    if (const auto chosen = m_browser(kImageFilter)) {
        m_body[BodyBackground]->setText(chosen->url);
        Markup::SelectPathFolder(m_body[BodyBackground]);
        m_body[BodyBackground]->setFocus();
    }
}
