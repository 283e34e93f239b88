#pragma once

#include "app/ui/app_context.h"

#include <QWidget>

class QAction;
class QListWidget;
class QTextBrowser;
class QToolButton;
class QsciScintilla;
class Highlighter;

// The floating tag reference: the list of elements, the selected one's
// description and example, and commands that insert its tags or its example
// into the active document or copy the example.
class TTagRefBoite : public QWidget {
    Q_OBJECT
public:
    TTagRefBoite(AppContext &ctx, const Highlighter *html, QWidget *parent);

    // Shows entry i (keys and example in the current tag case).
    void selectEntry(int index);
    int currentEntry() const;
    // Rebuilds the list (the tag case may have changed); the selection stays.
    void refresh();

    void insertTag();
    void insertExample();
    void copyExample();

signals:
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    void showCurrent();

    AppContext &m_ctx;
    QListWidget *m_list;
    QTextBrowser *m_description;
    QsciScintilla *m_example;
    QToolButton *m_copy;
    bool m_shownOnce = false;
};
