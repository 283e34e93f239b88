#pragma once

#include <QString>
#include <functional>

// Facts about a document's text, counted as the program shows them: lines, and
// characters without the line breaks; L is the length of the text with CR LF
// between lines (no break after the last one).
struct DocumentStatistics {
    qint64 lines = 0;
    qint64 characters = 0;
    qint64 length = 0;
};

// From the editor's UTF-8 text (any line-break style; a final break does not
// start a further line). Characters count as UTF-16 units, as the text holds them.
DocumentStatistics documentStatistics(const char *utf8, qsizetype size);

// 1234567 -> "1 234 567".
QString groupedNumber(qint64 n);

// The size line: "L octets" below 1 Ko, else the size in Ko, Mo or Go with two
// decimals cut (not rounded) after the comma, and the exact count in octets.
QString sizeText(qint64 length);

namespace InfoTexts {
inline const QString kNotSaved = QStringLiteral("Document non enregistré");
QString renameQuestion(const QString &oldName, const QString &newName);
QString renameExists();
QString renameFailed();
QString renameBadName(const QString &newName);
} // namespace InfoTexts

// What renaming a document's file to a new name would do.
enum class RenameCheck {
    Unchanged, // the same name: nothing to rename
    BadName,   // empty, ".", "..", or holding a folder separator or NUL
    Exists,    // another file has that name: never replaced
    Ok
};

// exists(path): a file of that path exists; sameFile(a, b): both paths name the
// same file (a change of letter case on a system that ignores case).
RenameCheck checkRename(const QString &oldPath, const QString &newName,
                        const std::function<bool(const QString &)> &exists,
                        const std::function<bool(const QString &, const QString &)> &sameFile,
                        QString *newPath = nullptr);
