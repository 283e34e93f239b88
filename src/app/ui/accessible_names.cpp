#include "app/ui/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextEdit>
#include <QToolButton>

namespace AccessibleNames {

namespace {

const char *const kNamedProperty = "balizorAccessibleNamed";
// The name and the description taken from the hint, so that they follow it when the
// hint changes (a button whose hint says what it will do next).
const char *const kHintName = "balizorHintName";
const char *const kHintDescription = "balizorHintDescription";

// "&Largeur :" -> "Largeur": no mnemonic marks, no trailing colon.
QString cleanCaption(QString text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        out += text.at(i);
    }
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    out = out.simplified();
    while (out.endsWith(QLatin1Char(':')) || out.endsWith(QChar(0x00A0)))
        out.chop(1);
    return out.trimmed();
}

bool hasWordCharacter(const QString &s) {
    for (QChar c : s)
        if (c.isLetterOrNumber()) return true;
    return false;
}

QString plainText(const QString &hint) {
    // Hints may be rich text.
    QString t = hint;
    if (Qt::mightBeRichText(t)) t.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return t.simplified();
}

QString labelText(const QLabel *label) {
    if (!label || label->text().isEmpty()) return {};
    return cleanCaption(plainText(label->text()));
}

// A label whose buddy is the control, anywhere in its window.
QString buddyCaption(const QWidget *w) {
    const QWidget *win = w->window();
    for (const QLabel *label : win->findChildren<QLabel *>()) {
        if (label->buddy() == w) {
            const QString t = labelText(label);
            if (!t.isEmpty()) return t;
        }
    }
    return {};
}

// A label just before the control in its layout: the cell to its left in a grid, the
// label of its form row, or the previous item of a box.
QString layoutCaption(const QWidget *w) {
    const QWidget *parent = w->parentWidget();
    if (!parent) return {};
    QList<QLayout *> layouts;
    if (parent->layout()) layouts << parent->layout();
    for (QLayout *l : parent->findChildren<QLayout *>())
        if (!layouts.contains(l)) layouts << l;
    for (QLayout *layout : layouts) {
        const int index = layout->indexOf(const_cast<QWidget *>(w));
        if (index < 0) continue;
        if (auto *form = qobject_cast<QFormLayout *>(layout)) {
            if (auto *label = qobject_cast<QLabel *>(form->labelForField(const_cast<QWidget *>(w))))
                return labelText(label);
            return {};
        }
        if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
            int row, col, rs, cs;
            grid->getItemPosition(index, &row, &col, &rs, &cs);
            for (int c = col - 1; c >= 0; --c) {
                QLayoutItem *item = grid->itemAtPosition(row, c);
                if (!item || !item->widget()) continue;
                if (auto *label = qobject_cast<QLabel *>(item->widget())) return labelText(label);
                break;
            }
            return {};
        }
        for (int i = index - 1; i >= 0; --i) {
            QLayoutItem *item = layout->itemAt(i);
            if (!item || !item->widget()) continue;
            if (auto *label = qobject_cast<QLabel *>(item->widget())) return labelText(label);
            break;
        }
        return {};
    }
    return {};
}

QString arrowName(const QWidget *w) {
    if (auto *tb = qobject_cast<const QToolButton *>(w)) {
        switch (tb->arrowType()) {
        case Qt::UpArrow:
            return QStringLiteral("Monter");
        case Qt::DownArrow:
            return QStringLiteral("Descendre");
        case Qt::LeftArrow:
            return QStringLiteral("Gauche");
        case Qt::RightArrow:
            return QStringLiteral("Droite");
        case Qt::NoArrow:
            break;
        }
    }
    return {};
}

QString hintOf(const QWidget *w) {
    QString h = plainText(w->toolTip());
    if (h.isEmpty()) h = plainText(w->statusTip());
    if (h.isEmpty()) h = plainText(w->whatsThis());
    return h;
}

QString groupTitle(const QWidget *w) {
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto *g = qobject_cast<const QGroupBox *>(p)) return cleanCaption(g->title());
        if (p->isWindow()) break;
    }
    return {};
}

QString chooseName(const QWidget *w) {
    if (auto *button = qobject_cast<const QAbstractButton *>(w)) {
        const QString caption = cleanCaption(button->text());
        if (hasWordCharacter(caption)) return caption;
        // A picture button, or one showing only "...": its hint says what it does.
        const QString hint = hintOf(w);
        if (!hint.isEmpty()) return cleanCaption(hint);
        const QString arrow = arrowName(w);
        if (!arrow.isEmpty()) return arrow;
        if (caption.contains(QLatin1String("...")) || caption.contains(QChar(0x2026)))
            return QStringLiteral("Parcourir");
    }
    QString name = buddyCaption(w);
    if (name.isEmpty()) name = layoutCaption(w);
    if (name.isEmpty()) name = cleanCaption(hintOf(w));
    if (name.isEmpty()) {
        if (auto *edit = qobject_cast<const QLineEdit *>(w))
            name = cleanCaption(edit->placeholderText());
    }
    if (!name.isEmpty()) return name;
    // Controls with no caption, label or hint: say what they are.
    if (qobject_cast<const QTabBar *>(w)) return QStringLiteral("Onglets");
    if (w->objectName() == QLatin1String("qt_toolbar_ext_button"))
        return QStringLiteral("Autres boutons");
    if (w->inherits("QsciScintilla")) return QStringLiteral("Texte du document");
    if (qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w))
        return QStringLiteral("Zone de texte");
    if (w->inherits("QHelpContentWidget")) return QStringLiteral("Sommaire");
    if (w->inherits("QHelpIndexWidget")) return QStringLiteral("Index");
    // Last resort: the title of the group box, or else of the window, with the kind of
    // control; never the title alone, which would name the box rather than the control.
    QString group = groupTitle(w);
    if (group.isEmpty()) {
        group = w->window()->windowTitle().section(QStringLiteral(" - "), 0, 0).trimmed();
        if (group.isEmpty()) return {};
    }
    if (qobject_cast<const QLineEdit *>(w)) return group + QStringLiteral(" : saisie");
    if (qobject_cast<const QAbstractItemView *>(w)) return group + QStringLiteral(" : liste");
    if (qobject_cast<const QComboBox *>(w)) return group + QStringLiteral(" : choix");
    if (qobject_cast<const QAbstractSpinBox *>(w)) return group + QStringLiteral(" : valeur");
    if (qobject_cast<const QAbstractScrollArea *>(w)) return group + QStringLiteral(" : vue");
    return {};
}

// An editable drop-down's text field is what a screen reader reads while one types:
// it takes the drop-down's name.
void nameTextField(QWidget *control, const QString &name) {
    auto *combo = qobject_cast<QComboBox *>(control);
    if (!combo || !combo->lineEdit() || name.isEmpty()) return;
    QLineEdit *edit = combo->lineEdit();
    if (edit->accessibleName().isEmpty() || edit->property(kNamedProperty).toBool()) {
        edit->setAccessibleName(name);
        edit->setProperty(kNamedProperty, true);
    }
}

// The hint of a named control changed: a name or description taken from the old
// hint becomes the new one.
void followHint(QWidget *w) {
    const QString hint = hintOf(w);
    const QVariant oldName = w->property(kHintName);
    if (oldName.isValid() && w->accessibleName() == oldName.toString()) {
        const QString name = cleanCaption(hint);
        if (!name.isEmpty()) {
            w->setAccessibleName(name);
            w->setProperty(kHintName, name);
            nameTextField(w, name);
        }
    }
    const QVariant oldDescription = w->property(kHintDescription);
    if (oldDescription.isValid() && w->accessibleDescription() == oldDescription.toString()) {
        const QString description = hint == w->accessibleName() ? QString() : hint;
        w->setAccessibleDescription(description);
        w->setProperty(kHintDescription, description);
    }
}

class Watcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *object, QEvent *event) override {
        if (!object->isWidgetType()) return false;
        auto *w = static_cast<QWidget *>(object);
        if (event->type() == QEvent::Show) {
            if (w->isWindow())
                nameControls(w);
            else if (!w->property(kNamedProperty).toBool() && needsName(w))
                nameControl(w);
        } else if (event->type() == QEvent::ToolTipChange && w->property(kNamedProperty).toBool()) {
            followHint(w);
        }
        return false;
    }
};

} // namespace

bool needsName(const QWidget *w) {
    if (!w || w->isWindow()) return false;
    // The parts of a composite control (a spin box's or an editable combo box's text
    // field, a view's viewport) are named through the control itself.
    if (w->focusProxy()) return false;
    if (auto *edit = qobject_cast<const QLineEdit *>(w)) {
        const QWidget *p = edit->parentWidget();
        if (qobject_cast<const QAbstractSpinBox *>(p) || qobject_cast<const QComboBox *>(p))
            return false;
    }
    if (qobject_cast<const QAbstractButton *>(w)) return true;
    return w->focusPolicy() != Qt::NoFocus;
}

QString nameControl(QWidget *control) {
    if (!control) return {};
    control->setProperty(kNamedProperty, true);
    QString name = control->accessibleName();
    const QString group = groupTitle(control);
    // A name that is only the group box's title says nothing about the control.
    if (!name.isEmpty() && !group.isEmpty() && cleanCaption(name) == group &&
        !(qobject_cast<QAbstractButton *>(control) &&
          cleanCaption(static_cast<QAbstractButton *>(control)->text()) == group))
        name.clear();
    if (name.isEmpty()) {
        auto *button = qobject_cast<QAbstractButton *>(control);
        const QString caption = button ? cleanCaption(button->text()) : QString();
        if (hasWordCharacter(caption)) {
            // Left unset: the accessibility layer reads the caption, even once it changes.
            name = caption;
        } else {
            name = chooseName(control);
            if (!name.isEmpty()) control->setAccessibleName(name);
            if (!name.isEmpty() && name == cleanCaption(hintOf(control)))
                control->setProperty(kHintName, name);
        }
    }
    nameTextField(control, name);
    if (control->accessibleDescription().isEmpty()) {
        const QString hint = hintOf(control);
        if (!hint.isEmpty() && hint != name) {
            control->setAccessibleDescription(hint);
            control->setProperty(kHintDescription, hint);
        }
    }
    return name;
}

void nameControls(QWidget *root) {
    if (!root) return;
    if (needsName(root)) nameControl(root);
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (w->isWindow()) continue; // named when it is shown itself
        if (needsName(w)) nameControl(w);
    }
}

void install() {
    static QPointer<Watcher> watcher;
    if (watcher || !qApp) return;
    watcher = new Watcher(qApp);
    qApp->installEventFilter(watcher);
}

} // namespace AccessibleNames
