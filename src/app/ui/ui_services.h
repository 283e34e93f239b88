#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QFont;
class QWidget;

enum class MsgType { Plain, Information, Warning, Error, Confirmation };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// What a file dialog is asked for. Filters use the program's own form:
// "description|pattern;pattern|description|pattern...".
struct FileDialogRequest {
    QString caption;
    QString startFolder;
    QString fileName;
    QString filter;
    int filterIndex = 0;
    QString defaultSuffix;
    bool multiple = false;
};

// Every message box, modal dialog and file dialog goes through this seam, so that
// tests can answer them with a script instead of blocking on a modal loop.
class UiServices {
public:
    virtual ~UiServices() = default;
    virtual MsgAnswer message(MsgType type, MsgButtons buttons, const QString &text);
    // Shows a dialog modally; returns QDialog::Accepted or Rejected.
    virtual int execDialog(QDialog *dialog);
    // Empty list / empty string when cancelled.
    virtual QStringList openFileNames(QWidget *parent, const FileDialogRequest &request);
    virtual QString saveFileName(QWidget *parent, const FileDialogRequest &request);
    // A folder chooser; empty when cancelled.
    virtual QString selectFolder(QWidget *parent, const QString &caption, const QString &start);
    // The system font dialog starting on *font; false when cancelled.
    virtual bool selectFont(QWidget *parent, QFont *font);

    static UiServices &instance();
    // Installs another implementation (tests); nullptr restores the real one.
    static void install(UiServices *services);
};

inline UiServices &ui() { return UiServices::instance(); }

// The program's filter form turned into the file dialog's own filters.
QStringList dialogNameFilters(const QString &filter);
