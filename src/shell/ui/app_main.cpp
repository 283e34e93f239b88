#include "shell/ui/app_main.h"

#include "app/app_settings.h"
#include "app/command_line.h"
#include "app/document_texts.h"
#include "app/settings_store.h"
#include "shell/ui/main_form.h"
#include "publish/ui/splash_window.h"
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
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {
void prepareBrowserEngine() {
#ifdef Q_OS_UNIX
    // The browser engine refuses to run as root inside its own sandbox.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    // The engine's shared graphics context is made when the preview is first needed
    // (PreviewEngineLoader), not here: it would cost every start an OpenGL set-up.
}

QString userName() {
    QString u = qEnvironmentVariable("USER");
    if (u.isEmpty()) u = qEnvironmentVariable("USERNAME");
    return u;
}

#ifdef Q_OS_UNIX
int g_signalPipe[2] = {-1, -1};

void onTerminate(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &c, 1);
}

// The end of the session (SIGTERM, SIGINT, SIGHUP) ends the program without a
// question: settings and recent files are kept, modified documents journaled.
void closeOnTermination(TMainForm *window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
    auto *n = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, window);
    QObject::connect(n, &QSocketNotifier::activated, window, [window] {
        char c;
        [[maybe_unused]] const auto r = ::read(g_signalPipe[0], &c, 1);
        window->endOfSession();
    });
    struct sigaction sa = {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &sa, nullptr);
}
#else
void closeOnTermination(TMainForm *) {}
#endif

// Paths go to another process with another working folder: make them absolute.
QStringList absoluteArguments(const QStringList &args) {
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

int runBalizor(int argc, char *argv[], const std::function<void(TMainForm &)> &started) {
    prepareBrowserEngine();
    QApplication app(argc, argv);
    setApplicationIdentity();

    // The standard dialogs speak French.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    const QStringList args = app.arguments().mid(1);
    SettingsStore store;
    Options options;
    readStartupOptions(store, options);

    const QString name = InstanceProtocol::serverPath(userName(), store.fileName());
    const bool existed = instanceRunning(name);
    const bool mayHandOver = !commandLineForcesNewInstance(args) && options.oneInstance;
    if (mayHandOver && existed) {
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
        switch (claimOrHandOver(server, name, absoluteArguments(args), mayHandOver, &code, &text)) {
        case StartRole::First:
        case StartRole::Alone:
            break;
        case StartRole::HandedOver:
            return 0;
        case StartRole::Failed:
            ui().message(MsgType::Error, MsgButtons::Ok, DocTexts::win32Error(code, text));
            return 1;
        }
    }

    TMainForm form(&store, &options, args);
    server.onActivate = [&form] { form.bringToFront(); };
    server.onArgument = [&form](const QString &a) { form.handleForwardedArgument(a); };
    closeOnTermination(&form);
    if (splash) QTimer::singleShot(0, [&splash] { splash.reset(); });
    form.show();
    if (started) started(form);
    return app.exec();
}
