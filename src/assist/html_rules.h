#pragma once

#include <string_view>
#include <vector>

// What HTML's parsing rules say about element boundaries the author may leave
// unwritten: elements without content (void), end tags that may be left out, and
// which start or end tag closes which open element. One table for every tool that
// follows a page's structure (the indenter, a page checker), so they never disagree.
// Names are lower case.
namespace HtmlRules {

// How a start tag ends an open element.
enum class Implied {
    No,
    // It begins the next item of the same list, row or table part: <li> after <li>,
    // <td> after <td>, <tbody> after <tr>, <body> after <head>.
    Sibling,
    // The open element (a paragraph) cannot hold it: <div> inside <p>.
    Block,
};

// An element that never has content nor an end tag: <br>, <img>, <param>...
bool isVoid(std::string_view name);

// An element whose end tag may be left out: the parser closes it by itself when
// a start or end tag of the tables below arrives, or at the end of the page.
bool endTagOptional(std::string_view name);

// Whether the start tag `tag` closes the open element `open`.
Implied startTagEnds(std::string_view tag, std::string_view open);

// The start tags that end `open` in the given way.
std::vector<std::string_view> startTagsEnding(std::string_view open, Implied how);

// Whether the end tag `endTag` closes `open` when `open` lies above the element it
// ends: list items, paragraphs and table parts, and the head or body before </html>.
bool endTagEnds(std::string_view endTag, std::string_view open);

} // namespace HtmlRules
