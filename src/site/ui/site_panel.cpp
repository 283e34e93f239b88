#include "site/ui/site_panel.h"

#include "app/ui/ui_services.h"
#include "site/site_texts.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
// The system's model, with the program's own French messages when a rename is refused.
class SiteModel : public QFileSystemModel {
public:
    using QFileSystemModel::QFileSystemModel;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override {
        if (role != Qt::EditRole || index.column() != 0)
            return QFileSystemModel::setData(index, value, role);
        const QString name = value.toString().trimmed();
        const QString old = fileName(index);
        if (name == old) return true;
        const QDir dir = fileInfo(index).absoluteDir();
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
            name == QLatin1String(".") || name == QLatin1String("..") || dir.exists(name) ||
            !QFileSystemModel::setData(index, name, role)) {
            ui().message(MsgType::Error, MsgButtons::Ok, SiteTexts::renameFailed(old));
            return false;
        }
        return true;
    }
};
} // namespace

SitePanel::SitePanel(const QStringList &documentPatterns, QWidget *parent)
    : QDockWidget(SiteTexts::panelTitle(), parent), m_patterns(documentPatterns) {
    setObjectName(QStringLiteral("SitePanel"));
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto *top = new QHBoxLayout;
    m_folderLabel = new QLabel(body);
    m_folderLabel->setObjectName(QStringLiteral("SiteDossier"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_all = new QCheckBox(QStringLiteral("&Tous les fichiers"), body);
    m_all->setObjectName(QStringLiteral("SiteTousFichiers"));
    top->addWidget(m_folderLabel, 1);
    top->addWidget(m_all);
    layout->addLayout(top);

    m_model = new SiteModel(this);
    m_model->setReadOnly(false);
    m_model->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setNameFilterDisables(false); // hide the other files rather than grey them
    m_model->setNameFilters(m_patterns);
    m_view = new QTreeView(body);
    m_view->setObjectName(QStringLiteral("SiteArbre"));
    m_view->setAccessibleName(SiteTexts::panelTitle());
    m_view->setModel(m_model);
    m_view->setHeaderHidden(true);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_view->hideColumn(c);
    m_view->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->setUniformRowHeights(true);
    layout->addWidget(m_view, 1);
    setWidget(body);

    const auto local = [this](const QString &caption, const QKeySequence &key) {
        auto *a = new QAction(caption, this);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_view->addAction(a);
        return a;
    };
    // Enter opens through the view's activation: a shortcut would take it from the
    // name being edited.
    m_open = local(QStringLiteral("&Ouvrir"), {});
    m_rename = local(QStringLiteral("&Renommer"), QKeySequence(Qt::Key_F2));
    m_newFolder = local(QStringLiteral("&Nouveau dossier"), {});
    m_trash = local(QStringLiteral("Mettre à la &corbeille"), QKeySequence::Delete);
    connect(m_open, &QAction::triggered, this, [this] { openIndex(m_view->currentIndex()); });
    connect(m_rename, &QAction::triggered, this, &SitePanel::renameCurrent);
    connect(m_newFolder, &QAction::triggered, this, &SitePanel::newFolder);
    connect(m_trash, &QAction::triggered, this, &SitePanel::trashCurrent);

    connect(m_view, &QTreeView::activated, this, &SitePanel::openIndex);
    connect(m_view, &QWidget::customContextMenuRequested, this, &SitePanel::showMenu);
    connect(m_all, &QCheckBox::toggled, this, [this](bool all) {
        m_model->setNameFilters(all ? QStringList() : m_patterns);
        emit allFilesChanged(all);
    });
    connect(m_model, &QFileSystemModel::fileRenamed, this,
            [this](const QString &dir, const QString &oldName, const QString &newName) {
                emit renamed(QDir(dir).filePath(oldName), QDir(dir).filePath(newName));
            });
}

void SitePanel::setSite(const QString &folder) {
    m_site = QDir::cleanPath(folder);
    m_folderLabel->setText(QDir::toNativeSeparators(m_site));
    m_folderLabel->setToolTip(QDir::toNativeSeparators(m_site));
    setWindowTitle(SiteTexts::panelTitle() + QStringLiteral(" - ") + QFileInfo(m_site).fileName());
    m_view->setRootIndex(m_model->setRootPath(m_site));
}

void SitePanel::setAllFiles(bool all) {
    m_all->setChecked(all);
}

bool SitePanel::allFiles() const {
    return m_all->isChecked();
}

QString SitePanel::pathAt(const QModelIndex &index) const {
    return index.isValid() ? m_model->filePath(index) : QString();
}

void SitePanel::openIndex(const QModelIndex &index) {
    if (index.isValid() && !m_model->isDir(index)) emit openRequested(m_model->filePath(index));
}

void SitePanel::showMenu(const QPoint &at) {
    const QModelIndex index = m_view->indexAt(at);
    if (index.isValid()) m_view->setCurrentIndex(index);
    const bool item = index.isValid();
    m_open->setEnabled(item && !m_model->isDir(index));
    m_rename->setEnabled(item);
    m_trash->setEnabled(item);
    QMenu menu(this);
    menu.addAction(m_open);
    menu.addSeparator();
    menu.addAction(m_rename);
    menu.addAction(m_newFolder);
    menu.addSeparator();
    menu.addAction(m_trash);
    menu.exec(m_view->viewport()->mapToGlobal(at));
}

void SitePanel::renameCurrent() {
    const QModelIndex index = m_view->currentIndex();
    if (index.isValid()) m_view->edit(index);
}

void SitePanel::newFolder() {
    if (m_site.isEmpty()) return;
    // Inside the current folder, or beside the current file.
    QModelIndex parent = m_view->currentIndex();
    if (parent.isValid() && !m_model->isDir(parent)) parent = parent.parent();
    if (!parent.isValid()) parent = m_view->rootIndex();
    const QDir dir(m_model->filePath(parent));
    QString name = SiteTexts::newFolderName();
    for (int n = 2; dir.exists(name); ++n)
        name = SiteTexts::newFolderName() + QStringLiteral(" (%1)").arg(n);
    const QModelIndex made = m_model->mkdir(parent, name);
    if (!made.isValid()) {
        ui().message(MsgType::Error, MsgButtons::Ok, SiteTexts::folderFailed());
        return;
    }
    m_view->setCurrentIndex(made);
    m_view->edit(made);
}

void SitePanel::trashCurrent() {
    const QModelIndex index = m_view->currentIndex();
    if (!index.isValid()) return;
    const QString path = m_model->filePath(index);
    const QString name = QFileInfo(path).fileName();
    if (ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                     SiteTexts::trashQuestion(name, m_model->isDir(index))) != MsgAnswer::Yes)
        return;
    // Never removed for good: the desktop's trash keeps it.
    if (!QFile::moveToTrash(path))
        ui().message(MsgType::Error, MsgButtons::Ok, SiteTexts::trashFailed(name));
}
