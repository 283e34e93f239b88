#include "site/ui/publish_site_commands.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "publish/ui/ftp_commands.h"
#include "publish/ui/ftp_passwords.h"
#include "site/ui/publish_site_dialog.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>

PublishSiteCommands::PublishSiteCommands(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    QAction *a =
        ctx.actions->add(QStringLiteral("FilePublishSite"), QStringLiteral("&Publier le site..."),
                         {}, QStringLiteral("File"));
    connect(a, &QAction::triggered, this, &PublishSiteCommands::FilePublishSite);
}

PublishSiteCommands::~PublishSiteCommands() = default;

FtpPasswords *PublishSiteCommands::passwords() {
    if (auto *ftp = m_ctx.window->findChild<FtpCommands *>()) return ftp->passwords();
    if (!m_ownPasswords) m_ownPasswords = std::make_unique<FtpPasswords>();
    return m_ownPasswords.get();
}

void PublishSiteCommands::FilePublishSite() {
    PublishSiteDialog box(m_ctx.store, passwords(), m_ctx.window);
    // The first time, the active page's folder is a good guess for the site.
    const TMyMwCustomEdit *e = m_ctx.docs ? m_ctx.docs->ActiveEditor() : nullptr;
    if (box.siteFolder().isEmpty() && e && !e->fileName.isEmpty())
        box.setSiteFolder(QFileInfo(e->fileName).absolutePath());
    ui().execDialog(&box);
}
