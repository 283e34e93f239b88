#include "assist/ui/spelling_module.h"

#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "app/ui/sliced_copy.h"
#include "app/ui/ui_services.h"
#include "assist/ui/spell_worker.h"

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

const QString ActiveKey = QStringLiteral("Active");
const QString LanguageKey = QStringLiteral("Langue");

TMyMwCustomEdit *editorOf(QObject *o) {
    return qobject_cast<TMyMwCustomEdit *>(o);
}

long send(TMyMwCustomEdit *e, unsigned int message, unsigned long w = 0, long l = 0) {
    return e->SendScintilla(message, w, l);
}

} // namespace

// What the module keeps for one editor: the pause timer and the pass it waits for.
class SpellingModule::EditorState : public QObject {
public:
    explicit EditorState(TMyMwCustomEdit *editor)
        : QObject(editor), timer(this), copy(new SlicedCopy(editor)) {
        setObjectName(QStringLiteral("SpellingState"));
        timer.setSingleShot(true);
        timer.setInterval(PauseMs);
    }
    static EditorState *of(QObject *editor) {
        return editor ? editor->findChild<EditorState *>(QStringLiteral("SpellingState"),
                                                         Qt::FindDirectChildrenOnly)
                      : nullptr;
    }
    QTimer timer;
    SlicedCopy *copy; // the editor's
    quint64 pending = 0;
};

SpellingModule::SpellingModule(AppContext &ctx, DocumentTypeModule *types)
    : QObject(ctx.window), m_ctx(ctx), m_types(types),
      m_dictionaries(Spelling::InstalledDictionaries()),
      m_personalPath(Spelling::PersonalWordsPath()) {
    m_thread.setObjectName(QStringLiteral("Orthographe"));
    m_toggle = ctx.actions->add(QStringLiteral("OutilsOrthographe"), QStringLiteral("&Orthographe"),
                                {}, QStringLiteral("Outils"));
    m_toggle->setCheckable(true);
    m_toggle->setStatusTip(
        QStringLiteral("Souligne les mots mal orthographiés du texte de la page"));
    connect(m_toggle, &QAction::toggled, this, [this](bool on) {
        m_ctx.store->writeBool(settingsSection(), ActiveKey, on);
        setOn(on);
    });

    m_languageMenu = new QMenu(QStringLiteral("&Langue de l'orthographe"), ctx.window);
    m_languageMenu->setObjectName(QStringLiteral("MenuLangueOrthographe"));
    m_languageMenu->menuAction()->setObjectName(QStringLiteral("MenuLangueOrthographe"));
    fillLanguageMenu();
    ctx.actions->addMenu(QStringLiteral("MenuLangueOrthographe"), m_languageMenu);

    connect(ctx.events, &AppEvents::settingsLoaded, this, [this] {
        m_language = m_ctx.store->readString(settingsSection(), LanguageKey, QStringLiteral("fr"));
        fillLanguageMenu();
        // On by default for those who write French.
        const bool french = QLocale::system().language() == QLocale::French;
        const bool on = m_ctx.store->readBool(settingsSection(), ActiveKey, french);
        const QSignalBlocker block(m_toggle);
        m_toggle->setChecked(on);
        setOn(on);
    });
    connect(ctx.events, &AppEvents::editorCreated, this, [this](TMyMwCustomEdit *e) { track(e); });
    connect(ctx.events, &AppEvents::activeEditorChanged, this, [this](TMyMwCustomEdit *e) {
        if (EditorState *s = EditorState::of(e)) s->timer.start(0);
    });
    connect(types, &DocumentTypeModule::highlighterChanged, this, [this](TMyMwCustomEdit *e) {
        if (EditorState *s = EditorState::of(e)) s->timer.start(0);
    });
    connect(ctx.events, &AppEvents::closing, this, &SpellingModule::stopWorker);
    // The dictionary loads once the window has been drawn, never during start-up.
    connect(ctx.events, &AppEvents::firstIdle, this, [this] {
        m_ready = true;
        if (isOn()) checkNow();
    });
}

SpellingModule::~SpellingModule() {
    stopWorker();
}

void SpellingModule::setPersonalWordsPath(const QString &path) {
    stopWorker();
    m_personalPath = path;
    if (isOn()) startWorker();
}

bool SpellingModule::isOn() const {
    return m_toggle->isChecked();
}

void SpellingModule::startWorker() {
    if (m_worker) return;
    m_worker = new SpellWorker(this, &m_latest, m_dictionaries, m_personalPath);
    m_worker->moveToThread(&m_thread);
    m_thread.start();
#ifdef Q_OS_LINUX
    // Below the window's thread, so that a key typed as a pass starts comes first
    // (Qt's thread priorities do not reach the scheduler here; a thread's nice value does).
    QMetaObject::invokeMethod(
        m_worker, [] { setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 10); },
        Qt::QueuedConnection);
#endif
}

void SpellingModule::stopWorker() {
    if (!m_worker) return;
    m_latest.fetch_add(1);
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
    m_worker = nullptr;
}

void SpellingModule::track(QObject *editor) {
    TMyMwCustomEdit *e = editorOf(editor);
    if (!e) return;
    auto *state = new EditorState(e);
    connect(&state->timer, &QTimer::timeout, this, [this, e] { requestPass(e); });
    send(e, QsciScintilla::SCI_INDICSETSTYLE, Indicator, QsciScintilla::INDIC_SQUIGGLE);
    send(e, QsciScintilla::SCI_INDICSETFORE, Indicator, 0x2020e0); // red, as 0xBBGGRR
    send(e, QsciScintilla::SCI_INDICSETUNDER, Indicator, 1);
    // Per keystroke only this: a newer pass stops the running one, and the pause restarts.
    // (The editor asks only for the notices sent before a change.)
    connect(e, &QsciScintillaBase::SCN_MODIFIED, this,
            [this, e](int, int type, const char *, int, int, int, int, int, int, int) {
                if (type & (QsciScintillaBase::SC_MOD_BEFOREINSERT |
                            QsciScintillaBase::SC_MOD_BEFOREDELETE))
                    changed(e);
            });
    e->installEventFilter(this);
    e->viewport()->installEventFilter(this);
}

void SpellingModule::changed(QObject *editor) {
    if (!isOn()) return;
    EditorState *s = EditorState::of(editor);
    if (!s) return;
    if (s->pending) m_latest.fetch_add(1, std::memory_order_relaxed);
    s->pending = 0;
    s->timer.start();
}

void SpellingModule::checkNow() {
    if (TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor()) requestPass(e);
}

void SpellingModule::requestPass(QObject *editor) {
    TMyMwCustomEdit *e = editorOf(editor);
    EditorState *s = EditorState::of(e);
    if (!s || !isOn() || !m_ready || e != m_ctx.docs->ActiveEditor()) return;
    s->timer.stop();
    // A large text comes over a few turns of the event loop; a change meanwhile abandons
    // the copy, and the pause after it asks again.
    s->copy->start([this, e](QByteArray text) { sendPass(e, std::move(text)); });
}

void SpellingModule::sendPass(TMyMwCustomEdit *e, QByteArray text) {
    EditorState *s = EditorState::of(e);
    if (!s || !isOn() || e != m_ctx.docs->ActiveEditor()) return;
    startWorker();
    SpellWorker::Pass pass;
    pass.id = ++m_serial;
    s->pending = pass.id;
    m_latest.store(pass.id);
    pass.text = std::move(text);
    const int type = m_types->highlighterOf(e);
    pass.type = type >= 0 ? type : -1;
    const long first = send(e, QsciScintilla::SCI_DOCLINEFROMVISIBLE,
                            send(e, QsciScintilla::SCI_GETFIRSTVISIBLELINE));
    const long last = send(e, QsciScintilla::SCI_DOCLINEFROMVISIBLE,
                           send(e, QsciScintilla::SCI_GETFIRSTVISIBLELINE) +
                               send(e, QsciScintilla::SCI_LINESONSCREEN));
    pass.visibleFrom = send(e, QsciScintilla::SCI_POSITIONFROMLINE, first);
    pass.visibleTo = send(e, QsciScintilla::SCI_GETLINEENDPOSITION, last);
    const QString language = m_language;
    QPointer<QObject> target(e);
    auto done = [this, target](const SpellWorker::Result &r) {
        if (target)
            apply(target, r.id, r.from, r.to, r.found, r.languages, r.complete, r.microseconds);
    };
    SpellWorker *w = m_worker;
    QMetaObject::invokeMethod(
        w, [w, pass, language, done] { w->check(pass, language, done); }, Qt::QueuedConnection);
}

void SpellingModule::apply(QObject *editor, quint64 id, qsizetype from, qsizetype to,
                           const std::vector<Spelling::Misspelling> &found,
                           const QStringList &languages, bool complete, qint64 microseconds) {
    TMyMwCustomEdit *e = editorOf(editor);
    EditorState *s = EditorState::of(e);
    if (!s || s->pending != id || !isOn()) return;
    m_languages = languages;
    const qsizetype length = send(e, QsciScintilla::SCI_GETLENGTH);
    from = qBound<qsizetype>(0, from, length);
    to = qBound<qsizetype>(from, to, length);
    // Only the underlines that differ are redrawn: after a keystroke, one or none.
    struct Run {
        qsizetype start, end;
        long value;
        bool operator<(const Run &o) const { return start < o.start; }
        bool operator==(const Run &o) const = default;
    };
    std::vector<Run> now, wanted;
    for (qsizetype p = from; p < to;) {
        const qsizetype end = send(e, QsciScintilla::SCI_INDICATOREND, Indicator, p);
        if (const long v = send(e, QsciScintilla::SCI_INDICATORVALUEAT, Indicator, p))
            now.push_back({p, std::min(end, to), v});
        if (end <= p) break;
        p = end;
    }
    for (const Spelling::Misspelling &m : found)
        if (m.start >= from && m.start + m.length <= to)
            wanted.push_back({m.start, m.start + m.length, long(m.language) + 1});
    std::sort(wanted.begin(), wanted.end());
    const auto holds = [](const std::vector<Run> &runs, const Run &r) {
        const auto it = std::lower_bound(runs.begin(), runs.end(), r);
        return it != runs.end() && *it == r;
    };
    send(e, QsciScintilla::SCI_SETINDICATORCURRENT, Indicator);
    for (const Run &r : now)
        if (!holds(wanted, r))
            send(e, QsciScintilla::SCI_INDICATORCLEARRANGE, r.start, r.end - r.start);
    for (const Run &r : wanted)
        if (!holds(now, r)) {
            send(e, QsciScintilla::SCI_SETINDICATORVALUE, r.value);
            send(e, QsciScintilla::SCI_INDICATORFILLRANGE, r.start, r.end - r.start);
        }
    if (complete) {
        s->pending = 0;
        emit documentChecked(e, microseconds);
    }
}

void SpellingModule::clearAll() {
    m_latest.fetch_add(1);
    for (int i = 0; i < m_ctx.docs->EditorCount(); ++i) {
        TMyMwCustomEdit *e = m_ctx.docs->EditorAt(i);
        if (EditorState *s = EditorState::of(e)) {
            s->timer.stop();
            s->pending = 0;
        }
        send(e, QsciScintilla::SCI_SETINDICATORCURRENT, Indicator);
        send(e, QsciScintilla::SCI_INDICATORCLEARRANGE, 0, send(e, QsciScintilla::SCI_GETLENGTH));
    }
}

void SpellingModule::setOn(bool on) {
    if (!on) {
        clearAll();
        return;
    }
    if (Spelling::DictionaryFor(m_dictionaries, m_language) < 0)
        ui().message(MsgType::Warning, MsgButtons::Ok,
                     QStringLiteral("Aucun dictionnaire n'est installé pour la langue « %1 » : "
                                    "choisissez-en un dans Outils > Langue de l'orthographe.")
                         .arg(m_language));
    checkNow();
}

void SpellingModule::fillLanguageMenu() {
    m_languageMenu->clear();
    qDeleteAll(m_languageMenu->findChildren<QActionGroup *>(Qt::FindDirectChildrenOnly));
    auto *group = new QActionGroup(m_languageMenu);
    const int current = Spelling::DictionaryFor(m_dictionaries, m_language);
    if (m_dictionaries.empty()) {
        QAction *none = m_languageMenu->addAction(QStringLiteral("Aucun dictionnaire installé"));
        none->setEnabled(false);
        return;
    }
    for (size_t i = 0; i < m_dictionaries.size(); ++i) {
        const QString name = m_dictionaries[i].name;
        QAction *a = m_languageMenu->addAction(
            QStringLiteral("%1 – %2").arg(Spelling::DictionaryCaption(name), name));
        a->setCheckable(true);
        a->setChecked(int(i) == current);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, name] { chooseLanguage(name); });
    }
}

void SpellingModule::chooseLanguage(const QString &name) {
    m_language = name;
    m_ctx.store->writeString(settingsSection(), LanguageKey, name);
    if (isOn()) checkNow();
}

bool SpellingModule::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::ContextMenu || !isOn()) return false;
    TMyMwCustomEdit *e = editorOf(watched);
    const bool onViewport = !e;
    if (!e) e = editorOf(watched->parent());
    if (!e) return false;
    auto *ce = static_cast<QContextMenuEvent *>(event);
    long position;
    if (ce->reason() == QContextMenuEvent::Mouse) {
        const QPoint p = onViewport ? ce->pos() : e->viewport()->mapFrom(e, ce->pos());
        position = send(e, QsciScintilla::SCI_POSITIONFROMPOINTCLOSE, p.x(), p.y());
        if (position >= 0 && e->preferences().rightMouseMovesCursor &&
            send(e, QsciScintilla::SCI_INDICATORVALUEAT, Indicator, position))
            send(e, QsciScintilla::SCI_GOTOPOS, position);
    } else {
        position = send(e, QsciScintilla::SCI_GETCURRENTPOS);
        // The caret just after a word is on it too.
        if (position > 0 && !send(e, QsciScintilla::SCI_INDICATORVALUEAT, Indicator, position))
            --position;
    }
    return position >= 0 && showMenu(e, int(position), ce->globalPos());
}

bool SpellingModule::showMenu(QObject *editor, int position, const QPoint &globalPos) {
    TMyMwCustomEdit *e = editorOf(editor);
    const long value = send(e, QsciScintilla::SCI_INDICATORVALUEAT, Indicator, position);
    if (value <= 0) return false;
    startWorker();
    const long start = send(e, QsciScintilla::SCI_INDICATORSTART, Indicator, position);
    const long end = send(e, QsciScintilla::SCI_INDICATOREND, Indicator, position);
    if (end <= start) return false;
    QByteArray bytes(end - start, Qt::Uninitialized);
    e->copyUtf8(bytes.data(), start, bytes.size());
    const QString word = Spelling::DecodeText(bytes);
    const QString language = m_languages.value(int(value) - 1);

    QMenu *menu = m_ctx.actions->buildContextMenu(QStringLiteral("EditorPopup"), e);
    menu->setObjectName(QStringLiteral("SpellingPopup"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *top = menu->actions().value(0);
    auto *waiting = new QAction(QStringLiteral("Recherche de suggestions…"), menu);
    waiting->setEnabled(false);
    menu->insertAction(top, waiting);
    menu->insertSeparator(top);
    QPointer<TMyMwCustomEdit> target(e);
    auto *ignore = new QAction(QStringLiteral("&Ignorer"), menu);
    ignore->setObjectName(QStringLiteral("OrthographeIgnorer"));
    connect(ignore, &QAction::triggered, this, [this, word, target] {
        SpellWorker *w = m_worker;
        QMetaObject::invokeMethod(
            w, [w, word] { w->ignore(word); }, Qt::QueuedConnection);
        if (target) requestPass(target);
    });
    auto *add = new QAction(QStringLiteral("&Ajouter au dictionnaire"), menu);
    add->setObjectName(QStringLiteral("OrthographeAjouter"));
    connect(add, &QAction::triggered, this, [this, word, target] {
        SpellWorker *w = m_worker;
        auto done = [this, word, target](bool written) {
            if (!written)
                ui().message(MsgType::Error, MsgButtons::Ok,
                             QStringLiteral("Le mot « %1 » n'a pas pu être enregistré dans le "
                                            "dictionnaire personnel (%2).")
                                 .arg(word, m_personalPath));
            if (target) requestPass(target);
        };
        QMetaObject::invokeMethod(
            w, [w, word, done] { w->addWord(word, done); }, Qt::QueuedConnection);
    });
    menu->insertAction(top, ignore);
    menu->insertAction(top, add);
    menu->insertSeparator(top);

    // Suggestions can take a few tenths of a second: the menu shows at once and
    // they replace the waiting line when they come.
    QPointer<QMenu> shown(menu);
    auto fill = [this, shown, waiting, target, bytes, start](const QStringList &words) {
        if (!shown) return;
        if (words.isEmpty()) {
            waiting->setText(QStringLiteral("(aucune suggestion)"));
            return;
        }
        for (const QString &w : words) {
            auto *a = new QAction(w, shown);
            a->setObjectName(QStringLiteral("OrthographeSuggestion"));
            connect(a, &QAction::triggered, this, [this, target, bytes, start, w] {
                if (!target) return;
                // Only if the word is still there as it was.
                QByteArray now(bytes.size(), Qt::Uninitialized);
                if (start + bytes.size() > send(target, QsciScintilla::SCI_GETLENGTH)) return;
                target->copyUtf8(now.data(), start, now.size());
                if (now != bytes) return;
                const QByteArray replacement = w.toUtf8();
                target->SendScintilla(QsciScintilla::SCI_BEGINUNDOACTION);
                send(target, QsciScintilla::SCI_SETTARGETRANGE, start, start + bytes.size());
                target->SendScintilla(QsciScintilla::SCI_REPLACETARGET,
                                      static_cast<unsigned long>(replacement.size()),
                                      replacement.constData());
                target->SendScintilla(QsciScintilla::SCI_ENDUNDOACTION);
                send(target, QsciScintilla::SCI_SETINDICATORCURRENT, Indicator);
                send(target, QsciScintilla::SCI_INDICATORCLEARRANGE, start, replacement.size());
                send(target, QsciScintilla::SCI_GOTOPOS, start + replacement.size());
            });
            shown->insertAction(waiting, a);
        }
        shown->removeAction(waiting);
    };
    SpellWorker *w = m_worker;
    QMetaObject::invokeMethod(
        w, [w, word, language, fill] { w->suggest(word, language, fill); }, Qt::QueuedConnection);
    menu->popup(globalPos);
    return true;
}
