#pragma once

#include "app/ui/app_context.h"
#include "authoring/form_markup.h"
#include "authoring/table_markup.h"

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;

// The commands that insert a form and its controls, and the table command, whose
// cell contents are kept here for the whole run.
class FormCommandsModule : public QObject {
    Q_OBJECT
public:
    explicit FormCommandsModule(AppContext &ctx);

    const Authoring::CellStore &cells() const { return m_cells; }

private:
    QAction *add(const char *name, const QString &caption, const QString &category,
                 const QKeySequence &key = {});
    void addFormCommands();

    // Shows a dialog made for this run; on OK writes what `build` returns around the
    // selection, as one undo step (nothing when it is empty).
    template <typename Box, typename Prepare, typename Build>
    void runDialog(Prepare prepare, Build build);

    void buttonCommand(Authoring::ButtonType type);
    void tableCommand();
    QString browseImage();

    AppContext &m_ctx;
    Authoring::CellStore m_cells;
    QList<QAction *> m_actions;
};
