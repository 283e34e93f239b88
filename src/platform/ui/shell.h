#pragma once

#include <QString>

// Asks the desktop to "open" a file, program or web address. A program is started
// with the parameter string as its one argument, in the given working folder;
// anything else goes to its default handler. Failures are not reported.
// showCommand 0 asks for no window of our own (the handler decides).
void ShellOpen(const QString &fileOrAddress, const QString &parameters = QString(),
               const QString &workingFolder = QString(), int showCommand = 5);

// The same, telling whether something was started.
bool shellOpenChecked(const QString &fileOrAddress, const QString &parameters,
                      const QString &workingFolder);
