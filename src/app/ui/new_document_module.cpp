#include "app/ui/new_document_module.h"

#include "app/document_texts.h"
#include "app/templates.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "app/ui/icons.h"
#include "app/ui/new_box.h"
#include "app/ui/ui_services.h"
#include "platform/text_file.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QPainter>
#include <QPointer>

// Outside any namespace, as the resource macro requires.
static void initShippedTemplates() {
    Q_INIT_RESOURCE(balizor);
}

namespace {
const QString kShipped = QStringLiteral(":/Modeles");
const QString kFichier = QStringLiteral("Fichier");
} // namespace

NewDocumentModule::NewDocumentModule(AppContext &ctx, DocumentTypeModule *types,
                                     PageStarter startPage, PageStarter startFrames)
    : QObject(ctx.window), m_ctx(ctx), m_types(types), m_startPage(std::move(startPage)),
      m_startFrames(std::move(startFrames)) {
    initShippedTemplates();
    QAction *wizard =
        m_ctx.actions->add(QStringLiteral("FileNewWizard"), QStringLiteral("Nouveau..."),
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), kFichier);
    wizard->setToolTip(QStringLiteral("Nouveau..."));
    wizard->setStatusTip(QStringLiteral("Nouveau..."));
    wizard->setIcon(Icons::draw([](QPainter &p) {
        Icons::page(p, 2.5, 1.5, 10, 13);
        p.setPen(QPen(QColor(230, 170, 0), 1.2));
        for (int k = 0; k < 4; ++k) {
            const qreal a = k * 3.14159 / 4;
            p.drawLine(QPointF(12 - 2.5 * std::cos(a), 4 - 2.5 * std::sin(a)),
                       QPointF(12 + 2.5 * std::cos(a), 4 + 2.5 * std::sin(a)));
        }
    }));
    QAction *fromTemplate =
        m_ctx.actions->add(QStringLiteral("FileModeleNew"),
                           QStringLiteral("&Créer un nouveau document à partir d'un modèle..."),
                           QKeySequence(), kFichier);
    QAction *save = m_ctx.actions->add(QStringLiteral("FileModeleSave"),
                                       QStringLiteral("&Enregistrer comme modèle..."),
                                       QKeySequence(), kFichier);
    QAction *open = m_ctx.actions->add(QStringLiteral("FileModeleModifier"),
                                       QStringLiteral("&Ouvrir un modèle existant..."),
                                       QKeySequence(), kFichier);
    // A new untitled HTML document with the frames wizard run on it: the wizard's
    // "HTML avec cadres" kind, without the choice.
    QAction *frames = m_ctx.actions->add(QStringLiteral("FileNewFrames"),
                                         QStringLiteral("Document avec &cadres"), QKeySequence(),
                                         kFichier);
    connect(frames, &QAction::triggered, this, [this] {
        const QList<NewDocumentKind> &kinds = NewDocumentKinds();
        for (int i = 0; i < kinds.size(); ++i)
            if (kinds.at(i).then == NewDocumentKind::Frames) return newFromKind(i);
    });
    connect(wizard, &QAction::triggered, this, &NewDocumentModule::FileNewWizard);
    connect(fromTemplate, &QAction::triggered, this, &NewDocumentModule::FileModeleNew);
    connect(save, &QAction::triggered, this, &NewDocumentModule::FileModeleSave);
    connect(open, &QAction::triggered, this, &NewDocumentModule::FileModeleModifier);
    m_ctx.actions->addUpdate(
        [this, save] { save->setEnabled(m_ctx.docs->ActiveEditor() != nullptr); });
}

QString NewDocumentModule::templatesFolder() {
    const QString folder = Templates::folder();
    Templates::seed(folder, kShipped);
    return folder;
}

void NewDocumentModule::FileNewWizard() {
    runNewBox(false);
}
void NewDocumentModule::FileModeleNew() {
    runNewBox(true);
}

void NewDocumentModule::runNewBox(bool templatesFirst) {
    const QString folder = templatesFolder();
    TNewBox box(m_ctx.window, templatesFirst ? TNewBox::NewFromTemplate : TNewBox::NewDocument,
                folder);
    if (ui().execDialog(&box) != QDialog::Accepted) return;
    const int kind = box.chosenKind();
    const QString chosen = box.chosenTemplate();
    if (kind >= 0)
        newFromKind(kind);
    else if (!chosen.isEmpty())
        newFromTemplate(QDir(folder).filePath(chosen));
}

void NewDocumentModule::newFromKind(int kind) {
    const NewDocumentKind &k = NewDocumentKinds().at(kind);
    m_ctx.docs->OpenDocument(QString(), false);
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    if (m_types) m_types->SetEditorHighlighter(e, k.typeEntry);
    if (k.then == NewDocumentKind::PageProperties && m_startPage)
        m_startPage(e);
    else if (k.then == NewDocumentKind::Frames && m_startFrames)
        m_startFrames(e);
}

void NewDocumentModule::newFromTemplate(const QString &path) {
    LoadedText loaded;
    if (readTextFile(path, &loaded) != ReadStatus::Ok) {
        ui().message(MsgType::Error, MsgButtons::Ok, DocTexts::cannotOpen(path));
        return;
    }
    m_ctx.docs->OpenDocument(QString(), false);
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    // The template's encoding and line breaks, then its text as an edit, so that the
    // untitled document counts as modified and closing it asks.
    LoadedText empty;
    empty.encoding = loaded.encoding;
    empty.lineBreak = loaded.lineBreak;
    e->setLoadedText(empty);
    e->replaceAllText(QString::fromUtf8(loaded.utf8));
    e->setCaretXY({1, 1});
    if (m_types) m_types->assignFromExtension(e, path);
    m_ctx.docs->mwCustomEdit1StatusChange(e);
}

void NewDocumentModule::FileModeleSave() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    const QString folder = templatesFolder();
    TNewBox box(m_ctx.window, TNewBox::SaveTemplate, folder,
                e->fileName.isEmpty() ? QString() : QFileInfo(e->fileName).fileName());
    if (ui().execDialog(&box) != QDialog::Accepted || !e) return;
    if (!QDir().mkpath(folder)) {
        ui().message(MsgType::Error, MsgButtons::Ok,
                     DocTexts::cannotCreate(QDir(folder).filePath(box.fileName())));
        return;
    }
    const QString oldName = e->fileName;
    const int oldKind = e->documentKind;
    const QString path = QDir::toNativeSeparators(QDir(folder).filePath(box.fileName()));
    m_ctx.docs->renameDocument(e, path, KindTemplate);
    if (!m_ctx.docs->WriteDocument(e)) {
        // The document stays what it was; the write said why it failed.
        m_ctx.docs->renameDocument(e, oldName, oldKind);
        return;
    }
    m_ctx.docs->mwCustomEdit1StatusChange(e);
}

void NewDocumentModule::FileModeleModifier() {
    const QString folder = templatesFolder();
    TNewBox box(m_ctx.window, TNewBox::OpenTemplate, folder);
    if (ui().execDialog(&box) != QDialog::Accepted || box.chosenTemplate().isEmpty()) return;
    const QString path = QDir::toNativeSeparators(QDir(folder).filePath(box.chosenTemplate()));
    m_ctx.docs->OpenDocument(path, false);
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e || QFileInfo(e->fileName) != QFileInfo(path)) return;
    e->documentKind = KindTemplate;
    m_ctx.docs->mwCustomEdit1StatusChange(e);
}
