#include "authoring/ui/cadres_box.h"

#include "app/ui/editor_view.h"
#include "authoring/insertion.h"
#include "app/ui/help.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Authoring;

namespace {

const QString kSourceFilter = QStringLiteral(
    "Fichiers HTML (*.htm;*.html;*.shtm;*.shtml)|*.htm;*.html;*.shtm;*.shtml|Fichiers texte "
    "(*.txt)|*.txt|Tous les fichiers (*.*)|*.*");

// Each frame's place in the window, as fractions of the width and height.
QList<QRectF> frameRects(int layout) {
    switch (layout) {
    case 0:
        return {{0, 0, .3, 1}, {.3, 0, .7, 1}};
    case 1:
        return {{0, 0, 1, .3}, {0, .3, 1, .7}};
    case 2:
        return {{0, 0, 1 / 3., 1}, {1 / 3., 0, 1 / 3., 1}, {2 / 3., 0, 1 / 3., 1}};
    case 3:
        return {{0, 0, 1, 1 / 3.}, {0, 1 / 3., 1, 1 / 3.}, {0, 2 / 3., 1, 1 / 3.}};
    case 4:
        return {{0, 0, .3, 1}, {.3, 0, .7, .35}, {.3, .35, .7, .65}};
    case 5:
        return {{0, 0, 1, .3}, {0, .3, .3, .7}, {.3, .3, .7, .7}};
    case 6:
        return {{0, 0, .7, .4}, {0, .4, .7, .6}, {.7, 0, .3, 1}};
    default:
        return {{0, 0, 1, .2}, {0, .2, .3, .6}, {.3, .2, .7, .6}, {0, .8, 1, .2}};
    }
}

} // namespace

QPixmap FrameLayoutPicture(int layout, const QSize &size, bool numbers) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF area(1, 1, size.width() - 3, size.height() - 3);
    // A window: a title strip, then the frames.
    p.fillRect(area, QColor(245, 245, 245));
    const qreal bar = std::max(3.0, area.height() / 9);
    p.fillRect(QRectF(area.left(), area.top(), area.width(), bar), QColor(40, 90, 160));
    const QRectF inner(area.left(), area.top() + bar, area.width(), area.height() - bar);
    const QList<QRectF> rects = frameRects(layout);
    static const QColor fills[] = {QColor(200, 220, 245), QColor(255, 255, 255),
                                   QColor(225, 240, 215), QColor(250, 235, 200)};
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(std::max(8, int(inner.height() / 5)));
    p.setFont(f);
    for (int i = 0; i < rects.size(); ++i) {
        const QRectF r(inner.left() + rects[i].left() * inner.width(),
                       inner.top() + rects[i].top() * inner.height(),
                       rects[i].width() * inner.width(), rects[i].height() * inner.height());
        p.fillRect(r, fills[i]);
        p.setPen(QColor(60, 60, 60));
        p.drawRect(r);
        if (numbers) p.drawText(r, Qt::AlignCenter, QString::number(i + 1));
    }
    p.setPen(QColor(40, 40, 40));
    p.drawRect(area);
    return pm;
}

TBoiteCadres::TBoiteCadres(QWidget *parent, bool casse, bool xhtml)
    : QDialog(parent), m_casse(casse), m_xhtml(xhtml) {
    setObjectName(QStringLiteral("BoiteCadres"));
    setWindowTitle(QStringLiteral("Cadres"));
    for (int l = 0; l < kFrameLayoutCount; ++l)
        m_frames[size_t(l)] = DefaultFrames(l);

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("Pages"));
    m_stack->addWidget(buildLayoutPage());
    m_stack->addWidget(buildFramesPage());
    m_stack->addWidget(buildNoFramesPage());

    auto *help = new QPushButton(QStringLiteral("Aide"), this);
    help->setObjectName(QStringLiteral("BoutAide"));
    m_previous = new QPushButton(QStringLiteral("<< Précédent"), this);
    m_previous->setObjectName(QStringLiteral("BoutPrecedent"));
    m_next = new QPushButton(QStringLiteral("Suivant >>"), this);
    m_next->setObjectName(QStringLiteral("BoutSuivant"));
    m_next->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addWidget(cancel);
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/cadres.htm")); });
    connect(m_previous, &QPushButton::clicked, this, &TBoiteCadres::previous);
    connect(m_next, &QPushButton::clicked, this, &TBoiteCadres::next);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_stack);
    layout->addLayout(buttons);
    setFixedSize(560, 470);
    loadControls();
    updateButtons();
}

QWidget *TBoiteCadres::buildLayoutPage() {
    auto *page = new QWidget;
    auto *group = new QGroupBox(QStringLiteral(" Choisissez un type de cadre : "), page);
    auto *grid = new QGridLayout(group);
    // The chosen layout stands out clearly.
    group->setStyleSheet(QStringLiteral(
        "QToolButton { padding: 4px; } QToolButton:checked { background: palette(highlight); }"));
    m_layoutButtons = new QButtonGroup(this);
    m_layoutButtons->setExclusive(true);
    for (int l = 0; l < kFrameLayoutCount; ++l) {
        auto *b = new QToolButton(group);
        b->setObjectName(QStringLiteral("BoutCadre%1").arg(l));
        b->setCheckable(true);
        b->setToolTip(QStringLiteral("Type de cadre %1").arg(l + 1));
        b->setIcon(QIcon(FrameLayoutPicture(l, QSize(96, 72), false)));
        b->setIconSize(QSize(96, 72));
        b->setAutoRaise(false);
        m_layoutButtons->addButton(b, l);
        grid->addWidget(b, l / 4, l % 4, Qt::AlignCenter);
    }
    m_layoutButtons->button(0)->setChecked(true);
    connect(m_layoutButtons, &QButtonGroup::idClicked, this, &TBoiteCadres::selectLayout);
    auto *v = new QVBoxLayout(page);
    v->addWidget(group);
    v->addStretch();
    return page;
}

QWidget *TBoiteCadres::buildFramesPage() {
    auto *page = new QWidget;
    m_picture = new QLabel(page);
    m_picture->setObjectName(QStringLiteral("ImageCadres"));
    auto *text = new QLabel(
        QStringLiteral(
            "Sélectionnez les cadres les uns après les autres pour déterminer leurs propriétés"),
        page);
    text->setWordWrap(true);
    auto *top = new QHBoxLayout;
    top->addWidget(m_picture);
    top->addWidget(text, 1);
    m_frameTabs = new QTabWidget(page);
    m_frameTabs->setObjectName(QStringLiteral("OngletsCadres"));
    for (int i = 0; i < 4; ++i) {
        m_controls[size_t(i)] = buildFrameTab(i);
        m_frameTabs->addTab(m_controls[size_t(i)].page, QStringLiteral("Cadre %1").arg(i + 1));
    }
    auto *v = new QVBoxLayout(page);
    v->addLayout(top);
    v->addWidget(m_frameTabs);
    return page;
}

TBoiteCadres::FrameControls TBoiteCadres::buildFrameTab(int index) {
    FrameControls c;
    const QString n = QString::number(index + 1);
    c.page = new QWidget;
    auto *dims = new QGroupBox(QStringLiteral(" Nom et dimensions "), c.page);
    auto *g = new QGridLayout(dims);
    c.name = new QLineEdit(dims);
    c.name->setObjectName(QStringLiteral("EditNom") + n);
    c.sizeLabel = new QLabel(dims);
    c.size = new QSpinBox(dims);
    c.size->setObjectName(QStringLiteral("EditTaille") + n);
    c.size->setRange(-1, 9999);
    c.size->setSpecialValueText(QStringLiteral("*")); // -1: automatic size
    c.size->setMaximumWidth(90);
    c.percent = new QCheckBox(QStringLiteral("%"), dims);
    c.percent->setObjectName(QStringLiteral("CheckPourcent") + n);
    c.source = DialogParts::historyCombo(dims, "");
    c.source->setMinimumContentsLength(16);
    c.source->setObjectName(QStringLiteral("ComboFichier") + n);
    QToolButton *browse = DialogParts::browseButton(dims);
    browse->setObjectName(QStringLiteral("BoutParcourir") + n);
    connect(browse, &QToolButton::clicked, this, [this, index] { TBoiteCadres::browse(index); });
    g->addWidget(new QLabel(QStringLiteral("Nom")), 0, 0);
    g->addWidget(c.name, 0, 1, 1, 3);
    g->addWidget(c.sizeLabel, 1, 0);
    g->addWidget(c.size, 1, 1);
    g->addWidget(c.percent, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("( * = Taille automatique )")), 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Fichier")), 2, 0);
    g->addWidget(c.source, 2, 1, 1, 2);
    g->addWidget(browse, 2, 3, Qt::AlignLeft);
    g->setColumnStretch(3, 1);

    auto *scroll = new QGroupBox(QStringLiteral(" Barres de défilement "), c.page);
    auto *sv = new QVBoxLayout(scroll);
    static const char *const scrollNames[] = {"RadioAuto", "RadioOui", "RadioNon"};
    static const char *const scrollTexts[] = {"Automatique", "Oui", "Non"};
    for (int s = 0; s < 3; ++s) {
        c.scrolling[s] = new QRadioButton(QLatin1String(scrollTexts[s]), scroll);
        c.scrolling[s]->setObjectName(QLatin1String(scrollNames[s]) + n);
        sv->addWidget(c.scrolling[s]);
    }
    auto *margins = new QGroupBox(QStringLiteral(" Marges "), c.page);
    auto *mg = new QGridLayout(margins);
    const auto marginBox = [margins](const QString &name) {
        auto *s = new QSpinBox(margins);
        s->setObjectName(name);
        s->setRange(-1, 9999);
        s->setSpecialValueText(QStringLiteral(" ")); // -1: no margin
        return s;
    };
    c.top = marginBox(QStringLiteral("EditMargeHaut") + n);
    c.left = marginBox(QStringLiteral("EditMargeGauche") + n);
    mg->addWidget(new QLabel(QStringLiteral("du haut")), 0, 0);
    mg->addWidget(c.top, 0, 1);
    mg->addWidget(new QLabel(QStringLiteral("de gauche")), 1, 0);
    mg->addWidget(c.left, 1, 1);
    c.noResize = new QCheckBox(QStringLiteral("Empêcher le redimensionnement du cadre"), c.page);
    c.noResize->setObjectName(QStringLiteral("CheckRedim") + n);
    c.border = new QCheckBox(QStringLiteral("Bordure"), c.page);
    c.border->setObjectName(QStringLiteral("CheckBordure") + n);

    auto *row = new QHBoxLayout;
    row->addWidget(scroll);
    row->addWidget(margins);
    auto *v = new QVBoxLayout(c.page);
    v->addWidget(dims);
    v->addLayout(row);
    v->addWidget(c.noResize);
    v->addWidget(c.border);
    return c;
}

QWidget *TBoiteCadres::buildNoFramesPage() {
    auto *page = new QWidget;
    auto *group = new QGroupBox(
        QStringLiteral(" Texte à afficher si le navigateur ne reconnaît pas les cadres "), page);
    auto *tools = new QHBoxLayout;
    static const char *const names[] = {"BoutGras", "BoutItalique", "BoutSouligne"};
    static const char *const tags[] = {"b", "i", "u"};
    static const char *const hints[] = {"Gras", "Italique", "Souligné"};
    static const char *const letters[] = {"G", "I", "S"};
    for (int k = 0; k < 3; ++k) {
        auto *b = new QToolButton(group);
        b->setObjectName(QLatin1String(names[k]));
        b->setText(QLatin1String(letters[k]));
        b->setToolTip(QString::fromUtf8(hints[k]));
        QFont f = b->font();
        f.setBold(k == 0);
        f.setItalic(k == 1);
        f.setUnderline(k == 2);
        b->setFont(f);
        const QString tag = QLatin1String(tags[k]);
        connect(b, &QToolButton::clicked, this, [this, tag] { wrap(tag); });
        tools->addWidget(b);
    }
    tools->addStretch();
    m_editor = new TMyMwCustomEdit(group);
    m_editor->setObjectName(QStringLiteral("EditeurSansCadres"));
    m_editor->replaceAllText(DefaultNoFramesText(m_casse, m_xhtml));
    m_editor->clearUndoHistory();
    m_editor->setModified(false);
    m_editor->setWrapMode(QsciScintilla::WrapWord);
    m_editor->setCaretXY({1, 1});
    auto *gv = new QVBoxLayout(group);
    gv->addLayout(tools);
    gv->addWidget(m_editor);
    auto *v = new QVBoxLayout(page);
    v->addWidget(group);
    return page;
}

QString TBoiteCadres::noFramesText() const {
    return m_editor->textCrLf();
}

void TBoiteCadres::wrap(const QString &tag) {
    const QString open = ApplyTagCase(QLatin1Char('<') + tag + QLatin1Char('>'), m_casse);
    const QString close = ApplyTagCase(QStringLiteral("</") + tag + QLatin1Char('>'), m_casse);
    m_editor->setSelText(open + m_editor->selText() + close);
    m_editor->setFocus();
}

void TBoiteCadres::storeControls() {
    FrameSet &set = m_frames[size_t(m_layout)];
    for (int i = 0; i < FrameCount(m_layout); ++i) {
        const FrameControls &c = m_controls[size_t(i)];
        FrameValues &f = set[size_t(i)];
        f.name = c.name->text();
        f.size = c.size->value();
        f.percent = c.percent->isChecked();
        f.source = c.source->currentText();
        f.scrolling = c.scrolling[1]->isChecked()   ? Scrolling::Yes
                      : c.scrolling[2]->isChecked() ? Scrolling::No
                                                    : Scrolling::Auto;
        f.topMargin = c.top->value();
        f.leftMargin = c.left->value();
        f.noResize = c.noResize->isChecked();
        f.border = c.border->isChecked();
    }
}

void TBoiteCadres::loadControls() {
    const FrameSet &set = m_frames[size_t(m_layout)];
    const int count = FrameCount(m_layout);
    for (int i = 0; i < 4; ++i) {
        m_frameTabs->setTabVisible(i, i < count);
        if (i >= count) continue;
        const FrameControls &c = m_controls[size_t(i)];
        const FrameValues &f = set[size_t(i)];
        c.sizeLabel->setText(FrameSizeIsWidth(m_layout, i) ? QStringLiteral("Largeur")
                                                           : QStringLiteral("Hauteur"));
        c.name->setText(f.name);
        c.size->setValue(f.size);
        c.percent->setChecked(f.percent);
        c.source->setCurrentText(f.source);
        c.scrolling[f.scrolling == Scrolling::Yes  ? 1
                    : f.scrolling == Scrolling::No ? 2
                                                   : 0]
            ->setChecked(true);
        c.top->setValue(f.topMargin);
        c.left->setValue(f.leftMargin);
        c.noResize->setChecked(f.noResize);
        c.border->setChecked(f.border);
    }
    m_frameTabs->setCurrentIndex(0);
    m_picture->setPixmap(FrameLayoutPicture(m_layout, QSize(120, 90), true));
}

void TBoiteCadres::selectLayout(int layout) {
    if (layout < 0 || layout >= kFrameLayoutCount) return;
    storeControls();
    m_layout = layout;
    m_layoutButtons->button(layout)->setChecked(true);
    loadControls();
}

void TBoiteCadres::next() {
    const int page = m_stack->currentIndex();
    if (page == m_stack->count() - 1) {
        storeControls();
        accept();
        return;
    }
    if (page == 1) storeControls();
    m_stack->setCurrentIndex(page + 1);
    updateButtons();
}

void TBoiteCadres::previous() {
    if (m_stack->currentIndex() == 0) return;
    m_stack->setCurrentIndex(m_stack->currentIndex() - 1);
    updateButtons();
}

void TBoiteCadres::updateButtons() {
    const int page = m_stack->currentIndex();
    m_previous->setEnabled(page > 0);
    m_next->setText(page == m_stack->count() - 1 ? QStringLiteral("Terminer")
                                                 : QStringLiteral("Suivant >>"));
}

void TBoiteCadres::browse(int index) {
    if (!m_browser) return;
    if (const auto chosen = m_browser(kSourceFilter)) {
        DialogParts::fillBrowsedPath(m_controls[size_t(index)].source, chosen->url);
        m_controls[size_t(index)].source->setFocus();
    }
}
