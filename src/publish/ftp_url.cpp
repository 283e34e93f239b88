#include "publish/ftp_url.h"

#include <QStringList>
#include <QUrl>

namespace FtpUrl {

bool validHost(const QString &host) {
    if (host.isEmpty() || host.size() > 253) return false;
    if (host.contains(QLatin1Char(':'))) {
        for (QChar c : host)
            if (!(c.isDigit() ||
                  (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')) ||
                  c == QLatin1Char(':') || c == QLatin1Char('.')))
                return false;
        return true;
    }
    const QByteArray ace = QUrl::toAce(host);
    if (ace.isEmpty()) return false;
    for (char c : ace)
        if (!(QChar::isLetterOrNumber(uchar(c)) || c == '-' || c == '.' || c == '_')) return false;
    return true;
}

QByteArray make(FtpProtocol protocol, const QString &host, int port, const QString &path,
                bool folder) {
    QByteArray url = protocol == FtpProtocol::Sftp ? "sftp://" : "ftp://";
    // An IPv6 address is written between brackets; names in their ASCII form.
    if (host.contains(QLatin1Char(':')))
        url += '[' + host.toLatin1() + ']';
    else
        url += QUrl::toAce(host);
    url += ':' + QByteArray::number(port) + '/';
    if (protocol != FtpProtocol::Sftp) url += "%2F";
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QByteArrayList encoded;
    for (const QString &p : parts)
        encoded << QUrl::toPercentEncoding(p);
    url += encoded.join('/');
    if (folder && !url.endsWith('/')) url += '/';
    return url;
}

} // namespace FtpUrl
