#include "publish/ui/ftp_commands.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "publish/ftp_texts.h"
#include "publish/ui/ftp_passwords.h"
#include "publish/ui/ftp_window.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>

FtpCommands::FtpCommands(AppContext &ctx, FtpPasswords *passwords)
    : QObject(ctx.window), m_ctx(ctx), m_passwords(passwords ? passwords : new FtpPasswords) {
    ActionRegistry &r = *ctx.actions;
    const QString cat = QStringLiteral("File");
    QAction *open = r.add(QStringLiteral("FileOpenFTP"), QStringLiteral("Ouvrir via FTP..."),
                          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O), cat);
    connect(open, &QAction::triggered, this, &FtpCommands::FileOpenFTP);
    QAction *save =
        r.add(QStringLiteral("FileSaveFTP"), QStringLiteral("Enregistrer via FTP sous..."),
              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), cat);
    connect(save, &QAction::triggered, this, &FtpCommands::FileSaveFTP);
    QAction *disconnect = r.add(QStringLiteral("FileDisconnectFTP"),
                                QStringLiteral("Connexion au serveur FTP en cours..."), {}, cat);
    disconnect->setCheckable(true);
    disconnect->setChecked(true);
    disconnect->setVisible(false);
    connect(disconnect, &QAction::triggered, this, [this, disconnect] {
        disconnect->setChecked(true); // it shows the connection, it is not a switch
        FileDisconnectFTP();
    });
    r.addUpdate([this, save, disconnect] {
        save->setEnabled(m_ctx.docs->ActiveEditor() != nullptr);
        disconnect->setVisible(m_box && m_box->isConnected());
    });
    // The program's end closes the connection.
    connect(ctx.events, &AppEvents::closing, this, [this] {
        if (m_box && m_box->isConnected()) m_box->disconnectFromServer();
    });
}

FtpCommands::~FtpCommands() = default;

TOpenFTPBox *FtpCommands::existingWindow() const {
    return m_box;
}

void FtpCommands::usePasswords(FtpPasswords *passwords) {
    if (!m_box) m_passwords.reset(passwords);
}

TOpenFTPBox *FtpCommands::window() {
    if (!m_box) {
        m_box = new TOpenFTPBox(m_ctx.store, m_passwords.get(), m_ctx.window);
        connect(m_box, &TOpenFTPBox::connectionChanged, m_ctx.events, &AppEvents::stateChanged);
    }
    return m_box;
}

void FtpCommands::FileOpenFTP() {
    TOpenFTPBox *box = window();
    box->prepareOpen();
    ui().execDialog(box);
    const QString path = box->takeDownloaded();
    if (path.isEmpty()) return;
    DocumentHost &docs = *m_ctx.docs;
    docs.OpenDocument(path, false);
    TMyMwCustomEdit *e = docs.ActiveEditor();
    // When the copy could not be opened it stays where it is, and no document
    // becomes an FTP document.
    if (e && e->fileName == path) {
        e->documentKind = KindFtp;
        docs.mwCustomEdit1StatusChange(e);
    }
    emit m_ctx.events->stateChanged();
}

void FtpCommands::FileSaveFTP() {
    DocumentHost &docs = *m_ctx.docs;
    QPointer<TMyMwCustomEdit> e = docs.ActiveEditor();
    if (!e) return;
    if (e->isModified() || e->fileName.isEmpty()) {
        if (e->documentKind == KindFtp) {
            // Until an upload completes, the local copy holds what the server lacks.
            if (docs.WriteDocument(e)) docs.setUnsent(e, true);
        } else if (ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                                FtpTexts::saveLocallyFirst()) == MsgAnswer::Yes) {
            docs.FileSave();
        }
        e = docs.ActiveEditor();
        if (!e || e->isModified() || e->fileName.isEmpty()) return;
    }
    TOpenFTPBox *box = window();
    box->prepareSave(e->fileName);
    ui().execDialog(box);
    if (e && box->uploaded()) docs.setUnsent(e, false);
    emit m_ctx.events->stateChanged();
}

void FtpCommands::FileDisconnectFTP() {
    if (!m_box || !m_box->isConnected()) return;
    if (ui().message(MsgType::Confirmation, MsgButtons::YesNo, FtpTexts::disconnectQuestion()) ==
        MsgAnswer::Yes)
        m_box->disconnectFromServer();
}
