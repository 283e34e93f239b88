#pragma once

#include <QList>
#include <QString>

class ActionRegistry;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

// One entry of a menu or toolbar, by name. An entry whose action (or provided
// menu, or widget) does not exist is left out, with the separators it leaves
// dangling; a submenu left empty is left out too.
struct LayoutEntry {
    enum Kind { Action, Separator, Submenu, Provided, Widget, Split };
    Kind kind = Action;
    QString name;    // action, provided menu or widget name; object name of a submenu
    QString caption; // caption of an inline submenu
    QList<LayoutEntry> children; // inline submenu, or the drop-down of a split button
};

struct ToolbarDef {
    QString name;          // TBPrinc...
    QString caption;       // "Standard"...
    QString toggleAction;  // OutilsBarreStandard...
    QString toggleCaption; // "Standard"...
    bool visibleByDefault = true;
    QList<LayoutEntry> entries;
};

namespace MenuLayout {

// The menu bar, in order.
const QList<LayoutEntry> &menuBar();
// The eleven toolbars in their built-in order.
const QList<ToolbarDef> &toolbars();
// The toggles in menu order: Standard, Recherche, Type de document, Texte, Accents,
// Spécialisés, Formulaires, Feuilles de style, SQL, ASP, PHP.
QStringList toggleOrder();
// Context menus: "EditorPopup", "BarreOutilsPopUp", "PopupMenuEditNav".
const QList<LayoutEntry> &contextMenu(const QString &name);

// Builders.
void fillMenu(QMenu *menu, const QList<LayoutEntry> &entries, const ActionRegistry &reg);
void fillMenuBar(QMenuBar *bar, const ActionRegistry &reg);
void fillToolbar(QToolBar *bar, const QList<LayoutEntry> &entries, const ActionRegistry &reg);
QMenu *buildContextMenu(const QString &name, const ActionRegistry &reg, QWidget *parent);

} // namespace MenuLayout
