#pragma once

#include <QString>

#include <array>
#include <optional>

// The head and body properties of a page: read leniently from its text, and written
// back in place, element by element, leaving everything else as it was typed.
namespace Authoring {

// The four meta elements the page properties handle, in their written order.
enum MetaName { MetaDescription, MetaKeywords, MetaAuthor, MetaGenerator, MetaCount };
QString metaNameText(int meta); // "description"...

// The six body attributes, in their written order.
enum BodyAttribute {
    BodyBackground,
    BodyBgcolor,
    BodyText,
    BodyLink,
    BodyVlink,
    BodyAlink,
    BodyCount
};
QString bodyAttributeText(int attribute); // "background"...

struct PageProperties {
    QString title;
    std::array<QString, BodyCount> body;
    std::array<bool, MetaCount> hasMeta{};
    std::array<QString, MetaCount> meta;
    friend bool operator==(const PageProperties &, const PageProperties &) = default;
};

// Reads the first title, body start tag and meta element of each name. A line break
// inside a tag is white space; element and attribute names are matched whole.
PageProperties ReadPageProperties(const QString &text);

struct PageWrite {
    QString text;  // the whole new text
    int caret = 0; // offset in `text`: the line after the body start tag
    QString error; // set (and `text` empty) when nothing could be written
};

// Completes a missing skeleton and writes `values` into `text`. Inserted line breaks
// are `eol`; inserted tags get the tag case, typed values never. A title, attribute or
// meta content equal to what the page already holds is not rewritten, so writing back
// what was read changes nothing.
PageWrite WritePageProperties(const QString &text, const PageProperties &values, const QString &eol,
                              bool casse, bool xhtml);

// Colour fields: "#" put in front of six characters that lack it; a colour read from
// "#RRGGBB" (std::nullopt for anything else); a colour written as "#RRGGBB".
QString CompleteColourField(const QString &text);
std::optional<unsigned> ParseColourField(const QString &text);
QString ColourFieldText(unsigned rgb);

} // namespace Authoring
