#include "platform/instance_protocol.h"

#include "platform/temp_folder.h"

#include <QCryptographicHash>
#include <QStringDecoder>
#include <QtEndian>

namespace InstanceProtocol {

QString serverName(const QString &userName, const QString &profileKey)
{
    const QByteArray h = QCryptographicHash::hash((userName + QLatin1Char('\n') + profileKey).toUtf8(),
                                                  QCryptographicHash::Sha1)
                             .toHex()
                             .left(12);
    return QLatin1String(kMappingName) + QLatin1Char('-') + QString::fromLatin1(h);
}

QString serverPath(const QString &userName, const QString &profileKey)
{
    const QString folder = PrivateFolder();
    const QString name = serverName(userName, profileKey);
    // Without a private folder the name alone still works; the first instance
    // then relies on the peer check alone.
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

QByteArray encode(const QString &argument)
{
    const QByteArray body = argument.toUtf8();
    QByteArray msg(4, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(body.size()), msg.data());
    return msg + body;
}

Decode decode(QByteArray &buf, QString *argument)
{
    if (buf.size() < 4)
        return Decode::NeedMore;
    const quint32 len = qFromBigEndian<quint32>(buf.constData());
    if (len > quint32(kMaxMessage))
        return Decode::Malformed;
    if (buf.size() < qsizetype(4 + len))
        return Decode::NeedMore;
    const QByteArray body = buf.mid(4, len);
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = dec.decode(body);
    if (dec.hasError() || s.contains(QChar(0)))
        return Decode::Malformed;
    buf.remove(0, 4 + len);
    *argument = s;
    return Decode::Complete;
}

} // namespace InstanceProtocol
