#include "authoring/frames_markup.h"

#include "authoring/insertion.h"

#include <QStringList>

namespace Authoring {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

FrameValues frame(const char *name, int size, bool percent = false) {
    FrameValues f;
    f.name = QLatin1String(name);
    f.size = size;
    f.percent = percent;
    return f;
}

QString marginText(const char *a, const char *b, int value) {
    if (value < 0) return QString();
    const QString v = QString::number(value);
    return QStringLiteral(" %1=\"%2\" %3=\"%2\"").arg(QLatin1String(a), v, QLatin1String(b));
}

QString scrollingText(Scrolling s) {
    switch (s) {
    case Scrolling::Yes:
        return QStringLiteral(" scrolling=\"yes\"");
    case Scrolling::No:
        return QStringLiteral(" scrolling=\"no\"");
    case Scrolling::Auto:
        break;
    }
    return QStringLiteral(" scrolling=\"auto\"");
}

QString frameLine(const FrameValues &f, int indent, bool casse, bool xhtml) {
    const QString tag =
        QStringLiteral("<frame") + EscapedAttribute(QStringLiteral("name"), f.name) +
        EscapedAttribute(QStringLiteral("src"), f.source) +
        marginText("marginwidth", "leftmargin", f.leftMargin) +
        marginText("marginheight", "topmargin", f.topMargin) + scrollingText(f.scrolling) +
        (f.noResize ? XhtmlAdjust(QStringLiteral(" noresize"), xhtml) : QString()) +
        QStringLiteral(" frameborder=\"%1\"").arg(f.border ? 1 : 0) +
        XhtmlAdjust(QStringLiteral(">"), xhtml);
    return QString(indent, QLatin1Char(' ')) + ApplyTagCase(tag, casse) + kCrLf;
}

QString opening(bool columns, const QStringList &sizes, int indent, bool casse) {
    return QString(indent, QLatin1Char(' ')) +
           ApplyTagCase(QStringLiteral("<frameset %1=\"%2\">")
                            .arg(columns ? QStringLiteral("cols") : QStringLiteral("rows"),
                                 sizes.join(QLatin1Char(','))),
                        casse) +
           kCrLf;
}

} // namespace

int FrameCount(int layout) {
    switch (layout) {
    case 0:
    case 1:
        return 2;
    case 7:
        return 4;
    default:
        return 3;
    }
}

FrameSet DefaultFrames(int layout) {
    switch (layout) {
    case 0:
        return {frame("frame_gauche", 200), frame("frame_droite", -1)};
    case 1:
        return {frame("frame_haut", 200), frame("frame_bas", -1)};
    case 2:
        return {frame("frame_gauche", 33, true), frame("frame_milieu", 33, true),
                frame("frame_droite", -1)};
    case 3:
        return {frame("frame_haut", 33, true), frame("frame_milieu", 33, true),
                frame("frame_bas", -1)};
    case 4:
        return {frame("frame_gauche", 200), frame("frame_haut", 150), frame("frame_bas", -1)};
    case 5:
        return {frame("frame_haut", 150), frame("frame_gauche", 200), frame("frame_droite", -1)};
    case 6:
        return {frame("frame_haut", 200), frame("frame_bas", -1), frame("frame_droite", 200)};
    default:
        return {frame("frame_haut", 150), frame("frame_gauche", 200), frame("frame_droite", -1),
                frame("frame_bas", 150)};
    }
}

bool FrameSizeIsWidth(int layout, int index) {
    switch (layout) {
    case 0:
    case 2:
        return true;
    case 1:
    case 3:
        return false;
    case 4:
        return index == 0;
    case 5:
        return index != 0;
    case 6:
        return index == 2;
    default:
        return index == 1 || index == 2;
    }
}

QString FrameSizeText(int size, bool percent) {
    if (size < 0) return QStringLiteral("*");
    return QString::number(size) + (percent ? QStringLiteral("%") : QString());
}

QString BuildFramesetText(int layout, const FrameSet &frames, const QString &noFrames, bool casse,
                          bool xhtml) {
    const auto S = [&frames](int i) {
        return FrameSizeText(frames[size_t(i)].size, frames[size_t(i)].percent);
    };
    const auto line = [&](int i, int indent) {
        return frameLine(frames[size_t(i)], indent, casse, xhtml);
    };
    const QString star = QStringLiteral("*");
    const QString nestedEnd =
        QStringLiteral("  ") + ApplyTagCase(QStringLiteral("</frameset>"), casse) + kCrLf;
    QString t;
    switch (layout) {
    case 0:
    case 1:
        t = opening(layout == 0, {S(0), S(1)}, 0, casse) + line(0, 2) + line(1, 2);
        break;
    case 2:
    case 3:
        t = opening(layout == 2, {S(0), S(1), S(2)}, 0, casse) + line(0, 2) + line(1, 2) +
            line(2, 2);
        break;
    case 4:
    case 5:
        t = opening(layout == 4, {S(0), star}, 0, casse) + line(0, 2) +
            opening(layout == 5, {S(1), S(2)}, 2, casse) + line(1, 4) + line(2, 4) + nestedEnd;
        break;
    case 6:
        t = opening(true, {star, S(2)}, 0, casse) + opening(false, {S(0), S(1)}, 2, casse) +
            line(0, 4) + line(1, 4) + nestedEnd + line(2, 2);
        break;
    default:
        t = opening(false, {S(0), star, S(3)}, 0, casse) + line(0, 2) +
            opening(true, {S(1), S(2)}, 2, casse) + line(1, 4) + line(2, 4) + nestedEnd +
            line(3, 2);
        break;
    }
    if (!noFrames.isEmpty())
        t += ApplyTagCase(QStringLiteral("<noframes>"), casse) + kCrLf + noFrames + kCrLf +
             ApplyTagCase(QStringLiteral("</noframes>"), casse);
    return t + kCrLf + ApplyTagCase(QStringLiteral("</frameset>"), casse);
}

QString BuildFramesDocument(int layout, const FrameSet &frames, const QString &noFrames, bool casse,
                            bool xhtml) {
    const auto c = [casse](const char *tag) { return ApplyTagCase(QLatin1String(tag), casse); };
    return c("<html>") + kCrLf + c("<head>") + kCrLf + c("</head>") + kCrLf +
           BuildFramesetText(layout, frames, noFrames, casse, xhtml) + kCrLf + c("</html>");
}

QString DefaultNoFramesText(bool casse, bool xhtml) {
    const auto link = [casse](const char *url, const char *text) {
        return ApplyTagCase(
                   QStringLiteral("<a href=\"%1\" target=\"_blank\">").arg(QLatin1String(url)),
                   casse) +
               QLatin1String(text) + ApplyTagCase(QStringLiteral("</a>"), casse);
    };
    return QStringLiteral("Votre navigateur ne reconnaît pas les cadres.") +
           ApplyTagCase(QStringLiteral("<br") + XhtmlAdjust(QStringLiteral(">"), xhtml), casse) +
           kCrLf + QStringLiteral("Veuillez installer un navigateur supportant les cadres comme ") +
           link("https://www.microsoft.com/fr-fr/download/internet-explorer.aspx",
                "Internet Explorer") +
           QStringLiteral(" ou ") + link("https://www.mozilla.org/fr/firefox/", "Firefox") +
           QStringLiteral(".");
}

} // namespace Authoring
