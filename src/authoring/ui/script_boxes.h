#pragma once

#include "authoring/script_markup.h"
#include "authoring/ui/dialog_parts.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QToolButton;

// The script dialog, kept for the run: a script written in the page or taken from
// a file (six last files), its language and whether it runs on the server.
class TScriptBoite : public QDialog {
    Q_OBJECT
public:
    explicit TScriptBoite(QWidget *parent = nullptr);
    void setFileBrowser(DialogParts::FileBrowser browser) { m_browser = std::move(browser); }

    Authoring::ScriptValues values() const;
    void rememberCurrent();
    QStringList history() const { return m_history.items(); }
    // The file emptied; the rest as last left.
    void prepareForShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QRadioButton *m_internal;
    QRadioButton *m_external;
    QComboBox *m_file;
    QComboBox *m_language;
    QCheckBox *m_server;
    DialogParts::FileBrowser m_browser;
    Authoring::History<QString> m_history;
    QStringList m_picked;
};

// The ASP and PHP file inclusion dialogs, kept for the run: a path with its type,
// the six last paths each remembered with its type.
class TIncludeBox : public QDialog {
    Q_OBJECT
public:
    void setFileBrowser(DialogParts::FileBrowser browser) { m_browser = std::move(browser); }

    QString path() const;
    // The second type: "Virtuel" (ASP) or "require" (PHP).
    bool secondType() const;
    void rememberCurrent();
    QStringList history() const;
    void prepareForShow();

protected:
    TIncludeBox(Authoring::IncludeKind kind, QWidget *parent);
    void showEvent(QShowEvent *event) override;

private:
    struct Entry {
        QString path;
        bool second = false;
    };
    void typeClicked();
    void pathChosen(const QString &text);
    void updateBrowse();

    Authoring::IncludeKind m_kind;
    QComboBox *m_path;
    QRadioButton *m_first;
    QRadioButton *m_second;
    QToolButton *m_browse;
    DialogParts::FileBrowser m_browser;
    Authoring::History<Entry> m_history;
};

class TASPIncludeBox : public TIncludeBox {
    Q_OBJECT
public:
    explicit TASPIncludeBox(QWidget *parent = nullptr);
};

class TPHPIncludeBox : public TIncludeBox {
    Q_OBJECT
public:
    explicit TPHPIncludeBox(QWidget *parent = nullptr);
};

// Name and kind of an ASP procedure, made for each use.
class TASPProcedureBox : public QDialog {
    Q_OBJECT
public:
    explicit TASPProcedureBox(QWidget *parent = nullptr);
    QString name() const;
    bool isFunction() const;

private:
    QLineEdit *m_name;
    QRadioButton *m_function;
};

// The variable and form of the ASP string made from selected lines, for each use.
class TASPChaineBox : public QDialog {
    Q_OBJECT
public:
    explicit TASPChaineBox(QWidget *parent = nullptr);
    void setName(const QString &name);
    QString name() const;
    bool multiLine() const;

private:
    QLineEdit *m_name;
    QRadioButton *m_multi;
};
