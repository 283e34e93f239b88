#pragma once

#include <QPoint>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

// The embedded browser as the preview needs it: open an address, back, forward,
// refresh, stop, the current address and the busy state, and three notifications.
// The engine behind it lives in a module loaded the first time the preview is
// needed, so that starting the program does not load a browser engine; this
// header is all that the program and the module share (no Qt meta-objects cross
// the boundary).
class PreviewEngine {
public:
    enum Command { Back, Forward, Stop };
    struct Notifications {
        // Text for the status bar (the address under the mouse); empty when none.
        std::function<void(const QString &text)> statusText;
        // The page (not a frame inside it) is about to open this address; never cancelled.
        std::function<void(const QUrl &url)> beforeNavigate;
        // Back or Forward became possible or not; Stop: the engine is busy or not.
        std::function<void(Command command, bool enabled)> commandState;
        // The page finished loading (ok false: it failed or another load replaced it).
        std::function<void(bool ok)> loadFinished;
    };

    virtual ~PreviewEngine() = default;
    // The browser widget; it belongs to the parent given at creation.
    virtual QWidget *widget() = 0;
    virtual void navigate(const QUrl &url) = 0;
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual void refresh() = 0;
    virtual void stop() = 0;
    virtual QUrl location() const = 0;
    virtual bool busy() const = 0;
    // How far the page shown is scrolled, in the page's pixels.
    virtual QPoint scrollPosition() const = 0;
    // Opens the address and scrolls the new page to the position as soon as its
    // document is read, before its pictures arrive: a refreshed page does not jump
    // to the top. A load still going on is replaced.
    virtual void navigateKeepingScroll(const QUrl &url, const QPoint &scroll) = 0;
    // Runs a script in the page, apart from the page's own scripts.
    virtual void runScript(const QString &source) = 0;
};

// The module's one entry point. Returns nullptr when the engine cannot run here.
#define BALIZOR_PREVIEW_ENGINE_ENTRY "balizorCreatePreviewEngine"
using CreatePreviewEngineFn = PreviewEngine *(*)(QWidget *parent,
                                                 const PreviewEngine::Notifications &notify);
