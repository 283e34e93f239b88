#include "app/ui/action_registry.h"

#include "app/ui/icons.h"

#include <QAction>
#include <QWidget>

ActionRegistry::ActionRegistry(QWidget *window) : QObject(window), m_window(window) {}

QAction *ActionRegistry::add(const QString &name, const QString &caption, const QKeySequence &key,
                             const QString &category)
{
    Q_ASSERT(!m_actions.contains(name));
    auto *a = new QAction(caption, m_window);
    a->setObjectName(name);
    QString hint = caption;
    hint.remove(QLatin1Char('&'));
    a->setToolTip(hint);
    a->setStatusTip(hint);
    if (!key.isEmpty())
        a->setShortcut(key);
    if (!category.isEmpty())
        a->setProperty("category", category);
    const QIcon icon = Icons::forAction(name);
    if (!icon.isNull())
        a->setIcon(icon);
    m_window->addAction(a);
    m_actions.insert(name, a);
    m_order << a;
    return a;
}

QList<QKeySequence> ActionRegistry::shortcuts() const
{
    QList<QKeySequence> keys;
    for (QAction *a : m_order)
        keys << a->shortcuts();
    return keys;
}

void ActionRegistry::addMenu(const QString &name, QMenu *menu) { m_menus.insert(name, menu); }

QMenu *ActionRegistry::buildContextMenu(const QString &name, QWidget *parent) const
{
    return m_menuBuilder(name, parent);
}

void ActionRegistry::addWidget(const QString &name, WidgetFactory factory)
{
    m_widgets.insert(name, std::move(factory));
}

void ActionRegistry::addUpdate(std::function<void()> handler) { m_updates << std::move(handler); }

void ActionRegistry::runUpdates()
{
    for (const auto &u : m_updates)
        u();
}
