#include "assist/ui/search_commands.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/icons.h"
#include "app/ui/ui_services.h"
#include "assist/search_rules.h"
#include "assist/ui/editor_search.h"
#include "assist/ui/search_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>

namespace {
using Sci = QsciScintillaBase;

// A magnifying glass, with an arrow for the repeated searches.
void lens(QPainter &p) {
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QRectF(1.5, 1.5, 8.5, 8.5));
    p.setPen(QPen(QColor(110, 70, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
}

QIcon searchIcon(int arrow) // 0 none, -1 back, 1 forward
{
    return Icons::draw([arrow](QPainter &p) {
        if (arrow == 0) {
            lens(p);
            return;
        }
        p.scale(0.8, 0.8);
        lens(p);
        p.resetTransform();
        p.scale(p.device()->width() / 16.0, p.device()->height() / 16.0);
        QPolygonF tri;
        if (arrow > 0)
            tri << QPointF(9, 9) << QPointF(15.5, 12.5) << QPointF(9, 16);
        else
            tri << QPointF(15.5, 9) << QPointF(9, 12.5) << QPointF(15.5, 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 180));
        p.drawPolygon(tri);
    });
}

QIcon replaceIcon() {
    return Icons::draw([](QPainter &p) {
        p.setPen(QPen(QColor(40, 40, 40), 1));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(8);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 9, 8), Qt::AlignCenter, QStringLiteral("A"));
        p.setPen(QColor(30, 90, 180));
        p.drawText(QRectF(7, 8, 9, 8), Qt::AlignCenter, QStringLiteral("B"));
        p.setPen(QPen(QColor(200, 40, 40), 1.3));
        p.drawLine(QPointF(3, 10), QPointF(3, 13));
        p.drawLine(QPointF(3, 13), QPointF(6.5, 13));
    });
}

QIcon gotoIcon() {
    return Icons::draw([](QPainter &p) {
        Icons::page(p, 2.5, 0.5, 11, 15);
        p.setPen(QPen(QColor(150, 150, 150), 1));
        for (int y : {4, 6, 10, 12})
            p.drawLine(QPointF(5, y), QPointF(11, y));
        p.setPen(QPen(QColor(30, 90, 180), 1.6));
        p.drawLine(QPointF(0.5, 8), QPointF(12, 8));
    });
}
} // namespace

SearchCommands::SearchCommands(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    setObjectName(QStringLiteral("SearchCommands"));
    ActionRegistry &r = *ctx.actions;
    DocumentHost *docs = ctx.docs;
    const QString cat = QStringLiteral("Edit");

    QAction *find = r.add(QStringLiteral("EditFind"), QStringLiteral("&Rechercher..."),
                          QKeySequence(Qt::CTRL | Qt::Key_F), cat);
    find->setToolTip(QStringLiteral("Rechercher"));
    find->setIcon(searchIcon(0));
    connect(find, &QAction::triggered, this, [this] { ShowSearchReplaceDialog(false); });

    QAction *next = r.add(QStringLiteral("EditSearchNext"),
                          QStringLiteral("Rechercher le &suivant"), QKeySequence(Qt::Key_F3), cat);
    next->setIcon(searchIcon(1));
    connect(next, &QAction::triggered, this, &SearchCommands::EditSearchNext);
    QAction *prev =
        r.add(QStringLiteral("EditSearchPrev"), QStringLiteral("Rechercher le &précédent"),
              QKeySequence(Qt::SHIFT | Qt::Key_F3), cat);
    prev->setIcon(searchIcon(-1));
    connect(prev, &QAction::triggered, this, &SearchCommands::EditSearchPrev);
    r.addUpdate([this, next, prev] {
        next->setEnabled(!searchText.isEmpty());
        prev->setEnabled(!searchText.isEmpty());
    });

    QAction *replace = r.add(QStringLiteral("EditReplace"), QStringLiteral("Re&mplacer..."),
                             QKeySequence(Qt::CTRL | Qt::Key_H), cat);
    replace->setToolTip(QStringLiteral("Remplacer"));
    replace->setIcon(replaceIcon());
    connect(replace, &QAction::triggered, this, [this] { ShowSearchReplaceDialog(true); });
    r.addUpdate([replace, docs] {
        TMyMwCustomEdit *e = docs->ActiveEditor();
        replace->setEnabled(e && !e->isReadOnly());
    });

    QAction *line = r.add(QStringLiteral("EditAllerA"), QStringLiteral("A&ller à..."),
                          QKeySequence(Qt::CTRL | Qt::Key_G), cat);
    line->setToolTip(QStringLiteral("Aller à"));
    line->setIcon(gotoIcon());
    connect(line, &QAction::triggered, this, &SearchCommands::EditAllerA);

    for (int n = 0; n <= 9; ++n) {
        const Qt::Key digit = Qt::Key(Qt::Key_0 + n);
        QAction *t =
            r.add(QStringLiteral("BookmarkToggle%1").arg(n), QStringLiteral("Signet %1").arg(n),
                  QKeySequence(Qt::CTRL | Qt::SHIFT | digit), cat);
        t->setData(n);
        connect(t, &QAction::triggered, this, [docs, n] {
            if (TMyMwCustomEdit *e = docs->ActiveEditor()) Bookmarks::toggle(e, n);
        });
        QAction *g = r.add(QStringLiteral("BookmarkGoto%1").arg(n),
                           QStringLiteral("Signet %1").arg(n), QKeySequence(Qt::CTRL | digit), cat);
        g->setData(n);
        connect(g, &QAction::triggered, this, [docs, n] {
            if (TMyMwCustomEdit *e = docs->ActiveEditor()) Bookmarks::go(e, n);
        });
    }
    QAction *clear =
        r.add(QStringLiteral("BookmarkClear"), QStringLiteral("Effacer tous les signets"), {}, cat);
    connect(clear, &QAction::triggered, this, [docs] {
        if (TMyMwCustomEdit *e = docs->ActiveEditor()) Bookmarks::clearAll(e);
    });

    // Ctrl+digit on keyboards whose digits are shifted reaches no shortcut: read the key.
    qApp->installEventFilter(this);
}

bool SearchCommands::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto *w = static_cast<QWidget *>(watched);
    if (w->window() != m_ctx.window || QApplication::activeModalWidget()) return false;
    auto *ke = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                                          Qt::MetaModifier | Qt::ShiftModifier);
    if (!(mods & Qt::ControlModifier) || (mods & (Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const int digit =
        SearchRules::bookmarkDigit(QGuiApplication::platformName(), ke->nativeScanCode(),
                                   ke->nativeVirtualKey(), ke->key(), ke->text());
    if (digit < 0) return false;
    const QString name = (mods & Qt::ShiftModifier) ? QStringLiteral("BookmarkToggle%1")
                                                    : QStringLiteral("BookmarkGoto%1");
    if (QAction *a = m_ctx.actions->action(name.arg(digit))) {
        a->trigger();
        return true;
    }
    return false;
}

bool SearchCommands::prepare(const SearchFlags &flags) {
    MatchRules rules;
    rules.caseSensitive = flags.caseSensitive;
    rules.wholeWords = flags.wholeWords;
    rules.regularExpression = flags.regularExpression;
    QString error;
    if (m_search.prepare(searchText, rules, &error)) return true;
    ui().message(MsgType::Error, MsgButtons::Ok, error);
    return false;
}

void SearchCommands::ShowSearchReplaceDialog(bool replace) {
    DocumentHost *docs = m_ctx.docs;
    TMyMwCustomEdit *e = docs->ActiveEditor();
    SearchFlags &set = replace ? m_ctx.options->replace : m_ctx.options->search;
    const int count = docs->EditorCount();

    std::unique_ptr<TTextSearchDialog> dlg(replace ? new TTextReplaceDialog(m_ctx.window)
                                                   : new TTextSearchDialog(m_ctx.window));
    dlg->setDocumentCount(count);
    dlg->setAllDocuments(allDocuments && count > 1);
    dlg->setFlags(set);
    QString selection;
    QString word;
    if (e) {
        if (e->selAvail()) selection = e->selText();
        word = EditorSearch::wordAtCaret(e);
    }
    dlg->setSearchText(SearchRules::proposedText(selection, word, searchText), searchHistory);
    if (replace) dlg->setReplaceText(replaceText, replaceHistory);
    if (ui().execDialog(dlg.get()) != QDialog::Accepted) return;

    allDocuments = dlg->allDocuments();
    set = dlg->flags();
    if (allDocuments) {
        set.fromCaret = false;
        set.selectionOnly = false;
    }
    searchText = dlg->searchText();
    searchHistory = SearchRules::pushHistory(searchHistory, searchText);
    if (replace) {
        replaceText = dlg->replaceText();
        replaceHistory = SearchRules::pushHistory(replaceHistory, replaceText);
    }
    fromCaret = set.fromCaret;
    emit m_ctx.events->stateChanged();
    if (searchText.isEmpty()) return;

    replaceAllFlag = false;
    nothingFound = true;
    m_cancelled = false;
    if (!replace) {
        DoSearchReplace(false, set.backwards, allDocuments);
    } else if (!allDocuments || docs->EditorCount() <= 1) {
        DoSearchReplace(true, set.backwards, false);
    } else {
        const int tabs = docs->EditorCount();
        for (int i = 0; i < tabs && !m_cancelled; ++i) {
            DoSearchReplace(true, set.backwards, false);
            if (m_cancelled) break;
            docs->ActivateTab(SearchRules::nextTab(docs->activeIndex(), tabs, set.backwards));
        }
    }
    if (replace && nothingFound && !m_cancelled) {
        if (allDocuments && docs->EditorCount() > 1)
            docs->ActivateTab(
                SearchRules::nextTab(docs->activeIndex(), docs->EditorCount(), set.backwards));
        ui().message(MsgType::Plain, MsgButtons::Ok, SearchRules::notFoundMessage(searchText));
    }
    fromCaret = true;
    emit m_ctx.events->stateChanged();
}

bool SearchCommands::DoSearchReplace(bool replace, bool backwards, bool across) {
    DocumentHost *docs = m_ctx.docs;
    const SearchFlags &set = replace ? m_ctx.options->replace : m_ctx.options->search;
    if (!prepare(set)) {
        m_cancelled = true;
        return false;
    }
    if (!replace) m_ctx.window->setUpdatesEnabled(false);
    const int tabs = docs->EditorCount();
    bool wholeScope = !fromCaret;
    Step step = Step::NotFound;
    for (int i = 0; i < tabs; ++i) {
        TMyMwCustomEdit *e = docs->ActiveEditor();
        if (!e) break;
        step = replace ? replaceIn(e, backwards, wholeScope) : searchIn(e, backwards, wholeScope);
        if (step != Step::NotFound || !across) break;
        docs->ActivateTab(SearchRules::nextTab(docs->activeIndex(), tabs, backwards));
        wholeScope = true;
    }
    if (across && step == Step::NotFound && tabs > 1)
        docs->ActivateTab(SearchRules::nextTab(docs->activeIndex(), tabs, backwards));
    if (!replace) m_ctx.window->setUpdatesEnabled(true);
    if (!replace && step == Step::NotFound) {
        ui().message(MsgType::Plain, MsgButtons::Ok, SearchRules::notFoundMessage(searchText));
        if (TMyMwCustomEdit *e = docs->ActiveEditor()) collapseSelection(e, backwards);
    }
    delete m_confirm;
    if (TMyMwCustomEdit *e = docs->ActiveEditor()) docs->mwCustomEdit1StatusChange(e);
    return step == Step::Found;
}

void SearchCommands::collapseSelection(TMyMwCustomEdit *e, bool toStart) {
    const long pos =
        e->SendScintilla(toStart ? Sci::SCI_GETSELECTIONSTART : Sci::SCI_GETSELECTIONEND);
    e->SendScintilla(Sci::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(pos));
}

SearchCommands::Step SearchCommands::searchIn(TMyMwCustomEdit *e, bool backwards, bool wholeScope) {
    const EditorSearch::Scope scope = EditorSearch::scopeOf(e, m_ctx.options->search.selectionOnly);
    const qsizetype from =
        wholeScope ? (backwards ? scope.to : scope.from) : EditorSearch::caretPos(e);
    const TextMatch m = EditorSearch::find(e, m_search, from, backwards, scope);
    if (!m.found()) return Step::NotFound;
    EditorSearch::selectMatch(e, m, backwards);
    return Step::Found;
}

SearchCommands::Step SearchCommands::replaceIn(TMyMwCustomEdit *e, bool backwards,
                                               bool wholeScope) {
    if (e->isReadOnly()) return Step::NotFound;
    EditorSearch::Scope scope = EditorSearch::scopeOf(e, m_ctx.options->replace.selectionOnly);
    qsizetype pos = wholeScope ? (backwards ? scope.to : scope.from) : EditorSearch::caretPos(e);
    bool met = false;
    // The whole run, confirmed replacements and the rest after "Tout", is one undo step.
    e->SendScintilla(Sci::SCI_BEGINUNDOACTION);
    for (;;) {
        const TextMatch m = EditorSearch::find(e, m_search, pos, backwards, scope);
        if (!m.found()) break;
        met = true;
        nothingFound = false;
        const QString with = m_search.replacementFor(m, replaceText, e->eolString());
        // What is compared is the text found, so a case-only change is still made.
        if (EditorSearch::matchedText(e, m) == with) {
            pos = backwards ? m.start : m.end;
            continue;
        }
        int answer;
        if (allDocuments && replaceAllFlag) {
            answer = TConfirmReplaceDialog::ReplaceAll;
        } else {
            replaceAllFlag = false;
            answer = askReplace(e, m);
        }
        if (answer == TConfirmReplaceDialog::Cancel) {
            m_cancelled = true;
            break;
        }
        if (answer == TConfirmReplaceDialog::Skip) {
            pos = backwards ? m.start : m.end;
            continue;
        }
        if (answer == TConfirmReplaceDialog::ReplaceAll) {
            replaceAllFlag = true;
            if (backwards) {
                qsizetype to = m.end;
                EditorSearch::replaceAll(e, m_search, scope.from, &to, replaceText);
            } else {
                EditorSearch::replaceAll(e, m_search, m.start, &scope.to, replaceText);
            }
            break;
        }
        const qsizetype inserted = EditorSearch::replaceMatch(e, m, with);
        scope.to += inserted - m.length();
        pos = backwards ? m.start : m.start + inserted;
        e->SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(pos));
    }
    e->SendScintilla(Sci::SCI_ENDUNDOACTION);
    if (m_cancelled) return Step::Cancelled;
    return met ? Step::Found : Step::NotFound;
}

int SearchCommands::askReplace(TMyMwCustomEdit *e, const TextMatch &m) {
    EditorSearch::selectMatch(e, m, false);
    if (!m_confirm) m_confirm = new TConfirmReplaceDialog(m_ctx.window);
    m_confirm->setSearchText(searchText);
    m_confirm->resetAnswer();

    // Beside the match, above it when it lies in the lower third of the window.
    QWidget *window = m_ctx.window;
    const QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
    const TextPos at = e->xyFromPosition(int(m.start));
    const QPoint p = e->viewport()->mapToGlobal(e->clientPoint(at));
    const QRect line(p, QSize(1, e->lineHeight()));
    m_confirm->adjustSize();
    m_confirm->move(SearchRules::confirmPlacement(area, m_confirm->size(), line));

    if (ui().execDialog(m_confirm) != QDialog::Accepted) return TConfirmReplaceDialog::Cancel;
    return m_confirm->answer();
}

void SearchCommands::EditSearchNext() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e || searchText.isEmpty()) return;
    const long a = e->SendScintilla(Sci::SCI_GETSELECTIONSTART);
    const long b = e->SendScintilla(Sci::SCI_GETSELECTIONEND);
    if (a != b && EditorSearch::caretPos(e) == a)
        e->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(a), b);
    DoSearchReplace(false, false, allDocuments);
}

void SearchCommands::EditSearchPrev() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e || searchText.isEmpty()) return;
    const long a = e->SendScintilla(Sci::SCI_GETSELECTIONSTART);
    const long b = e->SendScintilla(Sci::SCI_GETSELECTIONEND);
    if (a != b && EditorSearch::caretPos(e) == b)
        e->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(b), a);
    DoSearchReplace(false, true, allDocuments);
}

void SearchCommands::EditAllerA() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    TBoiteLigne box(m_ctx.window);
    const int lines = e->lineCountAsList();
    box.setup(e->caretXY().line, lines);
    // A scripted answer may skip the box's own check: the box is shown again then.
    for (;;) {
        if (ui().execDialog(&box) != QDialog::Accepted) return;
        if (box.check()) break;
    }
    const int line = box.chosenLine();
    e->setCaretXY({1, line});
    // The line in the middle of the view.
    const int visible = int(e->SendScintilla(Sci::SCI_LINESONSCREEN));
    e->setTopLine(std::max(1, line - visible / 2));
    e->ensureCaretVisible();
    m_ctx.docs->mwCustomEdit1StatusChange(e);
}
