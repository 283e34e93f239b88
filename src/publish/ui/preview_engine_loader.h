#pragma once

#include "publish/ui/preview_engine.h"

#include <QString>

// The browser engine module beside the program, loaded on first use and kept.
namespace PreviewEngineLoader {

// The module's path; empty when none is installed (no preview on this system).
QString modulePath();
// Loads the module and creates an engine; nullptr (with a warning on the console)
// when the module, its libraries or the engine's own files are missing.
PreviewEngine *create(QWidget *parent, const PreviewEngine::Notifications &notify);

} // namespace PreviewEngineLoader
