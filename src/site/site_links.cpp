#include "site/site_links.h"

#include "app/document_types.h"
#include "assist/page_checker.h"
#include "editor/multi_highlighter.h"
#include "platform/text_file.h"
#include "site/file_search.h"
#include "site/site_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QUrl>

#include <algorithm>
#include <optional>
#include <thread>

namespace SiteLinks {

namespace {

struct Targets {
    QSet<QString> names;
    bool any = false; // unreadable as a page, or names written by code: not checked
};

// The page highlighter a file's extension calls for: PHP and ASP pages have code
// blocks of their own; everything else is read as an HTML page.
const MultiHighlighter *pageFor(const DocumentTypes &types, const QString &file) {
    int entry = HighlighterForExtension(types, QFileInfo(file).suffix());
    if (entry != DocumentTypes::SynMultiSynPHP && entry != DocumentTypes::SynMultiSynASP)
        entry = DocumentTypes::SynMultiSynHTML;
    return static_cast<const MultiHighlighter *>(types.highlighter(entry));
}

bool readPage(const DocumentTypes &types, const QString &path, PageCheck::PageLinks *out) {
    LoadedText text;
    if (readTextFile(path, &text) != ReadStatus::Ok) return false;
    *out = PageCheck::LinksAndTargets(std::move(text.utf8), pageFor(types, path));
    return true;
}

Targets targetsOf(PageCheck::PageLinks &&page) {
    Targets t;
    t.names = std::move(page.targets);
    t.any = page.dynamicTargets;
    return t;
}

} // namespace

Result check(const QString &folder, const DocumentTypes &types, const std::atomic<bool> *cancel,
             const std::function<void(int, int)> &progress) {
    Result r;
    FileSearchOptions list;
    list.folder = folder;
    list.masks = SiteFolder::documentPatterns(types).join(QLatin1Char(';'));
    list.excluded = SiteFolder::defaultExcludedFolders();
    const QStringList files = FileSearch::listFiles(list, cancel);
    if (cancel && cancel->load()) {
        r.stopped = true;
        return r;
    }
    const SiteFolder::NamePatterns pages(SiteFolder::documentPatterns(types));

    // The links of every page are kept until all pages are read: a link may lead to a
    // page read later, whose names are then already known.
    struct Page {
        QString path;
        std::vector<PageCheck::Link> links;
    };
    // Pages are read on every core; the calling thread, one of them, tells the progress.
    std::vector<std::optional<PageCheck::PageLinks>> readPages(size_t(files.size()));
    QStringList paths;
    paths.reserve(files.size());
    for (const QString &f : files)
        paths << QFileInfo(f).absoluteFilePath();
    const std::atomic<bool> never{false};
    std::atomic<int> done{0};
    const std::thread::id caller = std::this_thread::get_id();
    FileSearch::runParallel(int(files.size()), cancel ? *cancel : never, [&](int i) {
        PageCheck::PageLinks page;
        if (readPage(types, paths[i], &page)) readPages[size_t(i)] = std::move(page);
        const int n = ++done;
        if (progress && std::this_thread::get_id() == caller) progress(n, int(files.size()));
    });
    if (cancel && cancel->load()) {
        r.stopped = true;
        return r;
    }
    if (progress) progress(int(files.size()), int(files.size()));

    std::vector<Page> read;
    read.reserve(size_t(files.size()));
    QHash<QString, Targets> targets;
    for (size_t i = 0; i < readPages.size(); ++i) {
        if (readPages[i]) {
            read.push_back({paths[qsizetype(i)], std::move(readPages[i]->links)});
            targets.insert(paths[qsizetype(i)], targetsOf(std::move(*readPages[i])));
            ++r.pages;
        } else {
            targets[paths[qsizetype(i)]].any = true;
        }
    }

    QHash<QString, bool> exists;
    for (const Page &p : read) {
        if (cancel && cancel->load()) {
            r.stopped = true;
            return r;
        }
        // A <base href> sends relative links elsewhere.
        if (std::any_of(p.links.begin(), p.links.end(), [](const PageCheck::Link &l) {
                return l.element == "base" && l.attribute == "href";
            }))
            continue;
        const QDir dir = QFileInfo(p.path).dir();
        for (const PageCheck::Link &l : p.links) {
            QString file;
            if (l.dynamic || (l.attribute != "href" && l.attribute != "src") ||
                !PageCheck::IsRelativeFileUrl(l.url, &file))
                continue;
            const QString target = QDir::cleanPath(dir.absoluteFilePath(file));
            auto found = exists.constFind(target);
            if (found == exists.constEnd())
                found = exists.insert(target, QFileInfo::exists(target));
            BrokenLink b{p.path, l.line, l.column, l.length, l.url, {}};
            if (!*found) {
                b.message = QStringLiteral("Fichier introuvable : %1").arg(file);
                r.broken.append(b);
                continue;
            }
            const qsizetype hash = l.url.indexOf(QLatin1Char('#'));
            if (hash < 0 || hash + 1 == l.url.size() ||
                !pages.matches(QFileInfo(target).fileName()))
                continue;
            auto t = targets.constFind(target);
            if (t == targets.constEnd()) {
                // A page outside the site's listing (a folder left out): read once.
                PageCheck::PageLinks page;
                Targets other;
                if (readPage(types, target, &page))
                    other = targetsOf(std::move(page));
                else
                    other.any = true;
                t = targets.insert(target, std::move(other));
            }
            if (t->any) continue;
            const QString name = l.url.mid(hash + 1);
            const QString decoded = QUrl::fromPercentEncoding(name.toUtf8());
            if (t->names.contains(name) || t->names.contains(decoded) ||
                decoded.compare(QLatin1String("top"), Qt::CaseInsensitive) == 0)
                continue;
            b.message = QStringLiteral("Lien « %1 » : la page %2 n'a aucun élément avec cet "
                                       "identifiant ou ce nom")
                            .arg(l.url, QDir(folder).relativeFilePath(target));
            r.broken.append(b);
        }
    }
    return r;
}

QString compilerLine(const BrokenLink &b, const QString &shownPath) {
    return QStringLiteral("%1:%2:%3: %4").arg(shownPath).arg(b.line).arg(b.column).arg(b.message);
}

} // namespace SiteLinks
