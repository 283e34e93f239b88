#include "app/ui/outside_change_check.h"

#include "app/app_settings.h"
#include "app/document_texts.h"
#include "app/outside_changes.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QSet>
#include <QTimer>

namespace {
bool modalWindowOpen() {
    return QApplication::activeModalWidget() || QGuiApplication::modalWindow();
}

class RepaintFreeze {
public:
    explicit RepaintFreeze(QWidget *w) : m_w(w), m_was(w->updatesEnabled()) {
        m_w->setUpdatesEnabled(false);
    }
    ~RepaintFreeze() { m_w->setUpdatesEnabled(m_was); }

private:
    QWidget *m_w;
    bool m_was;
};
} // namespace

OutsideChangeCheck::OutsideChangeCheck(AppContext &ctx, DocumentManager *docs)
    : QObject(ctx.window), m_ctx(ctx), m_docs(docs) {
    m_watcher = new QFileSystemWatcher(this);
    m_idle = new QTimer(this);
    m_idle->setSingleShot(true);
    m_idle->setInterval(0);
    m_retry = new QTimer(this);
    m_retry->setSingleShot(true);
    m_retry->setInterval(250);
    connect(m_idle, &QTimer::timeout, this, &OutsideChangeCheck::CheckDocumentsOnDisk);
    connect(m_retry, &QTimer::timeout, this, &OutsideChangeCheck::CheckDocumentsOnDisk);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &OutsideChangeCheck::schedule);
    // A file replaced by a rename, or deleted, shows as a change of its folder.
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &OutsideChangeCheck::schedule);
    connect(ctx.events, &AppEvents::firstIdle, this,
            [this] { setInstalled(m_ctx.options->docExiste); });
    connect(ctx.events, &AppEvents::preferencesApplied, this,
            [this] { setInstalled(m_ctx.options->docExiste); });
    connect(ctx.events, &AppEvents::documentFilesChanged, this, [this] {
        if (m_installed && !m_running) syncWatches();
    });
    ctx.window->installEventFilter(this);
}

bool OutsideChangeCheck::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_ctx.window && event->type() == QEvent::WindowActivate) schedule();
    return QObject::eventFilter(watched, event);
}

void OutsideChangeCheck::setInstalled(bool on) {
    if (on == m_installed) return;
    m_installed = on;
    if (on) {
        syncWatches();
        schedule();
    } else {
        m_idle->stop();
        m_retry->stop();
        const QStringList f = m_watcher->files(), d = m_watcher->directories();
        if (!f.isEmpty()) m_watcher->removePaths(f);
        if (!d.isEmpty()) m_watcher->removePaths(d);
    }
}

void OutsideChangeCheck::schedule() {
    if (m_installed && !m_running) m_idle->start();
}

void OutsideChangeCheck::syncWatches() {
    QSet<QString> files, dirs;
    for (int i = 0; i < m_docs->EditorCount(); ++i) {
        const TMyMwCustomEdit *e = m_docs->EditorAt(i);
        if (!e || !isCheckedOnDisk(e->documentKind, e->fileName)) continue;
        const QFileInfo fi(e->fileName);
        files.insert(fi.absoluteFilePath());
        dirs.insert(fi.absolutePath());
    }
    QStringList gone;
    for (const QString &p : m_watcher->files() + m_watcher->directories())
        if (!files.contains(p) && !dirs.contains(p)) gone << p;
    if (!gone.isEmpty()) m_watcher->removePaths(gone);
    // A path whose file was replaced dropped out of the watch: added again here.
    QStringList add;
    const QStringList have = m_watcher->files() + m_watcher->directories();
    for (const QString &p : files)
        if (!have.contains(p) && QFileInfo::exists(p)) add << p;
    for (const QString &p : dirs)
        if (!have.contains(p) && QFileInfo::exists(p)) add << p;
    if (!add.isEmpty()) m_watcher->addPaths(add);
}

void OutsideChangeCheck::CheckDocumentsOnDisk() {
    if (!m_installed || m_running) return;
    // A question now would come inside another dialog or stop a transfer midway.
    if (modalWindowOpen() || TransferGuard::active()) {
        m_retry->start();
        return;
    }
    m_running = true;
    const int n = m_docs->EditorCount();
    for (int i = 0; i < n; ++i) {
        if (i >= m_docs->EditorCount()) continue;
        TMyMwCustomEdit *e = m_docs->EditorAt(i);
        if (!e || !isCheckedOnDisk(e->documentKind, e->fileName)) continue;
        switch (compareWithDisk(e->diskStamp, ReadFileStamp(e->fileName))) {
        case DiskChange::Vanished:
            askVanished(e);
            break;
        case DiskChange::Changed:
            askChanged(e);
            break;
        case DiskChange::None:
            break;
        }
    }
    m_running = false;
    syncWatches();
}

void OutsideChangeCheck::askVanished(TMyMwCustomEdit *e) {
    const QString name = e->fileName;
    bool close = false;
    {
        RepaintFreeze freeze(m_ctx.window);
        const MsgAnswer a = ui().message(MsgType::Information, MsgButtons::YesNoCancel,
                                         OutsideTexts::vanishedQuestion(name));
        close = a == MsgAnswer::No;
        // Unsaved changes are not given up without being told.
        if (close && e->isModified())
            close = ui().message(MsgType::Warning, MsgButtons::YesNo,
                                 OutsideTexts::vanishedLossWarning(name)) == MsgAnswer::Yes;
    }
    if (m_docs->indexOf(e) < 0) return;
    if (close)
        m_docs->discardTab(e);
    else
        m_docs->detachFromFile(e);
    m_docs->mwCustomEdit1StatusChange(m_docs->ActiveEditor());
}

void OutsideChangeCheck::askChanged(TMyMwCustomEdit *e) {
    const QString name = e->fileName;
    const MsgAnswer a = ui().message(MsgType::Information, MsgButtons::YesNo,
                                     OutsideTexts::changedQuestion(name, e->isModified()));
    if (m_docs->indexOf(e) < 0) return;
    if (a == MsgAnswer::Yes) {
        LoadedText text;
        ReadStatus st;
        {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            st = readTextFile(name, &text);
            QApplication::restoreOverrideCursor();
        }
        if (st != ReadStatus::Ok) {
            // The text and its modified flag stay; the question comes again once
            // the file changes again.
            ui().message(MsgType::Error, MsgButtons::Ok, DocTexts::cannotOpen(name));
        } else {
            RepaintFreeze freeze(m_ctx.window);
            e->reloadText(text);
        }
    } else {
        e->markModified();
    }
    m_docs->recordDiskState(e);
    m_docs->mwCustomEdit1StatusChange(m_docs->ActiveEditor());
}
