#pragma once

#include <QIcon>
#include <QString>

// The pictures of the text formatting and structure commands and of their menus, by
// action or menu name; a null icon for a name without one.
QIcon TextCommandIcon(const QString &name);
