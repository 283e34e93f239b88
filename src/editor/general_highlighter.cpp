#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"

namespace {
constexpr TokenAttribute Plain{};
const CategoryInfo Categories[] = {
    {"Commentaire", TokenRole::Comment, Plain}, {"Identificateur", TokenRole::Identifier, Plain},
    {"Mot réservé", TokenRole::Keyword, Plain}, {"Nombre", TokenRole::Other, Plain},
    {"Espace", TokenRole::Space, Plain},        {"Chaîne", TokenRole::String, Plain},
    {"Symbole", TokenRole::Symbol, Plain},      {"Preprocessor", TokenRole::Other, Plain},
};
static_assert(std::size(Categories) == GeneralHighlighter::CategoryCount);
} // namespace

GeneralHighlighter::GeneralHighlighter(QObject *parent)
    : Highlighter(Language::General, Categories, CategoryCount, parent) {}

LineState GeneralHighlighter::scanSpan(const char *s, int, int begin, int end, LineState,
                                       TokenSink &out) const {
    int p = begin;
    while (p < end) {
        const int from = p;
        if (scan::isSpace(scan::byteAt(s, p))) {
            p = scan::skipSpaces(s, p, end);
            out.add(from, p - from, Space);
        } else {
            while (p < end && !scan::isSpace(scan::byteAt(s, p)))
                ++p;
            out.add(from, p - from, Identifier);
        }
    }
    return 0;
}
