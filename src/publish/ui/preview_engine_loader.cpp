#include "publish/ui/preview_engine_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace PreviewEngineLoader {

QString modulePath()
{
    const QDir dir(QCoreApplication::applicationDirPath());
    const QString base = QStringLiteral("balizor_webengine");
    for (const QString &name :
         {QStringLiteral("lib") + base + QStringLiteral(".so"), base + QStringLiteral(".dll"),
          QStringLiteral("lib") + base + QStringLiteral(".dylib")}) {
        if (QFileInfo::exists(dir.filePath(name)))
            return dir.filePath(name);
    }
    return {};
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
