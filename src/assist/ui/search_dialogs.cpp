#include "assist/ui/search_dialogs.h"

#include "app/ui/ui_services.h"
#include "assist/search_rules.h"
#include "app/ui/help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QPushButton *addHelp(QDialogButtonBox *box, const QString &topic) {
    QPushButton *help = box->addButton(QStringLiteral("Aide"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("BoutAide"));
    QObject::connect(help, &QPushButton::clicked, help, [topic] { ShowHelpTopic(topic); });
    return help;
}

QDialogButtonBox *okCancel(QDialog *d) {
    auto *box = new QDialogButtonBox(d);
    QPushButton *ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    QPushButton *cancel = box->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return box;
}

void fillHistory(QComboBox *combo, const QString &text, const QStringList &history) {
    combo->clear();
    combo->addItems(history);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
    combo->lineEdit()->selectAll();
}

QComboBox *textCombo(QWidget *parent, const char *name) {
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumWidth(260);
    c->setMaxVisibleItems(SearchRules::kHistorySize);
    return c;
}
} // namespace

TTextSearchDialog::TTextSearchDialog(QWidget *parent, bool replace)
    : QDialog(parent), m_replace(replace) {
    setObjectName(replace ? QStringLiteral("TTextReplaceDialog")
                          : QStringLiteral("TTextSearchDialog"));
    setWindowTitle(replace ? QStringLiteral("Remplacer") : QStringLiteral("Chercher"));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_page1 = makePage(&m_grid1);
    m_page1->setObjectName(QStringLiteral("TabSheet1"));
    m_page2 = makePage(&m_grid2);
    m_page2->setObjectName(QStringLiteral("TabSheet2"));
    m_nbDocs = new QLabel(m_page2);
    m_nbDocs->setObjectName(QStringLiteral("NbDocs"));
    QFont bold = m_nbDocs->font();
    bold.setBold(true);
    m_nbDocs->setFont(bold);
    m_grid2->addWidget(m_nbDocs, 0, 0, 1, 2);
    m_pages->addTab(m_page1, QStringLiteral("Document courant"));
    m_pages->addTab(m_page2, QStringLiteral("Tous les documents ouverts"));

    m_searchLabel = new QLabel(QStringLiteral("Chercher :"), this);
    m_searchText = textCombo(this, "cbSearchText");
    m_searchLabel->setBuddy(m_searchText);
    if (replace) {
        m_replaceLabel = new QLabel(QStringLiteral("Remplacer par :"), this);
        m_replaceText = textCombo(this, "cbReplaceText");
        m_replaceLabel->setBuddy(m_replaceText);
    }

    auto *direction = new QGroupBox(QStringLiteral(" Direction "), this);
    direction->setObjectName(QStringLiteral("rgSearchDirection"));
    m_up = new QRadioButton(QStringLiteral("Vers le haut"), direction);
    m_up->setObjectName(QStringLiteral("rbVersLeHaut"));
    m_down = new QRadioButton(QStringLiteral("Vers le bas"), direction);
    m_down->setObjectName(QStringLiteral("rbVersLeBas"));
    m_down->setChecked(true);
    auto *dl = new QVBoxLayout(direction);
    dl->addWidget(m_up);
    dl->addWidget(m_down);
    dl->addStretch();

    auto *options = new QGroupBox(QStringLiteral(" Options "), this);
    options->setObjectName(QStringLiteral("gbSearchOptions"));
    m_caseSensitive = new QCheckBox(QStringLiteral("Différencier MAJ/min"), options);
    m_caseSensitive->setObjectName(QStringLiteral("cbSearchCaseSensitive"));
    m_wholeWords = new QCheckBox(replace ? QStringLiteral("Mots entiers seulement")
                                         : QStringLiteral("Mots entiers"),
                                 options);
    m_wholeWords->setObjectName(QStringLiteral("cbSearchWholeWords"));
    m_fromCursor = new QCheckBox(QStringLiteral("Rechercher depuis le curseur"), options);
    m_fromCursor->setObjectName(QStringLiteral("cbSearchFromCursor"));
    m_selectedOnly = new QCheckBox(QStringLiteral("Texte sélectionné seulement"), options);
    m_selectedOnly->setObjectName(QStringLiteral("cbSearchSelectedOnly"));
    m_regex = new QCheckBox(QStringLiteral("Expression régulière"), options);
    m_regex->setObjectName(QStringLiteral("cbSearchRegularExpression"));
    m_regex->setToolTip(QStringLiteral("Dans le texte de remplacement, \\1 à \\9 reprennent les "
                                       "groupes entre parenthèses, \\0 le texte trouvé"));
    auto *ol = new QVBoxLayout(options);
    for (QCheckBox *c : {m_caseSensitive, m_wholeWords, m_fromCursor, m_selectedOnly, m_regex})
        ol->addWidget(c);

    auto *groups = new QHBoxLayout;
    groups->addWidget(direction);
    groups->addWidget(options, 1);

    QDialogButtonBox *buttons = okCancel(this);
    addHelp(buttons, replace ? QStringLiteral("Ressources/remplacer.htm")
                             : QStringLiteral("Ressources/rechercher.htm"));

    auto *main = new QVBoxLayout(this);
    main->addWidget(m_pages);
    main->addLayout(groups);
    main->addWidget(buttons);

    connect(m_pages, &QTabWidget::currentChanged, this, &TTextSearchDialog::pageChanged);
    auto *other = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(other, &QShortcut::activated, this,
            [this] { m_pages->setCurrentIndex((m_pages->currentIndex() + 1) % m_pages->count()); });
    pageChanged(0);
    m_searchText->setFocus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget *TTextSearchDialog::makePage(QGridLayout **grid) {
    auto *page = new QWidget;
    *grid = new QGridLayout(page);
    (*grid)->setColumnStretch(1, 1);
    return page;
}

void TTextSearchDialog::pageChanged(int index) {
    // The texts follow the page shown; the caret-related options belong to one document.
    const bool all = m_pages->widget(index) == m_page2;
    QGridLayout *grid = all ? m_grid2 : m_grid1;
    const int row = all ? 1 : 0;
    grid->addWidget(m_searchLabel, row, 0);
    grid->addWidget(m_searchText, row, 1);
    if (m_replace) {
        grid->addWidget(m_replaceLabel, row + 1, 0);
        grid->addWidget(m_replaceText, row + 1, 1);
    }
    m_fromCursor->setVisible(!all);
    m_selectedOnly->setVisible(!all);
    m_searchText->setFocus();
}

void TTextSearchDialog::setDocumentCount(int count) {
    m_nbDocs->setText(SearchRules::documentsLabel(m_replace, count));
    const int i = m_pages->indexOf(m_page2);
    if (count <= 1 && i >= 0) m_pages->removeTab(i);
}

void TTextSearchDialog::setAllDocuments(bool on) {
    const int i = m_pages->indexOf(m_page2);
    m_pages->setCurrentIndex(on && i >= 0 ? i : 0);
    pageChanged(m_pages->currentIndex());
}

bool TTextSearchDialog::allDocuments() const {
    return m_pages->currentWidget() == m_page2;
}

void TTextSearchDialog::setFlags(const SearchFlags &f) {
    m_up->setChecked(f.backwards);
    m_down->setChecked(!f.backwards);
    m_caseSensitive->setChecked(f.caseSensitive);
    m_wholeWords->setChecked(f.wholeWords);
    m_fromCursor->setChecked(f.fromCaret);
    m_selectedOnly->setChecked(f.selectionOnly);
    m_regex->setChecked(f.regularExpression);
}

SearchFlags TTextSearchDialog::flags() const {
    SearchFlags f;
    f.backwards = m_up->isChecked();
    f.caseSensitive = m_caseSensitive->isChecked();
    f.wholeWords = m_wholeWords->isChecked();
    f.fromCaret = m_fromCursor->isChecked();
    f.selectionOnly = m_selectedOnly->isChecked();
    f.regularExpression = m_regex->isChecked();
    return f;
}

void TTextSearchDialog::setSearchText(const QString &text, const QStringList &history) {
    fillHistory(m_searchText, text, history);
}

QString TTextSearchDialog::searchText() const {
    return m_searchText->currentText();
}

void TTextSearchDialog::setReplaceText(const QString &text, const QStringList &history) {
    if (m_replaceText) fillHistory(m_replaceText, text, history);
}

QString TTextSearchDialog::replaceText() const {
    return m_replaceText ? m_replaceText->currentText() : QString();
}

// ---- confirmation ----

TConfirmReplaceDialog::TConfirmReplaceDialog(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TConfirmReplaceDialog"));
    setWindowTitle(QStringLiteral("Confirmation"));
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblConfirmation"));
    m_label->setWordWrap(true);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setMinimumWidth(340);

    auto *box = new QDialogButtonBox(this);
    auto add = [this, box](const QString &caption, const char *name, Answer a) {
        QPushButton *b = box->addButton(caption, QDialogButtonBox::ActionRole);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, [this, a] {
            m_answer = a;
            if (a == Cancel)
                reject();
            else
                accept();
        });
        return b;
    };
    add(QStringLiteral("&Oui"), "BoutOui", Replace)->setDefault(true);
    add(QStringLiteral("&Non"), "BoutNon", Skip);
    add(QStringLiteral("Annuler"), "BoutAnnuler", Cancel);
    add(QStringLiteral("&Tout"), "BoutTout", ReplaceAll);

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(m_label, 1);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(box);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TConfirmReplaceDialog::setSearchText(const QString &text) {
    m_label->setText(SearchRules::confirmMessage(text));
    adjustSize();
}

// ---- go to line ----

TBoiteLigne::TBoiteLigne(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TBoiteLigne"));
    setWindowTitle(QStringLiteral("Aller à la ligne"));
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("LabelNumLigne"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("EditLigne"));
    m_label->setBuddy(m_edit);
    QDialogButtonBox *buttons = okCancel(this);
    addHelp(buttons, QStringLiteral("Ressources/aller_a_la_ligne.htm"));
    auto *main = new QVBoxLayout(this);
    main->addWidget(m_label);
    main->addWidget(m_edit);
    main->addWidget(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TBoiteLigne::setup(int currentLine, int lineCount) {
    m_lineCount = lineCount;
    m_label->setText(SearchRules::lineLabel(lineCount));
    m_edit->setText(QString::number(currentLine));
    m_edit->selectAll();
    m_edit->setFocus();
}

int TBoiteLigne::chosenLine() const {
    return SearchRules::parseLine(m_edit->text(), m_lineCount).line;
}

bool TBoiteLigne::check() {
    if (SearchRules::parseLine(m_edit->text(), m_lineCount).accepted) return true;
    ui().message(MsgType::Error, MsgButtons::Ok, QStringLiteral("Numéro de ligne hors limite"));
    m_edit->setFocus();
    m_edit->selectAll();
    return false;
}

void TBoiteLigne::accept() {
    if (check()) QDialog::accept();
}
