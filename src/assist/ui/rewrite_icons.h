#pragma once

#include <QIcon>
#include <QString>

// The pictures of the rewrite commands (accents, case, block indent, indenter), by
// action name; a null icon for a name without one.
QIcon RewriteCommandIcon(const QString &name);
