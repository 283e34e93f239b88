#pragma once

#include "authoring/link_markup.h"
#include "authoring/ui/dialog_parts.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

// The link dialog, kept for the run: the address with its six last values and the
// target with what it means.
class TLien_Boite : public QDialog {
    Q_OBJECT
public:
    explicit TLien_Boite(QWidget *parent = nullptr);
    void setFileBrowser(DialogParts::FileBrowser browser) { m_browser = std::move(browser); }

    Authoring::LinkValues values() const;
    // After OK: a non-empty address goes first in the history.
    void rememberCurrent();
    QStringList history() const { return m_history.items(); }
    // Address and target emptied.
    void prepareForShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QComboBox *m_href;
    QComboBox *m_target;
    QLabel *m_targetText;
    DialogParts::FileBrowser m_browser;
    Authoring::History<QString> m_history;
    QStringList m_picked;
};

// The named anchor dialog, kept for the run; the command fills its list and text.
class TAncre_Boite : public QDialog {
    Q_OBJECT
public:
    explicit TAncre_Boite(QWidget *parent = nullptr);
    // Offers the fragments of the link addresses, most recent first, with the names
    // offered before.
    void offerFragments(const QStringList &linkHistory);
    QStringList names() const { return m_names; }
    QString name() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QComboBox *m_name;
    QStringList m_names;
};

// The e-mail link dialog, made for each use.
class TMail_Box : public QDialog {
    Q_OBJECT
public:
    explicit TMail_Box(QWidget *parent = nullptr);
    void setAddress(const QString &address);
    QString address() const;
    QString subject() const;

private:
    QLineEdit *m_mail;
    QLineEdit *m_subject;
};
