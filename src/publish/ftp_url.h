#pragma once

#include "publish/ftp_session.h"

#include <QByteArray>
#include <QString>

namespace FtpUrl {

// A host name or address that can be put in a URL as it is (no "@", "/", "%"...).
bool validHost(const QString &host);

// The URL curl is given for an absolute remote path. Every path segment is
// percent-encoded ("#", "%", spaces, non-ASCII...), so a name can never change
// the URL's meaning; FTP paths are made absolute with a leading "%2F".
// Folders end with "/".
QByteArray make(FtpProtocol protocol, const QString &host, int port, const QString &path,
                bool folder);

} // namespace FtpUrl
