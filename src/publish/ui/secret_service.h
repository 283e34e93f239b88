#pragma once

#include <QString>

// The desktop's secret service lives in a module beside the program, loaded the
// first time a password is kept or asked for, so that start-up never loads the
// keychain library. The module exports one entry that fills this table.
struct SecretService {
    // Each false when the service does not answer within a few seconds or has nothing.
    bool (*write)(const QString &service, const QString &key, const QString &secret);
    bool (*read)(const QString &service, const QString &key, QString *secret);
    void (*remove)(const QString &service, const QString &key);
};
#define BALIZOR_SECRET_SERVICE_ENTRY "balizorSecretService"
using SecretServiceFn = const SecretService *(*)();

namespace SecretServiceLoader {
// The module's table, loaded once; nullptr (with a warning on the console) when the
// module is missing: passwords are then kept for the run only.
const SecretService *service();
} // namespace SecretServiceLoader
