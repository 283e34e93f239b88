#include "authoring/table_markup.h"

#include "authoring/insertion.h"
#include "authoring/rule_markup.h"

#include <algorithm>

namespace Authoring {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
} // namespace

CellStore::CellStore() : m_cells(Size * Size) {}

bool CellStore::inside(int row, int column) {
    return row >= 1 && row <= Size && column >= 1 && column <= Size;
}

QString CellStore::cell(int row, int column) const {
    return inside(row, column) ? m_cells.at((row - 1) * Size + column - 1) : QString();
}

void CellStore::setCell(int row, int column, const QString &text) {
    if (inside(row, column)) m_cells[(row - 1) * Size + column - 1] = text;
}

void CellStore::clear() {
    std::fill(m_cells.begin(), m_cells.end(), QString());
}

CellPos NextCell(CellPos pos, int rows, int columns) {
    if (pos.column < columns) return {pos.row, pos.column + 1};
    if (pos.row < rows) return {pos.row + 1, 1};
    return pos;
}

std::optional<int> TableCount(const QString &text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return std::clamp(n, 0, CellStore::Size);
}

QString TableSizeText(const QString &text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n > 0 ? QString::number(n) : QString();
}

QString HexColour(int red, int green, int blue) {
    return QStringLiteral("#%1%2%3")
        .arg(red & 0xff, 2, 16, QLatin1Char('0'))
        .arg(green & 0xff, 2, 16, QLatin1Char('0'))
        .arg(blue & 0xff, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString BuildTableMarkup(const TableValues &v, const CellStore &cells, bool casse, QString *error) {
    const std::optional<int> rows = TableCount(v.rows);
    const std::optional<int> columns = TableCount(v.columns);
    if (!rows || !columns) {
        if (error) *error = IntegerConversionError(!rows ? v.rows : v.columns);
        return {};
    }
    if (error) error->clear();
    if (*rows == 0 || *columns == 0) return {};
    auto tag = [casse](const QString &markup) { return ApplyTagCase(markup, casse); };

    QString start = QStringLiteral("<table");
    const QString width = TableSizeText(v.width);
    if (!width.isEmpty())
        start += Attribute(QStringLiteral("width"),
                           width + (v.widthPercent ? QStringLiteral("%") : QString()));
    const QString height = TableSizeText(v.height);
    if (!height.isEmpty())
        start += Attribute(QStringLiteral("height"),
                           height + (v.heightPercent ? QStringLiteral("%") : QString()));
    start += EscapedAttribute(QStringLiteral("border"), v.border);
    if (v.align == TableAlign::Centre)
        start += Attribute(QStringLiteral("align"), QStringLiteral("center"));
    else if (v.align == TableAlign::Right)
        start += Attribute(QStringLiteral("align"), QStringLiteral("right"));
    if (!v.padding.isEmpty() && v.padding != QLatin1String("1"))
        start += EscapedAttribute(QStringLiteral("cellpadding"), v.padding);
    if (!v.spacing.isEmpty() && v.spacing != QLatin1String("2"))
        start += EscapedAttribute(QStringLiteral("cellspacing"), v.spacing);
    start += OptionalEscapedAttribute(QStringLiteral("bgcolor"), v.bgColor);

    QString out = tag(start + u'>') + kCrLf;
    if (!v.caption.isEmpty())
        out += tag(QStringLiteral("<caption>")) + v.caption + tag(QStringLiteral("</caption>")) +
               kCrLf;
    const QString tr = tag(QStringLiteral("<tr>"));
    const QString trEnd = tag(QStringLiteral("</tr>"));
    const QString td = QStringLiteral("   ") + tag(QStringLiteral("<td>"));
    const QString tdEnd = tag(QStringLiteral("</td>"));
    for (int r = 1; r <= *rows; ++r) {
        out += tr + kCrLf;
        for (int c = 1; c <= *columns; ++c)
            out += td + cells.cell(r, c) + tdEnd + kCrLf;
        out += trEnd + kCrLf;
    }
    return out + tag(QStringLiteral("</table>"));
}

} // namespace Authoring
