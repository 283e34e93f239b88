#include "app/ui/clipboard_state.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

ClipboardState *ClipboardState::instance()
{
    static ClipboardState *state = new ClipboardState;
    return state;
}

ClipboardState::ClipboardState() : QObject(QGuiApplication::clipboard())
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        refresh();
        emit changed();
    });
}

void ClipboardState::ask()
{
    if (m_known)
        return;
    refresh();
    emit changed();
}

void ClipboardState::refresh()
{
    const QMimeData *m = QGuiApplication::clipboard()->mimeData();
    m_hasText = m && m->hasText() && !m->text().isEmpty();
    m_known = true;
}
