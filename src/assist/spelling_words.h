#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class Highlighter;

// The words of a document that a spelling check looks at: what a reader of the
// page reads. In a page, the text between tags and the values of alt, title and
// placeholder, character references decoded; never names, other attribute values,
// scripts, styles, comments, server blocks, code samples, addresses. In a plain
// text, every word.
namespace Spelling {

struct Word {
    qsizetype start = 0;  // byte offset in the UTF-8 text
    qsizetype length = 0; // bytes there, character references included
    QString text;         // as read: references decoded
    QString language;     // the lang in force, lower case ("fr-ca"); empty: the default
};

enum class TextKind {
    Markup, // the page's text and some attribute values
    Plain,  // every word
    None,   // code: nothing is checked
};

// How documents coloured by this highlighter are checked.
TextKind TextKindOf(const Highlighter *highlighter);

// The checkable words of utf8[0, size), in order. `highlighter` finds the page's
// regions and tags (its TextKindOf decides what is read); null reads plain text.
std::vector<Word> ExtractWords(const char *utf8, qsizetype size, const Highlighter *highlighter);
// The same words handed to f one after the other, until it returns false.
void ForEachWord(const char *utf8, qsizetype size, const Highlighter *highlighter,
                 const std::function<bool(const Word &)> &f);
inline std::vector<Word> ExtractWords(const QByteArray &utf8, const Highlighter *highlighter) {
    return ExtractWords(utf8.constData(), utf8.size(), highlighter);
}

// The character a reference stands for ("&eacute;", "&#233;", "&#xE9;", with or
// without the final ';'), or 0 when unknown.
char32_t DecodeReference(const char *s, qsizetype length);
// A piece of page text with its references decoded.
QString DecodeText(const QByteArray &utf8);

// "en-GB", "EN_gb" -> "en-gb".
QString NormalLanguageTag(const QString &tag);

} // namespace Spelling
