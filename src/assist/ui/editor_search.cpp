#include "assist/ui/editor_search.h"

#include "app/ui/editor_view.h"

#include <QObject>
#include <array>

namespace {
using Sci = QsciScintillaBase;

long send(const TMyMwCustomEdit *e, unsigned int msg, unsigned long w = 0, long l = 0) {
    return const_cast<TMyMwCustomEdit *>(e)->SendScintilla(msg, w, l);
}

// The columns of the bookmarks live beside the editor, so the view itself needs no field.
class BookmarkColumns : public QObject {
public:
    explicit BookmarkColumns(QObject *parent) : QObject(parent) {
        setObjectName(QStringLiteral("BookmarkColumns"));
        columns.fill(1);
    }
    std::array<int, 10> columns;
};

BookmarkColumns *columnsOf(const TMyMwCustomEdit *e, bool create) {
    auto *c = e->findChild<BookmarkColumns *>(QStringLiteral("BookmarkColumns"),
                                              Qt::FindDirectChildrenOnly);
    if (!c && create) c = new BookmarkColumns(const_cast<TMyMwCustomEdit *>(e));
    return c;
}

bool anyBookmark(const TMyMwCustomEdit *e) {
    for (int n = 0; n < 10; ++n) {
        if (send(e, Sci::SCI_MARKERNEXT, 0, 1L << (Bookmarks::kFirstMarker + n)) >= 0) return true;
    }
    return false;
}

// The margin shows the digits only while a bookmark exists.
void showMargin(TMyMwCustomEdit *e) {
    static constexpr int kMargin = 1;
    int mask = 0;
    for (int n = 0; n < 10; ++n) {
        const int marker = Bookmarks::kFirstMarker + n;
        mask |= 1 << marker;
        e->SendScintilla(Sci::SCI_MARKERDEFINE, marker, Sci::SC_MARK_CHARACTER + '0' + n);
        e->SendScintilla(Sci::SCI_MARKERSETFORE, marker, 0xFFFFFFL);
        e->SendScintilla(Sci::SCI_MARKERSETBACK, marker, 0x0060C0L); // BGR: orange-red
    }
    e->SendScintilla(Sci::SCI_SETMARGINTYPEN, kMargin, Sci::SC_MARGIN_SYMBOL);
    e->SendScintilla(Sci::SCI_SETMARGINMASKN, kMargin, mask);
    e->SendScintilla(Sci::SCI_SETMARGINWIDTHN, kMargin, anyBookmark(e) ? 16 : 0);
}
} // namespace

namespace EditorSearch {

qsizetype caretPos(const TMyMwCustomEdit *e) {
    return send(e, Sci::SCI_GETCURRENTPOS);
}

Scope scopeOf(const TMyMwCustomEdit *e, bool selectionOnly) {
    if (selectionOnly && e->selAvail())
        return {send(e, Sci::SCI_GETSELECTIONSTART), send(e, Sci::SCI_GETSELECTIONEND)};
    return {0, e->utf8Length()};
}

TextMatch find(const TMyMwCustomEdit *e, const TextSearch &search, qsizetype from, bool backwards,
               const Scope &scope) {
    const char *data = e->utf8Data();
    const qsizetype len = e->utf8Length();
    from = std::clamp(from, scope.from, scope.to);
    return backwards ? search.findBackward(data, len, from, scope.from)
                     : search.findForward(data, len, from, scope.to);
}

void selectMatch(TMyMwCustomEdit *e, const TextMatch &m, bool backwards) {
    // Unfold and scroll so the whole match shows, then select it.
    const long line =
        e->SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(m.start));
    e->SendScintilla(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<unsigned long>(line));
    if (backwards)
        e->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(m.end),
                         static_cast<long>(m.start));
    else
        e->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(m.start),
                         static_cast<long>(m.end));
    e->SendScintilla(Sci::SCI_SCROLLRANGE, static_cast<unsigned long>(m.start),
                     static_cast<long>(m.end));
}

QString matchedText(const TMyMwCustomEdit *e, const TextMatch &m) {
    return QString::fromUtf8(e->utf8Data() + m.start, m.length());
}

qsizetype replaceMatch(TMyMwCustomEdit *e, const TextMatch &m, const QString &text) {
    const QByteArray bytes = e->toDocumentBreaks(text).toUtf8();
    e->SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(m.start),
                     static_cast<long>(m.end));
    e->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()),
                     bytes.constData());
    return bytes.size();
}

int replaceAll(TMyMwCustomEdit *e, const TextSearch &search, qsizetype from, qsizetype *to,
               const QString &replacement) {
    const QList<Replacement> list =
        search.replacements(e->utf8Data(), e->utf8Length(), from, *to, replacement, e->eolString());
    if (list.isEmpty()) return 0;
    // Small changes from the last back: no copy of the whole text, and the positions found
    // stay right; the whole is one undo step.
    qsizetype delta = 0;
    e->SendScintilla(Sci::SCI_BEGINUNDOACTION);
    for (qsizetype i = list.size() - 1; i >= 0; --i) {
        const Replacement &r = list[i];
        e->SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(r.start),
                         static_cast<long>(r.end));
        e->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(r.text.size()),
                         r.text.constData());
        delta += r.text.size() - (r.end - r.start);
    }
    e->SendScintilla(Sci::SCI_ENDUNDOACTION);
    const Replacement &last = list.last();
    const qsizetype lastDelta = last.text.size() - (last.end - last.start);
    e->SendScintilla(Sci::SCI_GOTOPOS,
                     static_cast<unsigned long>(last.start + delta - lastDelta + last.text.size()));
    *to += delta;
    return int(list.size());
}

QString wordAtCaret(const TMyMwCustomEdit *e) {
    const long pos = send(e, Sci::SCI_GETCURRENTPOS);
    const long a = send(e, Sci::SCI_WORDSTARTPOSITION, pos, 1);
    const long b = send(e, Sci::SCI_WORDENDPOSITION, pos, 1);
    if (b <= a) return {};
    return QString::fromUtf8(e->utf8Data() + a, b - a);
}

} // namespace EditorSearch

namespace Bookmarks {

int line(const TMyMwCustomEdit *e, int n) {
    const long l = send(e, Sci::SCI_MARKERNEXT, 0, 1L << (kFirstMarker + n));
    return l < 0 ? 0 : int(l) + 1;
}

int column(const TMyMwCustomEdit *e, int n) {
    const BookmarkColumns *c = columnsOf(e, false);
    return c ? c->columns[n] : 1;
}

void toggle(TMyMwCustomEdit *e, int n) {
    if (n < 0 || n > 9) return;
    const TextPos caret = e->caretXY();
    const int marker = kFirstMarker + n;
    const bool here = line(e, n) == caret.line;
    e->SendScintilla(Sci::SCI_MARKERDELETEALL, marker);
    if (!here) {
        e->SendScintilla(Sci::SCI_MARKERADD, caret.line - 1, marker);
        columnsOf(e, true)->columns[n] = caret.col;
    }
    showMargin(e);
}

bool go(TMyMwCustomEdit *e, int n) {
    if (n < 0 || n > 9) return false;
    const int l = line(e, n);
    if (l == 0) return false;
    e->setCaretXY({column(e, n), l});
    e->ensureCaretVisible();
    return true;
}

void clearAll(TMyMwCustomEdit *e) {
    for (int n = 0; n < 10; ++n)
        e->SendScintilla(Sci::SCI_MARKERDELETEALL, kFirstMarker + n);
    showMargin(e);
}

} // namespace Bookmarks
