#pragma once

#include "app/ui/app_context.h"

#include <QObject>
#include <memory>

class FtpPasswords;

// "Fichier > FTP > Publier le site...": sends a local site folder to a stored FTP
// session's server, only what changed, once the user agreed to the list.
class PublishSiteCommands : public QObject {
    Q_OBJECT
public:
    explicit PublishSiteCommands(AppContext &ctx);
    ~PublishSiteCommands() override;

    void FilePublishSite();

private:
    // The FTP window's password store, so that a password typed once serves both.
    FtpPasswords *passwords();

    AppContext &m_ctx;
    std::unique_ptr<FtpPasswords> m_ownPasswords;
};
