#pragma once

#include <QByteArray>

// A large HTML page made of one repeated block of markup, CR LF line breaks.
inline QByteArray benchPage(qsizetype size, bool accents) {
    QByteArray block =
        "<div class=\"article\">\r\n  <h2>Titre de la section</h2>\r\n"
        "  <p>Un paragraphe <b>en gras</b> et <a href=\"page.html\">un lien</a>.</p>\r\n";
    if (accents) block += "  <p>\xC9t\xE9 \xE0 la campagne, \x80 12.</p>\r\n";
    block += "</div>\r\n";
    QByteArray out;
    out.reserve(size + block.size());
    while (out.size() < size)
        out += block;
    return out;
}
