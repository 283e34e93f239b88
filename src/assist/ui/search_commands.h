#pragma once

#include "app/ui/app_context.h"
#include "assist/text_search.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class TConfirmReplaceDialog;
struct SearchFlags;

// Search, replace, go to line and the bookmarks: the Edit menu's search commands and
// the search state of the run (texts, histories, flags).
class SearchCommands : public QObject {
    Q_OBJECT
public:
    explicit SearchCommands(AppContext &ctx);

    void ShowSearchReplaceDialog(bool replace);
    // One search or replacement step over the active document, or over the tabs in turn;
    // true when a match was met.
    bool DoSearchReplace(bool replace, bool backwards, bool across);
    void EditSearchNext();
    void EditSearchPrev();
    void EditAllerA();

    // The search state of the run.
    QString searchText;
    QStringList searchHistory;
    QString replaceText;
    QStringList replaceHistory;
    bool allDocuments = false;
    bool fromCaret = false;
    bool replaceAllFlag = false;
    bool nothingFound = true;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Step { NotFound, Found, Cancelled };
    Step searchIn(TMyMwCustomEdit *e, bool backwards, bool wholeScope);
    Step replaceIn(TMyMwCustomEdit *e, bool backwards, bool wholeScope);
    bool prepare(const SearchFlags &flags);
    int askReplace(TMyMwCustomEdit *e, const TextMatch &m);
    void collapseSelection(TMyMwCustomEdit *e, bool toStart);

    AppContext &m_ctx;
    TextSearch m_search;
    QPointer<TConfirmReplaceDialog> m_confirm;
    bool m_cancelled = false;
};
