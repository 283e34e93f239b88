#include "ui_test_support.h"

#include <QFile>

#include "app/ui/app_context.h"
#include "shell/ui/main_form.h"
#include "test_support.h"

#include <QDialog>
#include <QTest>

ScriptedUi::ScriptedUi() { UiServices::install(this); }
ScriptedUi::~ScriptedUi() { UiServices::install(nullptr); }

MsgAnswer ScriptedUi::message(MsgType type, MsgButtons buttons, const QString &text)
{
    messages << Message{type, buttons, text};
    if (whileAsking) {
        const auto hook = whileAsking; // the hook may clear itself
        hook(text);
    }
    if (!answers.isEmpty())
        return answers.takeFirst();
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    if (buttons == MsgButtons::YesNo && defaultAnswer == MsgAnswer::Cancel)
        return MsgAnswer::No;
    return defaultAnswer;
}

int ScriptedUi::execDialog(QDialog *dialog)
{
    dialogsShown << dialog;
    const bool ok = onDialog ? onDialog(dialog) : false;
    return ok ? QDialog::Accepted : QDialog::Rejected;
}

QStringList ScriptedUi::openFileNames(QWidget *, const FileDialogRequest &request)
{
    fileRequests << request;
    return openAnswers.isEmpty() ? QStringList() : openAnswers.takeFirst();
}

QString ScriptedUi::saveFileName(QWidget *, const FileDialogRequest &request)
{
    fileRequests << request;
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

QString ScriptedUi::selectFolder(QWidget *, const QString &caption, const QString &)
{
    folderCaptions << caption;
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
}

bool ScriptedUi::selectFont(QWidget *, QFont *font)
{
    if (fontAnswers.isEmpty())
        return false;
    *font = fontAnswers.takeFirst();
    return true;
}

MainFormFixture::MainFormFixture(const QStringList &args, bool show,
                                 const std::function<void(SettingsStore &)> &preset)
{
    // The recovery journal lives in the user's data folder: this window's own.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    store = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("settings.ini")));
    // No tip of the day over the window under test, unless a test asks for it.
    store->writeBool(QStringLiteral("Options"), QStringLiteral("ShowTips"), false);
    if (preset)
        preset(*store);
    readStartupOptions(*store, options);
    form = std::make_unique<TMainForm>(store.get(), &options, args);
    if (show) {
        // The window's first idle moment (after its first paint) installs the idle
        // work, such as the check of files changed on disk: tests start after it.
        bool idle = false;
        QObject guard;
        QObject::connect(form->context().events, &AppEvents::firstIdle, &guard,
                         [&idle] { idle = true; });
        form->show();
        form->activateWindow();
        QTest::qWaitForWindowActive(form.get());
        QTest::qWaitFor([&idle] { return idle; }, 5000);
    }
}

MainFormFixture::~MainFormFixture()
{
    // Leave without the close road's questions.
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form.reset();
}

QString MainFormFixture::writeFile(const QString &name, const QByteArray &bytes) const
{
    const QString p = path(name);
    TestSupport::writeAll(p, bytes);
    return p;
}
