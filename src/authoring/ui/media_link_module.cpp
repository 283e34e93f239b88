#include "authoring/ui/media_link_module.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "authoring/ui/insertion_icons.h"

#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QPointer>

namespace {
const QString kInsertion = QStringLiteral("Insertion");
} // namespace

DialogParts::FileBrowser InsertionFileBrowser(const AppContext &ctx) {
    return [&ctx](const QString &filter) -> std::optional<DialogParts::BrowsedFile> {
        FileDialogRequest request;
        request.filter = filter;
        Markup::PrepareFileDialog(ctx, request);
        const QStringList files = ui().openFileNames(ctx.window, request);
        if (files.isEmpty()) return std::nullopt;
        const QString path = QDir::toNativeSeparators(files.first());
        return DialogParts::BrowsedFile{path, Markup::RelativeUrl(ctx, path)};
    };
}

Authoring::UrlEncoding DocumentUrlEncoding(const TMyMwCustomEdit *e) {
    return !e || e->encoding == TextEncoding::Windows1252 ? Authoring::UrlEncoding::Windows1252
                                                          : Authoring::UrlEncoding::Utf8;
}

MediaLinkModule::MediaLinkModule(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    connect(add("InsertionImage", QStringLiteral("I&mage..."), QKeySequence(Qt::CTRL | Qt::Key_M)),
            &QAction::triggered, this, &MediaLinkModule::imageCommand);
    connect(add("InsertionLien", QStringLiteral("&Lien..."), QKeySequence(Qt::CTRL | Qt::Key_L)),
            &QAction::triggered, this, &MediaLinkModule::linkCommand);
    connect(add("InsertionAncre", QStringLiteral("&Ancre..."), {}), &QAction::triggered, this,
            &MediaLinkModule::anchorCommand);
    connect(add("InsertionMail", QStringLiteral("&Adresse e-mail..."),
                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)),
            &QAction::triggered, this, &MediaLinkModule::mailCommand);
    connect(add("InsertionSon", QStringLiteral("Effet &sonore..."), {},
                QStringLiteral("Effet sonore (Explorer)")),
            &QAction::triggered, this, &MediaLinkModule::soundCommand);
    connect(
        add("InsertionVideo", QStringLiteral("&Vidéo..."), {}, QStringLiteral("Vidéo (Explorer)")),
        &QAction::triggered, this, &MediaLinkModule::videoCommand);

    m_ctx.actions->addUpdate([this] {
        const bool editor = m_ctx.docs->ActiveEditor() != nullptr;
        for (QAction *a : std::as_const(m_actions))
            a->setEnabled(editor);
    });
}

QAction *MediaLinkModule::add(const char *name, const QString &caption, const QKeySequence &key,
                              const QString &hint) {
    QAction *a = m_ctx.actions->add(QLatin1String(name), caption, key, kInsertion);
    a->setIcon(InsertionIcon(QLatin1String(name)));
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    m_actions << a;
    return a;
}

void MediaLinkModule::imageCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    m_image.run(m_ctx.window, [&](TImage_Boite &dialog) {
        dialog.setFileBrowser(InsertionFileBrowser(m_ctx));
        Markup::SaveFirstPrompt(m_ctx);
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return true;
        Markup::InsertMarkup(m_ctx, e,
                             Authoring::BuildImageMarkup(dialog.values(), m_ctx.options->xhtml,
                                                         DocumentUrlEncoding(e)),
                             false);
        dialog.rememberCurrent();
        return true;
    });
}

void MediaLinkModule::soundCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    m_sound.run(m_ctx.window, [&](TSonBox &dialog) {
        dialog.setFileBrowser(InsertionFileBrowser(m_ctx));
        Markup::SaveFirstPrompt(m_ctx);
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return true;
        Markup::InsertMarkup(m_ctx, e,
                             Authoring::BuildSoundMarkup(dialog.values(), m_ctx.options->xhtml,
                                                         DocumentUrlEncoding(e)),
                             false);
        dialog.rememberCurrent();
        return true;
    });
}

void MediaLinkModule::videoCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    m_video.run(m_ctx.window, [&](TVideoBox &dialog) {
        dialog.setFileBrowser(InsertionFileBrowser(m_ctx));
        Markup::SaveFirstPrompt(m_ctx);
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return true;
        Markup::InsertMarkup(m_ctx, e,
                             Authoring::BuildVideoMarkup(dialog.values(), m_ctx.options->xhtml,
                                                         DocumentUrlEncoding(e)),
                             false);
        dialog.rememberCurrent();
        return true;
    });
}

void MediaLinkModule::linkCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    m_link.run(m_ctx.window, [&](TLien_Boite &dialog) {
        dialog.setFileBrowser(InsertionFileBrowser(m_ctx));
        Markup::SaveFirstPrompt(m_ctx);
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return true;
        Markup::WrapSelection(m_ctx, e,
                              Authoring::BuildLinkOpening(dialog.values(), DocumentUrlEncoding(e)),
                              QStringLiteral("</a>"), false);
        dialog.rememberCurrent();
        return true;
    });
}

void MediaLinkModule::anchorCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    m_anchor.run(m_ctx.window, [&](TAncre_Boite &dialog) {
        dialog.offerFragments(m_link.dialog() ? m_link.dialog()->history() : QStringList());
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return true;
        Markup::WrapSelection(m_ctx, e,
                              Authoring::BuildAnchorMarkup(dialog.name(), DocumentUrlEncoding(e),
                                                           m_ctx.options->casse),
                              QString(), true);
        return true;
    });
}

void MediaLinkModule::mailCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    RunPerUseDialog<TMail_Box>(m_ctx.window, [&](TMail_Box &dialog) {
        if (e->selAvail()) {
            const QString selected = e->textRange(e->blockBegin(), e->blockEnd());
            if (Authoring::LooksLikeEmailAddress(selected)) {
                const QString address = Authoring::ExtractEmailAddress(selected);
                if (Authoring::LooksLikeEmailAddress(address)) dialog.setAddress(address);
            }
        }
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return;
        Markup::WrapSelection(m_ctx, e,
                              Authoring::BuildMailOpening(dialog.address(), dialog.subject()),
                              QStringLiteral("</a>"), false);
    });
}
