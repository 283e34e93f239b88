#pragma once

#include <QString>

// The system's temporary folder as a full, canonical path ending with exactly one
// separator; empty when the system gives none.
QString TemporaryFolder();
