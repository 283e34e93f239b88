#include "app/ui/new_box.h"

#include "app/templates.h"
#include "app/ui/ui_services.h"
#include "app/ui/help.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

struct Look {
    const char *label;
    QColor colour;
};

Look lookOf(const QString &name) {
    static const QHash<QString, Look> looks = {
        {QStringLiteral("texte"), {"TXT", QColor(90, 90, 90)}},
        {QStringLiteral("html"), {"HTML", QColor(200, 80, 20)}},
        {QStringLiteral("css"), {"CSS", QColor(30, 100, 190)}},
        {QStringLiteral("js"), {"JS", QColor(190, 150, 0)}},
        {QStringLiteral("vbs"), {"VBS", QColor(20, 120, 120)}},
        {QStringLiteral("php"), {"PHP", QColor(100, 90, 170)}},
        {QStringLiteral("asp"), {"ASP", QColor(160, 30, 120)}},
        {QStringLiteral("perl"), {"PL", QColor(0, 110, 160)}},
        {QStringLiteral("sql"), {"SQL", QColor(40, 130, 50)}},
        {QStringLiteral("modele"), {"", QColor(120, 120, 120)}},
    };
    return looks.value(name, Look{"?", QColor(90, 90, 90)});
}

} // namespace

QIcon NewDocumentIcon(const QString &name) {
    const Look look = lookOf(name);
    QIcon icon;
    for (int size : {32, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        // A page with a folded corner and the kind's label on a coloured band.
        QPolygonF sheet;
        sheet << QPointF(5, 1.5) << QPointF(21, 1.5) << QPointF(27, 7.5) << QPointF(27, 30.5)
              << QPointF(5, 30.5);
        p.setPen(QPen(QColor(70, 70, 70), 1));
        p.setBrush(Qt::white);
        p.drawPolygon(sheet);
        p.drawPolyline(QPolygonF() << QPointF(21, 1.5) << QPointF(21, 7.5) << QPointF(27, 7.5));
        p.setPen(QPen(QColor(190, 190, 190), 1));
        for (int y = 11; y <= 14; y += 3)
            p.drawLine(QPointF(8, y), QPointF(24, y));
        if (name == QLatin1String("modele")) {
            p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(8, 17, 16, 10));
            p.drawLine(QPointF(8, 22), QPointF(24, 22));
        } else {
            p.setPen(Qt::NoPen);
            p.setBrush(look.colour);
            p.drawRoundedRect(QRectF(2, 17, 28, 11), 2, 2);
            QFont f = p.font();
            f.setBold(true);
            f.setPixelSize(qstrlen(look.label) > 3 ? 8 : 9);
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(QRectF(2, 17, 28, 11), Qt::AlignCenter, QLatin1String(look.label));
        }
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

TNewBox::TNewBox(QWidget *parent, Mode mode, const QString &templatesFolder, const QString &name)
    : QDialog(parent), m_mode(mode), m_folder(templatesFolder) {
    setObjectName(QStringLiteral("NewBox"));
    setWindowTitle(QStringLiteral("Nouveau document"));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_generalPage = new QWidget;
    m_kinds = new QListWidget(m_generalPage);
    m_kinds->setObjectName(QStringLiteral("LView"));
    m_kinds->setViewMode(QListView::IconMode);
    m_kinds->setIconSize(QSize(32, 32));
    m_kinds->setGridSize(QSize(80, 66));
    m_kinds->setMovement(QListView::Static);
    m_kinds->setResizeMode(QListView::Adjust);
    m_kinds->setWordWrap(true);
    m_kinds->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const NewDocumentKind &k : NewDocumentKinds())
        new QListWidgetItem(NewDocumentIcon(k.icon), k.caption, m_kinds);
    (new QVBoxLayout(m_generalPage))->addWidget(m_kinds);

    auto *templatesPage = new QWidget;
    m_templates = new QListWidget(templatesPage);
    m_templates->setObjectName(QStringLiteral("LVModeles"));
    m_templates->setViewMode(QListView::IconMode);
    m_templates->setIconSize(QSize(32, 32));
    m_templates->setGridSize(QSize(104, 66));
    m_templates->setMovement(QListView::Static);
    m_templates->setResizeMode(QListView::Adjust);
    m_templates->setWordWrap(true);
    m_templates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_templates->setContextMenuPolicy(Qt::CustomContextMenu);
    (new QVBoxLayout(templatesPage))->addWidget(m_templates);

    auto *renameAction = new QAction(QStringLiteral("Renommer ce modèle"), m_templates);
    renameAction->setObjectName(QStringLiteral("RenommerModele"));
    renameAction->setShortcut(Qt::Key_F2);
    renameAction->setShortcutContext(Qt::WidgetShortcut);
    auto *deleteAction = new QAction(QStringLiteral("Supprimer ce modèle"), m_templates);
    deleteAction->setObjectName(QStringLiteral("SupprimerModele"));
    deleteAction->setShortcut(Qt::Key_Delete);
    deleteAction->setShortcutContext(Qt::WidgetShortcut);
    m_templates->addAction(renameAction);
    m_templates->addAction(deleteAction);
    connect(renameAction, &QAction::triggered, this, &TNewBox::startRename);
    connect(deleteAction, &QAction::triggered, this, &TNewBox::deleteTemplate);
    connect(m_templates, &QWidget::customContextMenuRequested, this, &TNewBox::templatesMenu);
    connect(m_templates, &QListWidget::itemChanged, this, &TNewBox::renamed);
    connect(m_templates->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        m_ok->setDefault(true);
        // An edit left unchanged ends here without a change signal.
        QMetaObject::invokeMethod(
            this, [this] { m_renaming.clear(); }, Qt::QueuedConnection);
    });

    if (mode == NewDocument || mode == NewFromTemplate)
        m_pages->addTab(m_generalPage, QStringLiteral("Général"));
    m_pages->addTab(templatesPage, QStringLiteral("Modèles"));
    if (mode == NewFromTemplate) m_pages->setCurrentWidget(templatesPage);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("EditFilename"));
    m_name->setText(name);
    m_name->setVisible(mode == SaveTemplate);
    m_ok = new QPushButton(mode == SaveTemplate   ? QStringLiteral("Enregistrer")
                           : mode == OpenTemplate ? QStringLiteral("Ouvrir")
                                                  : QStringLiteral("OK"),
                           this);
    m_ok->setObjectName(QStringLiteral("BoutOk"));
    m_ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    auto *help = new QPushButton(QStringLiteral("Aide"), this);
    help->setObjectName(QStringLiteral("BoutAide"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_name, 1);
    if (mode != SaveTemplate) buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    connect(m_ok, &QPushButton::clicked, this, &TNewBox::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/nouveau.htm")); });

    for (QListWidget *list : {m_kinds, m_templates}) {
        connect(list, &QListWidget::itemSelectionChanged, this, &TNewBox::updateOk);
        connect(list, &QListWidget::itemDoubleClicked, this, [this, list] {
            if (!list->selectedItems().isEmpty()) accept();
        });
    }
    connect(m_templates, &QListWidget::itemSelectionChanged, this, [this] {
        const auto items = m_templates->selectedItems();
        if (m_mode == SaveTemplate && !items.isEmpty() && m_renaming.isEmpty())
            m_name->setText(items.first()->text());
    });
    connect(m_pages, &QTabWidget::currentChanged, this, &TNewBox::updateOk);
    connect(m_name, &QLineEdit::textChanged, this, &TNewBox::updateOk);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    setFixedSize(402, 314);
    refreshTemplates();
    updateOk();
    if (mode == SaveTemplate) m_name->setFocus();
}

void TNewBox::refreshTemplates() {
    const QSignalBlocker block(m_templates);
    m_templates->clear();
    for (const QString &n : Templates::list(m_folder)) {
        auto *item = new QListWidgetItem(NewDocumentIcon(QStringLiteral("modele")), n, m_templates);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    updateOk();
}

bool TNewBox::onTemplatesPage() const {
    return m_pages->currentWidget() != m_generalPage;
}

void TNewBox::updateOk() {
    if (m_mode == SaveTemplate) {
        m_ok->setEnabled(!m_name->text().isEmpty());
        return;
    }
    const QListWidget *list = onTemplatesPage() ? m_templates : m_kinds;
    m_ok->setEnabled(!list->selectedItems().isEmpty());
}

int TNewBox::chosenKind() const {
    if (onTemplatesPage()) return -1;
    const auto items = m_kinds->selectedItems();
    return items.isEmpty() ? -1 : m_kinds->row(items.first());
}

QString TNewBox::chosenTemplate() const {
    if (!onTemplatesPage()) return QString();
    const auto items = m_templates->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

QString TNewBox::fileName() const {
    return m_name->text();
}

void TNewBox::accept() {
    if (!m_renaming.isEmpty()) return; // Enter ends the caption edit, not the dialog
    if (m_mode == SaveTemplate) {
        const QString name = m_name->text();
        if (const QString error = Templates::nameError(name); !error.isEmpty()) {
            ui().message(MsgType::Warning, MsgButtons::Ok, error);
            m_name->setFocus();
            return;
        }
        if (QFileInfo::exists(QDir(m_folder).filePath(name)) &&
            ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                         Templates::overwriteQuestion(name)) != MsgAnswer::Yes) {
            m_name->setFocus();
            return;
        }
    } else if (!m_ok->isEnabled()) {
        return;
    }
    QDialog::accept();
}

void TNewBox::templatesMenu(const QPoint &at) {
    if (m_templates->selectedItems().isEmpty()) return;
    QMenu menu(this);
    menu.addActions(m_templates->actions());
    menu.exec(m_templates->viewport()->mapToGlobal(at));
}

void TNewBox::startRename() {
    const auto items = m_templates->selectedItems();
    if (items.isEmpty()) return;
    m_renaming = items.first()->text();
    m_ok->setDefault(false);
    m_templates->editItem(items.first());
}

void TNewBox::renamed(QListWidgetItem *item) {
    if (m_renaming.isEmpty()) return;
    const QString old = std::exchange(m_renaming, QString());
    const QString error = Templates::rename(m_folder, old, item->text());
    if (!error.isEmpty()) {
        ui().message(MsgType::Error, MsgButtons::Ok, error);
        const QSignalBlocker block(m_templates);
        item->setText(old);
    }
}

void TNewBox::deleteTemplate() {
    const auto items = m_templates->selectedItems();
    if (items.isEmpty()) return;
    const QString name = items.first()->text();
    if (ui().message(MsgType::Confirmation, MsgButtons::YesNo, Templates::deleteQuestion(name)) !=
        MsgAnswer::Yes)
        return;
    if (!Templates::remove(m_folder, name))
        ui().message(MsgType::Error, MsgButtons::Ok, Templates::cannotDelete());
    refreshTemplates();
}
