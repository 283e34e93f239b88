#include "app/recovery_journal.h"

#include "platform/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QUuid>

namespace {
const QByteArray kMagic = QByteArrayLiteral("BALIZOR-JOURNAL 1\n");
const QString kLockName = QStringLiteral("session.lock");
const QString kSuffix = QStringLiteral(".bjr");

QString encodingName(TextEncoding e) {
    switch (e) {
    case TextEncoding::Utf8:
        return QStringLiteral("utf-8");
    case TextEncoding::Utf8Bom:
        return QStringLiteral("utf-8-bom");
    case TextEncoding::Windows1252:
        break;
    }
    return QStringLiteral("windows-1252");
}

bool encodingFromName(const QString &s, TextEncoding *e) {
    if (s == QLatin1String("utf-8"))
        *e = TextEncoding::Utf8;
    else if (s == QLatin1String("utf-8-bom"))
        *e = TextEncoding::Utf8Bom;
    else if (s == QLatin1String("windows-1252"))
        *e = TextEncoding::Windows1252;
    else
        return false;
    return true;
}

QString breakName(LineBreak b) {
    switch (b) {
    case LineBreak::Lf:
        return QStringLiteral("lf");
    case LineBreak::Cr:
        return QStringLiteral("cr");
    case LineBreak::CrLf:
        break;
    }
    return QStringLiteral("crlf");
}

bool breakFromName(const QString &s, LineBreak *b) {
    if (s == QLatin1String("lf"))
        *b = LineBreak::Lf;
    else if (s == QLatin1String("cr"))
        *b = LineBreak::Cr;
    else if (s == QLatin1String("crlf"))
        *b = LineBreak::CrLf;
    else
        return false;
    return true;
}

std::unique_ptr<QLockFile> lockIn(const QString &folder) {
    auto lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + kLockName);
    // Only a dead owner makes a lock stale, never its age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return nullptr;
    return lock;
}
} // namespace

namespace Journal {

QByteArray header(const JournalEntry &e) {
    QJsonObject o;
    o.insert(QStringLiteral("fileName"), e.fileName);
    o.insert(QStringLiteral("caption"), e.caption);
    o.insert(QStringLiteral("kind"), e.kind);
    o.insert(QStringLiteral("encoding"), encodingName(e.encoding));
    o.insert(QStringLiteral("lineBreak"), breakName(e.lineBreak));
    o.insert(QStringLiteral("type"), e.typeName);
    o.insert(QStringLiteral("caretLine"), e.caretLine);
    o.insert(QStringLiteral("caretCol"), e.caretCol);
    o.insert(QStringLiteral("written"), e.written.toUTC().toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("textSize"), QString::number(e.text.size()));
    return kMagic + QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray serialize(const JournalEntry &e) {
    return header(e) + e.text;
}

bool parse(const QByteArray &bytes, JournalEntry *e) {
    if (!bytes.startsWith(kMagic)) return false;
    const qsizetype start = kMagic.size();
    const qsizetype eol = bytes.indexOf('\n', start);
    if (eol < 0) return false;
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes.mid(start, eol - start), &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject()) return false;
    const QJsonObject o = doc.object();
    bool ok = false;
    const qint64 size = o.value(QStringLiteral("textSize")).toString().toLongLong(&ok);
    // A torn or padded text is not the document: refuse it rather than restore it.
    if (!ok || size < 0 || size != bytes.size() - eol - 1) return false;
    JournalEntry r;
    if (!encodingFromName(o.value(QStringLiteral("encoding")).toString(), &r.encoding) ||
        !breakFromName(o.value(QStringLiteral("lineBreak")).toString(), &r.lineBreak))
        return false;
    r.fileName = o.value(QStringLiteral("fileName")).toString();
    r.caption = o.value(QStringLiteral("caption")).toString();
    r.kind = o.value(QStringLiteral("kind")).toInt();
    r.typeName = o.value(QStringLiteral("type")).toString();
    r.caretLine = qMax(1, o.value(QStringLiteral("caretLine")).toInt(1));
    r.caretCol = qMax(1, o.value(QStringLiteral("caretCol")).toInt(1));
    r.written =
        QDateTime::fromString(o.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    r.text = bytes.mid(eol + 1);
    *e = std::move(r);
    return true;
}

int delayMs(qint64 textSize) {
    // About one more second per 5 MB above 1 MB, at most 15 s.
    constexpr qint64 mb = 1 << 20;
    if (textSize <= mb) return 2000;
    return int(qMin<qint64>(15000, 2000 + (textSize - mb) * 1000 / (5 * mb)));
}

QString displayName(const JournalEntry &e) {
    if (!e.fileName.isEmpty()) return QDir::toNativeSeparators(e.fileName);
    return e.caption;
}

QString sizeText(qint64 bytes) {
    if (bytes < 1024) return QStringLiteral("%1 octets").arg(bytes);
    if (bytes < 1024 * 1024) return QStringLiteral("%1 Ko").arg((bytes + 1023) / 1024);
    return QStringLiteral("%1 Mo").arg(QString::number(double(bytes) / (1024 * 1024), 'f', 1)
                                           .replace(QLatin1Char('.'), QLatin1Char(',')));
}

} // namespace Journal

// ---- the session's own journal ----

std::unique_ptr<JournalSession> JournalSession::create(const QString &root) {
    if (root.isEmpty() || !makePrivateFolder(root)) return nullptr;
    std::unique_ptr<JournalSession> s(new JournalSession);
    s->m_folder =
        root + QStringLiteral("/session-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!makePrivateFolder(s->m_folder)) return nullptr;
    s->m_lock = lockIn(s->m_folder);
    if (!s->m_lock) {
        QDir(s->m_folder).removeRecursively();
        return nullptr;
    }
    return s;
}

JournalSession::~JournalSession() = default;

QString JournalSession::entryPath(int id) const {
    return m_folder + QLatin1Char('/') + QString::number(id) + kSuffix;
}

bool JournalSession::write(int id, const JournalEntry &e) const {
    return writePrivateFileAtomically(entryPath(id), Journal::header(e), e.text);
}

void JournalSession::remove(int id) const {
    QFile::remove(entryPath(id));
}

void JournalSession::removeAll() {
    if (m_folder.isEmpty()) return;
    const QDir dir(m_folder);
    for (const QString &f : dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files))
        QFile::remove(dir.filePath(f));
    if (m_lock) m_lock->unlock();
    m_lock.reset();
    QDir(m_folder).removeRecursively();
}

bool JournalSession::hasEntries() const
{
    return !QDir(m_folder).entryList({QStringLiteral("*") + kSuffix}, QDir::Files).isEmpty();
}

// ---- journals left behind ----

OrphanJournal::~OrphanJournal() = default;

void OrphanJournal::discard(const QString &path) {
    QFile::remove(path);
    items.removeIf([&](const Item &i) { return i.path == path; });
}

void OrphanJournal::removeFolderIfEmpty() {
    const QDir dir(m_folder);
    if (!dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files).isEmpty()) return;
    if (m_lock) m_lock->unlock();
    m_lock.reset();
    QDir(m_folder).removeRecursively();
}

std::vector<std::unique_ptr<OrphanJournal>> OrphanJournal::claimAll(const QString &root,
                                                                    const QString &ownFolder) {
    std::vector<std::unique_ptr<OrphanJournal>> out;
    const QDir dir(root);
    const QFileInfo own(ownFolder);
    for (const QFileInfo &sub : dir.entryInfoList({QStringLiteral("session-*")},
                                                  QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (sub.absoluteFilePath() == own.absoluteFilePath() || sub.isSymLink()) continue;
        auto lock = lockIn(sub.absoluteFilePath());
        if (!lock) continue; // a running instance's, or being recovered by one
        std::unique_ptr<OrphanJournal> o(new OrphanJournal);
        o->m_folder = sub.absoluteFilePath();
        o->m_lock = std::move(lock);
        const QDir sd(o->m_folder);
        for (const QFileInfo &f :
             sd.entryInfoList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name)) {
            QFile file(f.absoluteFilePath());
            Item item;
            item.path = f.absoluteFilePath();
            if (file.open(QIODevice::ReadOnly) && Journal::parse(file.readAll(), &item.entry))
                o->items << item;
        }
        if (o->items.isEmpty()) {
            o->removeFolderIfEmpty();
            continue;
        }
        out.push_back(std::move(o));
    }
    return out;
}
