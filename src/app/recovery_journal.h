#pragma once

#include "platform/text_file.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>

class QLockFile;

// One modified document as the crash-recovery journal keeps it: enough to give it
// back exactly (the editor's text, and what turns it into the file's bytes).
struct JournalEntry {
    QByteArray text;  // the editor's UTF-8 text, line breaks as they are
    QString fileName; // empty for an untitled document
    QString caption;  // the tab's caption
    int kind = 0;
    TextEncoding encoding = TextEncoding::Windows1252;
    LineBreak lineBreak = LineBreak::CrLf;
    QString typeName;
    int caretLine = 1;
    int caretCol = 1;
    QDateTime written; // when the text was taken (UTC)
};

namespace Journal {

// The header line, a JSON line of the document's identity, then the text.
QByteArray header(const JournalEntry &e);
QByteArray serialize(const JournalEntry &e);
// False on anything but a whole, well-formed journal entry.
bool parse(const QByteArray &bytes, JournalEntry *e);

// How long after the last change the text is written: a couple of seconds, more
// for large texts so that typing in them is not taxed by copies.
int delayMs(qint64 textSize);

// The display of a found entry: its name and its size ("12 Ko").
QString displayName(const JournalEntry &e);
QString sizeText(qint64 bytes);

} // namespace Journal

// A session's journal: a private folder of its own under the journal root, with
// a lock held for the life of the owner, so that a running instance's journal is
// never taken by another. Entry files are "<id>.bjr", 0600.
class JournalSession {
public:
    // Creates and locks a new session folder under root (made private).
    static std::unique_ptr<JournalSession> create(const QString &root);
    ~JournalSession();

    QString folder() const { return m_folder; }
    QString entryPath(int id) const;
    bool write(int id, const JournalEntry &e) const;
    void remove(int id) const;
    // Removes every entry, the lock and the folder (a clean end).
    void removeAll();
    bool hasEntries() const;

private:
    JournalSession() = default;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
};

// A journal left behind by an instance that is gone (its lock is free), claimed by
// this instance for as long as the object lives.
class OrphanJournal {
public:
    ~OrphanJournal();
    QString folder() const { return m_folder; }
    struct Item {
        QString path;
        JournalEntry entry;
    };
    QList<Item> items;
    // Removes one entry; the folder goes with its last entry.
    void discard(const QString &path);
    void removeFolderIfEmpty();

    // Every orphaned session under root other than the given own folder; empty
    // leftovers are cleaned away, unreadable entries are kept but not offered.
    static std::vector<std::unique_ptr<OrphanJournal>> claimAll(const QString &root,
                                                                const QString &ownFolder);

private:
    OrphanJournal() = default;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
};
