#include "publish/ui/secret_service.h"

#include "platform/install_paths.h"

#include <QLibrary>

namespace SecretServiceLoader {

const SecretService *service() {
    static const SecretService *loaded = []() -> const SecretService * {
        const QString path = InstallPaths::findModule(QStringLiteral("balizor_secrets"));
        if (path.isEmpty()) {
            qWarning("Balizor: passwords kept for this run only: the secret service module is "
                     "not installed");
            return nullptr;
        }
        // Never unloaded: the keychain's connection to the service stays open.
        auto *library = new QLibrary(path);
        auto entry =
            reinterpret_cast<SecretServiceFn>(library->resolve(BALIZOR_SECRET_SERVICE_ENTRY));
        if (!entry) {
            qWarning("Balizor: passwords kept for this run only: %s",
                     qPrintable(library->errorString()));
            return nullptr;
        }
        return entry();
    }();
    return loaded;
}

} // namespace SecretServiceLoader
