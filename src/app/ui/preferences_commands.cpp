#include "app/ui/preferences_commands.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/preferences_dialog.h"
#include "app/ui/ui_services.h"

#include <QAction>
#include <QMainWindow>

PreferencesCommands::PreferencesCommands(AppContext &ctx, DocumentTypes &types,
                                         std::function<void()> applyPreferences)
    : QObject(ctx.window), m_ctx(ctx), m_dialog(new TfrmEnvOpts(ctx, types, ctx.window)),
      m_applyPreferences(std::move(applyPreferences)) {
    ActionRegistry &r = *ctx.actions;
    QAction *pref = r.add(QStringLiteral("OutilsPref"), QStringLiteral("&Préférences..."), {},
                          QStringLiteral("Outils"));
    pref->setToolTip(QStringLiteral("Préférences"));
    pref->setStatusTip(pref->toolTip());
    connect(pref, &QAction::triggered, this, [this] { OutilsPref(); });

    QAction *perso = r.add(QStringLiteral("NavPerso"), QStringLiteral("&Personnaliser..."), {},
                           QStringLiteral("Navigateur"));
    perso->setToolTip(QStringLiteral("Personnalier"));
    perso->setStatusTip(perso->toolTip());
    // The browser choice is on the first page.
    connect(perso, &QAction::triggered, this, [this] { OutilsPref(0); });
}

void PreferencesCommands::OutilsPref(int page) {
    m_dialog->prepare();
    if (page >= 0) m_dialog->showPage(page);
    if (ui().execDialog(m_dialog) == QDialog::Accepted && m_applyPreferences) m_applyPreferences();
    if (TMyMwCustomEdit *e = m_ctx.docs ? m_ctx.docs->ActiveEditor() : nullptr)
        e->viewport()->update();
}
