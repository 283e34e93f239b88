#pragma once

#include <QHash>
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// Every command of the main window is a named action here. Modules add their
// actions, the submenus they fill themselves and the toolbar widgets they own;
// the main window then lays out the menu bar, toolbars and context menus from
// one table (shell/ui/menu_layout) that refers to these names.
class ActionRegistry : public QObject {
    Q_OBJECT
public:
    explicit ActionRegistry(QWidget *window);

    // A new action, parented to and active in the main window. Its hint is the
    // caption without "&" unless given.
    QAction *add(const QString &name, const QString &caption, const QKeySequence &key = {},
                 const QString &category = {});
    QAction *action(const QString &name) const { return m_actions.value(name); }
    bool has(const QString &name) const { return m_actions.contains(name); }
    QList<QAction *> actions() const { return m_order; }
    // Every shortcut of every action (so editors can leave these keys alone).
    QList<QKeySequence> shortcuts() const;

    // Submenus that a module fills itself (recent files, character references...).
    void addMenu(const QString &name, QMenu *menu);
    QMenu *menu(const QString &name) const { return m_menus.value(name); }

    // A context menu laid out from the window's table, for a module that builds
    // the widget it serves only when first needed (the main window installs the
    // builder before it creates the modules).
    using MenuBuilder = std::function<QMenu *(const QString &name, QWidget *parent)>;
    void setContextMenuBuilder(MenuBuilder builder) { m_menuBuilder = std::move(builder); }
    QMenu *buildContextMenu(const QString &name, QWidget *parent) const;

    // Widgets placed on toolbars (the document-type list...).
    using WidgetFactory = std::function<QWidget *(QWidget *parent)>;
    void addWidget(const QString &name, WidgetFactory factory);
    WidgetFactory widget(const QString &name) const { return m_widgets.value(name); }

    // Update handlers: run whenever the state they depend on may have changed
    // (caret, selection, modified flag, active tab, clipboard, options).
    void addUpdate(std::function<void()> handler);
    void runUpdates();

    QWidget *window() const { return m_window; }

private:
    QWidget *m_window;
    QHash<QString, QAction *> m_actions;
    QList<QAction *> m_order;
    QHash<QString, QMenu *> m_menus;
    QHash<QString, WidgetFactory> m_widgets;
    MenuBuilder m_menuBuilder;
    QList<std::function<void()>> m_updates;
};
