#include "assist/ui/page_check_module.h"

#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "app/ui/sliced_copy.h"
#include "assist/page_check_thread.h"
#include "assist/ui/page_check_panel.h"
#include "editor/multi_highlighter.h"

#include <QAction>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace {

const QString kSection = QStringLiteral("Options");
const QString kTyping = QStringLiteral("VerificationFrappe");

QString typingOff() {
    return QStringLiteral("La vérification pendant la frappe est désactivée : "
                          "Outils > Vérifier la page vérifie la page active.");
}

} // namespace

PageCheckModule::PageCheckModule(AppContext &ctx, DocumentTypeModule *types)
    : QObject(ctx.window), m_ctx(ctx), m_types(types), m_thread(new PageCheckThread(this)),
      m_pause(new QTimer(this)) {
    m_pause->setSingleShot(true);
    m_pause->setInterval(PauseMs);
    connect(m_pause, &QTimer::timeout, this, [this] {
        if (TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor()) start(e);
    });
    connect(m_thread, &PageCheckThread::checked, this, &PageCheckModule::received);

    m_panel = new PageCheckPanel(ctx.window);
    ctx.window->addDockWidget(Qt::BottomDockWidgetArea, m_panel);
    m_panel->hide();

    m_count = new QToolButton(ctx.window);
    m_count->setObjectName(QStringLiteral("CompteVerification"));
    m_count->setAutoRaise(true);
    m_count->setToolTip(QStringLiteral("Afficher le panneau Vérification"));
    m_count->hide();
    ctx.window->statusBar()->addPermanentWidget(m_count);
    connect(m_count, &QToolButton::clicked, this, &PageCheckModule::showPanel);

    const QString cat = QStringLiteral("Outils");
    m_now = ctx.actions->add(QStringLiteral("OutilsVerifierPage"),
                             QStringLiteral("&Vérifier la page"), {}, cat);
    connect(m_now, &QAction::triggered, this, &PageCheckModule::checkNow);
    m_typing = ctx.actions->add(QStringLiteral("OutilsVerifierFrappe"),
                                QStringLiteral("Vérifier pendant la &frappe"), {}, cat);
    m_typing->setCheckable(true);
    m_typing->setChecked(true);
    connect(m_typing, &QAction::toggled, this, &PageCheckModule::setTyping);
    ctx.actions->addUpdate([this] {
        TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
        m_now->setEnabled(e && pageOf(e));
    });

    connect(ctx.events, &AppEvents::settingsLoaded, this, [this] {
        const QSignalBlocker quiet(m_typing);
        m_typing->setChecked(m_ctx.store->readBool(kSection, kTyping, true));
    });
    connect(ctx.events, &AppEvents::editorCreated, this, &PageCheckModule::attach);
    connect(ctx.events, &AppEvents::editorClosing, this, [this](TMyMwCustomEdit *e) {
        m_states.remove(e);
        if (m_running == e) m_running = nullptr;
    });
    connect(ctx.events, &AppEvents::activeEditorChanged, this, [this] { showActive(); });
    // Another type, or another folder for the relative links.
    connect(types, &DocumentTypeModule::highlighterChanged, this,
            [this](TMyMwCustomEdit *e) { textChanged(e); });
    connect(ctx.events, &AppEvents::documentRenamed, this,
            [this](TMyMwCustomEdit *e) { textChanged(e); });
}

PageCheckModule::~PageCheckModule() {
    m_thread->stop();
}

const MultiHighlighter *PageCheckModule::pageOf(TMyMwCustomEdit *e) const {
    switch (m_types->highlighterOf(e)) {
    case DocumentTypes::SynHTMLSyn1:
    case DocumentTypes::SynMultiSynHTML:
        return static_cast<const MultiHighlighter *>(
            m_types->types().highlighter(DocumentTypes::SynMultiSynHTML));
    case DocumentTypes::SynMultiSynPHP:
    case DocumentTypes::SynMultiSynASP:
        return static_cast<const MultiHighlighter *>(
            m_types->types().highlighter(m_types->highlighterOf(e)));
    default:
        return nullptr;
    }
}

void PageCheckModule::attach(TMyMwCustomEdit *e) {
    State state;
    state.copy = new SlicedCopy(e, CopyStepBytes);
    m_states.insert(e, state);
    e->SendScintilla(QsciScintillaBase::SCI_INDICSETSTYLE, Indicator,
                     QsciScintillaBase::INDIC_SQUIGGLE);
    e->SendScintilla(QsciScintillaBase::SCI_INDICSETFORE, Indicator, QColor(0xE0, 0x30, 0x10));
    e->SendScintilla(QsciScintillaBase::SCI_INDICSETUNDER, Indicator, 1L);
    // The editor asks only for the notices sent before a change.
    connect(e, &QsciScintillaBase::SCN_MODIFIED, this,
            [this, e](int, int type, const char *, int length) {
                if (length > 0 && (type & (QsciScintillaBase::SC_MOD_BEFOREINSERT |
                                           QsciScintillaBase::SC_MOD_BEFOREDELETE)))
                    textChanged(e);
            });
}

void PageCheckModule::textChanged(TMyMwCustomEdit *e) {
    auto it = m_states.find(e);
    if (it == m_states.end()) return;
    ++it->revision;
    it->checked = false;
    if (m_typing->isChecked() && e == m_ctx.docs->ActiveEditor()) m_pause->start();
}

void PageCheckModule::start(TMyMwCustomEdit *e) {
    auto it = m_states.find(e);
    if (it == m_states.end()) return;
    const MultiHighlighter *page = pageOf(e);
    if (!page) {
        clear(e);
        showActive();
        return;
    }
    PageCheck::Options o;
    o.page = page;
    o.limit = Limit;
    if (!e->fileName.isEmpty() && e->documentKind == KindOrdinary)
        o.baseFolder = QFileInfo(e->fileName).absolutePath();
    // The worker gets its own copy: the document may change while it checks. A large
    // text is copied in steps, so that keys typed meanwhile are not kept waiting; one
    // copy at a time, for the page being checked.
    if (m_copying && m_copying != e) {
        const auto other = m_states.constFind(m_copying);
        if (other != m_states.constEnd()) other->copy->cancel();
    }
    m_copying = e;
    const quint64 revision = it->revision;
    it->copy->start([this, e, revision, o](QByteArray text) {
        m_copying = nullptr;
        const auto state = m_states.constFind(e);
        // Typed into, or closed: the next pause starts again.
        if (state == m_states.constEnd() || state->revision != revision) return;
        m_running = e;
        m_runningRevision = revision;
        m_thread->request(++m_nextId, std::move(text), o);
    });
}

bool PageCheckModule::copying() const {
    const auto state = m_copying ? m_states.constFind(m_copying) : m_states.constEnd();
    return state != m_states.constEnd() && state->copy->running();
}

void PageCheckModule::received(quint64 id, const PageCheck::Result &result, double workerMs,
                               double) {
    TMyMwCustomEdit *e = m_running;
    if (id != m_nextId || !e) return;
    m_running = nullptr;
    auto it = m_states.find(e);
    // Typed into since the copy: the next pause brings a fresh result.
    if (it == m_states.end() || it->revision != m_runningRevision) return;
    it->result = result;
    it->checked = true;
    it->hasResult = true;
    e->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, Indicator);
    const long length = e->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    e->SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0L, length);
    for (const PageCheck::Finding &f : result.findings)
        if (f.offset < length)
            e->SendScintilla(QsciScintillaBase::SCI_INDICATORFILLRANGE, long(f.offset),
                             std::min<long>(f.length, length - long(f.offset)));
    if (e == m_ctx.docs->ActiveEditor()) showActive();
    emit resultShown(e, workerMs);
}

void PageCheckModule::clear(TMyMwCustomEdit *e) {
    auto it = m_states.find(e);
    if (it != m_states.end()) {
        it->checked = false;
        it->hasResult = false;
        it->result = {};
    }
    e->SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, Indicator);
    e->SendScintilla(QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0L,
                     e->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
}

void PageCheckModule::showActive() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    auto it = e ? m_states.find(e) : m_states.end();
    if (it == m_states.end() || !pageOf(e)) {
        m_count->hide();
        m_panel->showNotChecked(
            QStringLiteral("Seules les pages HTML, PHP et ASP sont vérifiées."));
        return;
    }
    // A result that went stale stays (its underlines move with the text) until the
    // next check.
    if (!it->checked && m_typing->isChecked()) m_pause->start();
    if (!it->hasResult) {
        m_count->hide();
        m_panel->showNotChecked(m_typing->isChecked() ? QString() : typingOff());
        return;
    }
    m_count->setText(FindingCountText(it->result));
    m_count->show();
    m_panel->setResult(e, it->result);
}

void PageCheckModule::showPanel() {
    const bool first = !m_panelSized;
    m_panelSized = true;
    m_panel->show();
    m_panel->raise();
    // The page keeps most of the window.
    if (first)
        m_ctx.window->resizeDocks({m_panel}, {std::max(120, m_ctx.window->height() / 4)},
                                  Qt::Vertical);
}

void PageCheckModule::checkNow() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    m_pause->stop();
    showPanel();
    start(e);
}

void PageCheckModule::setTyping(bool on) {
    m_ctx.store->writeBool(kSection, kTyping, on);
    if (on) {
        showActive();
        return;
    }
    // Off: nothing stale stays underlined.
    m_pause->stop();
    m_copying = nullptr;
    m_running = nullptr;
    for (auto it = m_states.begin(); it != m_states.end(); ++it) {
        it->copy->cancel();
        clear(it.key());
    }
    m_count->hide();
    m_panel->showNotChecked(typingOff());
}
