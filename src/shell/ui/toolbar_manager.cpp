#include "shell/ui/toolbar_manager.h"

#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "shell/ui/menu_layout.h"

#include <QAction>
#include <QMainWindow>
#include <QMap>
#include <QMenuBar>
#include <QToolBar>

namespace {
const QString kSection = QStringLiteral("Toolbars");

QString areaName(Qt::ToolBarArea area)
{
    switch (area) {
    case Qt::LeftToolBarArea: return QStringLiteral("TBDock2");
    case Qt::RightToolBarArea: return QStringLiteral("TBDock3");
    default: return QStringLiteral("TBDock1");
    }
}

Qt::ToolBarArea areaFromName(const QString &name)
{
    if (name == QLatin1String("TBDock2"))
        return Qt::LeftToolBarArea;
    if (name == QLatin1String("TBDock3"))
        return Qt::RightToolBarArea;
    return Qt::TopToolBarArea;
}
} // namespace

ToolbarManager::ToolbarManager(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx)
{
    ActionRegistry &r = *ctx.actions;
    const QString cat = QStringLiteral("Outils");
    for (const ToolbarDef &def : MenuLayout::toolbars()) {
        QAction *a = r.add(def.toggleAction, def.toggleCaption, {}, cat);
        a->setCheckable(true);
        a->setChecked(def.visibleByDefault);
        const QString bar = def.name;
        connect(a, &QAction::triggered, this, [this, bar](bool on) {
            if (QToolBar *t = toolbar(bar))
                t->setVisible(on);
        });
    }
    // Ctrl and the key left of 1: "²" on a French keyboard. Not Ctrl+' as well: that
    // is Ctrl+4 on the same keyboard.
    QAction *hide = r.add(QStringLiteral("OutilsBarreMasquer"),
                          QStringLiteral("Masquer toutes les barres d'outils"), {}, cat);
    hide->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_twosuperior));
    hide->setCheckable(true);
    connect(hide, &QAction::triggered, this, [this](bool) {
        // The action already flipped its state; the command works from the old one.
        QAction *a = m_ctx.actions->action(QStringLiteral("OutilsBarreMasquer"));
        a->setChecked(!a->isChecked());
        OutilsBarreMasquer();
    });
}

void ToolbarManager::build()
{
    QMainWindow *w = m_ctx.window;
    m_menuBarHolder = new QToolBar(QStringLiteral("Barre de menus"), w);
    m_menuBarHolder->setObjectName(QStringLiteral("MainMenu"));
    m_menuBarHolder->setAllowedAreas(Qt::TopToolBarArea | Qt::LeftToolBarArea |
                                     Qt::RightToolBarArea);
    m_menuBarHolder->toggleViewAction()->setVisible(false);
    m_menuBar = new QMenuBar(m_menuBarHolder);
    m_menuBar->setObjectName(QStringLiteral("MainMenuBar"));
    m_menuBar->setNativeMenuBar(false);
    MenuLayout::fillMenuBar(m_menuBar, *m_ctx.actions);
    m_menuBarHolder->addWidget(m_menuBar);
    w->addToolBar(Qt::TopToolBarArea, m_menuBarHolder);
    w->addToolBarBreak(Qt::TopToolBarArea);

    int onRow = 0;
    for (const ToolbarDef &def : MenuLayout::toolbars()) {
        auto *bar = new QToolBar(def.caption, w);
        bar->setObjectName(def.name);
        bar->setAllowedAreas(Qt::TopToolBarArea | Qt::LeftToolBarArea | Qt::RightToolBarArea);
        bar->setIconSize(QSize(16, 16));
        bar->toggleViewAction()->setVisible(false);
        MenuLayout::fillToolbar(bar, def.entries, *m_ctx.actions);
        // Two rows of bars at a first start.
        if (onRow == 4) {
            w->addToolBarBreak(Qt::TopToolBarArea);
            onRow = 0;
        }
        w->addToolBar(Qt::TopToolBarArea, bar);
        ++onRow;
        QAction *toggle = m_ctx.actions->action(def.toggleAction);
        // A bar with nothing on it yet is no bar: neither it nor its toggle shows.
        const bool empty = bar->actions().isEmpty();
        toggle->setVisible(!empty);
        bar->setProperty("empty", empty);
        bar->setVisible(def.visibleByDefault && !empty);
        connect(bar, &QToolBar::visibilityChanged, toggle, [bar, toggle] {
            toggle->setChecked(!bar->isHidden());
        });
        m_bars << bar;
    }
}

QToolBar *ToolbarManager::toolbar(const QString &name) const
{
    for (QToolBar *b : m_bars) {
        if (b->objectName() == name)
            return b;
    }
    return nullptr;
}

void ToolbarManager::setChecks()
{
    const QList<ToolbarDef> &defs = MenuLayout::toolbars();
    for (int i = 0; i < m_bars.size(); ++i)
        m_ctx.actions->action(defs[i].toggleAction)->setChecked(!m_bars[i]->isHidden());
}

void ToolbarManager::OutilsBarreMasquer()
{
    QAction *hide = m_ctx.actions->action(QStringLiteral("OutilsBarreMasquer"));
    const bool hidden = !hide->isChecked();
    hide->setChecked(hidden);
    if (hidden) {
        m_remembered.clear();
        for (QToolBar *b : m_bars)
            m_remembered << !b->isHidden();
    }
    const QList<ToolbarDef> &defs = MenuLayout::toolbars();
    for (int i = 0; i < m_bars.size(); ++i) {
        m_ctx.actions->action(defs[i].toggleAction)->setEnabled(!hidden);
        if (!m_bars[i]->property("empty").toBool())
            m_bars[i]->setVisible(!hidden && m_remembered.value(i, true));
    }
}

void ToolbarManager::SaveToolbarLayout()
{
    SettingsStore &s = *m_ctx.store;
    QMainWindow *w = m_ctx.window;
    QList<QToolBar *> all = m_bars;
    all.prepend(m_menuBarHolder);
    // Rows: bars of one area sharing a line, counted from the window's edge.
    QMap<QString, QList<int>> lines;
    for (QToolBar *b : all) {
        const Qt::ToolBarArea area = w->toolBarArea(b);
        const int line = area == Qt::TopToolBarArea ? b->y() : b->x();
        if (!lines[areaName(area)].contains(line))
            lines[areaName(area)] << line;
    }
    for (auto &l : lines)
        std::sort(l.begin(), l.end());
    for (QToolBar *b : all) {
        const QString sec = kSection + QLatin1Char('\\') + b->objectName();
        if (b->property("empty").toBool()) {
            // Nothing to remember of a bar that has nothing on it.
            s.eraseSection(sec);
            continue;
        }
        const Qt::ToolBarArea area = w->toolBarArea(b);
        const QString dock = areaName(area);
        s.writeInteger(sec, QStringLiteral("Rev"), 2000);
        s.writeInteger(sec, QStringLiteral("Visible"), b->isHidden() ? 0 : 1);
        s.writeString(sec, QStringLiteral("DockedTo"), b->isFloating() ? QStringLiteral("+") : dock);
        s.writeString(sec, QStringLiteral("LastDock"), dock);
        const int line = area == Qt::TopToolBarArea ? b->y() : b->x();
        s.writeInteger(sec, QStringLiteral("DockRow"), int(lines[dock].indexOf(line)));
        s.writeInteger(sec, QStringLiteral("DockPos"), area == Qt::TopToolBarArea ? b->x() : b->y());
        const QPoint fp = b->isFloating() ? b->pos() : QPoint();
        s.writeInteger(sec, QStringLiteral("FloatLeft"), fp.x());
        s.writeInteger(sec, QStringLiteral("FloatTop"), fp.y());
    }
    // The window's own record restores floating places exactly.
    s.writeString(kSection, QStringLiteral("State"), QString::fromLatin1(w->saveState(2000).toBase64()));
    s.sync();
}

void ToolbarManager::LoadToolbarLayout()
{
    SettingsStore &s = *m_ctx.store;
    QMainWindow *w = m_ctx.window;
    QList<QToolBar *> all = m_bars;
    all.prepend(m_menuBarHolder);
    const QByteArray state =
        QByteArray::fromBase64(s.readString(kSection, QStringLiteral("State"), QString()).toLatin1());
    if (state.isEmpty() || !w->restoreState(state, 2000)) {
        // Place the bars that have a record by area, row and position.
        struct Place {
            QToolBar *bar;
            Qt::ToolBarArea area;
            int row, pos;
        };
        QList<Place> places;
        for (QToolBar *b : all) {
            const QString sec = kSection + QLatin1Char('\\') + b->objectName();
            if (!s.valueExists(sec, QStringLiteral("DockedTo")))
                continue;
            QString dock = s.readString(sec, QStringLiteral("DockedTo"), QString());
            if (dock == QLatin1String("+"))
                dock = s.readString(sec, QStringLiteral("LastDock"), QString());
            places << Place{b, areaFromName(dock), s.readInteger(sec, QStringLiteral("DockRow"), 0),
                            s.readInteger(sec, QStringLiteral("DockPos"), 0)};
        }
        std::stable_sort(places.begin(), places.end(), [](const Place &a, const Place &b) {
            return std::tie(a.area, a.row, a.pos) < std::tie(b.area, b.row, b.pos);
        });
        for (int i = 0; i < places.size(); ++i) {
            const Place &p = places[i];
            if (i > 0 && places[i - 1].area == p.area && places[i - 1].row != p.row)
                w->addToolBarBreak(p.area);
            w->addToolBar(p.area, p.bar);
        }
    }
    const QList<ToolbarDef> &defs = MenuLayout::toolbars();
    for (int i = 0; i < m_bars.size(); ++i) {
        QToolBar *b = m_bars[i];
        const QString sec = kSection + QLatin1Char('\\') + b->objectName();
        if (b->property("empty").toBool())
            b->setVisible(false);
        else if (s.valueExists(sec, QStringLiteral("Visible")))
            b->setVisible(s.readInteger(sec, QStringLiteral("Visible"), 1) != 0);
        else
            b->setVisible(defs[i].visibleByDefault);
    }
    m_menuBarHolder->setVisible(true);
    setChecks();
}
