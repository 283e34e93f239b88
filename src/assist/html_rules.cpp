#include "assist/html_rules.h"

#include <algorithm>
#include <array>

namespace HtmlRules {

namespace {

constexpr std::array<std::string_view, 18> kVoid = {
    "area", "base",  "basefont", "bgsound", "br",   "col",   "embed",  "frame", "hr",
    "img",  "input", "keygen",   "link",    "meta", "param", "source", "track", "wbr"};

// Block-level start tags that close an open paragraph.
constexpr std::string_view kParagraphClosers =
    "address article aside blockquote center details dialog dir div dl dd dt fieldset "
    "figcaption figure footer form h1 h2 h3 h4 h5 h6 header hgroup hr li listing main menu "
    "nav ol plaintext pre search section summary table ul xmp";

struct Row {
    std::string_view open;
    std::string_view siblings; // start tags that end it as the next item
};

// Every element whose end tag may be left out, with the start tags that end it.
constexpr std::array<Row, 21> kOptional = {{
    {"p", "p"},
    {"li", "li"},
    {"dt", "dt dd"},
    {"dd", "dt dd"},
    {"option", "option optgroup hr"},
    {"optgroup", "optgroup hr"},
    {"rb", "rb rt rtc rp"},
    {"rt", "rb rt rtc rp"},
    {"rp", "rb rt rtc rp"},
    {"rtc", "rb rtc"},
    {"caption", "caption colgroup col thead tbody tfoot tr td th"},
    {"colgroup", "caption colgroup thead tbody tfoot tr td th"},
    {"thead", "thead tbody tfoot"},
    {"tbody", "thead tbody tfoot"},
    {"tfoot", "thead tbody tfoot"},
    {"tr", "tr thead tbody tfoot"},
    {"td", "td th tr thead tbody tfoot"},
    {"th", "td th tr thead tbody tfoot"},
    {"head", "body"},
    {"body", ""},
    {"html", ""},
}};

// Whether `name` is one of the space-separated words of `list`.
bool listed(std::string_view list, std::string_view name) {
    size_t p = 0;
    while (p < list.size()) {
        size_t e = list.find(' ', p);
        if (e == std::string_view::npos) e = list.size();
        if (list.substr(p, e - p) == name) return true;
        p = e + 1;
    }
    return false;
}

std::vector<std::string_view> words(std::string_view list) {
    std::vector<std::string_view> out;
    size_t p = 0;
    while (p < list.size()) {
        size_t e = list.find(' ', p);
        if (e == std::string_view::npos) e = list.size();
        out.push_back(list.substr(p, e - p));
        p = e + 1;
    }
    return out;
}

const Row *rowOf(std::string_view open) {
    for (const Row &r : kOptional)
        if (r.open == open) return &r;
    return nullptr;
}

} // namespace

bool isVoid(std::string_view name) {
    return std::find(kVoid.begin(), kVoid.end(), name) != kVoid.end();
}

bool endTagOptional(std::string_view name) {
    return rowOf(name) != nullptr;
}

Implied startTagEnds(std::string_view tag, std::string_view open) {
    const Row *row = rowOf(open);
    if (!row) return Implied::No;
    if (listed(row->siblings, tag)) return Implied::Sibling;
    if (open == "p" && listed(kParagraphClosers, tag)) return Implied::Block;
    return Implied::No;
}

std::vector<std::string_view> startTagsEnding(std::string_view open, Implied how) {
    const Row *row = rowOf(open);
    if (!row || how == Implied::No) return {};
    if (how == Implied::Sibling) return words(row->siblings);
    return open == "p" ? words(kParagraphClosers) : std::vector<std::string_view>();
}

bool endTagEnds(std::string_view endTag, std::string_view open) {
    if (!endTagOptional(open) || open == "html") return false;
    // The head and the body end only with the page.
    if (open == "head" || open == "body") return endTag == "html";
    return true;
}

} // namespace HtmlRules
