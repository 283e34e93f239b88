#include "publish/ui/page_setup_dialog.h"

#include "app/ui/ui_services.h"
#include "publish/ui/document_printer.h"
#include "app/ui/help.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
QTextCharFormat formatOf(const FontSpec &f) {
    QTextCharFormat cf;
    cf.setFont(DocumentPrinter::toFont(f));
    cf.setForeground(QColor::fromRgb(QRgb(0xFF000000u | f.color)));
    return cf;
}

FontSpec specOf(const QTextCharFormat &cf) {
    FontSpec f;
    const QFont font = cf.font();
    f.family = font.family();
    f.pointSize = font.pointSizeF() > 0 ? font.pointSizeF() : 10;
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.color =
        cf.foreground().style() == Qt::NoBrush ? 0 : (cf.foreground().color().rgb() & 0xFFFFFF);
    return f;
}

void setSample(QFrame *sample, quint32 color) {
    sample->setStyleSheet(QStringLiteral("background-color: #%1; border: 1px solid #808080;")
                              .arg(color, 6, 16, QLatin1Char('0')));
}

QCheckBox *check(QWidget *parent, const QString &caption, const char *name) {
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}
} // namespace

TPageSetupDlg::TPageSetupDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TPageSetupDlg"));
    setWindowTitle(QStringLiteral("Mise en page"));
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    tabs->addTab(makeMarginsPage(), QStringLiteral("Marges && Options"));
    tabs->addTab(makeHeaderPage(), QStringLiteral("En-tête && Pied de page"));

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("BoutAnnuler"));
    QPushButton *help = buttons->addButton(QStringLiteral("Aide"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("BoutAide"));
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/mise_en_page.htm")); });
    connect(buttons, &QDialogButtonBox::accepted, this, &TPageSetupDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *main = new QVBoxLayout(this);
    main->addWidget(tabs);
    main->addWidget(buttons);
    connect(qApp, &QApplication::focusChanged, this, &TPageSetupDlg::updateToolbar);
    updateToolbar();
    setSettings(PrintSettings::defaults());
}

QWidget *TPageSetupDlg::makeMarginsPage() {
    auto *page = new QWidget;
    static const char *names[PrintRules::kMarginCount] = {
        "EditGauche",      "EditDroite",         "EditHaut",       "EditBas",
        "EditGouttiere",   "EditEnTete",         "EditPiedDePage", "EditMargeGauche",
        "EditMargeDroite", "EditMargeInterieure"};
    for (int i = 0; i < PrintRules::kMarginCount; ++i) {
        m_margins[i] = new QLineEdit(page);
        m_margins[i]->setObjectName(QString::fromLatin1(names[i]));
        m_margins[i]->setMaximumWidth(90);
    }
    auto *margins = new QGroupBox(QStringLiteral(" Marges "), page);
    auto *mf = new QFormLayout(margins);
    const QStringList captions = {QStringLiteral("Gauche :"), QStringLiteral("Droite :"),
                                  QStringLiteral("Haut :"), QStringLiteral("Bas :"),
                                  QStringLiteral("Gouttière :")};
    for (int i = 0; i < 5; ++i)
        mf->addRow(captions[i], m_margins[i]);
    m_unit = new QComboBox(margins);
    m_unit->setObjectName(QStringLiteral("CBUnites"));
    m_unit->addItems(PrintRules::unitNames());
    mf->addRow(QStringLiteral("Unités :"), m_unit);
    connect(m_unit, &QComboBox::currentIndexChanged, this, &TPageSetupDlg::unitChanged);

    auto *options = new QGroupBox(QStringLiteral(" Options "), page);
    auto *ol = new QVBoxLayout(options);
    m_mirrorMargins = check(options, QStringLiteral("Pages en vis-à-vis"), "CBMirrorMargins");
    m_lineNumbers = check(options, QStringLiteral("Numéros de ligne"), "CBLineNumbers");
    m_numbersInMargin =
        check(options, QStringLiteral("Imprimer les numéros de ligne dans la marge"),
              "CBLineNumbersInMargin");
    m_syntax = check(options, QStringLiteral("Imprimer la syntaxe"), "CBHighlight");
    m_colours = check(options, QStringLiteral("Utilisez les couleurs"), "CBColors");
    m_wrap = check(options, QStringLiteral("Retours à la ligne"), "CBWrap");
    for (QCheckBox *c :
         {m_mirrorMargins, m_lineNumbers, m_numbersInMargin, m_syntax, m_colours, m_wrap})
        ol->addWidget(c);
    ol->addStretch();

    auto *band = new QGroupBox(QStringLiteral(" En-tête et Pied de Page "), page);
    auto *bf = new QFormLayout(band);
    bf->addRow(QStringLiteral("En tête :"), m_margins[5]);
    bf->addRow(QStringLiteral("Pied de page :"), m_margins[6]);
    bf->addRow(QStringLiteral("Marge intérieure"), m_margins[9]);
    bf->addRow(QStringLiteral("Marge à gauche :"), m_margins[7]);
    bf->addRow(QStringLiteral("Marge à droite :"), m_margins[8]);

    auto *grid = new QGridLayout(page);
    grid->addWidget(margins, 0, 0);
    grid->addWidget(options, 0, 1, 2, 1);
    grid->addWidget(band, 1, 0);
    return page;
}

QWidget *TPageSetupDlg::makeHeaderPage() {
    auto *page = new QWidget;
    m_tools = new QToolBar(page);
    m_tools->setObjectName(QStringLiteral("ToolBarChamps"));
    m_tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto field = [this](const QString &caption, const QString &hint, const QString &text) {
        QAction *a = m_tools->addAction(caption);
        a->setToolTip(hint);
        a->setObjectName(QStringLiteral("Champ") + QString(text).remove(QLatin1Char('$')));
        connect(a, &QAction::triggered, this, [this, text] { insertField(text); });
    };
    field(QStringLiteral("N°"), QStringLiteral("Numéro de page"), QStringLiteral("$PAGENUM$"));
    field(QStringLiteral("Nb"), QStringLiteral("Nombre de pages"), QStringLiteral("$PAGECOUNT$"));
    field(QStringLiteral("Heure"), QStringLiteral("Heure"), QStringLiteral("$TIME$"));
    field(QStringLiteral("Date"), QStringLiteral("Date"), QStringLiteral("$DATE$"));
    field(QStringLiteral("Titre"), QStringLiteral("Titre"), QStringLiteral("$TITLE$"));
    m_tools->addSeparator();
    QAction *font = m_tools->addAction(QStringLiteral("Police"));
    font->setObjectName(QStringLiteral("ChampPolice"));
    connect(font, &QAction::triggered, this, &TPageSetupDlg::chooseFont);
    const QStringList styles = {QStringLiteral("Gras"), QStringLiteral("Italique"),
                                QStringLiteral("Souligné")};
    for (int i = 0; i < 3; ++i) {
        QAction *a = m_tools->addAction(styles[i]);
        a->setObjectName(QStringLiteral("Champ") + QStringList{"Gras", "Italique", "Souligne"}[i]);
        connect(a, &QAction::triggered, this, [this, i] { toggleStyle(i); });
    }
    auto *l = new QVBoxLayout(page);
    l->addWidget(m_tools);
    l->addWidget(makeBand(m_header, true));
    l->addWidget(makeBand(m_footer, false));
    return page;
}

QWidget *TPageSetupDlg::makeBand(BandControls &c, bool header) {
    auto *group =
        new QGroupBox(header ? QStringLiteral(" En-tête ") : QStringLiteral(" Pied de page "));
    const QString prefix = header ? QStringLiteral("REHeader") : QStringLiteral("REFooter");
    auto *grid = new QGridLayout(group);
    const QStringList captions = {QStringLiteral("Gauche"), QStringLiteral("Centre"),
                                  QStringLiteral("Droite")};
    const QStringList names = {QStringLiteral("Left"), QStringLiteral("Center"),
                               QStringLiteral("Right")};
    for (int a = 0; a < 3; ++a) {
        grid->addWidget(new QLabel(captions[a], group), 0, a);
        auto *box = new QTextEdit(group);
        box->setObjectName(prefix + names[a]);
        box->setLineWrapMode(QTextEdit::NoWrap);
        box->setAcceptRichText(false);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        box->setFixedHeight(70);
        box->setMinimumWidth(170);
        c.boxes[a] = box;
        grid->addWidget(box, 1, a);
    }
    c.mirror =
        check(group, QStringLiteral("vis-à-vis"), header ? "CBHeaderMirror" : "CBFooterMirror");
    grid->addWidget(c.mirror, 2, 0);

    auto *look = new QGroupBox(QStringLiteral(" Apparence "), group);
    auto *ll = new QGridLayout(look);
    c.line =
        check(look, header ? QStringLiteral("Ligne en dessous") : QStringLiteral("Ligne au-dessus"),
              header ? "CBHeaderLine" : "CBFooterLine");
    c.box = check(look, QStringLiteral("Cadre"), header ? "CBHeaderBox" : "CBFooterBox");
    c.shade = check(look, QStringLiteral("Ombre"), header ? "CBHeaderShadow" : "CBFooterShadow");
    c.lineSample = new QFrame(look);
    c.shadeSample = new QFrame(look);
    for (QFrame *f : {c.lineSample, c.shadeSample})
        f->setFixedSize(24, 16);
    auto *lineButton = new QPushButton(QStringLiteral("Couleur ligne"), look);
    lineButton->setObjectName(header ? QStringLiteral("BoutHeaderLineColor")
                                     : QStringLiteral("BoutFooterLineColor"));
    auto *shadeButton = new QPushButton(QStringLiteral("Couleur ombre"), look);
    shadeButton->setObjectName(header ? QStringLiteral("BoutHeaderShadowColor")
                                      : QStringLiteral("BoutFooterShadowColor"));
    connect(lineButton, &QPushButton::clicked, this, [this, &c] { chooseColor(c, false); });
    connect(shadeButton, &QPushButton::clicked, this, [this, &c] { chooseColor(c, true); });
    ll->addWidget(c.line, 0, 0);
    ll->addWidget(c.box, 0, 1);
    ll->addWidget(c.shade, 0, 2);
    ll->addWidget(c.lineSample, 1, 0, Qt::AlignRight);
    ll->addWidget(lineButton, 1, 1);
    ll->addWidget(c.shadeSample, 2, 0, Qt::AlignRight);
    ll->addWidget(shadeButton, 2, 1);
    grid->addWidget(look, 2, 1, 1, 2);
    return group;
}

void TPageSetupDlg::setSettings(const PrintSettings &s) {
    m_settings = s;
    const QLocale locale;
    const auto values = PrintRules::marginValues(s);
    m_unit->blockSignals(true);
    m_unit->setCurrentIndex(int(s.unit));
    m_unit->blockSignals(false);
    m_unitIndex = int(s.unit);
    for (int i = 0; i < PrintRules::kMarginCount; ++i)
        m_margins[i]->setText(PrintRules::formatLength(values[i], s.unit, locale));
    m_mirrorMargins->setChecked(s.mirrorMargins);
    m_lineNumbers->setChecked(s.lineNumbers);
    m_numbersInMargin->setChecked(s.numbersInMargin);
    m_syntax->setChecked(s.syntax);
    m_colours->setChecked(s.colours);
    m_wrap->setChecked(s.wrapLines);
    loadBand(m_header, s.header);
    loadBand(m_footer, s.footer);
}

void TPageSetupDlg::loadBand(BandControls &c, const HeaderFooter &band) {
    const PrintRules::Boxes boxes = PrintRules::boxesFromItems(band.items, band.defaultFont);
    for (int a = 0; a < 3; ++a) {
        QTextEdit *box = c.boxes[a];
        box->clear();
        QTextCursor cur(box->document());
        QTextBlockFormat bf;
        bf.setAlignment(a == 0 ? Qt::AlignLeft : a == 1 ? Qt::AlignHCenter : Qt::AlignRight);
        cur.setBlockFormat(bf);
        cur.setBlockCharFormat(formatOf(band.defaultFont));
        box->setCurrentCharFormat(formatOf(band.defaultFont));
        for (int i = 0; i < boxes[a].size(); ++i) {
            if (i > 0) cur.insertBlock(bf, formatOf(boxes[a][i].font));
            cur.setBlockCharFormat(formatOf(boxes[a][i].font));
            cur.insertText(boxes[a][i].text, formatOf(boxes[a][i].font));
        }
    }
    c.mirror->setChecked(band.mirror);
    c.line->setChecked(band.line);
    c.box->setChecked(band.box);
    c.shade->setChecked(band.shade);
    c.lineColor = band.lineColor;
    c.shadeColor = band.shadeColor;
    setSample(c.lineSample, c.lineColor);
    setSample(c.shadeSample, c.shadeColor);
}

void TPageSetupDlg::saveBand(const BandControls &c, HeaderFooter &band) const {
    PrintRules::Boxes boxes;
    for (int a = 0; a < 3; ++a) {
        for (QTextBlock b = c.boxes[a]->document()->begin(); b.isValid(); b = b.next()) {
            // A line's font is that of its first piece of text.
            QTextCharFormat cf = b.charFormat();
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                if (it.fragment().isValid()) {
                    cf = it.fragment().charFormat();
                    break;
                }
            }
            boxes[a] << PrintRules::BoxLine{b.text(), specOf(cf)};
        }
    }
    band.items = PrintRules::itemsFromBoxes(boxes);
    band.mirror = c.mirror->isChecked();
    band.line = c.line->isChecked();
    band.box = c.box->isChecked();
    band.shade = c.shade->isChecked();
    band.lineColor = c.lineColor;
    band.shadeColor = c.shadeColor;
}

QStringList TPageSetupDlg::marginTexts() const {
    QStringList t;
    for (QLineEdit *e : m_margins)
        t << e->text();
    return t;
}

bool TPageSetupDlg::collect(PrintSettings *out, int *bad) const {
    const PrintRules::MarginParse p =
        PrintRules::parseMargins(marginTexts(), MarginUnit(m_unit->currentIndex()), QLocale());
    if (!p.ok) {
        if (bad) *bad = p.badIndex;
        return false;
    }
    PrintSettings s = m_settings;
    PrintRules::setMarginValues(s, p.mm);
    s.unit = MarginUnit(m_unit->currentIndex());
    s.mirrorMargins = m_mirrorMargins->isChecked();
    s.lineNumbers = m_lineNumbers->isChecked();
    s.numbersInMargin = m_numbersInMargin->isChecked();
    s.syntax = m_syntax->isChecked();
    s.colours = m_colours->isChecked();
    s.wrapLines = m_wrap->isChecked();
    saveBand(m_header, s.header);
    saveBand(m_footer, s.footer);
    *out = s;
    return true;
}

void TPageSetupDlg::accept() {
    PrintSettings s;
    int bad = -1;
    if (!collect(&s, &bad)) {
        ui().message(MsgType::Error, MsgButtons::Ok, QStringLiteral("Nombre invalide !"));
        m_margins[bad]->setFocus();
        m_margins[bad]->selectAll();
        return;
    }
    QDialog::accept();
}

void TPageSetupDlg::unitChanged(int index) {
    const QStringList texts = PrintRules::convertTexts(marginTexts(), MarginUnit(m_unitIndex),
                                                       MarginUnit(index), QLocale());
    for (int i = 0; i < PrintRules::kMarginCount; ++i)
        m_margins[i]->setText(texts[i]);
    m_unitIndex = index;
}

QTextEdit *TPageSetupDlg::focusedBox() const {
    QWidget *f = QApplication::focusWidget();
    for (const BandControls *c : {&m_header, &m_footer}) {
        for (QTextEdit *b : c->boxes) {
            if (b && (f == b || b->isAncestorOf(f))) return b;
        }
    }
    return nullptr;
}

void TPageSetupDlg::updateToolbar() {
    if (QTextEdit *b = focusedBox()) m_lastBox = b;
    const bool on = focusedBox() != nullptr;
    for (QAction *a : m_tools->actions())
        a->setEnabled(on);
}

void TPageSetupDlg::insertField(const QString &field) {
    if (QTextEdit *b = focusedBox()) b->textCursor().insertText(field);
}

void TPageSetupDlg::toggleStyle(int which) {
    QTextEdit *b = focusedBox();
    if (!b) return;
    QTextCursor cur = b->textCursor();
    cur.select(QTextCursor::LineUnderCursor);
    QFont f = cur.charFormat().font();
    if (!cur.hasSelection()) f = b->currentCharFormat().font();
    QTextCharFormat cf;
    if (which == 0)
        cf.setFontWeight(f.bold() ? QFont::Normal : QFont::Bold);
    else if (which == 1)
        cf.setFontItalic(!f.italic());
    else
        cf.setFontUnderline(!f.underline());
    cur.mergeCharFormat(cf);
    cur.mergeBlockCharFormat(cf);
    b->mergeCurrentCharFormat(cf);
}

void TPageSetupDlg::chooseFont() {
    QTextEdit *b = focusedBox() ? focusedBox() : m_lastBox;
    if (!b) return;
    QTextCursor cur = b->textCursor();
    cur.select(QTextCursor::LineUnderCursor);
    QFontDialog dlg(cur.charFormat().font(), this);
    if (ui().execDialog(&dlg) != QDialog::Accepted) return;
    QTextCharFormat cf;
    cf.setFont(dlg.selectedFont().family().isEmpty() ? dlg.currentFont() : dlg.selectedFont());
    cur.mergeCharFormat(cf);
    cur.mergeBlockCharFormat(cf);
    b->mergeCurrentCharFormat(cf);
}

void TPageSetupDlg::chooseColor(BandControls &c, bool shade) {
    quint32 &color = shade ? c.shadeColor : c.lineColor;
    QColorDialog dlg(QColor::fromRgb(QRgb(0xFF000000u | color)), this);
    if (ui().execDialog(&dlg) != QDialog::Accepted) return;
    const QColor chosen = dlg.selectedColor().isValid() ? dlg.selectedColor() : dlg.currentColor();
    color = chosen.rgb() & 0xFFFFFF;
    setSample(shade ? c.shadeSample : c.lineSample, color);
}
