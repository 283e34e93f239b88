#pragma once

#include <QIcon>
#include <QString>

// The pictures of the form and table commands, by action name; a null icon for
// any other name.
QIcon FormCommandIcon(const QString &name);
