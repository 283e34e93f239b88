#pragma once

#include "cli/batch_command.h"

namespace Batch {

// balizor-cli spell [--lang LANG] FILE...: prints each misspelt word as
// "file:line:column: word" and returns WouldChange when there is any.
int RunSpell(const QStringList &arguments, const Io &io);

} // namespace Batch
