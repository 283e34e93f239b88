#pragma once

#include "app/ui/app_context.h"
#include "authoring/list_markup.h"
#include "authoring/ui/insertion_glue.h"
#include "authoring/ui/listes_boite.h"

#include <QList>
#include <QObject>

class QAction;
class QMenu;

// The commands of the Texte and Insertion menus that mark up running text: styles,
// headings, paragraphs, alignment blocks, comments, font sizes, line breaks,
// non-breaking spaces, the date, character references, lists and rules.
class TextCommandsModule : public QObject {
    Q_OBJECT
public:
    explicit TextCommandsModule(AppContext &ctx);

private:
    void addWrapCommands();
    void addSizeMenus();
    void addEntityMenus();
    void addInsertions();
    void addListCommands();
    QMenu *addMenu(const QString &name, const QString &title);

    void wrap(const QString &opening, const QString &closing, bool raw);
    void insert(const QString &text, bool raw);
    void lineBreak();
    void listCommand(Authoring::ListKind kind);
    void ruleCommand();

    AppContext &m_ctx;
    // Enabled only while there is a document to write into.
    QList<QAction *> m_markupActions;
    KeptDialog<TListes_Boite> m_lists;
};
