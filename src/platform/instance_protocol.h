#pragma once

#include <QByteArray>
#include <QString>

// The single-instance hand-over: a per-user local socket named from a fixed GUID.
// Each argument travels as one message (a 32-bit big-endian length, then the
// argument in UTF-8) and is answered by one byte once the first instance has
// handled it, so that the next one is sent only afterwards.
namespace InstanceProtocol {

inline constexpr char kMappingName[] = "{6D2F6C1A-3B8E-4F2C-9A41-7E5B0C9D8A13}";
// Longest argument accepted (a path longer than this is no path).
inline constexpr int kMaxMessage = 1 << 20;
inline constexpr char kHandled = 1;

// The socket name for this user and settings profile.
QString serverName(const QString &userName, const QString &profileKey);
// Where that socket lives: in the user's private folder, out of other users' reach.
QString serverPath(const QString &userName, const QString &profileKey);

QByteArray encode(const QString &argument);

// Reads one message from the front of buf. Returns Complete (and removes it),
// NeedMore, or Malformed (the connection should be dropped).
enum class Decode { Complete, NeedMore, Malformed };
Decode decode(QByteArray &buf, QString *argument);

} // namespace InstanceProtocol
