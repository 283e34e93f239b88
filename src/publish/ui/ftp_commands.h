#pragma once

#include "app/ui/app_context.h"

#include <QObject>
#include <QPointer>
#include <memory>

class FtpPasswords;
class TOpenFTPBox;

// The "FTP" submenu of the File menu: `FileOpenFTP` fetches a remote file into a
// tab as an FTP document, `FileSaveFTP` sends the active document to the server,
// `FileDisconnectFTP` ends the connection. The FTP site window is made on first
// use and kept until the program ends.
class FtpCommands : public QObject {
    Q_OBJECT
public:
    // `passwords` replaces the secret-service store (tests); ownership is taken.
    explicit FtpCommands(AppContext &ctx, FtpPasswords *passwords = nullptr);
    ~FtpCommands() override;

    // Another password store (tests), before the window is first made; owned.
    void usePasswords(FtpPasswords *passwords);
    FtpPasswords *passwords() const { return m_passwords.get(); }

    TOpenFTPBox *window(); // made on first use
    TOpenFTPBox *existingWindow() const;

    void FileOpenFTP();
    void FileSaveFTP();
    void FileDisconnectFTP();

private:
    AppContext &m_ctx;
    std::unique_ptr<FtpPasswords> m_passwords;
    QPointer<TOpenFTPBox> m_box;
};
