#pragma once

#include "publish/ftp_session.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The session dialog: name, server, port, protocol, passive mode, user, password
// and remote folder. OK checks the name against the other stored sessions.
class TParamFTPBox : public QDialog {
    Q_OBJECT
public:
    // The password box starts with this word, standing for "unchanged".
    static QString placeholderPassword();

    // `others` are the stored session names; `editing` the one edited (empty: new).
    TParamFTPBox(bool openMode, const QStringList &others, const QString &editing, QWidget *parent);

    void setSession(const FtpSession &session, bool hasPassword);
    // What the boxes hold; the password is empty when it was left unchanged.
    FtpSession session() const;
    bool passwordChanged() const;
    QString helpPage() const {
        return m_openMode ? QStringLiteral("Ressources/session_ftp_o.htm")
                          : QStringLiteral("Ressources/session_ftp_e.htm");
    }

    void accept() override;

private:
    void protocolChanged(int index);

    bool m_openMode;
    QStringList m_others;
    QString m_editing;
    QLineEdit *m_name;
    QLineEdit *m_host;
    QLineEdit *m_port;
    QComboBox *m_protocol;
    QCheckBox *m_passive;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLineEdit *m_folder;
};

// The folder-name dialog, also used to rename an entry. OK is enabled only while
// the box holds something; names with forbidden or control characters are refused.
class TNewFolderBox : public QDialog {
    Q_OBJECT
public:
    TNewFolderBox(const QString &caption, const QString &label, const QString &initial,
                  QWidget *parent);
    QString name() const;
    void accept() override;

private:
    QLineEdit *m_edit;
    QPushButton *m_ok;
};

// Asks for a session's password when the secret service does not hold it.
class TPasswordBox : public QDialog {
    Q_OBJECT
public:
    TPasswordBox(const QString &user, const QString &host, QWidget *parent);
    QString password() const;

private:
    QLineEdit *m_edit;
};
