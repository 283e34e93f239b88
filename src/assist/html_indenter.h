#pragma once

#include <QByteArray>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Re-indents an HTML page by the nesting of its elements, in one pass with a stack.
// It keeps the source's lines, puts the structural elements (html, head, body, table,
// tr, form...) on lines of their own, tidies white space inside tags, and stops at
// the first end tag it cannot match, leaving the rest of the text as it was. The
// content of pre and textarea is copied byte for byte, since a browser shows its
// white space. Works on UTF-8 (or any ASCII-compatible) bytes with CR LF line breaks.
class THtmlIndenter {
public:
    int Indentation = 4;
    QByteArray Symbol = " ";
    // Called when a run fails, with the length of the indented part.
    std::function<void(THtmlIndenter *sender, qsizetype codeErr)> OnError;

    // The indented text; *codeErr is -1 on success, otherwise the length of the
    // indented part, which the unprocessed rest of the source follows.
    QByteArray IndentHtml(const QByteArray &source, qsizetype *codeErr = nullptr);

    // The line (from 1) of a text position: where a failed run stopped.
    static int LineAt(const QByteArray &text, qsizetype offset);

private:
    enum class Kind { Unknown, Text, Tag, LineBreak };
    enum class ItemKind { Element, LineBreak, ForcedBreak, Quote };
    struct Item {
        ItemKind kind;
        int element = -1;
        char text[2] = {0, 0};
        int length = 0;
    };
    struct Token {
        Kind kind = Kind::Unknown;
        const char *text = nullptr;
        qsizetype length = 0;
        bool spaceBefore = false;
        char lineBreak[2] = {0, 0};
        int lineBreakLength = 0;
    };

    void nextToken(Token &t);
    void processTag(const Token &t);
    void changeLevel(int levels);
    std::string_view indentation();
    void writeIndentation();
    void writeBreak(const Item &item);
    bool topIsPendingBreak() const;
    void copyRawContent(int element);

    const char *m_src = nullptr;
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
    qsizetype m_trimmedEnd = 0;
    QByteArray m_out;
    std::vector<Item> m_stack;
    std::string m_tag;    // the tag token being read
    std::string m_indent; // Symbol repeated, grown on demand
    qsizetype m_indentCount = 0;
    bool m_failed = false;
};
