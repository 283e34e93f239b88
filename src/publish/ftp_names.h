#pragma once

#include <QString>

namespace FtpNames {

// A name sent by a server can become a local file only when it is a plain name:
// not empty, not "." or "..", no "/" or "\", no control character.
bool isPlainRemoteName(const QString &name);
bool hasControlCharacter(const QString &name);
// A name with its control characters made visible, for messages.
QString printable(const QString &name);

// The message that refuses a name typed by the user (new folder, rename, upload),
// empty when the name is acceptable. Control characters are refused too: a CR or
// LF in a name would end the FTP command that carries it.
QString typedNameError(const QString &name);

// The remote folder joined with a name, and the parent of a folder ("/" stays "/").
QString join(const QString &folder, const QString &name);
QString parent(const QString &folder);
// A session's remote folder read against the folder the server puts us in at login.
QString startFolder(const QString &entryPath, const QString &sessionFolder);

// The temporary name an upload is written under, beside the target.
QString uploadTemporaryName(const QString &target, const QString &tag);
// Where the old file waits while an upload takes its name, on servers that do not
// rename over an existing file.
QString setAsideName(const QString &target, const QString &tag);

} // namespace FtpNames
