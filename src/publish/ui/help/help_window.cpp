#include "publish/ui/help/help_window.h"

#include "publish/help_book.h"
#include "publish/ui/help_window_loader.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kOwnerFolder = kOwnerOnly | QFile::ExeOwner;

bool makePrivateFolder(const QString &path) {
    if (!QDir().mkpath(path)) return false;
    return QFile::setPermissions(path, kOwnerFolder);
}

// The engine's database and index are created with the default mask; keep them ours.
void restrictFiles(const QString &folder) {
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile::setPermissions(path, it.fileInfo().isDir() ? kOwnerFolder : kOwnerOnly);
    }
}

QString bookStamp(const QFileInfo &book) {
    return QString::number(book.size()) + QLatin1Char('/') +
           QString::number(book.lastModified().toMSecsSinceEpoch());
}
} // namespace

// ---- the page view ----

THelpBrowser::THelpBrowser(QHelpEngine *engine, QWidget *parent)
    : QTextBrowser(parent), m_engine(engine) {
    setObjectName(QStringLiteral("HelpBrowser"));
    // Links are followed by the window: inside the book here, outside by the desktop.
    setOpenLinks(false);
}

QVariant THelpBrowser::loadResource(int type, const QUrl &name) {
    // Names relative to the page on display are inside the book too.
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != QLatin1String("qthelp")) return QTextBrowser::loadResource(type, name);
    QUrl file = url;
    file.setFragment(QString());
    const QByteArray data = m_engine->fileData(file);
    if (type == QTextDocument::HtmlResource) {
        if (data.isEmpty()) return HelpBook::missingPageHtml(HelpBook::topicOf(file));
        return QString::fromUtf8(data);
    }
    if (type == QTextDocument::StyleSheetResource) return QString::fromUtf8(data);
    return data;
}

// ---- the window ----

QString THelpWindow::cacheFolderFor(const QString &bookPath) {
    const QByteArray key = QCryptographicHash::hash(QFileInfo(bookPath).absoluteFilePath().toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/aide/") + QString::fromLatin1(key);
}

THelpWindow::THelpWindow(const QString &bookPath, QWidget *parent)
    : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Aide de Balizor"));
    resize(1000, 680);

    // The engine first: it owns the contents widget, so it must go before the widgets.
    const QString folder = cacheFolderFor(bookPath);
    m_cacheFolder = folder;
    m_ready = makePrivateFolder(QFileInfo(folder).path()) && makePrivateFolder(folder);
    m_engine = new QHelpEngine(folder + QStringLiteral("/balizor.qhc"), this);
    m_engine->setReadOnly(false);
    // The search engine is made before set-up so that it indexes what is new.
    QHelpSearchEngine *searchEngine = m_engine->searchEngine();
    connect(searchEngine, &QHelpSearchEngine::indexingStarted, this, [this] { m_indexing = true; });
    connect(searchEngine, &QHelpSearchEngine::indexingFinished, this, [this, folder] {
        m_indexing = false;
        restrictFiles(folder);
    });
    m_ready = m_ready && openBook(bookPath);
    restrictFiles(folder);

    m_browser = new THelpBrowser(m_engine, this);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &THelpWindow::onSourceChanged);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &THelpWindow::onAnchorClicked);

    QToolBar *bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("HelpToolbar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                   QStringLiteral("Précédent"), m_browser, &QTextBrowser::backward);
    back->setObjectName(QStringLiteral("HelpBack"));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction *forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                      QStringLiteral("Suivant"), m_browser, &QTextBrowser::forward);
    forward->setObjectName(QStringLiteral("HelpForward"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    QAction *home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                   QStringLiteral("Introduction"), this,
                                   [this] { showTopic(HelpBook::defaultTopic()); });
    home->setObjectName(QStringLiteral("HelpHome"));

    m_side = new QTabWidget(this);
    m_side->setObjectName(QStringLiteral("HelpSide"));
    QHelpContentWidget *contents = m_engine->contentWidget();
    contents->setObjectName(QStringLiteral("HelpContents"));
    contents->setHeaderHidden(true);
    m_side->addTab(contents, QStringLiteral("Sommaire"));
    connect(contents, &QHelpContentWidget::linkActivated, m_browser,
            [this](const QUrl &url) { m_browser->setSource(url); });
    // The contents are read in the background: open the tree and mark the page once they are.
    connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, this, [this, contents] {
        contents->expandAll();
        onSourceChanged(m_browser->source());
    });

    auto *searchPage = new QWidget(m_side);
    m_searchBox = new QLineEdit(searchPage);
    m_searchBox->setObjectName(QStringLiteral("HelpSearchBox"));
    m_searchBox->setPlaceholderText(QStringLiteral("Mots à chercher"));
    m_searchBox->setClearButtonEnabled(true);
    auto *go = new QPushButton(QStringLiteral("Rechercher"), searchPage);
    go->setObjectName(QStringLiteral("HelpSearchButton"));
    m_results = new QListWidget(searchPage);
    m_results->setObjectName(QStringLiteral("HelpSearchResults"));
    m_results->setWordWrap(true);
    auto *searchRow = new QHBoxLayout;
    searchRow->addWidget(m_searchBox, 1);
    searchRow->addWidget(go);
    auto *searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(4, 4, 4, 4);
    searchLayout->addWidget(new QLabel(QStringLiteral("Chercher dans toute l'aide :"), searchPage));
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(m_results, 1);
    m_side->addTab(searchPage, QStringLiteral("Recherche"));
    const auto run = [this] { search(m_searchBox->text()); };
    connect(m_searchBox, &QLineEdit::returnPressed, this, run);
    connect(go, &QPushButton::clicked, this, run);
    connect(m_engine->searchEngine(), &QHelpSearchEngine::searchingFinished, this,
            &THelpWindow::showSearchResults);
    const auto open = [this](QListWidgetItem *item) {
        const QUrl url = item->data(Qt::UserRole).toUrl();
        if (url.isValid()) m_browser->setSource(url);
    };
    connect(m_results, &QListWidget::itemActivated, this, open);
    connect(m_results, &QListWidget::itemClicked, this, open);

    auto *split = new QSplitter(this);
    split->addWidget(m_side);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({270, 730});
    setCentralWidget(split);
}

bool THelpWindow::openBook(const QString &bookPath) {
    const QFileInfo book(bookPath);
    if (!book.isFile() || !m_engine->setupData()) return false;
    const QString ns = HelpBook::namespaceName();
    const QString stamp = bookStamp(book);
    const bool current = m_engine->registeredDocumentations().contains(ns) &&
                         m_engine->documentationFileName(ns) == book.absoluteFilePath() &&
                         m_engine->customValue(QStringLiteral("bookStamp")).toString() == stamp;
    if (current) return true;
    // A new or rebuilt book: register it again and index it anew.
    if (m_engine->registeredDocumentations().contains(ns)) m_engine->unregisterDocumentation(ns);
    if (!m_engine->registerDocumentation(book.absoluteFilePath())) return false;
    m_engine->setCustomValue(QStringLiteral("bookStamp"), stamp);
    m_engine->searchEngine()->reindexDocumentation();
    return true;
}

void THelpWindow::showTopic(const QString &topic) {
    m_browser->setSource(HelpBook::topicUrl(topic.isEmpty() ? HelpBook::defaultTopic() : topic));
}

QString THelpWindow::currentTopic() const {
    return HelpBook::topicOf(m_browser->source());
}

void THelpWindow::onSourceChanged(const QUrl &url) {
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Aide de Balizor")
                                   : QStringLiteral("Aide de Balizor - ") + title);
    QUrl page = url;
    page.setFragment(QString());
    QHelpContentWidget *contents = m_engine->contentWidget();
    const QModelIndex index = contents->indexOf(page);
    if (index.isValid()) contents->setCurrentIndex(index);
}

void THelpWindow::onAnchorClicked(const QUrl &link) {
    const QUrl url = m_browser->source().resolved(link);
    if (url.scheme() == QLatin1String("qthelp"))
        m_browser->setSource(url);
    else
        QDesktopServices::openUrl(url); // a web page: the desktop's browser
}

void THelpWindow::search(const QString &words) {
    m_side->setCurrentIndex(1);
    m_searchBox->setText(words);
    m_results->clear();
    if (words.trimmed().isEmpty()) return;
    QHelpSearchEngine *s = m_engine->searchEngine();
    // Searching while the index is still being built finds nothing: wait for it.
    if (m_indexing) {
        addNote(QStringLiteral("Préparation de la recherche..."));
        connect(
            s, &QHelpSearchEngine::indexingFinished, this, [this, words] { search(words); },
            Qt::SingleShotConnection);
        return;
    }
    s->search(words);
}

void THelpWindow::addNote(const QString &text) {
    auto *item = new QListWidgetItem(text, m_results);
    item->setFlags(Qt::NoItemFlags);
}

void THelpWindow::showSearchResults() {
    m_results->clear();
    QHelpSearchEngine *s = m_engine->searchEngine();
    const int count = s->searchResultCount();
    if (count == 0) {
        addNote(QStringLiteral("Aucune page ne contient ces mots."));
        return;
    }
    for (const QHelpSearchResult &r : s->searchResults(0, count)) {
        auto *item = new QListWidgetItem(r.title().isEmpty() ? r.url().fileName() : r.title());
        item->setData(Qt::UserRole, r.url());
        item->setToolTip(r.snippet());
        m_results->addItem(item);
    }
}

extern "C" Q_DECL_EXPORT QMainWindow *balizorCreateHelpWindow(const QString &bookPath,
                                                              QWidget *parent) {
    auto *w = new THelpWindow(bookPath, parent);
    if (!w->isReady()) {
        delete w;
        return nullptr;
    }
    return w;
}
static_assert(std::is_same_v<decltype(&balizorCreateHelpWindow), CreateHelpWindowFn>);
