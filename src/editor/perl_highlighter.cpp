#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"

#include <algorithm>

using scan::byteAt;

namespace {

constexpr TokenAttribute attr(TextColour fg, int style = 0) {
    return {fg, TextColour::window(), style};
}
constexpr TextColour Text = TextColour::windowText();

const CategoryInfo Categories[] = {
    {"Commentaire", TokenRole::Comment, attr(TextColour::rgb(128, 128, 128), StyleItalic)},
    {"Identificateur", TokenRole::Identifier, attr(Text)},
    {"Caractère illégal", TokenRole::Other, attr(Text, StyleUnderline)},
    {"Mot réservé", TokenRole::Keyword, attr(Text, StyleBold)},
    {"Nombre", TokenRole::Other, attr(Text)},
    {"Opérateur", TokenRole::Keyword, attr(Text)},
    {"Pragma", TokenRole::Keyword, attr(Text, StyleBold)},
    {"Espace", TokenRole::Space, attr(Text)},
    {"Chaîne", TokenRole::String, attr(Text)},
    {"Symbole", TokenRole::Symbol, attr(Text)},
    {"Variable", TokenRole::Identifier, attr(Text)},
};
static_assert(std::size(Categories) == PerlHighlighter::CategoryCount);

enum WordKind { Reserved, NamedOperator, Repeat, QuoteLike, QuoteLikeRegex, Substitution, Use };

const scan::WordTable &words() {
    static const scan::WordTable table(
        {{Use, "use no"},
         {NamedOperator, "lt gt le ge eq ne cmp and or not xor"},
         {Repeat, "x"},
         {QuoteLike, "q qq qw qx"},
         {QuoteLikeRegex, "m qr"},
         {Substitution, "s tr y"},
         {Reserved,
          "if elsif else unless while until for foreach do last next redo return goto sub my "
          "our local state package require BEGIN END INIT CHECK UNITCHECK AUTOLOAD DESTROY "
          "__FILE__ __LINE__ __PACKAGE__ __SUB__ abs accept alarm atan2 bind binmode bless "
          "caller chdir chmod chomp chop chown chr chroot close closedir connect continue cos "
          "crypt dbmclose dbmopen defined delete die dump each eof eval exec exists exit exp "
          "fcntl fileno flock fork format formline getc getppid getpgrp getpriority glob "
          "gmtime grep hex index int ioctl join keys kill lc lcfirst length link listen "
          "localtime log lstat map mkdir msgctl msgget msgrcv msgsnd oct open opendir ord pack "
          "pipe pop pos print printf prototype push quotemeta rand read readdir readline "
          "readlink readpipe recv ref rename reset reverse rewinddir rindex rmdir say scalar "
          "seek seekdir select semctl semget semop send setpgrp setpriority shift shmctl "
          "shmget shmread shmwrite shutdown sin sleep socket socketpair sort splice split "
          "sprintf sqrt srand stat study substr symlink syscall sysopen sysread sysseek "
          "system syswrite tell telldir tie tied time times truncate uc ucfirst umask undef "
          "unlink unpack unshift untie utime values vec wait waitpid wantarray warn write"}},
        false);
    return table;
}

const scan::WordTable &pragmas() {
    static const scan::WordTable table(
        {{1, "attributes autodie autouse base bigint bignum bigrat blib bytes charnames constant "
             "diagnostics encoding experimental feature fields filetest if integer less lib "
             "locale mro open ops overload overloading parent re sigtrap sort strict subs "
             "threads utf8 vars version vmsish warnings"}},
        false);
    return table;
}

enum Mode { Normal, Pod, Quote, Heredoc, Data, LineComment };

// Line state fields.
constexpr int ModeShift = 0, ModeWidth = 4;
constexpr int AfterOperandBit = 4; // "/" divides rather than starts a pattern
constexpr int PendingBit = 5;      // a heredoc starts on the next line
constexpr int IndentedBit = 6;     // <<~ heredoc: terminator may be indented
constexpr int RegexBit = 7;        // the open quote takes modifiers at its end
constexpr int TagShift = 8, TagWidth = 32;
constexpr int CloseShift = 40, OpenShift = 48, DelimWidth = 8;
constexpr int DepthShift = 56, DepthWidth = 6;
constexpr int PartsShift = 62, PartsWidth = 2;

struct QuoteState {
    unsigned char close = 0; // 0: waiting for the delimiter of the next part
    unsigned char open = 0;  // bracket that nests, or 0
    int depth = 0;
    int partsLeft = 0; // parts after the current one (s/a/b/ has one)
    bool regex = false;
};

unsigned char closingOf(unsigned char c) {
    switch (c) {
    case '(':
        return ')';
    case '[':
        return ']';
    case '{':
        return '}';
    case '<':
        return '>';
    default:
        return c;
    }
}

bool isBracket(unsigned char c) {
    return c == '(' || c == '[' || c == '{' || c == '<';
}

// Scans the inside of a quote-like construct; returns the new position and
// tells whether it ended.
int scanQuote(const char *s, int p, int end, QuoteState &q, bool *done) {
    *done = false;
    while (p < end) {
        if (q.close == 0) {
            p = scan::skipSpaces(s, p, end);
            if (p == end) break;
            const unsigned char d = byteAt(s, p++);
            q.open = isBracket(d) ? d : 0;
            q.close = closingOf(d);
            continue;
        }
        const unsigned char c = byteAt(s, p);
        if (c == '\\') {
            p = std::min(p + 2, end);
        } else if (q.open && c == q.open) {
            q.depth = std::min(q.depth + 1, 63);
            ++p;
        } else if (c == q.close) {
            ++p;
            if (q.depth > 0) {
                --q.depth;
            } else if (q.partsLeft > 0) {
                --q.partsLeft;
                if (q.open) { // s{...}{...}: the next part has its own brackets
                    q.open = 0;
                    q.close = 0;
                }
            } else {
                if (q.regex)
                    while (p < end && scan::isAsciiLetter(byteAt(s, p)))
                        ++p;
                *done = true;
                return p;
            }
        } else {
            ++p;
        }
    }
    return p;
}

// Variable name after a sigil at s[p]; returns its end (p + 1 when bare).
int variableEnd(const char *s, int p, int end) {
    int q = p + 1;
    if (s[p] == '$' && q < end && s[q] == '#') ++q; // $#array
    while (q < end && s[q] == '$' && q + 1 < end &&
           (scan::isWordStart(byteAt(s, q + 1)) || s[q + 1] == '$'))
        ++q; // $$ref
    if (q >= end) return q;
    const unsigned char c = byteAt(s, q);
    if (c == '{') {
        int r = q + 1;
        while (r < end && s[r] != '}')
            ++r;
        return r < end ? r + 1 : q;
    }
    if (c == '^' && q + 1 < end && scan::isAsciiLetter(byteAt(s, q + 1))) return q + 2;
    if (scan::isWordStart(c) || (c == ':' && q + 1 < end && s[q + 1] == ':')) {
        while (q < end) {
            if (scan::isWordChar(byteAt(s, q)))
                ++q;
            else if (s[q] == ':' && q + 2 < end && s[q + 1] == ':' &&
                     scan::isWordStart(byteAt(s, q + 2)))
                q += 2;
            else
                break;
        }
        return q;
    }
    if (scan::isDigit(c)) {
        while (q < end && scan::isDigit(byteAt(s, q)))
            ++q;
        return q;
    }
    // Punctuation variables of $: $_ is a word; $@ $! $0 $; $/ ...
    if (s[p] == '$' && !scan::isSpace(c)) return q + 1;
    return q;
}

bool isIllegal(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\f' && c != '\v' && c != '\r' && c != '\n') || c == 0x7f;
}

} // namespace

PerlHighlighter::PerlHighlighter(QObject *parent)
    : Highlighter(Language::Perl, Categories, CategoryCount, parent) {}

LineState PerlHighlighter::scanSpan(const char *s, int lineLength, int begin, int end,
                                    LineState state, TokenSink &out) const {
    int mode = int(scan::field(state, ModeShift, ModeWidth));
    bool afterOperand = scan::field(state, AfterOperandBit, 1);
    bool pending = scan::field(state, PendingBit, 1);
    bool indented = scan::field(state, IndentedBit, 1);
    std::uint32_t tag = std::uint32_t(scan::field(state, TagShift, TagWidth));
    QuoteState quote;
    quote.regex = scan::field(state, RegexBit, 1);
    quote.close = (unsigned char)scan::field(state, CloseShift, DelimWidth);
    quote.open = (unsigned char)scan::field(state, OpenShift, DelimWidth);
    quote.depth = int(scan::field(state, DepthShift, DepthWidth));
    quote.partsLeft = int(scan::field(state, PartsShift, PartsWidth));

    int p = begin;
    bool done = false;
    if (begin == 0 && end > 0) {
        // Line-level constructs: documentation, heredoc bodies.
        if ((mode == Normal && s[0] == '=' && end > 1 && scan::isAsciiLetter(byteAt(s, 1))) ||
            mode == Pod) {
            mode = scan::startsWith(s, 0, end, "=cut") ? Normal : Pod;
            out.add(0, end, Comment);
            p = end;
        } else if (mode == Heredoc) {
            const int q = indented ? scan::skipSpaces(s, 0, end) : 0;
            if (end > q && scan::wordHash(s + q, end - q) == tag) {
                mode = Normal;
                tag = 0;
            }
            out.add(0, end, String);
            p = end;
        }
    }
    while (p < end) {
        const unsigned char c = byteAt(s, p);
        if (mode == Data || mode == Pod || mode == LineComment) {
            out.add(p, end - p, Comment);
            p = end;
            break;
        }
        if (mode == Heredoc) {
            out.add(p, end - p, String);
            p = end;
            break;
        }
        if (mode == Quote) {
            const int from = p;
            p = scanQuote(s, p, end, quote, &done);
            out.add(from, p - from, String);
            if (done) {
                mode = Normal;
                afterOperand = true;
            }
            continue;
        }
        if (isIllegal(c)) {
            out.add(p++, 1, IllegalChar);
        } else if (scan::isSpace(c)) {
            const int from = p;
            while (p < end && scan::isSpace(byteAt(s, p)) && !isIllegal(byteAt(s, p)))
                ++p;
            out.add(from, p - from, Space);
        } else if (c == '#') {
            out.add(p, end - p, Comment);
            p = end;
            mode = LineComment;
        } else if (c == '$' || c == '@' || (c == '%' && !afterOperand)) {
            const int q = variableEnd(s, p, end);
            if (q > p + 1 && (c == '$' || scan::isWordStart(byteAt(s, p + 1)) || s[p + 1] == '$' ||
                              s[p + 1] == '{' || s[p + 1] == ':' || s[p + 1] == '^')) {
                out.add(p, q - p, Variable);
                p = q;
                afterOperand = true;
            } else {
                out.add(p++, 1, c == '$' ? Variable : Symbol);
                afterOperand = c == '$';
            }
        } else if (c == '\'' || c == '"' || c == '`' || (c == '/' && !afterOperand)) {
            quote = QuoteState{c, 0, 0, 0, c == '/'};
            const int from = p;
            p = scanQuote(s, p + 1, end, quote, &done);
            out.add(from, p - from, String);
            if (done)
                afterOperand = true;
            else
                mode = Quote;
        } else if (c == '<' && p + 2 < end && s[p + 1] == '<' &&
                   (s[p + 2] == '"' || s[p + 2] == '\'' || s[p + 2] == '~' ||
                    scan::isWordStart(byteAt(s, p + 2)))) {
            int q = p + 2;
            const bool tilde = s[q] == '~';
            if (tilde) ++q;
            const char delim = (q < end && (s[q] == '"' || s[q] == '\'')) ? s[q] : 0;
            if (delim) ++q;
            const int r = scan::skipWord(s, q, end);
            if (r > q && (!delim || (r < end && s[r] == delim))) {
                tag = scan::wordHash(s + q, r - q);
                pending = true;
                indented = tilde;
                const int stop = delim ? r + 1 : r;
                out.add(p, stop - p, String);
                p = stop;
                afterOperand = true;
            } else {
                out.add(p++, 1, Symbol);
                afterOperand = false;
            }
        } else if (scan::isDigit(c)) {
            const int q = scan::numberEnd(s, p, end);
            out.add(p, q - p, Number);
            p = q;
            afterOperand = true;
        } else if (scan::isWordStart(c)) {
            const int from = p;
            while (p < end) {
                if (scan::isWordChar(byteAt(s, p)))
                    ++p;
                else if (s[p] == ':' && p + 2 < end && s[p + 1] == ':' &&
                         scan::isWordStart(byteAt(s, p + 2)))
                    p += 2;
                else
                    break;
            }
            const int n = p - from;
            const int kind = words().lookup(s + from, n);
            // A quote-like operator needs a delimiter: "s => 1" and "y = 2" are not.
            int d = scan::skipSpaces(s, p, end);
            const unsigned char dc = d < end ? byteAt(s, d) : 0;
            const bool hasDelimiter = d < end && !scan::isWordChar(dc) && !scan::isSpace(dc) &&
                                      !std::strchr(",;)=}", dc) && !(dc == '#' && d > p);
            if ((n == 7 && scan::startsWith(s, from, p, "__END__")) ||
                (n == 8 && scan::startsWith(s, from, p, "__DATA__"))) {
                out.add(from, end - from, Comment);
                p = end;
                mode = Data;
            } else if ((kind == QuoteLike || kind == QuoteLikeRegex || kind == Substitution) &&
                       hasDelimiter) {
                quote = QuoteState{};
                quote.regex = kind != QuoteLike;
                quote.partsLeft = kind == Substitution ? 1 : 0;
                p = scanQuote(s, p, end, quote, &done);
                out.add(from, p - from, String);
                if (done)
                    afterOperand = true;
                else
                    mode = Quote;
            } else if (kind == NamedOperator || (kind == Repeat && afterOperand)) {
                out.add(from, n, Operator);
                afterOperand = false;
            } else if (kind == Use) {
                out.add(from, n, ReservedWord);
                afterOperand = false;
                const int r = scan::skipWord(s, d, end);
                if (r > d && pragmas().contains(s + d, r - d)) {
                    scan::emitRun(out, p, d, Space);
                    out.add(d, r - d, Pragma);
                    p = r;
                }
            } else if (kind == Reserved) {
                out.add(from, n, ReservedWord);
                afterOperand = false;
            } else {
                out.add(from, n, Identifier);
                afterOperand = true;
            }
        } else {
            afterOperand = c == ')' || c == ']' || c == '}';
            out.add(p++, 1, Symbol);
        }
    }
    if (end == lineLength) {
        if (mode == LineComment) mode = Normal;
        if (pending && mode == Normal) {
            mode = Heredoc;
            pending = false;
        }
    }
    LineState st = 0;
    st = scan::withField(st, ModeShift, ModeWidth, LineState(mode));
    st = scan::withField(st, AfterOperandBit, 1, afterOperand);
    st = scan::withField(st, PendingBit, 1, pending);
    st = scan::withField(st, IndentedBit, 1, indented);
    st = scan::withField(st, TagShift, TagWidth, tag);
    if (mode == Quote) {
        st = scan::withField(st, RegexBit, 1, quote.regex);
        st = scan::withField(st, CloseShift, DelimWidth, quote.close);
        st = scan::withField(st, OpenShift, DelimWidth, quote.open);
        st = scan::withField(st, DepthShift, DepthWidth, LineState(quote.depth));
        st = scan::withField(st, PartsShift, PartsWidth, LineState(quote.partsLeft));
    }
    return st;
}
