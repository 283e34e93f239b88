#include "publish/preview_rules.h"

#include <QDir>
#include <QUrl>
#include <algorithm>

bool PreviewNavigation::beforeNavigate(const QString &address)
{
    if (!std::exchange(m_fromProgram, false))
        return false;
    m_history.removeAll(address);
    m_history.prepend(address);
    return true;
}

QString addressText(const QUrl &url)
{
    if (url.isLocalFile())
        return QDir::toNativeSeparators(url.toLocalFile());
    return url.toString();
}

QUrl addressUrl(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    // An absolute path of this system is a file, whatever characters it holds
    // ("~$", "#", "%" mean nothing special in a path).
    if (QDir::isAbsolutePath(t))
        return QUrl::fromLocalFile(QDir::fromNativeSeparators(t));
    return QUrl::fromUserInput(t);
}

PanelSplit halvedPanelSplit(int areaHeight, int splitter, int minAbove, int minPanel)
{
    PanelSplit s;
    s.panel = std::max(minPanel, areaHeight / 2 - splitter);
    s.above = std::max(minAbove, areaHeight - splitter - s.panel);
    // Too small for both halves: the area above keeps its minimum first.
    if (s.above + splitter + s.panel > areaHeight)
        s.panel = std::max(minPanel, areaHeight - splitter - s.above);
    return s;
}
