#pragma once

#include <QString>

// The arithmetic of the markup insertion primitives, without an editor: the editor
// glue reads the selection, calls these, and applies the result as one undo step.
namespace Authoring {

// A place in the text: column and line, both from 1. A column counts the QString
// characters of its line.
struct TextPos {
    int column = 1;
    int line = 1;
    friend bool operator==(const TextPos &, const TextPos &) = default;
};

// What a wrap does to the editor: replace the current selection (or insert at the
// caret) with `text`, put the caret at `caret` and select `selStart`..`selEnd`.
struct WrapEdit {
    QString text;
    TextPos selStart; // N
    TextPos selEnd;   // M
    TextPos caret;    // M: the selection is made from N towards the caret
};

// Puts `opening` and `closing` around the selection start..end (equal: no selection).
// `selected` is the selected text; the two strings pass through ApplyTagCase unless
// `raw`. Only the opening string's line breaks move the new selection.
WrapEdit WrapSelection(TextPos start, TextPos end, TextPos caret, const QString &selected,
                       const QString &opening, const QString &closing, bool raw, bool casse);

// What an insertion does: replace the selection (or insert at the caret) with `text`;
// the caret ends at `caret`, nothing selected.
struct InsertEdit {
    QString text;
    TextPos caret;
};

// `start` is where the inserted text begins (the selection start, or the caret).
InsertEdit InsertMarkup(TextPos start, const QString &text, bool raw, bool casse);

// Where the caret stands after `text` is inserted at `start`.
TextPos PositionAfter(TextPos start, const QString &text);

// Upper-cases markup outside attribute values when `casse` is on.
QString ApplyTagCase(const QString &text, bool casse);

// The form of an empty-element end (">") or a boolean attribute (" checked") under
// the XHTML option.
QString XhtmlAdjust(const QString &piece, bool xhtml);

// The URL of a chosen file as written into the document whose file is
// `documentPath` (empty for an untitled document). Windows paths (drive letters,
// backslashes) and POSIX paths (from "/") are both understood; comparisons are exact.
QString RelativeUrl(const QString &path, const QString &documentPath);

// The encoding whose bytes stand for characters of 128 and above.
enum class UrlEncoding { Windows1252, Utf8 };

// Percent-encodes spaces, "%", "*", "+", "<", ">", control characters and every
// byte of 128 or more of the document's encoding.
QString UrlEncode(const QString &text, UrlEncoding encoding);

// The text with every space removed.
QString StripSpaces(const QString &text);

struct LineRange {
    TextPos start;
    TextPos end; // also the caret
};

// Widens start..end to whole lines. `lastLine` is the document's last line number and
// `endLineLength` the length (without its break) of the line of `end`.
LineRange SelectWholeLines(TextPos start, TextPos end, int lastLine, int endLineLength);

// The start folder of a file dialog: the folder of the document's file (its path up
// to and including the last separator), or `defaultFolder` for an untitled document.
QString FileDialogStartFolder(const QString &documentPath, const QString &defaultFolder);

// After browsing has filled a path field: how many characters to select from its
// start (through the last "/"), so that typing replaces the folder part.
int PathFieldSelectionLength(const QString &fieldText);

// ' name="value"', the value exactly as typed.
QString Attribute(const QString &name, const QString &value);
// The same, or nothing when the value is empty.
QString OptionalAttribute(const QString &name, const QString &value);

// A typed value made safe inside double quotes: '"' becomes "&quot;" and an "&" that
// does not start a character reference "&amp;"; everything else is kept as typed.
QString EscapeAttributeValue(const QString &value);
// ' name="value"' with the value escaped; the optional form leaves out an empty one.
QString EscapedAttribute(const QString &name, const QString &value);
QString OptionalEscapedAttribute(const QString &name, const QString &value);

} // namespace Authoring
