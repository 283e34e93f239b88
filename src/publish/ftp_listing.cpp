#include "publish/ftp_listing.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTimeZone>
#include <algorithm>

namespace {

int monthNumber(QStringView s) {
    static const char *const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    if (s.size() != 3) return 0;
    for (int i = 0; i < 12; ++i)
        if (s.compare(QLatin1String(months[i]), Qt::CaseInsensitive) == 0) return i + 1;
    return 0;
}

bool allDigits(QStringView s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (!c.isDigit()) return false;
    return true;
}

struct Token {
    int start;
    int end;
};

QList<Token> tokens(const QString &line) {
    QList<Token> out;
    int i = 0;
    const int n = int(line.size());
    while (i < n) {
        while (i < n && line[i] == QLatin1Char(' '))
            ++i;
        if (i >= n) break;
        const int s = i;
        while (i < n && line[i] != QLatin1Char(' '))
            ++i;
        out.append({s, i});
    }
    return out;
}

bool parseUnix(const QString &line, const QDateTime &now, FtpEntry *out) {
    static const QRegularExpression perms(QStringLiteral("^[-dlbcps][-rwxsStTl]{9}[+@.]?$"));
    const QList<Token> t = tokens(line);
    if (t.size() < 6) return false;
    auto text = [&](int k) { return QStringView(line).mid(t[k].start, t[k].end - t[k].start); };
    if (!perms.match(text(0)).hasMatch()) return false;
    // The month is the first token after the size that names one; owner and group
    // may be missing or hold spaces, so the date is found rather than counted.
    int m = -1;
    for (int k = 2; k + 2 < t.size(); ++k) {
        if (monthNumber(text(k)) && allDigits(text(k - 1)) && allDigits(text(k + 1))) {
            m = k;
            break;
        }
    }
    if (m < 0) return false;
    const int month = monthNumber(text(m));
    const int day = text(m + 1).toInt();
    const QStringView third = text(m + 2);
    QDateTime when;
    if (third.contains(QLatin1Char(':'))) {
        const QTime time = QTime::fromString(third.toString(), QStringLiteral("H:mm"));
        int year = now.date().year();
        QDate date(year, month, day);
        // A date without year more than ~six months ahead belongs to last year.
        if (date.isValid() && date > now.date().addDays(183)) date = QDate(year - 1, month, day);
        when = QDateTime(date, time);
    } else if (allDigits(third)) {
        when = QDateTime(QDate(third.toInt(), month, day), QTime(0, 0));
    } else {
        return false;
    }
    // The name is everything after the single space that follows the date.
    const int nameStart = t[m + 2].end + 1;
    if (nameStart >= line.size()) return false;
    QString name = line.mid(nameStart);
    const QChar kind = line[0];
    FtpEntryType type = FtpEntryType::File;
    if (kind == QLatin1Char('d')) {
        type = FtpEntryType::Folder;
    } else if (kind == QLatin1Char('l')) {
        type = FtpEntryType::Link;
        const int arrow = int(name.indexOf(QLatin1String(" -> ")));
        if (arrow > 0) name.truncate(arrow);
    }
    out->name = name;
    out->size = text(m - 1).toLongLong();
    out->modified = when.isValid() ? when : QDateTime();
    out->type = type;
    return true;
}

bool parseWindows(const QString &line, FtpEntry *out) {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{2})-(\\d{2})-(\\d{2}|\\d{4})\\s+(\\d{1,2}):(\\d{2})\\s*([AaPp][Mm])?"
                       "\\s+(<DIR>|\\d+)\\s+(.+)$"));
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch()) return false;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2) year += year < 70 ? 2000 : 1900;
    int hour = m.captured(4).toInt();
    const QString ampm = m.captured(6).toUpper();
    if (ampm == QLatin1String("PM") && hour < 12)
        hour += 12;
    else if (ampm == QLatin1String("AM") && hour == 12)
        hour = 0;
    const QDateTime when(QDate(year, m.captured(1).toInt(), m.captured(2).toInt()),
                         QTime(hour, m.captured(5).toInt()));
    const bool dir = m.captured(7) == QLatin1String("<DIR>");
    out->name = m.captured(8);
    out->size = dir ? 0 : m.captured(7).toLongLong();
    out->modified = when.isValid() ? when : QDateTime();
    out->type = dir ? FtpEntryType::Folder : FtpEntryType::File;
    return true;
}

// "YYYYMMDDHHMMSS[.sss]" in UTC. Read by hand: a folder of thousands of entries
// is parsed in milliseconds, where a format string costs a good part of a second.
QDateTime mlsdTime(const QString &value) {
    if (value.size() < 14) return {};
    int v[6] = {};
    const int widths[6] = {4, 2, 2, 2, 2, 2};
    int at = 0;
    for (int k = 0; k < 6; ++k) {
        for (int w = 0; w < widths[k]; ++w, ++at) {
            const QChar c = value[at];
            if (!c.isDigit()) return {};
            v[k] = v[k] * 10 + c.digitValue();
        }
    }
    const QDate date(v[0], v[1], v[2]);
    const QTime time(v[3], v[4], v[5]);
    if (!date.isValid() || !time.isValid()) return {};
    return QDateTime(date, time, QTimeZone::utc());
}

QString decodeName(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = utf8(bytes);
    if (!utf8.hasError()) return s;
    return QString::fromLatin1(bytes);
}

} // namespace

namespace FtpListing {

bool parseListLine(const QString &line, const QDateTime &now, FtpEntry *out) {
    return parseUnix(line, now, out) || parseWindows(line, out);
}

bool parseMlsdLine(const QString &line, FtpEntry *out) {
    const int space = int(line.indexOf(QLatin1Char(' ')));
    if (space < 0 || space + 1 >= line.size()) return false;
    FtpEntry e;
    e.name = line.mid(space + 1);
    bool typed = false;
    const QStringList facts = line.left(space).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &fact : facts) {
        const int eq = int(fact.indexOf(QLatin1Char('=')));
        if (eq <= 0) continue;
        const QString key = fact.left(eq).toLower();
        const QString value = fact.mid(eq + 1);
        if (key == QLatin1String("type")) {
            const QString v = value.toLower();
            typed = true;
            if (v == QLatin1String("cdir") || v == QLatin1String("pdir"))
                return false; // the folder itself and its parent
            if (v == QLatin1String("dir"))
                e.type = FtpEntryType::Folder;
            else if (v == QLatin1String("os.unix=symlink") ||
                     v.startsWith(QLatin1String("os.unix=slink")))
                e.type = FtpEntryType::Link;
            else
                e.type = FtpEntryType::File;
        } else if (key == QLatin1String("size") || key == QLatin1String("sizd")) {
            e.size = value.toLongLong();
        } else if (key == QLatin1String("modify")) {
            e.modified = mlsdTime(value);
        }
    }
    if (!typed) return false;
    if (e.type == FtpEntryType::Folder) e.size = 0;
    *out = e;
    return true;
}

QList<FtpEntry> parse(const QByteArray &reply, FtpListingFormat format, const QDateTime &now) {
    QList<FtpEntry> out;
    qsizetype start = 0;
    while (start < reply.size()) {
        qsizetype end = reply.indexOf('\n', start);
        if (end < 0) end = reply.size();
        QByteArray raw = reply.mid(start, end - start);
        start = end + 1;
        if (raw.endsWith('\r')) raw.chop(1);
        if (raw.isEmpty()) continue;
        const QString line = decodeName(raw);
        FtpEntry e;
        const bool ok = format == FtpListingFormat::Mlsd ? parseMlsdLine(line, &e)
                                                         : parseListLine(line, now, &e);
        if (!ok || e.name == QLatin1String(".") || e.name == QLatin1String("..")) continue;
        e.position = int(out.size());
        out.append(e);
    }
    return out;
}

QString dateText(const QDateTime &modified) {
    if (!modified.isValid()) return {};
    static const QLocale french(QLocale::French);
    return french.toString(modified.toLocalTime(), QLocale::ShortFormat);
}

void sort(QList<FtpEntry> &entries, int column, bool descending) {
    auto less = [column, descending](const FtpEntry &a, const FtpEntry &b) {
        if (a.isFolder() != b.isFolder()) return a.isFolder();
        int c = 0;
        switch (column) {
        case BySize:
            c = a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
            break;
        case ByDate:
            c = a.modified < b.modified ? -1 : b.modified < a.modified ? 1 : 0;
            break;
        default:
            c = a.name.compare(b.name, Qt::CaseInsensitive);
            break;
        }
        if (c == 0 && column != ByName) // equal sizes or dates: by name
            return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
        return descending ? c > 0 : c < 0;
    };
    std::stable_sort(entries.begin(), entries.end(), less);
}

void clickColumn(int clicked, int *column, bool *descending) {
    *descending = clicked == *column && !*descending;
    *column = clicked;
}

} // namespace FtpListing
