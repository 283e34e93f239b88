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
    // A frames page: a frameset and no body, so nothing to hold the body attributes.
    bool frameset = false;
    friend bool operator==(const PageProperties &, const PageProperties &) = default;
};

// Reads the first title, body start tag and meta element of each name. A line break
// inside a tag is white space; element and attribute names are matched whole; server
// code inside a tag ("<body <?php ... ?>>") is stepped over.
PageProperties ReadPageProperties(const QString &text);

// What the dialog's fields show for a reading: every value exactly as read (written
// back unchanged when nobody touches it); the generator field offers "Balizor" only
// when the page has no generator meta element at all.
PageProperties PagePropertiesFields(const PageProperties &read);

struct PageWrite {
    QString text;  // the whole new text
    int caret = 0; // offset in `text`: the line after the body start tag
    QString error; // set (and `text` empty) when nothing could be written
};

// Completes a missing skeleton and writes `values` into `text`. Inserted line breaks
// are `eol`; inserted tags get the tag case, typed values never. A title, attribute or
// meta content equal to what the page already holds is not rewritten, so writing back
// what was read changes nothing. A frames page never gets a body; end tags that would
// follow a comment, script or tag left open at the end of the page are not added (they
// would not be seen there, and each run would add them again).
PageWrite WritePageProperties(const QString &text, const PageProperties &values, const QString &eol,
                              bool casse, bool xhtml);

// Colour fields: "#" put in front of six hexadecimal digits that lack it; a colour read
// from "#RRGGBB" (std::nullopt for anything else); a colour written as "#RRGGBB".
QString CompleteColourField(const QString &text);
// A colour field after the user changed `before` into `typed`: completed as above. The
// background colour field refuses an edit that inserts anything but hexadecimal digits
// (and a leading "#") or makes it longer than 7 characters; it then keeps `before`.
// Only typing goes through here: values read from the page are shown as they are.
QString TypedColourField(const QString &before, const QString &typed, bool backgroundField);
std::optional<unsigned> ParseColourField(const QString &text);
QString ColourFieldText(unsigned rgb);

// The part of `before` that `after` replaces: [from, beforeEnd) by [from, afterEnd),
// on whole characters (a surrogate pair is never split). Empty when equal.
struct ChangedSpan {
    int from = 0;
    int beforeEnd = 0;
    int afterEnd = 0;
};
ChangedSpan FindChangedSpan(const QString &before, const QString &after);

} // namespace Authoring
