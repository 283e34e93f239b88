#pragma once

#include <QString>

#include <vector>

// The tag reference: for each element a key, the texts put around the
// selection, a French description and an example, built into the program.
namespace TagReference {

struct Entry {
    QString key;         // "<TABLE>", as the classic list writes it
    QString opening;     // "<table>"
    QString closing;     // "</table>", empty for an element without end tag
    QString description; // one French sentence or phrase
    QString example;     // HTML, lines joined by CR LF
    bool obsolete = false;
};

// Every entry, in byte order of the keys: the classic 98 and today's elements.
const std::vector<Entry> &entries();
// Index of a key (case ignored), or -1.
int indexOf(const QString &key);

// The tag case for reference texts: under `casse`, element and attribute names
// inside tags go to upper case; attribute values, comments and the text between
// tags are never changed. Without `casse` the text is returned as it is.
QString markupCase(const QString &text, bool casse);
// The key as listed: upper case under `casse`, lower case otherwise.
QString displayKey(const Entry &entry, bool casse);

} // namespace TagReference
