#include "assist/ui/page_check_panel.h"

#include "app/ui/editor_view.h"
#include "app/ui/help.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

QString FindingCountText(const PageCheck::Result &r) {
    const size_t n = r.findings.size();
    if (n == 0) return QStringLiteral("Aucun problème");
    const QString count =
        n == 1 ? QStringLiteral("1 problème") : QStringLiteral("%1 problèmes").arg(qulonglong(n));
    return r.truncated ? QStringLiteral("Plus de %1").arg(count) : count;
}

PageCheckPanel::PageCheckPanel(QWidget *parent)
    : QDockWidget(QStringLiteral("Vérification"), parent) {
    setObjectName(QStringLiteral("PanneauVerification"));
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 2, 4, 4);
    auto *top = new QHBoxLayout;
    m_summary = new QLabel(body);
    m_summary->setObjectName(QStringLiteral("ResumeVerification"));
    auto *help = new QPushButton(QStringLiteral("Aide"), body);
    help->setObjectName(QStringLiteral("BoutAide"));
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/verification.htm")); });
    top->addWidget(m_summary, 1);
    top->addWidget(help);
    layout->addLayout(top);

    m_list = new QTreeWidget(body);
    m_list->setObjectName(QStringLiteral("ListeVerification"));
    m_list->setAccessibleName(QStringLiteral("Problèmes trouvés"));
    m_list->setHeaderLabels(
        {QStringLiteral("Ligne"), QStringLiteral("Colonne"), QStringLiteral("Problème")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 60);
    m_list->setColumnWidth(1, 70);
    layout->addWidget(m_list);
    setWidget(body);

    // Enter and a click alike.
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { goTo(m_list->indexOfTopLevelItem(item)); });
    connect(m_list, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { goTo(m_list->indexOfTopLevelItem(item)); });
}

void PageCheckPanel::setResult(TMyMwCustomEdit *editor, const PageCheck::Result &r) {
    m_editor = editor;
    m_list->clear();
    QList<QTreeWidgetItem *> rows;
    rows.reserve(qsizetype(r.findings.size()));
    for (const PageCheck::Finding &f : r.findings) {
        auto *item =
            new QTreeWidgetItem({QString::number(f.line), QString::number(f.column), f.message});
        item->setData(0, Qt::UserRole, qlonglong(f.offset));
        item->setData(1, Qt::UserRole, f.length);
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        rows << item;
    }
    // In one call: an assistive tool would make each addition an event.
    m_list->addTopLevelItems(rows);
    m_summary->setText(FindingCountText(r));
}

void PageCheckPanel::showNotChecked(const QString &why) {
    m_editor = nullptr;
    m_list->clear();
    m_summary->setText(why);
}

int PageCheckPanel::rowCount() const {
    return m_list->topLevelItemCount();
}

void PageCheckPanel::goTo(int row) {
    QTreeWidgetItem *item = m_list->topLevelItem(row);
    if (!item || !m_editor) return;
    const long offset = long(item->data(0, Qt::UserRole).toLongLong());
    const long length = item->data(1, Qt::UserRole).toInt();
    const long size = m_editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const long from = std::min(offset, size);
    // The underlined text selected, the caret at its start.
    m_editor->SendScintilla(QsciScintillaBase::SCI_SETSEL, std::min(from + length, size), from);
    m_editor->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
    m_editor->setFocus();
}
