#pragma once

#include <QString>
#include <QStringList>

// Lists: the items taken from selected lines and the markup written from the list
// dialog's values.
namespace Authoring {

// The pages of the list dialog, in their order.
enum class ListKind { Bulleted = 0, Ordered = 1, Definitions = 2 };

// What the list dialog returns after OK.
struct ListValues {
    ListKind kind = ListKind::Bulleted;
    int button = 1;        // the picture button down on that page, 1 to 9
    QStringList items;     // in order
    QString itemCountText; // the text of the item count field
};

// The lines of a selection turned into items.
struct ListSource {
    QString indent; // leading white space of the first line
    QStringList items;
    QString trailer; // CR LF after the closing tag when made from a selection
};

// Splits selected whole lines into trimmed items (blank lines give empty items).
// An empty selection gives no items, no indent and no trailer.
ListSource SplitSelectionIntoItems(const QString &selected);

// The opening tag of a page's picture button ("<ul>", '<ol type="a">', "<dl>", ...).
QString ListOpeningTag(int button);
QString ListClosingTag(ListKind kind);

// The number of items to write from the count field's text: 1 when it is not a number.
int ListItemCount(const QString &text);

// The whole list, to be inserted raw over the selection: tags pass through the tag
// case, the items never do.
QString BuildListMarkup(const ListValues &values, const ListSource &source, bool casse);

} // namespace Authoring
