#include "app/ui/document_manager.h"

#include "app/app_settings.h"
#include "app/document_texts.h"
#include "app/recovery_journal.h"
#include "app/ui/action_registry.h"
#include "app/ui/editor_view.h"
#include "app/ui/main_status_bar.h"
#include "app/ui/ui_services.h"
#include "platform/file_attributes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>

namespace {
// Suspends the repainting of a window for the life of the object.
class RepaintFreeze {
public:
    explicit RepaintFreeze(QWidget *w) : m_w(w), m_was(w->updatesEnabled())
    {
        m_w->setUpdatesEnabled(false);
    }
    ~RepaintFreeze() { m_w->setUpdatesEnabled(m_was); }

private:
    QWidget *m_w;
    bool m_was;
};

// Shown only for a file large enough to make the user wait: the first use of a
// cursor shape loads the cursor theme, which costs more than reading a small file.
class WaitCursor {
public:
    explicit WaitCursor(const QString &path) : m_shown(QFileInfo(path).size() >= (1 << 20))
    {
        if (m_shown)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (m_shown)
            QApplication::restoreOverrideCursor();
    }

private:
    bool m_shown;
};

const QString kAllFiles = QStringLiteral("Tous les fichiers (*.*)|*.*");
} // namespace

DocumentManager::DocumentManager(AppContext &ctx, QTabWidget *tabs, MainStatusBar *status)
    : QObject(tabs), m_ctx(ctx), m_tabs(tabs), m_status(status)
{
    connect(m_tabs, &QTabWidget::currentChanged, this, &DocumentManager::onCurrentChanged);
}

// ---- access ----

int DocumentManager::EditorCount() const { return m_tabs->count(); }

TMyMwCustomEdit *DocumentManager::EditorAt(int i) const
{
    return qobject_cast<TMyMwCustomEdit *>(m_tabs->widget(i));
}

TMyMwCustomEdit *DocumentManager::ActiveEditor() const
{
    return qobject_cast<TMyMwCustomEdit *>(m_tabs->currentWidget());
}

int DocumentManager::activeIndex() const { return m_tabs->currentIndex(); }

int DocumentManager::indexOf(const TMyMwCustomEdit *editor) const
{
    return m_tabs->indexOf(const_cast<TMyMwCustomEdit *>(editor));
}

QString DocumentManager::tabCaption(int i) const
{
    // The tab bar doubles "&" so that it shows; the caption is the plain text.
    QString t = m_tabs->tabText(i);
    const TMyMwCustomEdit *e = EditorAt(i);
    if (e && e->unsent && t.endsWith(DocTexts::unsentMark())) t.chop(DocTexts::unsentMark().size());
    t.replace(QLatin1String("&&"), QLatin1String("&"));
    return t;
}

void DocumentManager::setTabCaption(int i, const QString &caption) {
    QString shown = caption;
    shown.replace(QLatin1String("&"), QLatin1String("&&"));
    const TMyMwCustomEdit *e = EditorAt(i);
    if (e && e->unsent) shown += DocTexts::unsentMark();
    m_tabs->setTabText(i, shown);
}

void DocumentManager::ActivateTab(int i)
{
    if (i < 0 || i >= m_tabs->count())
        return;
    m_tabs->setCurrentIndex(i);
    mwCustomEdit1StatusChange(EditorAt(i));
}

QString DocumentManager::currentFolder() const { return m_ctx.options->dossierParDefautSTR; }

QString DocumentManager::folderOf(const QString &path) const
{
    if (path.isEmpty())
        return {};
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

// ---- editors ----

TMyMwCustomEdit *DocumentManager::createEditor()
{
    auto *e = new TMyMwCustomEdit(m_tabs);
    configureEditor(e);
    return e;
}

void DocumentManager::configureEditor(TMyMwCustomEdit *e)
{
    const Options &o = *m_ctx.options;
    e->setWrapMode(o.wordWrap ? QsciScintilla::WrapWord : QsciScintilla::WrapNone);
    e->setModified(false);
    e->clearUndoHistory();
    e->setShowFormattingChars(o.showSpecialChars);
    e->applyPreferences(o.editor);
    connect(e, &TMyMwCustomEdit::statusChange, this, [this, e] {
        mwCustomEdit1StatusChange(e);
        if (e == ActiveEditor())
            emit m_ctx.events->stateChanged();
    });
    connect(e, &TMyMwCustomEdit::filesDropped, this, &DocumentManager::openDropped);
    e->setContextMenu(m_popup);
    // Keys of the window's commands reach the window, not the editor.
    if (m_ctx.actions)
        e->releaseKeys(m_ctx.actions->shortcuts());
    emit m_ctx.events->editorCreated(e);
}

void DocumentManager::addRecent(const QString &path)
{
    m_recent.add(path);
    emit recentFilesChanged();
}

// ---- opening ----

void DocumentManager::OpenDocument(const QString &path, bool addToRecent)
{
    RepaintFreeze freeze(m_ctx.window);
    const Options &o = *m_ctx.options;
    TMyMwCustomEdit *active = ActiveEditor();
    const bool reuse = m_tabs->count() > 0 && !path.isEmpty() && active && !active->isModified() &&
                       active->fileName.isEmpty();

    if (!o.multiDoc && !path.isEmpty()) {
        for (int i = 0; i < m_tabs->count(); ++i) {
            TMyMwCustomEdit *e = EditorAt(i);
            if (e && e->fileName == path) {
                ActivateTab(i);
                if (addToRecent)
                    addRecent(path);
                return;
            }
        }
    }
    if (!o.dossierParDefaut)
        m_ctx.options->dossierParDefautSTR = folderOf(path);

    const QString caption = QFileInfo(path).fileName();
    if (reuse) {
        LoadedText text;
        ReadStatus st;
        {
            WaitCursor wait(path);
            st = readTextFile(path, &text);
        }
        if (st != ReadStatus::Ok) {
            ui().message(MsgType::Error, MsgButtons::Ok, DocTexts::cannotOpen(path));
            return;
        }
        const int i = m_tabs->currentIndex();
        QString shown = caption;
        shown.replace(QLatin1String("&"), QLatin1String("&&"));
        m_tabs->setTabText(i, shown);
        m_tabs->setTabToolTip(i, path);
        active->fileName = path;
        {
            WaitCursor wait(path);
            if (m_types)
                m_types->assignFromExtension(active, path);
            active->setLoadedText(text);
        }
        if (addToRecent)
            addRecent(path);
        m_tabs->setCurrentIndex(i);
        active->setModified(false);
        active->clearUndoHistory();
        active->setFirstVisibleLine(0);
        active->setCaretXY({1, 1});
        active->setFocus();
        tabChangeSteps();
    } else {
        LoadedText text;
        if (!path.isEmpty()) {
            WaitCursor wait(path);
            if (readTextFile(path, &text) != ReadStatus::Ok)
                return; // the new tab is not kept: nothing to show
        }
        TMyMwCustomEdit *e = createEditor();
        const QString tabText =
            path.isEmpty() ? DocTexts::untitledCaption(e->tabNumber = m_numbering.next()) : caption;
        QString shown = tabText;
        shown.replace(QLatin1String("&"), QLatin1String("&&"));
        const QSignalBlocker block(m_tabs);
        const int i = m_tabs->addTab(e, shown);
        m_tabs->setTabToolTip(i, path);
        m_tabs->setCurrentIndex(i);
        if (!path.isEmpty()) {
            e->fileName = path;
            WaitCursor wait(path);
            if (m_types)
                m_types->assignFromExtension(e, path);
            e->setLoadedText(text);
            if (addToRecent)
                addRecent(path);
        }
        mwCustomEdit1StatusChange(e);
        e->setFocus();
        tabChangeSteps();
    }
    if (TMyMwCustomEdit *e = ActiveEditor()) recordDiskState(e);
}

void DocumentManager::recordDiskState(TMyMwCustomEdit *e) {
    ReadFileTimes(e->fileName, &e->fileTimes);
    e->diskStamp = ReadFileStamp(e->fileName);
    emit m_ctx.events->documentFilesChanged();
}

TMyMwCustomEdit *DocumentManager::openRecovered(const JournalEntry &entry) {
    RepaintFreeze freeze(m_ctx.window);
    TMyMwCustomEdit *active = ActiveEditor();
    const bool reuse =
        active && m_tabs->count() == 1 && !active->isModified() && active->fileName.isEmpty();
    TMyMwCustomEdit *e = reuse ? active : createEditor();
    const bool untitled = entry.fileName.isEmpty() || entry.kind == KindFtp;
    if (!reuse) {
        const QSignalBlocker block(m_tabs);
        m_tabs->addTab(e, QString());
    }
    const int i = indexOf(e);
    QString caption;
    if (untitled) {
        if (!reuse) e->tabNumber = m_numbering.next();
        caption = e->tabNumber > 0 ? DocTexts::untitledCaption(e->tabNumber) : entry.caption;
        e->fileName.clear();
        e->documentKind = KindOrdinary;
    } else {
        caption = QFileInfo(entry.fileName).fileName();
        e->fileName = entry.fileName;
        e->documentKind = entry.kind;
    }
    QString shown = caption;
    shown.replace(QLatin1String("&"), QLatin1String("&&"));
    m_tabs->setTabText(i, shown);
    m_tabs->setTabToolTip(i, e->fileName);
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(i);
    }
    if (m_types && !untitled) m_types->assignFromExtension(e, e->fileName);
    LoadedText text;
    text.utf8 = entry.text;
    text.encoding = entry.encoding;
    text.lineBreak = entry.lineBreak;
    e->setLoadedText(text);
    e->markModified();
    // The file as it is now: a later change on disk is still asked about.
    if (!e->fileName.isEmpty()) {
        ReadFileTimes(e->fileName, &e->fileTimes);
        e->diskStamp = ReadFileStamp(e->fileName);
    }
    e->setCaretXY({entry.caretCol, entry.caretLine});
    e->ensureCaretVisible();
    tabChangeSteps();
    emit m_ctx.events->documentFilesChanged();
    return e;
}

void DocumentManager::detachFromFile(TMyMwCustomEdit *e) {
    e->fileName.clear();
    e->fileTimes = {};
    e->diskStamp = {};
    e->documentKind = KindOrdinary;
    m_tabs->setTabToolTip(indexOf(e), QString());
    e->markModified();
    emit m_ctx.events->documentFilesChanged();
}

void DocumentManager::discardTab(TMyMwCustomEdit *e) {
    const int i = indexOf(e);
    if (i < 0) return;
    emit m_ctx.events->documentClosing(e);
    removeTab(i);
    if (m_tabs->count() == 0)
        FileNew();
    else
        tabChangeSteps();
    emit m_ctx.events->documentFilesChanged();
}

void DocumentManager::fileRenamed(TMyMwCustomEdit *e, const QString &newPath) {
    const QString old = e->fileName;
    const QString oldCaption = tabCaption(indexOf(e));
    e->fileName = newPath;
    const int i = indexOf(e);
    QString shown = QFileInfo(newPath).fileName();
    shown.replace(QLatin1String("&"), QLatin1String("&&"));
    m_tabs->setTabText(i, shown);
    m_tabs->setTabToolTip(i, newPath);
    m_recent.remove(old);
    addRecent(newPath);
    recordDiskState(e);
    emit m_ctx.events->documentRenamed(e, old, oldCaption);
}

void DocumentManager::FileNew() { OpenDocument(QString(), false); }

QString DocumentManager::fileFilter() const
{
    return m_types ? m_types->fileFilter() : kAllFiles;
}

void DocumentManager::FileOpen()
{
    FileDialogRequest req;
    req.startFolder = m_openFolder;
    req.filter = fileFilter();
    req.multiple = true;
    const QStringList files = ui().openFileNames(m_ctx.window, req);
    if (files.isEmpty())
        return;
    m_status->ShowProgress(int(files.size()) - 1);
    for (int i = 0; i < files.size(); ++i) {
        if (QFileInfo::exists(files[i])) {
            OpenDocument(files[i], true);
            m_status->StepProgress(i);
        } else {
            ui().message(MsgType::Plain, MsgButtons::Ok, DocTexts::fileDoesNotExist(files[i]));
        }
    }
    m_status->HideProgress();
    m_openFolder = folderOf(files.first());
    mwCustomEdit1StatusChange(ActiveEditor());
}

void DocumentManager::openDropped(const QStringList &paths)
{
    m_status->ShowProgress(int(paths.size()) - 1);
    for (int i = 0; i < paths.size(); ++i) {
        OpenDocument(paths[i], true);
        m_status->StepProgress(i);
    }
    m_status->HideProgress();
    if (!paths.isEmpty()) {
        if (TMyMwCustomEdit *e = ActiveEditor())
            m_openFolder = folderOf(e->fileName);
        m_ctx.window->raise();
        m_ctx.window->activateWindow();
        mwCustomEdit1StatusChange(ActiveEditor());
    }
}

void DocumentManager::openRecent(const QString &path)
{
    if (QFileInfo::exists(path)) {
        OpenDocument(path, true);
        m_openFolder = folderOf(path);
        mwCustomEdit1StatusChange(ActiveEditor());
        return;
    }
    if (ui().message(MsgType::Confirmation, MsgButtons::YesNo, DocTexts::recentVanished(path)) ==
        MsgAnswer::Yes) {
        m_recent.remove(path);
        emit recentFilesChanged();
    }
}

void DocumentManager::openIfExists(const QString &path)
{
    if (QFileInfo::exists(path))
        OpenDocument(path, true);
    else
        ui().message(MsgType::Plain, MsgButtons::Ok, DocTexts::fileDoesNotExist(path));
}

// ---- tab change, status and title ----

void DocumentManager::onCurrentChanged()
{
    tabChangeSteps();
}

void DocumentManager::tabChangeSteps()
{
    TMyMwCustomEdit *e = ActiveEditor();
    if (e && m_types)
        m_types->tabChanged(e);
    mwCustomEdit1StatusChange(e);
    emit m_ctx.events->activeEditorChanged(e);
    emit m_ctx.events->stateChanged();
}

void DocumentManager::mwCustomEdit1StatusChange(TMyMwCustomEdit *e)
{
    if (e != ActiveEditor())
        return;
    if (!e) {
        m_status->setPanel(0, QString());
        UpdateTitle(QString(), false);
        m_status->setPanel(2, QString());
        return;
    }
    const TextPos caret = e->caretXY();
    m_status->setPanel(0, DocTexts::caretPanel(caret.line, caret.col));
    UpdateTitle(DocTexts::titleText(e->fileName, e->documentKind) +
                    (e->unsent ? DocTexts::unsentMark() : QString()),
                e->isModified());
    m_status->setPanel(2, DocTexts::modePanel(e->overwriteMode()));
}

void DocumentManager::setUnsent(TMyMwCustomEdit *e, bool unsent) {
    const int i = indexOf(e);
    if (i < 0 || e->unsent == unsent) return;
    const QString caption = tabCaption(i);
    e->unsent = unsent;
    setTabCaption(i, caption);
    mwCustomEdit1StatusChange(e);
}

void DocumentManager::UpdateTitle(const QString &text, bool modified)
{
    m_status->setPanel(1, DocTexts::modifiedPanel(modified));
    m_ctx.window->setWindowTitle(DocTexts::windowTitle(text, modified));
}

void DocumentManager::refreshActive() { mwCustomEdit1StatusChange(ActiveEditor()); }

// ---- saving ----

bool DocumentManager::WriteDocument(TMyMwCustomEdit *e)
{
    QByteArray bytes;
    qsizetype bad = -1;
    if (!e->fileBytes(&bytes, &bad)) {
        const TextPos p = e->xyFromPosition(int(bad));
        const QString name = e->fileName.isEmpty() ? tabCaption(indexOf(e)) : e->fileName;
        if (ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                         DocTexts::encodingQuestion(name, p.line, p.col)) != MsgAnswer::Yes)
            return false;
        e->encoding = TextEncoding::Utf8;
        e->fileBytes(&bytes);
    }
    switch (writeFileAtomically(e->fileName, bytes)) {
    case WriteStatus::CannotCreate:
        ui().message(MsgType::Warning, MsgButtons::Ok, DocTexts::saveNotWritable());
        return false;
    case WriteStatus::Failed:
        ui().message(MsgType::Warning, MsgButtons::Ok, DocTexts::saveFailed());
        return false;
    case WriteStatus::Ok:
        break;
    }
    e->setModified(false);
    // Every write of ours is the file's new known state: no outside change to report.
    recordDiskState(e);
    m_lastWriteOk = true;
    if (e->documentKind != KindFtp && e->documentKind != KindTemplate) {
        if (!m_ctx.options->dossierParDefaut)
            m_ctx.options->dossierParDefautSTR = folderOf(e->fileName);
        addRecent(e->fileName);
    }
    return true;
}

bool DocumentManager::FileSave() { return saveEditor(ActiveEditor()); }

void DocumentManager::FileSaveAs() { saveEditorAs(ActiveEditor()); }

bool DocumentManager::saveEditor(TMyMwCustomEdit *e)
{
    if (!e)
        return false;
    bool written = false;
    const bool readOnly = !e->fileName.isEmpty() && isReadOnlyFile(e->fileName);
    if (readOnly || e->fileName.isEmpty() || e->documentKind == KindFtp ||
        e->documentKind == KindTemplate) {
        if (readOnly)
            ui().message(MsgType::Plain, MsgButtons::Ok, DocTexts::readOnlyTarget(e->fileName));
        m_lastWriteOk = false;
        saveEditorAs(e);
        written = m_lastWriteOk;
    } else {
        written = WriteDocument(e);
        mwCustomEdit1StatusChange(e);
    }
    recordDiskState(e);
    return written;
}

void DocumentManager::saveEditorAs(TMyMwCustomEdit *e)
{
    if (!e)
        return;
    const int i = indexOf(e);
    const QString oldName = e->fileName;
    const QString oldCaption = tabCaption(i);
    FileDialogRequest req;
    req.filter = fileFilter();
    req.defaultSuffix = m_saveSuffix;
    req.startFolder = m_saveFolder;
    if (!oldName.isEmpty()) {
        if (e->documentKind == KindOrdinary)
            req.startFolder = folderOf(oldName);
        req.fileName = QFileInfo(oldName).fileName();
    } else {
        req.fileName = oldCaption;
    }
    const QString chosen = ui().saveFileName(m_ctx.window, req);
    if (chosen.isEmpty()) {
        m_saveAsCancelled = true;
        return;
    }
    m_saveAsCancelled = false;
    e->fileName = chosen;
    e->unsent = false; // a local file of the user's now holds the text
    setTabCaption(i, QFileInfo(chosen).fileName());
    m_tabs->setTabToolTip(i, chosen);
    e->documentKind = KindOrdinary;
    saveEditor(e);
    if (m_types)
        m_types->afterSaveAs(e);
    emit m_ctx.events->documentRenamed(e, oldName, oldCaption);
    m_saveFolder = folderOf(chosen);
}

void DocumentManager::FileSaveAll()
{
    m_saveAsCancelled = false;
    for (int i = 0; i < m_tabs->count(); ++i) {
        ActivateTab(i);
        FileSave();
        if (m_saveAsCancelled)
            break;
    }
}

// ---- FTP downloads ----

void DocumentManager::DiscardFtpDownload(const QString &path)
{
    if (QFileInfo::exists(path))
        QFile::remove(path);
    // The per-download folder goes too when it is empty; failure is of no concern.
    QDir().rmdir(QFileInfo(path).absolutePath());
}

// ---- closing ----

bool DocumentManager::closeQuestion(TMyMwCustomEdit *e, const QString &ftpBreaks)
{
    const bool ftp = e->documentKind == KindFtp;
    // Its local copy holds the only copy of changes the server lacks.
    const bool unsent = ftp && e->unsent;
    if (!e->isModified() && !ftp) {
        emit m_ctx.events->documentClosing(e);
        return true;
    }
    const QString name =
        !e->fileName.isEmpty() && !ftp ? e->fileName : tabCaption(indexOf(e));
    const MsgAnswer answer = ui().message(MsgType::Confirmation, MsgButtons::YesNoCancel,
                                          unsent ? DocTexts::unsentCloseQuestion(name, ftpBreaks)
                                                 : DocTexts::closeQuestion(ftp, name, ftpBreaks));
    if (answer == MsgAnswer::Cancel)
        return false;
    emit m_ctx.events->documentClosing(e);
    if (answer == MsgAnswer::No) {
        if (ftp && !unsent) DiscardFtpDownload(e->fileName);
        return true;
    }
    const QString oldName = e->fileName;
    // The editor asked about, whichever tab is active by now.
    const bool written = saveEditor(e);
    if (e->fileName.isEmpty() || (ftp && e->documentKind == KindFtp))
        return false;
    // A document whose save failed stays open, so that its text is not lost.
    if (!written && e->isModified())
        return false;
    if (ftp && e->fileName != oldName)
        DiscardFtpDownload(oldName);
    return true;
}

int DocumentManager::removeTab(int i)
{
    RepaintFreeze freeze(m_ctx.window);
    TMyMwCustomEdit *e = EditorAt(i);
    const bool only = m_tabs->count() == 1;
    m_numbering.tabClosed(e ? e->tabNumber : 0, only);
    if (e)
        emit m_ctx.events->editorClosing(e);
    QWidget *page = m_tabs->widget(i);
    int next;
    {
        const QSignalBlocker block(m_tabs);
        m_tabs->removeTab(i);
        // The tab that followed, or the first when the last one went.
        next = i < m_tabs->count() ? i : 0;
        if (m_tabs->count() > 0)
            m_tabs->setCurrentIndex(next);
    }
    delete page;
    return m_tabs->count() > 0 ? next : -1;
}

void DocumentManager::FileClose()
{
    TMyMwCustomEdit *e = ActiveEditor();
    if (!e)
        return;
    if (!closeQuestion(e, DocTexts::kCrLf + DocTexts::kCrLf))
        return;
    // The question may have let another tab become active: remove the one asked about.
    const int i = indexOf(e);
    if (i < 0)
        return;
    const int countBefore = m_tabs->count();
    removeTab(i);
    if (m_tabs->count() == 0) {
        FileNew();
        return;
    }
    if (i == countBefore - 1 && countBefore >= 3)
        m_tabs->setCurrentIndex(i - 1);
    tabChangeSteps();
}

void DocumentManager::FileCloseAll()
{
    const int n = m_tabs->count();
    for (int k = 0; k < n; ++k) {
        TMyMwCustomEdit *e = ActiveEditor();
        if (!e)
            break;
        if (!closeQuestion(e, DocTexts::kCrLf) || indexOf(e) < 0)
            break;
        removeTab(indexOf(e));
        if (m_tabs->count() == 0) {
            FileNew();
            return;
        }
        if (m_tabs->currentIndex() == 0)
            ActivateTab(m_tabs->count() - 1);
        tabChangeSteps();
    }
}

bool DocumentManager::queryCloseAll()
{
    for (int i = 0; i < m_tabs->count(); ++i) {
        TMyMwCustomEdit *e = EditorAt(i);
        if (!e)
            continue;
        if (e->isModified() || e->documentKind == KindFtp)
            ActivateTab(i);
        if (!closeQuestion(e, DocTexts::kCrLf))
            return false;
    }
    return true;
}

void DocumentManager::renameDocument(TMyMwCustomEdit *e, const QString &path, int kind)
{
    const int i = indexOf(e);
    if (i < 0)
        return;
    e->fileName = path;
    e->documentKind = kind;
    if (kind != KindFtp) e->unsent = false;
    setTabCaption(i, path.isEmpty() ? DocTexts::untitledCaption(e->tabNumber)
                                    : QFileInfo(path).fileName());
    m_tabs->setTabToolTip(i, path);
    mwCustomEdit1StatusChange(e);
}
