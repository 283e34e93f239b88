#pragma once

#include "app/ui/app_context.h"
#include "authoring/ui/image_boite.h"
#include "authoring/ui/insertion_glue.h"
#include "authoring/ui/link_boxes.h"
#include "authoring/ui/media_boxes.h"

#include <QList>
#include <QObject>

class QAction;

// The Insertion commands that refer to files and addresses: image, sound, video,
// link, named anchor and e-mail link.
class MediaLinkModule : public QObject {
    Q_OBJECT
public:
    explicit MediaLinkModule(AppContext &ctx);

private:
    QAction *add(const char *name, const QString &caption, const QKeySequence &key,
                 const QString &hint = {});
    void imageCommand();
    void soundCommand();
    void videoCommand();
    void linkCommand();
    void anchorCommand();
    void mailCommand();

    AppContext &m_ctx;
    QList<QAction *> m_actions;
    KeptDialog<TImage_Boite> m_image;
    KeptDialog<TSonBox> m_sound;
    KeptDialog<TVideoBox> m_video;
    KeptDialog<TLien_Boite> m_link;
    KeptDialog<TAncre_Boite> m_anchor;
};

// The file dialog of the insertion dialogs: starts where the document lives and
// gives the chosen file's address relative to it.
DialogParts::FileBrowser InsertionFileBrowser(const AppContext &ctx);
// The encoding whose bytes percent-encoding writes for the editor's document.
Authoring::UrlEncoding DocumentUrlEncoding(const TMyMwCustomEdit *editor);
