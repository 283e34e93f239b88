#include "app/app_settings.h"
#include "app/command_line.h"
#include "app/document_texts.h"
#include "app/settings_store.h"
#include "app/ui/main_form.h"
#include "app/ui/splash_window.h"
#include "app/ui/ui_services.h"
#include "platform/instance_protocol.h"
#include "platform/ui/single_instance.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
void prepareBrowserEngine()
{
#ifdef Q_OS_UNIX
    // The browser engine refuses to run as root inside its own sandbox.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QString userName()
{
    QString u = qEnvironmentVariable("USER");
    if (u.isEmpty())
        u = qEnvironmentVariable("USERNAME");
    return u;
}

// Paths go to another process with another working folder: make them absolute.
QStringList absoluteArguments(const QStringList &args)
{
    QStringList out;
    for (const QString &a : args) {
        if (a.startsWith(QLatin1Char('-')) || a.isEmpty())
            out << a;
        else
            out << QDir::toNativeSeparators(QFileInfo(a).absoluteFilePath());
    }
    return out;
}
} // namespace

int main(int argc, char *argv[])
{
    prepareBrowserEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Balizor"));
    QApplication::setOrganizationName(QStringLiteral("Balizor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Balizor"));
    QApplication::setApplicationVersion(TOpenBox::version());

    // The standard dialogs speak French.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    const QStringList args = app.arguments().mid(1);
    SettingsStore store;
    Options options;
    readStartupOptions(store, options);

    const QString name = InstanceProtocol::serverName(userName(), store.fileName());
    const bool existed = instanceRunning(name);
    if (!commandLineForcesNewInstance(args) && options.oneInstance && existed) {
        // Hand the files to the running instance and end; if it has just ended, end silently.
        handOverArguments(name, absoluteArguments(args));
        return 0;
    }

    std::unique_ptr<TOpenBox> splash;
    if (options.splash) {
        splash = std::make_unique<TOpenBox>();
        splash->show();
        splash->repaint();
        QApplication::processEvents();
    }

    InstanceServer server;
    if (!existed) {
        int code = 0;
        QString text;
        if (!server.listen(name, &code, &text)) {
            ui().message(MsgType::Error, MsgButtons::Ok, DocTexts::win32Error(code, text));
            return 1;
        }
    }

    TMainForm form(&store, &options, args);
    server.onActivate = [&form] { form.bringToFront(); };
    server.onArgument = [&form](const QString &a) { form.handleForwardedArgument(a); };
    if (splash)
        QTimer::singleShot(0, [&splash] { splash.reset(); });
    form.show();
    return app.exec();
}
