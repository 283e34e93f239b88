#include "authoring/list_markup.h"

#include "authoring/insertion.h"

#include <algorithm>

namespace Authoring {

namespace {

const QString crlf = QStringLiteral("\r\n");

bool isBlank(QChar c) {
    return c.unicode() <= u' ';
}

QString trimmedLine(const QString &line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line.at(begin)))
        ++begin;
    while (end > begin && isBlank(line.at(end - 1)))
        --end;
    return line.mid(begin, end - begin);
}

} // namespace

ListSource SplitSelectionIntoItems(const QString &selected) {
    ListSource source;
    if (selected.isEmpty()) return source;

    QStringList lines;
    qsizetype lineStart = 0;
    const qsizetype n = selected.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = selected.at(i);
        if (c != u'\r' && c != u'\n') continue;
        lines.append(selected.mid(lineStart, i - lineStart));
        if (c == u'\r' && i + 1 < n && selected.at(i + 1) == u'\n') ++i;
        lineStart = i + 1;
    }
    // The break that ends the last whole line does not start another item.
    if (lineStart < n) lines.append(selected.mid(lineStart));

    const QString &first = lines.isEmpty() ? selected : lines.first();
    qsizetype indentLength = 0;
    while (indentLength < first.size() && isBlank(first.at(indentLength)))
        ++indentLength;
    source.indent = first.left(indentLength);
    for (const QString &line : lines)
        source.items.append(trimmedLine(line));
    source.trailer = crlf;
    return source;
}

QString ListOpeningTag(int button) {
    switch (button) {
    case 2:
        return QStringLiteral("<ul type=\"square\">");
    case 3:
        return QStringLiteral("<ul type=\"circle\">");
    case 4:
        return QStringLiteral("<ol>");
    case 5:
        return QStringLiteral("<ol type=\"a\">");
    case 6:
        return QStringLiteral("<ol type=\"A\">");
    case 7:
        return QStringLiteral("<ol type=\"i\">");
    case 8:
        return QStringLiteral("<ol type=\"I\">");
    case 9:
        return QStringLiteral("<dl>");
    default:
        return QStringLiteral("<ul>");
    }
}

QString ListClosingTag(ListKind kind) {
    switch (kind) {
    case ListKind::Ordered:
        return QStringLiteral("</ol>");
    case ListKind::Definitions:
        return QStringLiteral("</dl>");
    case ListKind::Bulleted:
        break;
    }
    return QStringLiteral("</ul>");
}

int ListItemCount(const QString &text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok) return 1;
    // The count field's own range.
    return std::clamp(n, 0, 9999);
}

QString BuildListMarkup(const ListValues &values, const ListSource &source, bool casse) {
    const QString &indent = source.indent;
    const QString opening = indent + ListOpeningTag(values.button);
    const QString closing = indent + ListClosingTag(values.kind);
    const int n = ListItemCount(values.itemCountText);
    const auto tc = [casse](const QString &s) { return ApplyTagCase(s, casse); };

    QString body;
    if (values.kind == ListKind::Definitions) {
        const QString dt = tc(QStringLiteral("  <dt>"));
        const QString dtEnd = tc(QStringLiteral("</dt>"));
        const QString ddWithItem = tc(QStringLiteral("    <dd>"));
        const QString ddEmpty = tc(QStringLiteral("  <dd>"));
        const QString ddEnd = tc(QStringLiteral("</dd>"));
        for (int i = 0; i < n; ++i) {
            const bool hasItem = i < values.items.size();
            const QString item = hasItem ? values.items.at(i) : QString();
            if (i % 2 == 0)
                body += indent + dt + item + dtEnd + crlf;
            else
                body += indent + (hasItem ? ddWithItem : ddEmpty) + item + ddEnd + crlf;
        }
    } else {
        const QString li = tc(QStringLiteral("  <li>"));
        const QString liEnd = tc(QStringLiteral("</li>"));
        for (int i = 0; i < n; ++i) {
            const QString item = i < values.items.size() ? values.items.at(i) : QString();
            body += indent + li + item + liEnd + crlf;
        }
    }
    return tc(opening) + crlf + body + tc(closing) + source.trailer;
}

} // namespace Authoring
