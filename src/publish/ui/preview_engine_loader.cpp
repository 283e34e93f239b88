#include "publish/ui/preview_engine_loader.h"

#include "platform/install_paths.h"

#include <QLibrary>

namespace PreviewEngineLoader {

QString modulePath()
{
    return InstallPaths::findModule(QStringLiteral("balizor_webengine"));
}

PreviewEngine *create(QWidget *parent, const PreviewEngine::Notifications &notify)
{
    const QString path = modulePath();
    if (path.isEmpty())
        return nullptr;
    // Never unloaded: the engine's code must outlive every page it showed.
    static QLibrary *library = nullptr;
    if (!library) {
        library = new QLibrary(path);
        if (!library->load()) {
            qWarning("Balizor: no preview: %s", qPrintable(library->errorString()));
            return nullptr;
        }
    }
    auto create =
        reinterpret_cast<CreatePreviewEngineFn>(library->resolve(BALIZOR_PREVIEW_ENGINE_ENTRY));
    if (!create) {
        qWarning("Balizor: no preview: %s", qPrintable(library->errorString()));
        return nullptr;
    }
    PreviewEngine *engine = create(parent, notify);
    if (!engine)
        qWarning("Balizor: no preview: the browser engine is not completely installed");
    return engine;
}

} // namespace PreviewEngineLoader
