#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"

#include <algorithm>

using scan::byteAt;

namespace {

constexpr TokenAttribute attr(int style = 0) {
    return {TextColour::windowText(), TextColour::window(), style};
}

const CategoryInfo Categories[] = {
    {"Commentaire", TokenRole::Comment, attr(StyleItalic)},
    {"Commentaire conditionnel", TokenRole::Other, attr()},
    {"Type de données", TokenRole::Keyword, attr(StyleBold)},
    {"Paquets par défaut", TokenRole::Keyword, attr()},
    {"Identifiant délimité", TokenRole::Identifier, attr()},
    {"Exception", TokenRole::Keyword, attr()},
    {"Fonction", TokenRole::Keyword, attr()},
    {"Identificateur", TokenRole::Identifier, attr()},
    {"Mot réservé", TokenRole::Keyword, attr(StyleBold)},
    {"Nombre", TokenRole::Other, attr()},
    {"Mot réservé PL/SQL", TokenRole::Keyword, attr(StyleBold)},
    {"Espace", TokenRole::Space, attr()},
    {"Commande SQL*Plus", TokenRole::Keyword, attr()},
    {"Chaîne", TokenRole::String, attr()},
    {"Symbole", TokenRole::Symbol, attr()},
    {"Nom de table", TokenRole::Identifier, attr()},
    {"Variable", TokenRole::Identifier, attr()},
};
static_assert(std::size(Categories) == SqlHighlighter::CategoryCount);

enum WordKind { TypeWord, FunctionWord, ReservedKeyword, Both };

const scan::WordTable &words() {
    static const scan::WordTable table(
        {{TypeWord,
          "bigint binary bit blob bool boolean char dec decimal double enum fixed float float4 "
          "float8 geometry int int1 int2 int3 int4 int8 integer json longblob longtext "
          "mediumblob mediumint mediumtext middleint numeric point polygon real serial "
          "smallint text time timestamp tinyblob tinyint tinytext varbinary varchar "
          "varcharacter year datetime date"},
         {FunctionWord,
          "abs acos adddate addtime aes_decrypt aes_encrypt ascii asin atan atan2 avg "
          "benchmark bin bit_and bit_count bit_length bit_or bit_xor cast ceil ceiling "
          "char_length character_length coalesce concat concat_ws connection_id conv "
          "convert_tz cos cot count crc32 curdate current_user curtime database date_add "
          "date_format date_sub datediff day dayname dayofmonth dayofweek dayofyear degrees "
          "elt exp export_set extract field find_in_set floor format found_rows from_days "
          "from_unixtime get_format greatest group_concat hex hour ifnull inet_aton inet_ntoa "
          "instr isnull json_array json_extract json_object last_day last_insert_id lcase least "
          "length ln load_file locate log log10 log2 lower lpad ltrim make_set makedate "
          "maketime max md5 microsecond mid min minute month monthname now nullif oct "
          "octet_length ord period_add period_diff pi position pow power quarter quote radians "
          "rand round row_count rpad rtrim sec_to_time second session_user sha1 sha2 sign sin "
          "sleep soundex space sqrt std stddev str_to_date strcmp subdate substr substring "
          "substring_index subtime sum sysdate system_user tan time_format time_to_sec "
          "timediff timestampadd timestampdiff to_days trim truncate ucase unhex "
          "unix_timestamp upper user utc_date utc_time utc_timestamp uuid variance version "
          "week weekday weekofyear yearweek"},
         {Both, "if left right replace repeat insert mod char"},
         {ReservedKeyword,
          "accessible add all alter analyze and as asc asensitive auto_increment before "
          "between both by call cascade case change character check collate column condition "
          "constraint continue convert create cross current_date current_time "
          "current_timestamp cursor databases day_hour day_microsecond day_minute day_second "
          "declare default delayed delete desc describe deterministic distinct distinctrow div "
          "drop dual each else elseif enclosed end engine escaped exists exit explain false "
          "fetch for force foreign from fulltext function generated get grant group having "
          "high_priority hour_microsecond hour_minute hour_second ignore in index infile inner "
          "inout insensitive interval into is iterate join key keys kill leading leave like "
          "limit linear lines load localtime localtimestamp lock long loop low_priority match "
          "maxvalue minute_microsecond minute_second modifies natural not no_write_to_binlog "
          "null on optimize option optionally or order out outer outfile partition precision "
          "primary procedure purge range read reads references regexp release rename require "
          "resignal restrict return revoke rlike schema schemas select sensitive separator set "
          "show signal spatial specific sql sql_big_result sql_calc_found_rows "
          "sql_small_result sqlexception sqlstate sqlwarning ssl starting stored straight_join "
          "table tables terminated then to trailing trigger true undo union unique unlock "
          "unsigned update usage use using values varying view virtual when where while with "
          "write xor zerofill begin commit rollback start transaction temporary returns "
          "database do handler open close prepare execute deallocate"}},
        true);
    return table;
}

enum Mode {
    Normal,
    BlockComment,
    ConditionalBlock, // /*! ... */
    SingleString,
    DoubleString,
    Backquoted,
    LineComment, // only between regions
};

bool isWordByte(unsigned char c) {
    return scan::isWordChar(c) || c == '$';
}

// Quoted text up to the closing quote; a doubled quote or a backslash escapes.
int scanQuoted(const char *s, int p, int end, char quote, bool backslash, bool *closed) {
    *closed = false;
    while (p < end) {
        if (backslash && s[p] == '\\') {
            p = std::min(p + 2, end);
        } else if (s[p] == quote) {
            if (p + 1 < end && s[p + 1] == quote) {
                p += 2;
            } else {
                *closed = true;
                return p + 1;
            }
        } else {
            ++p;
        }
    }
    return p;
}

} // namespace

SqlHighlighter::SqlHighlighter(QObject *parent)
    : Highlighter(Language::Sql, Categories, CategoryCount, parent) {}

LineState SqlHighlighter::scanSpan(const char *s, int lineLength, int begin, int end,
                                   LineState state, TokenSink &out) const {
    int mode = int(state & 7);
    bool closed = false;
    int p = begin;
    while (p < end) {
        const unsigned char c = byteAt(s, p);
        switch (mode) {
        case LineComment:
            out.add(p, end - p, Comment);
            p = end;
            break;
        case BlockComment:
        case ConditionalBlock: {
            bool commentClosed = false;
            p = scan::emitBlockComment(out, s, p, end, mode == BlockComment ? Comment : ConditionalComment, &commentClosed);
            if (commentClosed) mode = Normal;
            break;
        }
        case SingleString:
        case DoubleString:
        case Backquoted: {
            const int from = p;
            p = scanQuoted(s, p, end,
                           mode == SingleString   ? '\''
                           : mode == DoubleString ? '"'
                                                  : '`',
                           mode != Backquoted, &closed);
            out.add(from, p - from, mode == Backquoted ? DelimitedIdentifier : String);
            if (closed) mode = Normal;
            break;
        }
        default: // Normal
            if (scan::isSpace(c)) {
                p = scan::emitSpaces(out, s, p, end, Space);
            } else if (c == '#' || (c == '-' && p + 1 < end && s[p + 1] == '-' &&
                                    (p + 2 == end || scan::isSpace(byteAt(s, p + 2))))) {
                out.add(p, end - p, Comment);
                p = end;
                mode = LineComment;
            } else if (c == '/' && p + 1 < end && s[p + 1] == '*') {
                const bool conditional = p + 2 < end && s[p + 2] == '!';
                const int q = scan::find(s, p + 2, end, "*/");
                const int stop = q < 0 ? end : q + 2;
                out.add(p, stop - p, conditional ? ConditionalComment : Comment);
                p = stop;
                if (q < 0) mode = conditional ? ConditionalBlock : BlockComment;
            } else if (c == '\'' || c == '"' || c == '`') {
                const int from = p;
                p = scanQuoted(s, p + 1, end, char(c), c != '`', &closed);
                out.add(from, p - from, c == '`' ? DelimitedIdentifier : String);
                if (!closed) mode = c == '\'' ? SingleString : c == '"' ? DoubleString : Backquoted;
            } else if (c == '@') {
                int q = p + 1;
                if (q < end && s[q] == '@') ++q;
                if (q < end && (s[q] == '`' || s[q] == '\'' || s[q] == '"')) {
                    q = scanQuoted(s, q + 1, end, s[q], s[q] != '`', &closed);
                } else {
                    while (q < end && (isWordByte(byteAt(s, q)) || s[q] == '.'))
                        ++q;
                }
                out.add(p, q - p, Variable);
                p = q;
            } else if (scan::isDigit(c) ||
                       (c == '.' && p + 1 < end && scan::isDigit(byteAt(s, p + 1)))) {
                const int q = scan::numberEnd(s, p, end);
                out.add(p, q - p, Number);
                p = q;
            } else if (isWordByte(c)) {
                const int from = p;
                while (p < end && isWordByte(byteAt(s, p)))
                    ++p;
                const int n = p - from;
                // X'4D', B'01', N'texte': prefixed string literals.
                if (n == 1 && p < end && s[p] == '\'' && std::strchr("xXbBnN", c)) {
                    p = scanQuoted(s, p + 1, end, '\'', true, &closed);
                    out.add(from, p - from, String);
                    if (!closed) mode = SingleString;
                    break;
                }
                if (n == 9 && from == scan::skipSpaces(s, 0, end) &&
                    scan::startsWith(s, from, p, "delimiter", true)) {
                    out.add(from, n, ClientCommand);
                    break;
                }
                const int kind = words().lookup(s + from, n);
                // LEFT, IF, REPLACE...: functions when called, keywords otherwise.
                const bool call = p < end && s[p] == '(';
                int category = Identifier;
                if (kind == FunctionWord || (kind == Both && call))
                    category = Function;
                else if (kind == TypeWord)
                    category = DataType;
                else if (kind == ReservedKeyword || kind == Both)
                    category = ReservedWord;
                out.add(from, n, category);
            } else {
                out.add(p++, 1, Symbol);
            }
            break;
        }
    }
    if (end == lineLength && mode == LineComment) mode = Normal;
    return LineState(mode);
}
