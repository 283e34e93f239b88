#include "publish/ui/preview_panel.h"

#include "app/ui/action_registry.h"
#include "publish/preview_rules.h"
#include "publish/ui/preview_engine.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QVBoxLayout>

TPreviewPanel::TPreviewPanel(const ActionRegistry &actions, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PanelNavigateur"));
    setMinimumHeight(kPreviewMinPanel);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);

    m_bar = new QToolBar(this);
    m_bar->setObjectName(QStringLiteral("BarreNavigateur"));
    m_bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_bar->setIconSize(QSize(16, 16));
    m_bar->setMovable(false);
    m_bar->setFloatable(false);
    for (const char *name : {"OutilsBarreNavigateur", "NavPrec", "NavSuiv", "NavStop", "NavReload",
                             "NavDirect", "NavSuivreCurseur"}) {
        if (QAction *a = actions.action(QString::fromLatin1(name))) m_bar->addAction(a);
    }

    m_address = new QComboBox(m_bar);
    m_address->setObjectName(QStringLiteral("EditUrls"));
    m_address->setEditable(true);
    // The program keeps the list itself: only its own navigations enter it.
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_address->setMinimumContentsLength(10);
    m_bar->addWidget(m_address);
    m_layout->addWidget(m_bar);

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("AvisApercu"));
    m_notice->setWordWrap(true);
    m_notice->setContentsMargins(6, 3, 6, 3);
    m_notice->setAutoFillBackground(true);
    m_notice->setBackgroundRole(QPalette::ToolTipBase);
    m_notice->setForegroundRole(QPalette::ToolTipText);
    m_notice->hide();
    m_layout->addWidget(m_notice);

    // Enter is taken before the box handles it, so that it navigates exactly once
    // whether or not the text is in the list.
    m_address->lineEdit()->installEventFilter(this);
    connect(m_address, &QComboBox::textActivated, this, &TPreviewPanel::addressEntered);
}

TPreviewPanel::~TPreviewPanel()
{
    m_closing = true;
    delete m_engine;
}

void TPreviewPanel::setEngine(PreviewEngine *engine)
{
    m_engine = engine;
    m_layout->addWidget(engine->widget(), 1);
}

void TPreviewPanel::setNotice(const QString &text) {
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
}

QString TPreviewPanel::notice() const {
    return m_notice->text();
}

void TPreviewPanel::setHistory(const QStringList &addresses)
{
    const QString text = m_address->currentText();
    m_address->clear();
    m_address->addItems(addresses);
    m_address->setEditText(text);
}

bool TPreviewPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_address->lineEdit() && event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            emit addressEntered(m_address->currentText());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
