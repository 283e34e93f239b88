#pragma once

#include "app/ui/app_context.h"

#include <QObject>

class DocumentManager;
class QMenu;

// The File menu's document commands, the recent-file submenu, the window menu and
// the program commands (new instance, quit, previous/next document).
class FileCommands : public QObject {
    Q_OBJECT
public:
    FileCommands(AppContext &ctx, DocumentManager *docs);
    QMenu *recentMenu() const { return m_recent; }

    // Rebuilds the window menu's document entries (run as the menu opens).
    void rebuildWindowMenu(QMenu *menu);

private:
    void rebuildRecentMenu();
    AppContext &m_ctx;
    DocumentManager *m_docs;
    QMenu *m_recent;
};
