#include "assist/completion.h"

#include "editor/html_vocabulary.h"

#include <QByteArrayView>

namespace Completion {

namespace {

QString tagCase(const QString &name, bool casse) {
    return casse ? name.toUpper() : name;
}

bool isBlankOrControl(QChar c) {
    return c.isSpace() || c.category() == QChar::Other_Control;
}

} // namespace

List BuildElementList(bool casse) {
    List list;
    const QStringList names = HtmlVocabulary::completionElements();
    list.rows.reserve(1 + 2 * names.size());
    list.rows.push_back({ElementTitle, QStringLiteral("<"), NoIcon});
    for (int closing = 0; closing < 2; ++closing) {
        const QString prefix = closing ? QStringLiteral("/") : QString();
        for (const QString &n : names) {
            const QString name = tagCase(n, casse);
            // The address rows have always been shown capitalised.
            const QString shown =
                !casse && n == QLatin1String("address") ? QStringLiteral("Address") : name;
            list.rows.push_back({prefix + shown, QLatin1Char('<') + prefix + name, ElementIcon});
        }
    }
    list.visibleRows = 10;
    return list;
}

bool BuildAttributeList(const QString &fragment, bool casse, List *out) {
    *out = List();
    if (fragment.size() < 2 || fragment.at(0) != QLatin1Char('<')) return false;
    const std::vector<int> found = HtmlVocabulary::attributesOf(fragment.mid(1));
    if (found.empty()) return false;
    out->rows.push_back({AttributeTitle, QString(), NoIcon});
    for (int i : found) {
        const HtmlVocabulary::Attribute &a = HtmlVocabulary::attributes()[i];
        out->rows.push_back({tagCase(a.name, casse), tagCase(a.insertText, casse),
                             a.icon == HtmlVocabulary::IconEvent ? EventIcon : AttributeIcon});
    }
    out->visibleRows = std::min(10, int(out->rows.size()));
    return true;
}

QString ElementBeforeCaret(const QString &lineLeftOfCaret) {
    qsizetype b = 0, e = lineLeftOfCaret.size();
    while (b < e &&
           (lineLeftOfCaret.at(b) <= QLatin1Char(' ') || isBlankOrControl(lineLeftOfCaret.at(b))))
        ++b;
    while (e > b && (lineLeftOfCaret.at(e - 1) <= QLatin1Char(' ') ||
                     isBlankOrControl(lineLeftOfCaret.at(e - 1))))
        --e;
    QString t = lineLeftOfCaret.mid(b, e - b);
    const qsizetype gt = t.lastIndexOf(QLatin1Char('>'));
    if (gt >= 0) t.remove(0, gt + 1);
    const qsizetype lt = t.indexOf(QLatin1Char('<'));
    if (lt > 0) t.remove(0, lt);
    const qsizetype space = t.indexOf(QLatin1Char(' '));
    if (space >= 0) t.truncate(space);
    const qsizetype tab = t.indexOf(QLatin1Char('\t'));
    if (tab >= 0) t.truncate(tab);
    return t;
}

LineTail lineTail(const char *line, qsizetype len) {
    LineTail t;
    t.offset = QByteArrayView(line, len).lastIndexOf('>') + 1;
    t.afterGt = t.offset > 0;
    t.text = QString::fromUtf8(line + t.offset, len - t.offset);
    return t;
}

QString LineTail::ElementBeforeCaret() const {
    return Completion::ElementBeforeCaret(afterGt ? QLatin1Char('>') + text : text);
}

QChar LineTail::charLeft() const {
    if (!text.isEmpty()) return text.back();
    return afterGt ? QLatin1Char('>') : QChar();
}

qsizetype LineTail::typedRunStart(const QString &ends) const {
    const qsizetype i = Completion::typedRunStart(text, ends);
    return offset + QStringView(text).left(i).toUtf8().size();
}

QString endSet(bool wordBreak) {
    return wordBreak ? EndCharacters + WordBreakCharacters : EndCharacters;
}

QString endSet(const List &list, bool wordBreak) {
    QString ends = endSet(wordBreak);
    for (const Row &r : list.rows)
        for (QChar c : r.insert)
            if (c != QLatin1Char('<')) ends.remove(c);
    return ends;
}

qsizetype typedRunStart(const QString &text, const QString &ends) {
    qsizetype p = text.size();
    while (p > 0) {
        const QChar c = text.at(p - 1);
        if (isBlankOrControl(c) || ends.contains(c)) break;
        --p;
    }
    return p;
}

int selectRow(const List &list, const QString &run) {
    if (run.isEmpty()) return 0; // every text begins with nothing, the title's empty one too
    for (int i = 0; i < int(list.rows.size()); ++i)
        if (list.rows[size_t(i)].insert.startsWith(run, Qt::CaseInsensitive)) return i;
    return 0;
}

bool Engine::execute(const QString &fragment, bool html, QChar charLeft, bool casse) {
    m_endAcceptance = false;
    m_wordBreak = false;
    if (fragment == QLatin1String("<")) {
        if (html && charLeft == QLatin1Char('<')) m_list = BuildElementList(casse);
        return html && !m_list.isEmpty();
    }
    const bool any = BuildAttributeList(fragment, casse, &m_list);
    return any && html;
}

void Engine::rowChanged(int index) {
    m_endAcceptance = m_wordBreak = index != 0;
}

void Engine::accepted(QChar endChar, const QString &fragment, bool html, bool casse) {
    if (!html) return;
    if (endChar == QLatin1Char('>'))
        m_list = BuildElementList(casse);
    else
        BuildAttributeList(fragment, casse, &m_list);
}

KeyOutcome typedCharacter(QChar c, const QString &ends, bool endAcceptance) {
    if (!isBlankOrControl(c) && !ends.contains(c)) return KeyOutcome::Extend;
    return endAcceptance && ends.contains(c) ? KeyOutcome::Accept : KeyOutcome::Close;
}

} // namespace Completion
