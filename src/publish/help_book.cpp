#include "publish/help_book.h"

#include <QDir>
#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace HelpBook {

namespace {
const QString kPagesFolder = QStringLiteral("Ressources/");

QString decodeEntities(const QString &text) {
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9A-Fa-f]+|#[0-9]+|[A-Za-z]+);"));
    static const QMap<QString, QString> named = {{QStringLiteral("amp"), QStringLiteral("&")},
                                                 {QStringLiteral("lt"), QStringLiteral("<")},
                                                 {QStringLiteral("gt"), QStringLiteral(">")},
                                                 {QStringLiteral("quot"), QStringLiteral("\"")},
                                                 {QStringLiteral("apos"), QStringLiteral("'")},
                                                 {QStringLiteral("nbsp"), QString(QChar(0xA0))},
                                                 {QStringLiteral("eacute"), QStringLiteral("é")},
                                                 {QStringLiteral("egrave"), QStringLiteral("è")},
                                                 {QStringLiteral("agrave"), QStringLiteral("à")},
                                                 {QStringLiteral("ccedil"), QStringLiteral("ç")}};
    QString out;
    qsizetype from = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        const QString name = m.captured(1);
        QString replacement = m.captured(0);
        bool ok = false;
        uint code = 0;
        if (name.startsWith(QLatin1String("#x")))
            code = name.mid(2).toUInt(&ok, 16);
        else if (name.startsWith(QLatin1Char('#')))
            code = name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF)
            replacement = QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        else if (named.contains(name))
            replacement = named.value(name);
        out += replacement;
        from = m.capturedEnd();
    }
    out += text.mid(from);
    return out;
}
} // namespace

QString defaultTopic() {
    return QStringLiteral("Ressources/introduction.htm");
}
QString fileName() {
    return QStringLiteral("Balizor.qch");
}
QString namespaceName() {
    return QStringLiteral("fr.balizor.aide");
}
QString virtualFolder() {
    return QStringLiteral("aide");
}

QUrl topicUrl(const QString &topic) {
    const qsizetype hash = topic.indexOf(QLatin1Char('#'));
    QUrl url;
    url.setScheme(QStringLiteral("qthelp"));
    url.setHost(namespaceName());
    url.setPath(QLatin1Char('/') + virtualFolder() + QLatin1Char('/') +
                (hash < 0 ? topic : topic.left(hash)));
    if (hash >= 0) url.setFragment(topic.mid(hash + 1));
    return url;
}

QString topicOf(const QUrl &url) {
    const QString prefix = QLatin1Char('/') + virtualFolder() + QLatin1Char('/');
    if (url.scheme() != QLatin1String("qthelp") ||
        url.host().compare(namespaceName(), Qt::CaseInsensitive) != 0 ||
        !url.path().startsWith(prefix))
        return {};
    QString topic = url.path().mid(prefix.size());
    if (url.hasFragment()) topic += QLatin1Char('#') + url.fragment();
    return topic;
}

QString pageTitle(const QString &html) {
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title\\s*>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = title.match(html);
    if (!m.hasMatch()) return {};
    return decodeEntities(m.captured(1)).simplified();
}

QStringList pageLinks(const QString &html) {
    // Comments may hold markup examples that are not links.
    static const QRegularExpression comment(QStringLiteral("<!--.*?-->"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression link(
        QStringLiteral("<[A-Za-z][^>]*?\\s(?:href|src)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
        QRegularExpression::CaseInsensitiveOption);
    QString text = html;
    text.remove(comment);
    QStringList out;
    for (auto it = link.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out << decodeEntities(m.lastCapturedIndex() == 2 ? m.captured(2) : m.captured(1));
    }
    return out;
}

QString resolveLink(const QString &fromPage, const QString &link) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    QString target = link.trimmed();
    if (scheme.match(target).hasMatch()) return {};
    for (QChar end : {QLatin1Char('#'), QLatin1Char('?')}) {
        const qsizetype at = target.indexOf(end);
        if (at >= 0) target.truncate(at);
    }
    if (target.isEmpty()) return {};
    target = QUrl::fromPercentEncoding(target.toUtf8());
    if (target.startsWith(QLatin1Char('/'))) return QDir::cleanPath(target.mid(1));
    const qsizetype slash = fromPage.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : fromPage.left(slash + 1);
    return QDir::cleanPath(folder + target);
}

QList<ContentsEntry> parseContents(const QString &text, QString *error) {
    QList<ContentsEntry> out;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) continue;
        qsizetype spaces = 0;
        while (spaces < line.size() && line[spaces] == QLatin1Char(' '))
            ++spaces;
        const auto fail = [&](const QString &why) {
            if (error) *error = QStringLiteral("line %1: %2").arg(i + 1).arg(why);
            return QList<ContentsEntry>();
        };
        if (line[spaces] == QLatin1Char('\t'))
            return fail(QStringLiteral("indent with spaces, not tabs"));
        if (spaces % 2 != 0) return fail(QStringLiteral("indent by two spaces per level"));
        const int depth = int(spaces / 2);
        const int deepest = out.isEmpty() ? 0 : out.last().depth + 1;
        if (depth > deepest)
            return fail(QStringLiteral("indented more than one level below the line before"));
        if (trimmed.contains(QLatin1Char(' ')) || !trimmed.endsWith(QLatin1String(".htm")))
            return fail(QStringLiteral("expected one page name ending in .htm"));
        out << ContentsEntry{trimmed, depth};
    }
    if (error) error->clear();
    return out;
}

QByteArray buildProject(const QMap<QString, QString> &titles, const QList<ContentsEntry> &contents,
                        const QStringList &files) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("QtHelpProject"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    w.writeTextElement(QStringLiteral("namespace"), namespaceName());
    w.writeTextElement(QStringLiteral("virtualFolder"), virtualFolder());
    w.writeStartElement(QStringLiteral("filterSection"));

    w.writeStartElement(QStringLiteral("toc"));
    int open = 0;
    for (qsizetype i = 0; i < contents.size(); ++i) {
        const ContentsEntry &e = contents[i];
        while (open > e.depth) {
            w.writeEndElement();
            --open;
        }
        const QString ref = kPagesFolder + e.file;
        w.writeStartElement(QStringLiteral("section"));
        w.writeAttribute(QStringLiteral("title"), titles.value(ref, e.file));
        w.writeAttribute(QStringLiteral("ref"), ref);
        ++open;
        const bool hasChildren = i + 1 < contents.size() && contents[i + 1].depth > e.depth;
        if (!hasChildren) {
            w.writeEndElement();
            --open;
        }
    }
    while (open-- > 0)
        w.writeEndElement();
    w.writeEndElement(); // toc

    w.writeStartElement(QStringLiteral("keywords"));
    for (auto it = titles.cbegin(); it != titles.cend(); ++it) {
        if (it.value().isEmpty()) continue;
        w.writeEmptyElement(QStringLiteral("keyword"));
        w.writeAttribute(QStringLiteral("name"), it.value());
        w.writeAttribute(QStringLiteral("ref"), it.key());
    }
    w.writeEndElement();

    w.writeStartElement(QStringLiteral("files"));
    for (const QString &f : files)
        w.writeTextElement(QStringLiteral("file"), f);
    w.writeEndElement();

    w.writeEndElement(); // filterSection
    w.writeEndElement(); // QtHelpProject
    w.writeEndDocument();
    return out;
}

QString missingPageHtml(const QString &topic) {
    const QString home = topicUrl(defaultTopic()).toString();
    return QStringLiteral("<html><head><title>Page introuvable</title></head><body>"
                          "<h1>Page introuvable</h1>"
                          "<p>L'aide de Balizor ne contient pas la page «&nbsp;%1&nbsp;».</p>"
                          "<p>Cherchez le sujet dans le sommaire ou avec la recherche, ou "
                          "revenez à l'<a href=\"%2\">introduction</a>.</p></body></html>")
        .arg(topic.toHtmlEscaped(), home);
}

QStringList topicsInSource(const QString &source) {
    static const QRegularExpression literal(
        QStringLiteral("\"(Ressources/[A-Za-z0-9_.\\-]+\\.htm)\""));
    QStringList out;
    for (auto it = literal.globalMatch(source); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

} // namespace HelpBook
