#pragma once

#include <QString>
#include <QStringList>

// Asks the desktop to "open" a file, program or web address. A program is started
// with the parameter string as its one argument, in the given working folder;
// anything else goes to its default handler. Failures are not reported.
// showCommand 0 asks for no window of our own (the handler decides).
void ShellOpen(const QString &fileOrAddress, const QString &parameters = QString(),
               const QString &workingFolder = QString(), int showCommand = 5);

// The same, telling whether something was started.
bool shellOpenChecked(const QString &fileOrAddress, const QString &parameters,
                      const QString &workingFolder);

// Hands a file or address to the desktop's URL handler, which picks the program
// for its type. A file is never started itself, whatever its execute bit says.
bool openWithDesktop(const QString &fileOrAddress);

// Starts a program with these arguments, each passed as it is; false when it
// could not be started.
bool startProgram(const QString &program, const QStringList &arguments,
                  const QString &workingFolder);
