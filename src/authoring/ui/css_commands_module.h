#pragma once

#include "app/ui/app_context.h"
#include "authoring/css_commands.h"
#include "authoring/ui/css_box.h"
#include "authoring/ui/insertion_glue.h"

#include <QList>
#include <QMenu>
#include <QObject>

class QAction;

// A menu whose submenu entries are split items: clicking the entry runs its own
// action, resting on it (or its arrow) opens the submenu.
class SplitItemMenu : public QMenu {
    Q_OBJECT
public:
    using QMenu::QMenu;
    // Adds `sub` as an entry that runs `action` when clicked.
    QAction *addSplitItem(QAction *action, QMenu *sub);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The style-sheet commands: the style-sheet dialog, the rule skeletons and the
// declaration commands of the seven property families with their drop-downs.
class CssCommandsModule : public QObject {
    Q_OBJECT
public:
    explicit CssCommandsModule(AppContext &ctx);

    // A family's drop-down, as on the toolbar.
    QMenu *buildFamilyMenu(const Authoring::CssFamily &family, QWidget *parent);

private:
    void addDeclarations();
    void addRuleCommands();
    void addStyleSheet();
    void styleSheet();
    void rule(Authoring::CssRuleKind kind);
    void wrap(const Authoring::CssWrap &w);
    QString browseStyleSheet();

    AppContext &m_ctx;
    KeptDialog<TCSSBox> m_cssBox;
    QList<QAction *> m_markupActions;
};
