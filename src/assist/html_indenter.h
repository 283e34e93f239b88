#pragma once

#include <QByteArray>

#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Re-indents an HTML page by the nesting of its elements, in one pass with a stack.
// It keeps the source's lines, puts the structural elements (html, head, body, table,
// tr, form...) on lines of their own, tidies white space inside tags, and stops at
// the first end tag it cannot match, leaving the rest of the text as it was. The
// content of pre and textarea is copied byte for byte, since a browser shows its
// white space. Works on UTF-8 or Windows-1252 bytes (only ASCII bytes are looked
// at); CR LF, LF and CR all end a line.
class THtmlIndenter {
public:
    int Indentation = 4;
    QByteArray Symbol = " ";
    // Called when a run fails, with the length of the indented part.
    std::function<void(THtmlIndenter *sender, qsizetype codeErr)> OnError;

    // The indented text; *codeErr is -1 on success, otherwise the length of the
    // indented part, which the unprocessed rest of the source follows.
    QByteArray IndentHtml(const QByteArray &source, qsizetype *codeErr = nullptr);

    // The same run handing the indented text to `sink` in pieces of about a
    // megabyte, every line break written as `lineBreak`: a large page is never
    // held twice. Returns what *codeErr gives above.
    using Sink = std::function<void(const char *data, qsizetype size)>;
    qsizetype IndentHtml(const char *source, qsizetype size, std::string_view lineBreak,
                         const Sink &sink);
    // Told, at each piece, how much of the source is done; false stops the run,
    // which then gives no more text (Cancelled()).
    std::function<bool(qsizetype done, qsizetype total)> OnProgress;
    bool Cancelled() const { return m_cancelled; }

    // The line (from 1) of a text position: where a failed run stopped.
    static int LineAt(const QByteArray &text, qsizetype offset);

    // Why the last run failed, so that a message can name the cause.
    enum class Stop { None, UnmatchedEnd, UnclosedElement, OpenQuote };
    struct Failure {
        Stop stop = Stop::None;
        QByteArray element; // lower case: the end tag's element, or the one left open
        QByteArray endTag;  // an element left open before an end tag: that tag's element
        int line = 0;       // where the run stopped: a line of the result, from 1
        int openedAt = 0;   // the line of the result where the element or quote opened
        bool atEnd = false; // the whole text was read: nothing was left as it was
    };
    const Failure &LastFailure() const { return m_failure; }

private:
    enum class Kind { Unknown, Text, Tag, LineBreak };
    enum class ItemKind { Element, LineBreak, ForcedBreak, Quote };
    struct Item {
        ItemKind kind;
        int element = -1;
        int line = 0; // an element: the line of the result it opened on
    };
    struct Token {
        Kind kind = Kind::Unknown;
        const char *text = nullptr;
        qsizetype length = 0;
        bool spaceBefore = false;
        int breaks = 0; // line breaks inside a tag written over several lines
    };

    void nextToken(Token &t);
    void processTag(const Token &t);
    void changeLevel(int levels);
    std::string_view indentation();
    void writeIndentation();
    void writeBreak();
    void writeSource(const char *s, qsizetype n);
    void flushIfFull();
    qsizetype run(const char *source, qsizetype size);
    bool topIsPendingBreak() const;
    void copyRawContent(int element);
    void writeToken(const Token &t);
    void failAtEndTag(qsizetype p, int element);
    void checkEnd();
    void closeImplied(int tag);

    // The output, written through its raw pointer: appends are the inner loop.
    class Output {
    public:
        void reset(qsizetype capacity) {
            m_bytes = QByteArray();
            m_bytes.resize(capacity);
            m_p = m_bytes.data();
            m_size = 0;
        }
        void append(const char *s, qsizetype n) {
            if (m_size + n > m_bytes.size()) grow(n);
            std::memcpy(m_p + m_size, s, size_t(n));
            m_size += n;
        }
        void append(char c) { append(&c, 1); }
        const char *data() const { return m_p; }
        qsizetype size() const { return m_size; }
        bool isEmpty() const { return m_size == 0; }
        void clear() { m_size = 0; }
        QByteArray take() {
            m_bytes.resize(m_size);
            m_p = nullptr;
            m_size = 0;
            return std::exchange(m_bytes, QByteArray());
        }

    private:
        void grow(qsizetype n) {
            m_bytes.resize(std::max(m_bytes.size() * 2, m_size + n + 4096));
            m_p = m_bytes.data();
        }
        QByteArray m_bytes;
        char *m_p = nullptr;
        qsizetype m_size = 0;
    };

    const char *m_src = nullptr;
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
    qsizetype m_trimmedEnd = 0;
    Output m_out;
    const Sink *m_sink = nullptr; // null: the whole text stays in m_out
    qsizetype m_flushed = 0;      // bytes already handed to the sink
    char m_break[2] = {'\r', '\n'};
    int m_breakLength = 2;
    std::vector<Item> m_stack;
    std::string m_tag;    // the tag token being read
    std::string m_indent; // Symbol repeated, grown on demand
    qsizetype m_indentCount = 0;
    int m_lines = 0;   // line breaks written so far
    int m_tagLine = 0; // the line the last tag began on
    bool m_failed = false;
    bool m_cancelled = false;
    Failure m_failure;
};
