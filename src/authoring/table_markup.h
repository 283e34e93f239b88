#pragma once

#include <QList>
#include <QString>

#include <optional>

// Tables: the cell contents kept for the run, the walk from cell to cell and the
// markup written from the table dialog's values.
namespace Authoring {

// 99 rows by 99 columns of cell texts, addressed from 1. Reads and writes outside
// the grid do nothing (a read gives an empty text).
class CellStore {
public:
    static constexpr int Size = 99;

    CellStore();
    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);
    void clear();

private:
    static bool inside(int row, int column);
    QList<QString> m_cells;
};

struct CellPos {
    int row = 1;
    int column = 1;
    friend bool operator==(const CellPos &, const CellPos &) = default;
};

// The cell after `pos` in a rows x columns table: the next column, or column 1 of
// the next row; the last cell stays where it is.
CellPos NextCell(CellPos pos, int rows, int columns);

// A row or column count typed into its field: brought into 0-99 (0 makes no table),
// nothing when the text is not a number.
std::optional<int> TableCount(const QString &text);

// A width or height field's text: emptied when it holds 0 or no number.
QString TableSizeText(const QString &text);

// "#RRGGBB" with upper-case digits.
QString HexColour(int red, int green, int blue);

enum class TableAlign { Left, Centre, Right };

struct TableValues {
    QString rows = QStringLiteral("1");
    QString columns = QStringLiteral("1");
    QString border = QStringLiteral("0");
    QString spacing = QStringLiteral("2");
    QString padding = QStringLiteral("1");
    QString width;
    bool widthPercent = false;
    QString height;
    bool heightPercent = false;
    QString bgColor;
    TableAlign align = TableAlign::Left;
    QString caption;
};

// The whole table, to be inserted raw: tags and attribute names take the tag case,
// the caption and cell texts are written as typed. Empty when a count is 0, and when
// a count is not a number (*error then holds the message).
QString BuildTableMarkup(const TableValues &values, const CellStore &cells, bool casse,
                         QString *error = nullptr);

} // namespace Authoring
