#pragma once

#include "app/ui/app_context.h"
#include "authoring/script_markup.h"
#include "authoring/ui/insertion_glue.h"
#include "authoring/ui/script_boxes.h"

#include <QList>
#include <QObject>

class QAction;

// Script elements, event attributes, the SQL templates and the ASP and PHP
// commands of their toolbars.
class ScriptCommandsModule : public QObject {
    Q_OBJECT
public:
    explicit ScriptCommandsModule(AppContext &ctx);

private:
    QAction *add(const QString &name, const QString &caption, const QString &category,
                 const QString &hint = {});
    void addSnippets(const QList<Authoring::SnippetCommand> &commands, const QString &category);
    void scriptCommand();
    template <typename Box> void includeCommand(KeptDialog<Box> &kept, Authoring::IncludeKind kind);
    void procedureCommand();
    // Replaces the selected whole lines by what `convert` makes of them and selects
    // the result; nothing happens when the widened selection is empty.
    void convertLines(const std::function<QString(const QString &)> &convert);
    void stringCommand();

    AppContext &m_ctx;
    QList<QAction *> m_actions;
    KeptDialog<TScriptBoite> m_script;
    KeptDialog<TASPIncludeBox> m_aspInclude;
    KeptDialog<TPHPIncludeBox> m_phpInclude;
};
