#pragma once

#include <QMainWindow>
#include <QTextBrowser>

class QHelpEngine;
class QLineEdit;
class QListWidget;
class QTabWidget;

// Shows the pages of the help book, reading them from the compiled book.
class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    THelpBrowser(QHelpEngine *engine, QWidget *parent);
    QVariant loadResource(int type, const QUrl &name) override;

private:
    QHelpEngine *m_engine;
};

// The help window: the contents tree and a full-text search beside the page, with
// back and forward. A topic the book does not hold is reported in the page itself.
class THelpWindow : public QMainWindow {
    Q_OBJECT
    Q_PROPERTY(QString currentTopic READ currentTopic)
    Q_PROPERTY(QString cacheFolder READ cacheFolder CONSTANT)
public:
    // `bookPath` is the compiled book; its engine keeps its collection and search
    // index in a private folder of the user's.
    THelpWindow(const QString &bookPath, QWidget *parent = nullptr);

    // False when the book cannot be read: the window must not be shown.
    bool isReady() const { return m_ready; }
    Q_INVOKABLE void showTopic(const QString &topic);
    // The topic on display, such as "Ressources/liste.htm".
    QString currentTopic() const;

    // Runs a full-text search; results appear in the search page.
    void search(const QString &words);

    QHelpEngine *engine() const { return m_engine; }
    THelpBrowser *browser() const { return m_browser; }
    QListWidget *searchResults() const { return m_results; }

    // Where the engine keeps its files for a book (a per-user private folder).
    static QString cacheFolderFor(const QString &bookPath);
    QString cacheFolder() const { return m_cacheFolder; }

private:
    bool openBook(const QString &bookPath);
    void onSourceChanged(const QUrl &url);
    void onAnchorClicked(const QUrl &url);
    void showSearchResults();
    void addNote(const QString &text);

    QHelpEngine *m_engine = nullptr;
    THelpBrowser *m_browser = nullptr;
    QTabWidget *m_side = nullptr;
    QLineEdit *m_searchBox = nullptr;
    QListWidget *m_results = nullptr;
    QString m_cacheFolder;
    bool m_ready = false;
    bool m_indexing = false;
};
