#pragma once

#include <QIcon>
#include <QString>

// The pictures of the media, link, script and server-side commands; a null icon for
// a name without one.
QIcon InsertionIcon(const QString &name);
