#include "editor/ui/editor_accessibility.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <Qsci/qsciscintillabase.h>

namespace {

// The last activation announced; the platform's own flag may not be set yet when
// the announcement comes.
bool g_announcedActive = false;

bool toolListening() {
    return g_announcedActive || QAccessible::isActive();
}

class PlainEditorAccessible : public QAccessibleWidget {
public:
    explicit PlainEditorAccessible(QWidget *editor)
        : QAccessibleWidget(editor, QAccessible::EditableText) {}
};

// Consulted before QScintilla's factory (factories installed last come first). The
// browser engine asks about objects of its own whose type information the
// undefined-behaviour sanitizer cannot see across the library boundary: its vptr check
// is off here, the rest stays.
#if defined(__GNUC__) || defined(__clang__)
__attribute__((no_sanitize("vptr")))
#endif
QAccessibleInterface *plainWhileInactive(const QString &className, QObject *object) {
    if (!object || !object->isWidgetType() || toolListening()) return nullptr;
    auto *editor = qobject_cast<QsciScintillaBase *>(object);
    // Answer for the object's own class only: the query walks up the class chain.
    if (!editor || className != QLatin1String(object->metaObject()->className())) return nullptr;
    return new PlainEditorAccessible(editor);
}

class Activation : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override {
        g_announcedActive = active;
        if (!active) return;
        const QList<QWidget *> widgets = QApplication::allWidgets();
        for (QWidget *w : widgets) {
            if (!qobject_cast<QsciScintillaBase *>(w)) continue;
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            if (dynamic_cast<PlainEditorAccessible *>(iface))
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
        }
    }
};

} // namespace

namespace EditorAccessibility {

void install() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(plainWhileInactive);
    // Never destroyed: Qt keeps the pointer until its own end.
    QAccessible::installActivationObserver(new Activation);
}

} // namespace EditorAccessibility
