#include "assist/ui/tag_ref_boite.h"

#include "app/app_settings.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "assist/tag_reference.h"
#include "authoring/ui/insertion_glue.h"
#include "editor/ui/highlight_lexer.h"
#include "app/ui/help.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

namespace {

QLabel *boldLabel(const QString &text, QWidget *parent) {
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

TTagRefBoite::TTagRefBoite(AppContext &ctx, const Highlighter *html, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_ctx(ctx) {
    setObjectName(QStringLiteral("TTagRefBoite"));
    setWindowTitle(QStringLiteral("Référence des marqueurs"));
    resize(321, 321);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Combo1"));
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_list->setMaximumWidth(120);

    // The two insert commands belong to the list: elsewhere Ctrl+Insert is Copy.
    auto *insertTag = new QAction(QStringLiteral("Insérer le &marqueur"), m_list);
    insertTag->setObjectName(QStringLiteral("Insrerlemarqueur1"));
    insertTag->setShortcut(QKeySequence(Qt::Key_Insert));
    insertTag->setShortcutContext(Qt::WidgetShortcut);
    connect(insertTag, &QAction::triggered, this, &TTagRefBoite::insertTag);
    auto *insertExample = new QAction(QStringLiteral("Insérer l'&exemple"), m_list);
    insertExample->setObjectName(QStringLiteral("Insrerlexemple1"));
    insertExample->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    insertExample->setShortcutContext(Qt::WidgetShortcut);
    connect(insertExample, &QAction::triggered, this, &TTagRefBoite::insertExample);
    m_list->addAction(insertTag);
    m_list->addAction(insertExample);
    connect(m_list, &QListWidget::currentRowChanged, this, &TTagRefBoite::showCurrent);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TTagRefBoite::insertTag);

    m_description = new QTextBrowser(this);
    m_description->setObjectName(QStringLiteral("Memo1"));
    m_description->setOpenLinks(false);
    m_description->setMaximumHeight(80);

    m_example = new QsciScintilla(this);
    m_example->setObjectName(QStringLiteral("memo2"));
    m_example->setReadOnly(true);
    m_example->setMarginWidth(0, 0);
    m_example->setMarginWidth(1, 0);
    m_example->setEdgeMode(QsciScintilla::EdgeNone);
    // Markup reads best unwrapped; long lines scroll.
    m_example->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTHTRACKING, 1UL);
    m_example->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTH, 1UL);
    QFont mono(QStringLiteral("Courier New"), 10);
    mono.setStyleHint(QFont::Monospace);
    auto *lexer = new HighlightLexer(html, m_example);
    lexer->setBaseFont(mono);
    m_example->setLexer(lexer);

    m_copy = new QToolButton(this);
    m_copy->setObjectName(QStringLiteral("SpeedButton1"));
    m_copy->setAutoRaise(true);
    m_copy->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy"),
                                     style()->standardIcon(QStyle::SP_FileDialogContentsView)));
    m_copy->setToolTip(QStringLiteral("Copier l'exemple dans le presse-papier"));
    connect(m_copy, &QToolButton::clicked, this, &TTagRefBoite::copyExample);

    auto *right = new QVBoxLayout;
    right->addWidget(boldLabel(QStringLiteral("Description :"), this));
    right->addWidget(m_description);
    auto *exampleRow = new QHBoxLayout;
    exampleRow->addWidget(boldLabel(QStringLiteral("Exemple :"), this));
    exampleRow->addStretch();
    exampleRow->addWidget(m_copy);
    right->addLayout(exampleRow);
    right->addWidget(m_example, 1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_list);
    layout->addLayout(right, 1);

    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/reference_marqueurs.htm")); });
    refresh();
}

void TTagRefBoite::refresh() {
    const int row = std::max(0, m_list->currentRow());
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const TagReference::Entry &e : TagReference::entries())
        m_list->addItem(TagReference::displayKey(e, m_ctx.options->casse));
    m_list->setCurrentRow(row);
    showCurrent();
}

void TTagRefBoite::selectEntry(int index) {
    m_list->setCurrentRow(index);
}

int TTagRefBoite::currentEntry() const {
    return m_list->currentRow();
}

void TTagRefBoite::showCurrent() {
    const int i = m_list->currentRow();
    if (i < 0 || i >= int(TagReference::entries().size())) return;
    const TagReference::Entry &e = TagReference::entries()[size_t(i)];
    m_description->setPlainText(e.description);
    m_example->setReadOnly(false);
    m_example->setText(TagReference::markupCase(e.example, m_ctx.options->casse)
                           .replace(QLatin1String("\r\n"), QLatin1String("\n")));
    m_example->setReadOnly(true);
}

void TTagRefBoite::showEvent(QShowEvent *e) {
    QWidget::showEvent(e);
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_list->setCurrentRow(0);
        // First shown beside the right edge of the main window, below its toolbars.
        if (QWidget *main = parentWidget()) {
            const QRect r = main->frameGeometry();
            move(std::max(r.left(), r.right() - width() - 24), r.top() + 120);
        }
    }
    refresh();
    emit visibilityChanged(true);
}

void TTagRefBoite::hideEvent(QHideEvent *e) {
    QWidget::hideEvent(e);
    emit visibilityChanged(false);
}

void TTagRefBoite::insertTag() {
    const int i = currentEntry();
    TMyMwCustomEdit *editor = m_ctx.docs->ActiveEditor();
    if (i < 0 || !editor) return;
    const TagReference::Entry &e = TagReference::entries()[size_t(i)];
    // Cased as one text: a closing text may begin inside the opening's value.
    const QString both = TagReference::markupCase(e.opening + e.closing, m_ctx.options->casse);
    Markup::WrapSelection(m_ctx, editor, both.left(e.opening.size()), both.mid(e.opening.size()),
                          true);
}

void TTagRefBoite::insertExample() {
    const int i = currentEntry();
    TMyMwCustomEdit *editor = m_ctx.docs->ActiveEditor();
    if (i < 0 || !editor) return;
    const TagReference::Entry &e = TagReference::entries()[size_t(i)];
    Markup::WrapSelection(m_ctx, editor, TagReference::markupCase(e.example, m_ctx.options->casse),
                          QString(), true);
}

void TTagRefBoite::copyExample() {
    m_example->selectAll();
    QApplication::clipboard()->setText(m_example->text());
}
