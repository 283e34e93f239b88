#include "app/ui/document_type_module.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/editor_view.h"
#include "editor/ui/highlight_lexer.h"

#include <QApplication>
#include <QMainWindow>
#include <QComboBox>
#include <QFileInfo>

DocumentTypeModule::DocumentTypeModule(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx)
{
    ctx.actions->addWidget(QStringLiteral("cbxHighlighter"),
                           [this](QWidget *parent) { return createTypeList(parent); });
    // The stored filters and colours, then the lists, once per run.
    connect(ctx.events, &AppEvents::settingsLoaded, this, [this] {
        LoadHighlighterSettings(m_types, *m_ctx.store);
        BuildTypeLists();
    });
    connect(ctx.events, &AppEvents::preferencesApplied, this,
            [this] { SaveHighlighterSettings(m_types, *m_ctx.store); });
}

QWidget *DocumentTypeModule::createTypeList(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cbxHighlighter"));
    box->setMaxVisibleItems(12);
    // 120 pixels at the least, wider when the fonts need it to show every name whole.
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box->setToolTip(QStringLiteral("Type de document"));
    box->setFocusPolicy(Qt::ClickFocus);
    connect(box, &QComboBox::activated, this, &DocumentTypeModule::typeChosen);
    m_list = box;
    if (m_built) {
        box->addItems(m_lists.names);
        fitTypeList();
    }
    return box;
}

void DocumentTypeModule::fitTypeList()
{
    // Every name whole at any window width: a narrow window moves the list to its
    // bar's overflow rather than squeezing it.
    m_list->setMinimumWidth(std::max(120, m_list->sizeHint().width()));
}

void DocumentTypeModule::BuildTypeLists()
{
    m_lists = ::BuildTypeLists(m_types);
    m_built = true;
    if (m_list) {
        const QSignalBlocker block(m_list);
        m_list->clear();
        m_list->addItems(m_lists.names);
        fitTypeList();
    }
}

QString DocumentTypeModule::fileFilter() const
{
    if (!m_built)
        const_cast<DocumentTypeModule *>(this)->BuildTypeLists();
    return m_lists.filter;
}

HighlightLexer *DocumentTypeModule::lexerOf(const TMyMwCustomEdit *editor)
{
    return editor ? qobject_cast<HighlightLexer *>(editor->lexer()) : nullptr;
}

int DocumentTypeModule::highlighterOf(const TMyMwCustomEdit *editor) const
{
    const HighlightLexer *lexer = lexerOf(editor);
    return lexer ? m_types.indexOf(lexer->highlighter()) : -1;
}

void DocumentTypeModule::SetEditorHighlighter(TMyMwCustomEdit *editor, int index)
{
    if (!editor || index < 0 || index >= m_types.count())
        return;
    if (highlighterOf(editor) != index) {
        QsciLexer *old = editor->lexer();
        auto *lexer = new HighlightLexer(m_types.highlighter(index), editor);
        lexer->setBaseFont(editor->editorFont());
        editor->setLexer(lexer);
        delete old;
    }
    if (editor == m_ctx.docs->ActiveEditor()) {
        if (!m_built)
            BuildTypeLists();
        selectInList(int(m_lists.names.indexOf(m_types.entry(index).typeName())));
    }
    emit highlighterChanged(editor);
}

void DocumentTypeModule::selectInList(int listIndex)
{
    if (m_list && listIndex >= 0 && listIndex < m_list->count()) {
        const QSignalBlocker block(m_list);
        m_list->setCurrentIndex(listIndex);
    }
}

void DocumentTypeModule::typeChosen(int listIndex)
{
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e || listIndex < 0 || listIndex >= m_lists.entries.size())
        return;
    SetEditorHighlighter(e, m_lists.entries[listIndex]);
    e->setFocus();
}

bool DocumentTypeModule::assignFromExtension(TMyMwCustomEdit *editor, const QString &path)
{
    const int index = HighlighterForExtension(m_types, QFileInfo(path).suffix());
    if (index < 0)
        return false;
    SetEditorHighlighter(editor, index);
    return true;
}

void DocumentTypeModule::tabChanged(TMyMwCustomEdit *editor)
{
    if (!m_built)
        BuildTypeLists();
    int k = m_ctx.options->typeDefaut;
    const int current = highlighterOf(editor);
    if (current < 0) {
        const int entry = k >= 0 && k < m_lists.entries.size() ? m_lists.entries[k]
                                                               : m_lists.entries.value(1);
        SetEditorHighlighter(editor, entry);
        if (k < 0 || k >= m_lists.names.size())
            k = 1;
    } else {
        const int i = int(m_lists.names.indexOf(m_types.entry(current).typeName()));
        if (i >= 0)
            k = i;
    }
    selectInList(k);
}

bool DocumentTypeModule::AssignerHighlighter(TMyMwCustomEdit *editor)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool matched = assignFromExtension(editor, editor->fileName);
    QApplication::restoreOverrideCursor();
    if (matched)
        tabChanged(editor);
    return matched;
}

void DocumentTypeModule::afterSaveAs(TMyMwCustomEdit *editor)
{
    const int current = highlighterOf(editor);
    if (current < 0 || current == DocumentTypes::SynGeneralSyn1)
        AssignerHighlighter(editor);
}
