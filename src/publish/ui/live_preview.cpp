#include "publish/ui/live_preview.h"

#include "app/document_texts.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "editor/highlighter.h"
#include "editor/ui/highlight_lexer.h"
#include "publish/preview_markup.h"
#include "publish/publish_texts.h"
#include "publish/ui/preview_commands.h"
#include "publish/ui/preview_panel.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("Browser");
const QString kLiveKey = QStringLiteral("ApercuDirect");
const QString kFollowKey = QStringLiteral("SuivreCurseur");

const Highlighter *highlighterOf(const TMyMwCustomEdit *e) {
    const auto *lexer = qobject_cast<const HighlightLexer *>(e->lexer());
    return lexer ? lexer->highlighter() : nullptr;
}

// A page of markup (HTML, or the HTML of a PHP or ASP page): the copy may carry
// line attributes and relinked files. Other documents are shown as they are.
bool isMarkup(const TMyMwCustomEdit *e) {
    const Highlighter *h = highlighterOf(e);
    return h && (h->isMultiLanguage() || h->language() == Language::Html);
}

// What a page links to and the preview can stand in for: style sheets and scripts.
bool isLinkable(const TMyMwCustomEdit *e) {
    const Highlighter *h = highlighterOf(e);
    return h && (h->language() == Language::Css || h->language() == Language::JavaScript);
}

QString cleanPath(const QString &path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Finds the element whose start tag is the last one at or before the line and that
// the page draws, and scrolls it into view unless part of it is already seen.
QString caretScript(int line) {
    return QStringLiteral(
               "(function(line){"
               "var all=document.querySelectorAll('[%1]'),best=null,at=-1;"
               "for(var i=0;i<all.length;i++){"
               "var l=+all[i].getAttribute('%1');"
               "if(l<=line&&l>=at&&all[i].getClientRects().length){best=all[i];at=l;}}"
               "if(!best)return;"
               "var r=best.getBoundingClientRect(),h=window.innerHeight;"
               "if(r.bottom<0||r.top>h)best.scrollIntoView({block:r.height<h?'center':'start'});"
               "})(%2);")
        .arg(QLatin1String(kPreviewLineAttribute))
        .arg(line);
}
} // namespace

LivePreview::LivePreview(AppContext &ctx, PreviewCommands &commands)
    : QObject(&commands), m_ctx(ctx), m_commands(commands) {
    ActionRegistry &r = *ctx.actions;
    const QString nav = QStringLiteral("Navigateur");
    m_live = r.add(QStringLiteral("NavDirect"), QStringLiteral("Aperçu en &direct"), {}, nav);
    m_live->setCheckable(true);
    m_live->setToolTip(QStringLiteral("Actualiser l'aperçu pendant la frappe"));
    m_live->setStatusTip(m_live->toolTip());
    // toggled, not triggered: a screen reader's "Toggle" must switch it too.
    connect(m_live, &QAction::toggled, this, &LivePreview::setLive);
    m_follow =
        r.add(QStringLiteral("NavSuivreCurseur"), QStringLiteral("Suivre le curseur"), {}, nav);
    m_follow->setCheckable(true);
    m_follow->setToolTip(QStringLiteral("L'aperçu montre l'élément où se trouve le curseur"));
    m_follow->setStatusTip(m_follow->toolTip());
    connect(m_follow, &QAction::toggled, this, &LivePreview::setFollowingCaret);

    m_typing.setSingleShot(true);
    m_typing.setInterval(kTypingPauseMs);
    connect(&m_typing, &QTimer::timeout, this, [this] { refresh(m_page, false); });
    // A held arrow key moves the caret many times a second: the page follows its pauses.
    m_caret.setSingleShot(true);
    m_caret.setInterval(60);
    connect(&m_caret, &QTimer::timeout, this, &LivePreview::scrollToCaret);
    m_pool.setMaxThreadCount(1);

    connect(ctx.events, &AppEvents::settingsLoaded, this, &LivePreview::readSettings);
    connect(ctx.events, &AppEvents::editorCreated, this, &LivePreview::track);
    connect(ctx.events, &AppEvents::activeEditorChanged, this, &LivePreview::activeChanged);
    connect(ctx.events, &AppEvents::documentClosing, this, [this](TMyMwCustomEdit *e) {
        // Its copy goes: the page must name the file itself again.
        if (live() && linked(e)) m_typing.start();
    });
}

LivePreview::~LivePreview() {
    m_pool.waitForDone();
}

bool LivePreview::live() const {
    return m_live->isChecked();
}

bool LivePreview::followingCaret() const {
    return m_follow->isChecked();
}

bool LivePreview::panelFollows() const {
    return m_commands.panelShown() && m_commands.engine();
}

void LivePreview::readSettings() {
    const SettingsStore &s = *m_ctx.store;
    const QSignalBlocker a(m_live), b(m_follow);
    m_live->setChecked(s.readBool(kSection, kLiveKey, false));
    m_follow->setChecked(s.readBool(kSection, kFollowKey, false));
}

void LivePreview::setLive(bool on) {
    m_ctx.store->writeBool(kSection, kLiveKey, on);
    if (!on) {
        m_typing.stop();
        setNotice({});
        return;
    }
    if (!m_commands.panelShown()) {
        // The panel, as it appears, follows the active document.
        m_commands.ShowPreviewPanel(true);
        return;
    }
    activeChanged(m_ctx.docs->ActiveEditor());
}

void LivePreview::setFollowingCaret(bool on) {
    m_ctx.store->writeBool(kSection, kFollowKey, on);
    // The copy shown needs its line attributes.
    if (on && panelFollows() && m_page) refresh(m_page, !live());
}

void LivePreview::track(TMyMwCustomEdit *e) {
    // The editor asks only for the notices sent before a change: enough to restart
    // the timer, the text is read when it runs out.
    connect(e, &QsciScintillaBase::SCN_MODIFIED, this, [this, e](int, int type) {
        if (type &
            (QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE))
            textChanged(e);
    });
    connect(e, &QsciScintilla::cursorPositionChanged, this, [this, e] {
        if (e == m_page && followingCaret() && panelFollows()) m_caret.start();
    });
}

bool LivePreview::linked(const TMyMwCustomEdit *e) const {
    return e && !e->fileName.isEmpty() && m_linkedFiles.contains(cleanPath(e->fileName));
}

void LivePreview::textChanged(TMyMwCustomEdit *e) {
    // Each key only restarts the timer: the work waits for the pause.
    if (live() && panelFollows() && (e == m_page || linked(e))) m_typing.start();
}

void LivePreview::activeChanged(TMyMwCustomEdit *e) {
    if (!e || !live() || !panelFollows()) return;
    // A style sheet or script of the page being edited: the page stays in view.
    if (e != m_page && linked(e)) return;
    m_page = e;
    m_typing.stop();
    refresh(e, false);
}

void LivePreview::panelAppeared() {
    if (live()) activeChanged(m_ctx.docs->ActiveEditor());
}

PanelCopyJob LivePreview::makeJob(TMyMwCustomEdit *page) const {
    PanelCopyJob job;
    job.page = {page->utf8Copy(), page->encoding, page->lineBreak,
                m_commands.PreviewCopyPath(page)};
    job.pagePath = page->fileName;
    job.markup = isMarkup(page);
    job.lineAttributes = followingCaret();
    if (!job.markup || page->fileName.isEmpty()) return job;
    for (int i = 0; i < m_ctx.docs->EditorCount(); ++i) {
        TMyMwCustomEdit *e = m_ctx.docs->EditorAt(i);
        if (e && e != page && e->isModified() && !e->fileName.isEmpty() && isLinkable(e))
            job.unsaved.insert(cleanPath(e->fileName), {e->utf8Copy(), e->encoding, e->lineBreak,
                                                        m_commands.PreviewCopyPath(e)});
    }
    return job;
}

void LivePreview::refresh(TMyMwCustomEdit *page, bool byHand) {
    if (!page || m_ctx.docs->indexOf(page) < 0) return;
    m_page = page;
    if (page->utf8Length() > kLargePage) {
        setNotice(PublishTexts::livePreviewPaused());
        if (!byHand) return;
    } else {
        setNotice({});
    }
    PanelCopyJob job = makeJob(page);
    if (byHand) {
        // The command's copy is written before it returns; what was under way or
        // waiting is older and dropped.
        m_waiting.reset();
        m_pool.waitForDone();
        m_writing = false;
        ++m_generation;
        const QString copy = job.page.path;
        written(m_generation, copy, writePanelCopy(job), true);
        return;
    }
    if (m_writing) {
        // Only the newest text is written next: a refresh replaces the one waiting.
        m_waiting = std::move(job);
        return;
    }
    startWriting(std::move(job));
}

void LivePreview::startWriting(PanelCopyJob job) {
    m_writing = true;
    const int generation = ++m_generation;
    m_pool.start([this, job = std::move(job), generation]() {
        const PanelCopyResult result = writePanelCopy(job);
        QMetaObject::invokeMethod(
            this,
            [this, generation, copy = job.page.path, result] {
                written(generation, copy, result, false);
            },
            Qt::QueuedConnection);
    });
}

void LivePreview::written(int generation, const QString &copy, const PanelCopyResult &result,
                          bool byHand) {
    if (generation != m_generation) return; // a write by hand came after it
    m_writing = false;
    if (m_waiting) {
        PanelCopyJob next = std::move(*m_waiting);
        m_waiting.reset();
        startWriting(std::move(next));
        return;
    }
    if (!result.failedPath.isEmpty()) {
        const QString message = DocTexts::cannotCreate(result.failedPath);
        if (byHand)
            ui().message(MsgType::Error, MsgButtons::Ok, message);
        else
            setNotice(message);
        return;
    }
    m_linkedFiles = result.linkedFiles;
    show(copy);
}

void LivePreview::show(const QString &copy) {
    PreviewEngine *engine = m_commands.engine();
    if (!engine) return;
    const QUrl url = QUrl::fromLocalFile(copy);
    // While a load of ours is still going, the page has not been put back yet.
    if (!m_loading) m_scroll = engine->location() == url ? engine->scrollPosition() : QPoint();
    m_loading = true;
    m_commands.navigateKeepingScroll(url, m_scroll);
}

void LivePreview::loadFinished(bool ok) {
    // A load replaced by a newer one ends without success: the scroll is still owed.
    if (!ok) return;
    m_loading = false;
    if (followingCaret() && m_page && m_page == m_ctx.docs->ActiveEditor()) scrollToCaret();
}

void LivePreview::scrollToCaret() {
    PreviewEngine *engine = m_commands.engine();
    if (!engine || !m_page || !panelFollows()) return;
    engine->runScript(caretScript(m_page->caretXY().line));
}

void LivePreview::setNotice(const QString &text) {
    if (TPreviewPanel *p = m_commands.existingPanel()) p->setNotice(text);
}
