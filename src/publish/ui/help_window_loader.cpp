#include "publish/ui/help_window_loader.h"

#include "platform/install_paths.h"

#include <QLibrary>

namespace HelpWindowLoader {

QString modulePath()
{
    return InstallPaths::findModule(QStringLiteral("balizor_helpwindow"));
}

QMainWindow *create(const QString &bookPath, QWidget *parent) {
    const QString path = modulePath();
    if (path.isEmpty()) {
        qWarning("Balizor: no help: the help window module is not installed");
        return nullptr;
    }
    // Never unloaded: its windows may outlive any one request.
    static QLibrary *library = nullptr;
    if (!library) {
        library = new QLibrary(path);
        if (!library->load()) {
            qWarning("Balizor: no help: %s", qPrintable(library->errorString()));
            delete library;
            library = nullptr;
            return nullptr;
        }
    }
    auto make = reinterpret_cast<CreateHelpWindowFn>(library->resolve(BALIZOR_HELP_WINDOW_ENTRY));
    if (!make) {
        qWarning("Balizor: no help: %s", qPrintable(library->errorString()));
        return nullptr;
    }
    return make(bookPath, parent);
}

} // namespace HelpWindowLoader
