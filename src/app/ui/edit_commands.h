#pragma once

#include "app/ui/app_context.h"

#include <QObject>

// The Edit menu commands that act directly on the active editor: clipboard, undo,
// redo, select all, erase, word wrap, column selection, formatting characters and
// always on top.
class EditCommands : public QObject {
    Q_OBJECT
public:
    explicit EditCommands(AppContext &ctx);

    void setOnTop(bool on);

private:
    void forEachEditor(const std::function<void(TMyMwCustomEdit *)> &f);
    AppContext &m_ctx;
};
