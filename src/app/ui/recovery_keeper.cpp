#include "app/ui/recovery_keeper.h"

#include "app/recovery_journal.h"
#include "app/ui/document_manager.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "app/ui/recovery_box.h"
#include "app/ui/sliced_copy.h"
#include "app/ui/ui_services.h"

#include <QMainWindow>
#include <QStandardPaths>
#include <QTimer>

RecoveryKeeper::RecoveryKeeper(AppContext &ctx, DocumentManager *docs, DocumentTypeModule *types,
                               const QString &root)
    : QObject(ctx.window), m_ctx(ctx), m_docs(docs), m_types(types), m_root(root) {
    m_session = JournalSession::create(m_root);
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("RecoveryJournal"));
    m_thread.start(QThread::LowPriority);

    connect(ctx.events, &AppEvents::editorCreated, this, &RecoveryKeeper::track);
    connect(ctx.events, &AppEvents::editorClosing, this, [this](TMyMwCustomEdit *e) {
        remove(e);
        untrack(e);
    });
    connect(ctx.events, &AppEvents::firstIdle, this, &RecoveryKeeper::offerRecovery,
            Qt::QueuedConnection);
    // Every question has been answered: nothing left to recover.
    connect(ctx.events, &AppEvents::closing, this, [this] {
        for (Tracked &t : m_tracked) {
            t.timer->stop();
            t.copy->cancel();
        }
        flush();
        if (m_session) m_session->removeAll();
        m_session.reset();
    });
}

RecoveryKeeper::~RecoveryKeeper() {
    flush(); // writes and removals asked for are done before the thread ends
    m_thread.quit();
    m_thread.wait();
    // Gone without the close road (the window destroyed by its owner): a journal
    // holding documents stays to be offered; an empty one goes.
    if (m_session && !m_session->hasEntries())
        m_session->removeAll();
}

QString RecoveryKeeper::defaultRoot() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/journal");
}

QString RecoveryKeeper::sessionFolder() const {
    return m_session ? m_session->folder() : QString();
}

void RecoveryKeeper::track(TMyMwCustomEdit *e) {
    Tracked t;
    t.id = m_nextId++;
    t.timer = new QTimer(e);
    t.timer->setSingleShot(true);
    connect(t.timer, &QTimer::timeout, this, [this, e] { writeInBackground(e); });
    t.copy = new SlicedCopy(e);
    // Per keystroke: only the timer restarts.
    connect(e, &TMyMwCustomEdit::textChanging, this, [this, e] { changed(e); });
    connect(e, &QsciScintilla::modificationChanged, this, [this, e](bool modified) {
        if (modified)
            changed(e);
        else
            remove(e);
    });
    connect(e, &QObject::destroyed, this, [this, e] { m_tracked.remove(e); });
    m_tracked.insert(e, t);
}

void RecoveryKeeper::untrack(TMyMwCustomEdit *e) {
    const auto it = m_tracked.find(e);
    if (it == m_tracked.end()) return;
    it->timer->stop();
    it->copy->cancel();
    disconnect(e, nullptr, this, nullptr);
    m_tracked.erase(it);
}

void RecoveryKeeper::changed(TMyMwCustomEdit *e) {
    const auto it = m_tracked.find(e);
    if (it == m_tracked.end() || !m_session) return;
    it->copy->cancel();
    // Per keystroke: only the timer restarts.
    it->timer->start(Journal::delayMs(e->utf8Length()));
}

JournalEntry RecoveryKeeper::entryOf(TMyMwCustomEdit *e) const {
    JournalEntry j = identityOf(e);
    // The one copy of the text on this thread; the worker writes it.
    j.text = e->utf8Copy();
    return j;
}

JournalEntry RecoveryKeeper::identityOf(TMyMwCustomEdit *e) const {
    JournalEntry j;
    j.fileName = e->fileName;
    const int i = m_docs->indexOf(e);
    j.caption = i >= 0 ? m_docs->tabCaption(i) : QString();
    j.kind = e->documentKind;
    j.encoding = e->encoding;
    j.lineBreak = e->lineBreak;
    j.typeName = m_types ? QString::number(m_types->highlighterOf(e)) : QString();
    const TextPos caret = e->caretXY();
    j.caretLine = caret.line;
    j.caretCol = caret.col;
    j.written = QDateTime::currentDateTimeUtc();
    return j;
}

void RecoveryKeeper::writeInBackground(TMyMwCustomEdit *e) {
    const auto it = m_tracked.constFind(e);
    if (it == m_tracked.constEnd() || !m_session) return;
    if (!e->isModified()) return remove(e);
    it->copy->start([this, e](QByteArray text) {
        JournalEntry entry = identityOf(e);
        entry.text = std::move(text);
        post(e, std::move(entry));
    });
}

void RecoveryKeeper::post(TMyMwCustomEdit *e, JournalEntry entry) {
    const auto it = m_tracked.constFind(e);
    if (it == m_tracked.constEnd() || !m_session) return;
    JournalSession *s = m_session.get();
    QMetaObject::invokeMethod(
        m_worker, [s, id = it->id, entry = std::move(entry)] { s->write(id, entry); },
        Qt::QueuedConnection);
}

void RecoveryKeeper::remove(TMyMwCustomEdit *e) {
    const auto it = m_tracked.constFind(e);
    if (it == m_tracked.constEnd() || !m_session) return;
    it->timer->stop();
    it->copy->cancel();
    JournalSession *s = m_session.get();
    QMetaObject::invokeMethod(
        m_worker, [s, id = it->id] { s->remove(id); }, Qt::QueuedConnection);
}

void RecoveryKeeper::flush() {
    if (m_thread.isRunning())
        QMetaObject::invokeMethod(
            m_worker, [] {}, Qt::BlockingQueuedConnection);
}

void RecoveryKeeper::journalAllNow() {
    if (!m_session) return;
    for (Tracked &t : m_tracked) {
        t.timer->stop();
        t.copy->cancel();
    }
    flush();
    for (auto it = m_tracked.cbegin(); it != m_tracked.cend(); ++it) {
        if (it.key()->isModified())
            m_session->write(it->id, entryOf(it.key()));
        else
            m_session->remove(it->id);
    }
}

void RecoveryKeeper::offerRecovery() {
    if (!m_session) return;
    auto orphans = OrphanJournal::claimAll(m_root, m_session->folder());
    if (orphans.empty()) return;
    QList<RecoveryItem> items;
    QList<std::pair<OrphanJournal *, QString>> where;
    for (const auto &o : orphans) {
        for (const OrphanJournal::Item &i : o->items) {
            RecoveryItem r;
            r.name = Journal::displayName(i.entry);
            r.written = i.entry.written;
            r.size = i.entry.text.size();
            items << r;
            where.append({o.get(), i.path});
        }
    }
    TRecuperationBox box(items, m_ctx.window);
    if (ui().execDialog(&box) != QDialog::Accepted) return; // kept for the next start
    const RecoveryChoice choice = box.choice();
    for (int k = 0; k < where.size(); ++k) {
        OrphanJournal *o = where[k].first;
        const QString path = where[k].second;
        const auto found =
            std::find_if(o->items.cbegin(), o->items.cend(),
                         [&](const OrphanJournal::Item &i) { return i.path == path; });
        if (found == o->items.cend()) continue;
        if (choice.restore.value(k)) {
            TMyMwCustomEdit *e = m_docs->openRecovered(found->entry);
            bool ok = false;
            const int type = found->entry.typeName.toInt(&ok);
            if (m_types && ok && type >= 0) m_types->SetEditorHighlighter(e, type);
            // In this run's journal before it leaves the old one.
            const auto t = m_tracked.constFind(e);
            if (t != m_tracked.constEnd()) {
                t->timer->stop();
                flush();
                m_session->write(t->id, entryOf(e));
            }
            o->discard(path);
        } else if (choice.deleteDeclined) {
            o->discard(path);
        }
    }
    for (const auto &o : orphans)
        o->removeFolderIfEmpty();
    m_docs->mwCustomEdit1StatusChange(m_docs->ActiveEditor());
}
