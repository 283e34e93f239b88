#pragma once

#include "publish/ftp_client.h"
#include "publish/ftp_session.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QIcon>
#include <functional>

class FtpPasswords;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class SettingsStore;

// The FTP site window: stored sessions, the remote folder's listing, and the
// download (open mode) or upload (save mode) of one file. Made once and kept
// hidden between uses, so that its connection and folder stay.
class TOpenFTPBox : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Open, Save };

    TOpenFTPBox(SettingsStore *store, FtpPasswords *passwords, QWidget *parent);
    ~TOpenFTPBox() override;

    // Sets the mode, caption and buttons before the window is shown. In save mode
    // `localFile` is uploaded under the name in the file name box.
    void prepareOpen();
    void prepareSave(const QString &localFile);
    Mode mode() const { return m_mode; }

    // The local copy of the last download, taken once (empty when none).
    QString takeDownloaded();
    bool uploaded() const { return m_uploaded; }

    FtpClient *client() const { return m_client; }
    bool isConnected() const;
    bool isTransferring() const { return m_running; }
    QString currentFolder() const { return m_folder; }
    // Aborts any transfer and closes the connection.
    void disconnectFromServer();
    // Where downloads go (the program's temporary folder by default).
    QString downloadFolder;
    // Called after a folder-name or rename dialog would be shown (tests).
    int sortColumn() const { return m_sortColumn; }
    bool sortDescending() const { return m_sortDescending; }

    void done(int r) override;
    // "Annuler", Escape and the title bar's close: during a transfer, asks whether to
    // stop it, and closes once it has ended.
    void reject() override;

signals:
    void listingShown();
    void transferFinished(bool ok);
    void connectionChanged(bool connected);

protected:
    void showEvent(QShowEvent *e) override;

private:
    void firstShow();
    void fillSessions(const QString &select);
    void sessionSelected(int index);
    void editSession(bool create);
    void deleteSession();
    void toggleConnection();
    void startConnection(const FtpSession &session);
    void connectedChanged(bool connected);
    void updateButtons();
    void setBusy(bool busy);
    void run(const std::function<void()> &start, const std::function<void(const FtpReply &)> &then);
    void finished(const FtpReply &reply);
    void listFolder(const QString &folder);
    void showListing(const FtpReply &reply);
    void fillRows();
    void headerClicked(int column);
    void rowSelected();
    void activateRow();
    void mainButton();
    void goUp();
    void newFolder();
    void renameSelected();
    void deleteSelected();
    void contextMenu(const QPoint &pos);
    void download(const FtpEntry &e);
    void upload();
    void transferStarted(qint64 total);
    void transferProgress(qint64 bytes);
    void transferEnded();
    void statusMessage(const QString &text);
    bool refuseHostile(const FtpEntry &e);
    const FtpEntry *selectedEntry() const;
    void saveState();

    SettingsStore *m_store;
    FtpPasswords *m_passwords;
    FtpClient *m_client;
    Mode m_mode = Mode::Open;
    bool m_firstShown = false;
    FtpSession m_session;
    QString m_folder;
    QList<FtpEntry> m_entries;
    QList<QIcon> m_rowIcons; // file, folder, link
    int m_sortColumn = 0;
    bool m_sortDescending = false;
    bool m_busy = false;
    std::function<void(const FtpReply &)> m_then;
    QString m_localFile;
    QString m_downloaded;
    bool m_uploaded = false;
    bool m_promptedPassword = false;

    // Transfer state.
    bool m_transfer = false;       // a download or upload is asked for, until its reply
    bool m_closeRequested = false; // the window closes when the transfer has ended
    bool m_running = false;
    qint64 m_expected = 0;
    QElapsedTimer m_started;
    double m_speed = 0;
    qint64 m_scale = 1;

    QComboBox *m_sessions;
    QToolButton *m_connect;
    QToolButton *m_params;
    QToolButton *m_delete;
    QToolButton *m_newSession;
    QToolButton *m_up;
    QToolButton *m_newFolder;
    QToolButton *m_refresh;
    QToolButton *m_abort;
    QLabel *m_path;
    QTreeWidget *m_list;
    QLineEdit *m_fileName;
    QLabel *m_advice;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QPushButton *m_help;
    QListWidget *m_messages;
    QStatusBar *m_statusBar;
    QProgressBar *m_progress;
    QLabel *m_state;
    QTimer *m_keepAlive;
};
