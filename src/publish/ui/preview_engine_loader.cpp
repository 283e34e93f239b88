#include "publish/ui/preview_engine_loader.h"

#include "platform/install_paths.h"

#include <QCoreApplication>
#include <QLibrary>
#ifndef QT_NO_OPENGL
#include <QOpenGLContext>

// Qt's own (exported by QtGui, as the browser engine uses it): the context that every
// other context shares its resources with.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
#endif

namespace {

#ifndef QT_NO_OPENGL
QtMessageHandler g_previousHandler = nullptr;

// Qt warns that the attribute is set late; the one thing it changes is made here.
void dropLateAttributeWarning(QtMsgType type, const QMessageLogContext &context,
                              const QString &text) {
    if (type == QtWarningMsg && text.contains(QLatin1String("AA_ShareOpenGLContexts"))) return;
    if (g_previousHandler) g_previousHandler(type, context, text);
}
#endif

// The browser engine draws with OpenGL and needs every context of the window system
// to share its resources with one global context. Qt makes that context when the
// application starts if asked to, which costs every start an OpenGL set-up even when
// no page is ever shown; it is made here instead, before the engine is loaded.
void shareGraphicsContexts() {
#ifndef QT_NO_OPENGL
    if (QOpenGLContext::globalShareContext()) return;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
    // Widgets that draw with OpenGL (the engine's view) share with the global context
    // only when the attribute is set.
    g_previousHandler = qInstallMessageHandler(dropLateAttributeWarning);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(g_previousHandler);
#endif
}

} // namespace

namespace PreviewEngineLoader {

QString modulePath()
{
    return InstallPaths::findModule(QStringLiteral("balizor_webengine"));
}

PreviewEngine *create(QWidget *parent, const PreviewEngine::Notifications &notify) {
    const QString path = modulePath();
    if (path.isEmpty()) return nullptr;
    // Never unloaded: the engine's code must outlive every page it showed.
    static QLibrary *library = nullptr;
    if (!library) {
        shareGraphicsContexts();
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
    if (!engine) qWarning("Balizor: no preview: the browser engine is not completely installed");
    return engine;
}

} // namespace PreviewEngineLoader
