#include "assist/ui/document_info_module.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "assist/document_info.h"
#include "assist/ui/document_info_box.h"
#include "platform/file_attributes.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>

DocumentInfoModule::DocumentInfoModule(AppContext &ctx, DocumentManager *docs)
    : QObject(ctx.window), m_ctx(ctx), m_docs(docs) {
    ActionRegistry &r = *ctx.actions;
    QAction *a = r.add(QStringLiteral("OutilsInfos"), QStringLiteral("&Informations document..."),
                       QKeySequence(QStringLiteral("Ctrl+Shift+I")), QStringLiteral("Outils"));
    connect(a, &QAction::triggered, this, &DocumentInfoModule::OutilsInfosExecute);
    r.addUpdate([a, docs] { a->setEnabled(docs->ActiveEditor() != nullptr); });
}

DocumentInfoFields DocumentInfoModule::fieldsFor(const TMyMwCustomEdit *e) {
    DocumentInfoFields f;
    const DocumentStatistics s = documentStatistics(e->utf8Data(), e->utf8Length());
    f.lines = groupedNumber(s.lines);
    f.characters = groupedNumber(s.characters);
    f.size = sizeText(s.length);
    if (e->fileName.isEmpty()) {
        f.name = f.path = f.created = f.modified = f.accessed = InfoTexts::kNotSaved;
        return f;
    }
    const QFileInfo info(e->fileName);
    f.name = info.fileName();
    f.path = QDir::toNativeSeparators(e->fileName);
    FileTimes t;
    if (ReadFileTimes(e->fileName, &t)) {
        // The program speaks French, whatever the system language.
        const QLocale loc(QLocale::French);
        const auto date = [&loc](DateTimeValue v) {
            return v == 0 ? QString()
                          : loc.toString(dateTimeFromValue(v).date(), QLocale::ShortFormat);
        };
        f.created = date(t.creation);
        f.modified = date(t.lastWrite);
        f.accessed = date(t.lastAccess);
    }
    const bool ftp = e->documentKind == KindFtp;
    f.nameEditable = !ftp;
    f.readOnly = isReadOnlyFile(e->fileName);
    f.hidden = isHiddenFile(e->fileName);
    f.archive = isArchiveFile(e->fileName);
    f.readOnlyEnabled = !ftp && info.exists();
    f.hiddenArchiveEnabled = f.readOnlyEnabled && hasChangeableHiddenAndArchive();
    return f;
}

bool DocumentInfoModule::renameTo(TMyMwCustomEdit *e, const QString &newName) {
    const QString oldName = QFileInfo(e->fileName).fileName();
    if (ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                     InfoTexts::renameQuestion(oldName, newName)) != MsgAnswer::Yes)
        return true;
    QString target;
    switch (checkRename(
        e->fileName, newName, [](const QString &p) { return QFileInfo::exists(p); },
        sameExistingFile, &target)) {
    case RenameCheck::Unchanged:
        return true;
    case RenameCheck::BadName:
        ui().message(MsgType::Error, MsgButtons::Ok, InfoTexts::renameBadName(newName));
        return true;
    case RenameCheck::Exists:
        ui().message(MsgType::Error, MsgButtons::Ok, InfoTexts::renameExists());
        return true;
    case RenameCheck::Ok:
        break;
    }
    if (!renameWithoutReplacing(e->fileName, target)) {
        // Taken in the meantime, or refused by the system: nothing else changes.
        ui().message(MsgType::Error, MsgButtons::Ok, InfoTexts::renameFailed());
        return false;
    }
    m_docs->fileRenamed(e, target);
    return true;
}

void DocumentInfoModule::OutilsInfosExecute() {
    TMyMwCustomEdit *e = m_docs->ActiveEditor();
    if (!e) return;
    const DocumentInfoFields f = fieldsFor(e);
    TBoiteInfo box(f, m_ctx.window);
    if (ui().execDialog(&box) != QDialog::Accepted) return;
    if (e->fileName.isEmpty() || m_docs->indexOf(e) < 0) return;
    if (f.nameEditable && box.name() != f.name && !renameTo(e, box.name())) return;
    if (f.readOnlyEnabled && box.readOnly() != isReadOnlyFile(e->fileName))
        setReadOnlyAttribute(e->fileName, box.readOnly());
    if (f.hiddenArchiveEnabled) setHiddenAndArchive(e->fileName, box.hidden(), box.archive());
    m_docs->recordDiskState(e);
    m_docs->mwCustomEdit1StatusChange(e);
}
