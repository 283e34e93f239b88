#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The elements and attributes of HTML that the program knows: one table for the
// colouring, the completion, the identifier scanner and the tag reference, so
// that they never disagree about what an element is.
namespace HtmlVocabulary {

// Where a name comes from: the classic table the completion was first built
// from, today's HTML, or older browser-only elements that are coloured as known
// but never proposed.
enum class Era { Classic, Current, Legacy };

struct Element {
    QString name; // lower case
    Era era;
};

// Every element, in byte order of the names.
const std::vector<Element> &elements();
// Names of the elements the completion proposes: Classic (and Current unless
// classicOnly), in byte order.
QStringList completionElements(bool classicOnly = false);
// Whether the colouring knows the element (case ignored; any era).
bool isKnownElement(const char *name, int length);
bool isKnownElement(const QString &name);

enum AttributeIcon { IconElement = 0, IconAttribute = 1, IconEvent = 2 };

struct Attribute {
    QString name;       // as listed: "data-*"
    QString insertText; // as inserted: "data-"
    bool classic;       // one of the classic table's 119 names
    int icon;
};

// Every attribute in the fixed listing order: byte order of the names, except
// that "accept-charset" comes before "accept".
const std::vector<Attribute> &attributes();

// Indexes into attributes() of the attributes `element` accepts (case ignored),
// in the listing order. classicOnly restricts both the attributes and the
// elements that "every element except" rows reach to the classic table.
std::vector<int> attributesOf(const QString &element, bool classicOnly = false);

} // namespace HtmlVocabulary
