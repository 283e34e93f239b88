#pragma once

#include "app/ui/app_context.h"

#include <QList>
#include <QObject>

class QMenuBar;
class QToolBar;

// The menu bar (itself a dockable bar) and the eleven toolbars: their toggle
// actions, hiding them all at once, and their layout kept in the settings store.
class ToolbarManager : public QObject {
    Q_OBJECT
public:
    explicit ToolbarManager(AppContext &ctx);

    // Creates the bars from the layout table (after every module added its actions).
    void build();
    QToolBar *toolbar(const QString &name) const;
    QList<QToolBar *> toolbars() const { return m_bars; }
    QMenuBar *menuBar() const { return m_menuBar; }

    // Section "Toolbars": one sub-key per bar.
    void LoadToolbarLayout();
    void SaveToolbarLayout();
    // Hides all toolbars / shows those visible before.
    void OutilsBarreMasquer();

private:
    void setChecks();
    AppContext &m_ctx;
    QToolBar *m_menuBarHolder = nullptr;
    QMenuBar *m_menuBar = nullptr;
    QList<QToolBar *> m_bars; // the eleven, in table order
    QList<bool> m_remembered;
};
