#pragma once

#include "site/publish_run.h"

#include <QDialog>
#include <QHash>

class FtpPasswords;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class SettingsStore;

// "Publier le site": a local site folder, a stored FTP session and a remote folder;
// the list of what would change, then the sending of it once the user agreed.
class PublishSiteDialog : public QDialog {
    Q_OBJECT
public:
    PublishSiteDialog(SettingsStore *store, FtpPasswords *passwords, QWidget *parent);
    ~PublishSiteDialog() override;

    SitePublisher *publisher() const { return m_publisher; }
    void setSiteFolder(const QString &folder);
    QString siteFolder() const;
    // The server's files the user ticked for deletion.
    QStringList tickedExtras() const;
    // Starts the comparison (the "Comparer" button), and the sending ("Publier").
    void compare();
    void publish();

    void reject() override;

signals:
    void comparedShown();
    void publishFinished();

private:
    void browse();
    void sessionChanged();
    void setBusy(bool busy);
    void showPlan(const PublishPlan &plan);
    void compareFailed(const FtpReply &reply);
    void fileStarted(const QString &path, qint64 size, int index, int count);
    void progress(const QString &path, qint64 fileBytes, qint64 doneBytes, qint64 totalBytes);
    void fileFinished(const QString &path, bool ok, const QString &error);
    void published(const PublishResult &result);
    void mark(const QString &path, const QString &text, bool failed);
    void saveFields();

    SettingsStore *m_store;
    FtpPasswords *m_passwords;
    SitePublisher *m_publisher;
    FtpSession m_session;
    bool m_promptedPassword = false;
    bool m_busy = false;
    bool m_closeWhenDone = false;
    QHash<QString, QTreeWidgetItem *> m_items;

    QLineEdit *m_site;
    QPushButton *m_browse;
    QComboBox *m_sessions;
    QLineEdit *m_remote;
    QPushButton *m_compare;
    QTreeWidget *m_tree;
    QLabel *m_file;
    QProgressBar *m_fileBar;
    QProgressBar *m_allBar;
    QLabel *m_status;
    QPushButton *m_publish;
    QPushButton *m_close;
};
