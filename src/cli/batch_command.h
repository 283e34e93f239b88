#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The batch command line: re-indent, convert accents or change line breaks of files
// with the same code as the editor's commands, or check pages, for scripts and CI hooks.
namespace Batch {

// Exit statuses. Across several files: Failed if any failed, else Stopped, else
// WouldChange (for check: Found).
enum Status { Done = 0, WouldChange = 1, Found = 1, Failed = 2, Stopped = 3 };

struct Io {
    std::function<QByteArray()> readStdin;
    std::function<void(const QByteArray &)> writeStdout;
    std::function<void(const QString &)> writeStderr; // one message, no line break
};

// Runs one command line (without the program name) and returns its exit status.
int Run(const QStringList &arguments, const Io &io);

QString HelpText();

// The name a file argument is reported under ("-" is standard input).
QString InputName(const QString &file);
// The bytes of a file argument ("-": standard input); false once standard error has been
// told the file cannot be read.
bool ReadInput(const QString &file, const Io &io, QByteArray *bytes);

} // namespace Batch
