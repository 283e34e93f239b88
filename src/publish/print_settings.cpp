#include "publish/print_settings.h"

#include <cmath>

PrintSettings PrintSettings::defaults() {
    PrintSettings s;
    FontSpec small;
    small.pointSize = 6;
    s.header.items = {
        {QStringLiteral("Page : $PAGENUM$ sur $PAGECOUNT$"), FontSpec{}, ItemAlign::Right, 1},
        {QStringLiteral("$TITLE$"), FontSpec{}, ItemAlign::Left, 2},
        {QStringLiteral("Date d'impression : $DATE$. Heure: $TIME$"), small, ItemAlign::Right, 2},
    };
    s.footer.items = {{QStringLiteral("$PAGENUM$/$PAGECOUNT$"), FontSpec{}, ItemAlign::Right, 1}};
    return s;
}

namespace PrintRules {

namespace {
double millimetresPer(MarginUnit unit) {
    switch (unit) {
    case MarginUnit::Centimetres:
        return 10;
    case MarginUnit::Inches:
        return 25.4;
    case MarginUnit::Thousandths:
        return 0.0254;
    case MarginUnit::Millimetres:
        break;
    }
    return 1;
}

int decimalsFor(MarginUnit unit) {
    switch (unit) {
    case MarginUnit::Centimetres:
        return 3;
    case MarginUnit::Inches:
        return 4;
    case MarginUnit::Thousandths:
        return 1;
    case MarginUnit::Millimetres:
        break;
    }
    return 2;
}

bool readNumber(const QString &text, const QLocale &locale, double *value) {
    bool ok = false;
    const QString t = text.trimmed();
    double v = locale.toDouble(t, &ok);
    if (!ok) // a point is understood whatever the separator of the system
        v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v) || v < 0) return false;
    *value = v;
    return true;
}
} // namespace

QStringList unitNames() {
    return {QStringLiteral("mm"), QStringLiteral("cm"), QStringLiteral("Pouces"),
            QStringLiteral("Millièmes De Pouces")};
}

double toMillimetres(double value, MarginUnit unit) {
    return value * millimetresPer(unit);
}
double fromMillimetres(double mm, MarginUnit unit) {
    return mm / millimetresPer(unit);
}

std::array<double, kMarginCount> marginValues(const PrintSettings &s) {
    return {s.left,           s.right,          s.top,        s.bottom,      s.gutter,
            s.headerDistance, s.footerDistance, s.leftIndent, s.rightIndent, s.internalMargin};
}

void setMarginValues(PrintSettings &s, const std::array<double, kMarginCount> &v) {
    s.left = v[0];
    s.right = v[1];
    s.top = v[2];
    s.bottom = v[3];
    s.gutter = v[4];
    s.headerDistance = v[5];
    s.footerDistance = v[6];
    s.leftIndent = v[7];
    s.rightIndent = v[8];
    s.internalMargin = v[9];
}

QString formatLength(double mm, MarginUnit unit, const QLocale &locale) {
    QString t = locale.toString(fromMillimetres(mm, unit), 'f', decimalsFor(unit));
    const QChar point = locale.decimalPoint().at(0);
    if (t.contains(point)) {
        while (t.endsWith(QLatin1Char('0')))
            t.chop(1);
        if (t.endsWith(point)) t.chop(1);
    }
    return t;
}

MarginParse parseMargins(const QStringList &texts, MarginUnit unit, const QLocale &locale) {
    MarginParse r;
    for (int i = 0; i < kMarginCount; ++i) {
        double v = 0;
        if (!readNumber(texts.value(i), locale, &v)) {
            r.badIndex = i;
            return r;
        }
        r.mm[i] = toMillimetres(v, unit);
    }
    r.ok = true;
    return r;
}

QStringList convertTexts(const QStringList &texts, MarginUnit from, MarginUnit to,
                         const QLocale &locale) {
    QStringList out;
    for (const QString &t : texts) {
        double v = 0;
        out << (readNumber(t, locale, &v) ? formatLength(toMillimetres(v, from), to, locale) : t);
    }
    return out;
}

QString expandFields(const QString &text, int page, int pageCount, const QString &title,
                     const QDateTime &when) {
    if (!text.contains(QLatin1Char('$'))) return text;
    // One pass, so a title that holds a field name is printed as it is.
    static const QStringList fields = {QStringLiteral("$PAGENUM$"), QStringLiteral("$PAGECOUNT$"),
                                       QStringLiteral("$TITLE$"), QStringLiteral("$DATE$"),
                                       QStringLiteral("$TIME$")};
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        int which = -1;
        for (int f = 0; f < fields.size(); ++f) {
            if (QStringView(text).sliced(i).startsWith(fields[f], Qt::CaseInsensitive)) {
                which = f;
                break;
            }
        }
        switch (which) {
        case 0:
            out += QString::number(page);
            break;
        case 1:
            out += QString::number(pageCount);
            break;
        case 2:
            out += title;
            break;
        case 3:
            out += when.date().toString(QStringLiteral("dd/MM/yyyy"));
            break;
        case 4:
            out += when.time().toString(QStringLiteral("HH:mm:ss"));
            break;
        default:
            out += text[i];
            ++i;
            continue;
        }
        i += fields[which].size();
    }
    return out;
}

QList<QList<HeaderItem>> lines(const QList<HeaderItem> &items) {
    int last = 0;
    for (const HeaderItem &it : items)
        last = std::max(last, it.line);
    QList<QList<HeaderItem>> out(last);
    for (const HeaderItem &it : items) {
        if (it.line >= 1) out[it.line - 1] << it;
    }
    return out;
}

Boxes boxesFromItems(const QList<HeaderItem> &items, const FontSpec &defaultFont) {
    Boxes boxes;
    for (const HeaderItem &it : items) {
        if (it.line < 1) continue;
        QList<BoxLine> &box = boxes[int(it.align)];
        while (box.size() < it.line)
            box << BoxLine{QString(), defaultFont};
        BoxLine &l = box[it.line - 1];
        if (l.text.isEmpty()) {
            l = {it.text, it.font};
        } else {
            l.text += QLatin1Char(' ') + it.text;
        }
    }
    return boxes;
}

QList<HeaderItem> itemsFromBoxes(const Boxes &boxes) {
    QList<HeaderItem> items;
    for (int a = 0; a < 3; ++a) {
        for (int i = 0; i < boxes[a].size(); ++i) {
            const BoxLine &l = boxes[a][i];
            if (!l.text.isEmpty()) items << HeaderItem{l.text, l.font, ItemAlign(a), i + 1};
        }
    }
    return items;
}

int zoomAfterClick(int percent, bool wholePage, bool rightButton) {
    if (rightButton) return std::max(25, percent / 2);
    if (wholePage) return 100;
    return std::min(400, percent * 2);
}

} // namespace PrintRules
