#pragma once

#include <QString>

// The program's addresses, in one place. The project has no public pages yet:
// until it does, the home page and the update page are the help book's page about
// the program, its version and how to get updates, so that no command leads to
// an address that answers nothing. Give an address here and the commands open it
// with the desktop's browser instead.
namespace ProductLinks {

inline QString homePageAddress() {
    return {};
}
inline QString updatePageAddress(const QString & /*version*/) {
    return {};
}
inline QString aboutTopic() {
    return QStringLiteral("Ressources/a_propos.htm");
}

} // namespace ProductLinks
