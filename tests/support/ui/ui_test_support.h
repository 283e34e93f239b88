#pragma once

#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/ui_services.h"

#include <QFont>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QDialog;
class TMainForm;

// Answers message boxes, dialogs and file dialogs from a script and records them.
class ScriptedUi : public UiServices {
public:
    ScriptedUi();
    ~ScriptedUi() override;

    struct Message {
        MsgType type;
        MsgButtons buttons;
        QString text;
    };
    QList<Message> messages;
    QList<MsgAnswer> answers;               // next answers; default Yes/Ok... see below
    MsgAnswer defaultAnswer = MsgAnswer::Cancel;
    QList<QStringList> openAnswers;         // next Open dialog results
    QList<QString> saveAnswers;             // next Save dialog results ("" = cancel)
    QList<FileDialogRequest> fileRequests;  // what the dialogs were asked
    QList<QString> folderAnswers;           // next folder chooser results ("" = cancel)
    QList<QString> folderCaptions;          // what the folder choosers were titled
    QList<QFont> fontAnswers;               // next font dialog results (none = cancel)
    // Fills and accepts (true) or rejects a modal dialog.
    std::function<bool(QDialog *)> onDialog;
    QList<QDialog *> dialogsShown;
    // Runs while a message box is "open", before it is answered.
    std::function<void(const QString &text)> whileAsking;

    MsgAnswer message(MsgType type, MsgButtons buttons, const QString &text) override;
    int execDialog(QDialog *dialog) override;
    QStringList openFileNames(QWidget *parent, const FileDialogRequest &request) override;
    QString saveFileName(QWidget *parent, const FileDialogRequest &request) override;
    QString selectFolder(QWidget *parent, const QString &caption, const QString &start) override;
    bool selectFont(QWidget *parent, QFont *font) override;

    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
};

// A main window with its settings in a temporary INI file, shown offscreen.
struct MainFormFixture {
    explicit MainFormFixture(const QStringList &args = {}, bool show = true,
                             const std::function<void(SettingsStore &)> &preset = {});
    ~MainFormFixture();
    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> store;
    Options options;
    ScriptedUi ui;
    std::unique_ptr<TMainForm> form;

    QString path(const QString &name) const { return dir.filePath(name); }
    QString writeFile(const QString &name, const QByteArray &bytes) const;
};
