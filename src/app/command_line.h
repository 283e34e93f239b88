#pragma once

#include <QStringList>

// Switches are the arguments that begin with "-". Only "-N" is known, and only in
// the leading run of switches: the scan stops at the first argument that does not
// begin with "-", and the comparison is exact.
bool commandLineForcesNewInstance(const QStringList &args);

// The arguments that name files: every argument not beginning with "-".
QStringList commandLineFiles(const QStringList &args);
