#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>

// The lengths the page set-up shows margins in; settings are kept in millimetres.
enum class MarginUnit { Millimetres = 0, Centimetres = 1, Inches = 2, Thousandths = 3 };

// A font as the print settings keep it (no window system needed).
struct FontSpec {
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    quint32 color = 0x000000; // 0xRRGGBB
    bool operator==(const FontSpec &) const = default;
};

enum class ItemAlign { Left = 0, Centre = 1, Right = 2 };

// One piece of a header or footer: a text with its fields, on a line counted from 1.
struct HeaderItem {
    QString text;
    FontSpec font;
    ItemAlign align = ItemAlign::Left;
    int line = 1;
    bool operator==(const HeaderItem &) const = default;
};

struct HeaderFooter {
    QList<HeaderItem> items;
    FontSpec defaultFont;
    bool line = false; // under the header, above the footer
    bool box = false;
    bool shade = false;
    quint32 lineColor = 0x000000;
    quint32 shadeColor = 0xC0C0C0;
    bool mirror = false; // left and right swap on even pages
};

// Everything a print or a preview is given; one set for the run.
struct PrintSettings {
    // Lengths in millimetres.
    double left = 25, right = 15, top = 25, bottom = 25, gutter = 0;
    double headerDistance = 15, footerDistance = 15;
    double leftIndent = 2, rightIndent = 2, internalMargin = 0.5;
    MarginUnit unit = MarginUnit::Millimetres;
    bool mirrorMargins = false;
    bool wrapLines = true;
    bool syntax = true;
    bool colours = false;
    bool lineNumbers = false;
    bool numbersInMargin = false;
    int copies = 1;
    quint32 background = 0xFFFFFF;
    HeaderFooter header;
    HeaderFooter footer;
    QString title;

    // The settings every run starts with, with the header and footer items.
    static PrintSettings defaults();
};

namespace PrintRules {

QStringList unitNames(); // as the unit list shows them
double toMillimetres(double value, MarginUnit unit);
double fromMillimetres(double mm, MarginUnit unit);

// The ten lengths of the page set-up, in the order of its boxes: left, right, top,
// bottom, gutter, header, footer, left indent, right indent, internal margin.
constexpr int kMarginCount = 10;
std::array<double, kMarginCount> marginValues(const PrintSettings &s);
void setMarginValues(PrintSettings &s, const std::array<double, kMarginCount> &mm);

// A length as a box shows it, in a unit, with the locale's decimal separator.
QString formatLength(double mm, MarginUnit unit, const QLocale &locale);
// Reads the ten boxes; on success 'mm' holds every length in millimetres, otherwise
// 'badIndex' is the first box that is not a number (nothing is taken then).
struct MarginParse {
    bool ok = false;
    int badIndex = -1;
    std::array<double, kMarginCount> mm{};
};
MarginParse parseMargins(const QStringList &texts, MarginUnit unit, const QLocale &locale);
// The boxes shown again in another unit (a box that is not a number stays as typed).
QStringList convertTexts(const QStringList &texts, MarginUnit from, MarginUnit to,
                         const QLocale &locale);

// A header or footer text with its fields replaced: $PAGENUM$, $PAGECOUNT$, $TITLE$,
// $DATE$ and $TIME$.
QString expandFields(const QString &text, int page, int pageCount, const QString &title,
                     const QDateTime &when);

// The items of each line, lines 1 to the last one used (a line without items is empty).
QList<QList<HeaderItem>> lines(const QList<HeaderItem> &items);

// The page set-up's three boxes (left, centre, right): each box is a list of lines.
struct BoxLine {
    QString text;
    FontSpec font;
    bool operator==(const BoxLine &) const = default;
};
using Boxes = std::array<QList<BoxLine>, 3>;
Boxes boxesFromItems(const QList<HeaderItem> &items, const FontSpec &defaultFont);
// Every line that holds text becomes an item on its line number.
QList<HeaderItem> itemsFromBoxes(const Boxes &boxes);

// The preview's zoom after a click on the page: a right click halves (not below 25 %),
// a left click shows 100 % from the whole page, otherwise doubles (not above 400 %).
int zoomAfterClick(int percent, bool wholePage, bool rightButton);

} // namespace PrintRules
