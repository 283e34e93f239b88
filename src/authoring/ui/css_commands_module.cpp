#include "authoring/ui/css_commands_module.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/icons.h"
#include "app/ui/ui_services.h"
#include "authoring/ui/colour_widgets.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolButton>

using namespace Authoring;

namespace {
const QString kCss = QStringLiteral("CSS");
const char *kSplitAction = "splitAction";

// Drawn when first shown: most of these pictures sit in menus never opened.
QIcon textIcon(const QString &text) {
    return Icons::draw([text](QPainter &p) {
        QFont f(QStringLiteral("Monospace"));
        f.setPixelSize(text.size() > 2 ? 8 : 11);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0x00, 0x40, 0x80));
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, text);
    });
}
} // namespace

QAction *SplitItemMenu::addSplitItem(QAction *action, QMenu *sub) {
    QAction *entry = addMenu(sub);
    entry->setText(action->text());
    entry->setStatusTip(action->statusTip());
    entry->setProperty(kSplitAction, QVariant::fromValue(action));
    return entry;
}

void SplitItemMenu::mouseReleaseEvent(QMouseEvent *event) {
    QAction *entry = actionAt(event->position().toPoint());
    auto *target = entry ? entry->property(kSplitAction).value<QAction *>() : nullptr;
    if (!target || event->button() != Qt::LeftButton) {
        QMenu::mouseReleaseEvent(event);
        return;
    }
    for (QWidget *w = this; w; w = w->parentWidget()) {
        if (auto *m = qobject_cast<QMenu *>(w)) m->close();
    }
    target->trigger();
}

CssCommandsModule::CssCommandsModule(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    addStyleSheet();
    addRuleCommands();
    addDeclarations();
    m_ctx.actions->addUpdate([this] {
        const bool editor = m_ctx.docs->ActiveEditor() != nullptr;
        for (QAction *a : std::as_const(m_markupActions))
            a->setEnabled(editor);
    });
}

void CssCommandsModule::wrap(const CssWrap &w) {
    Markup::WrapSelection(m_ctx, m_ctx.docs->ActiveEditor(), w.opening, w.closing, true);
}

void CssCommandsModule::addDeclarations() {
    ActionRegistry &r = *m_ctx.actions;
    for (const CssFamily &family : CssFamilies()) {
        for (const CssItem &item : family.items()) {
            QAction *a = r.add(item.name, item.caption, {}, kCss);
            // The hint is the text the command writes.
            a->setStatusTip(item.text);
            a->setToolTip(item.text);
            if (item.form == CssForm::Placeholder) {
                QFont f = a->font();
                f.setItalic(true);
                a->setFont(f);
            }
            connect(a, &QAction::triggered, this, [this, item] { wrap(CssDeclaration(item)); });
            m_markupActions << a;
        }
    }
    r.addWidget(QStringLiteral("CSSFamilies"), [this](QWidget *parent) -> QWidget * {
        auto *box = new QWidget(parent);
        box->setObjectName(QStringLiteral("CSSFamilies"));
        auto *layout = new QHBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(2);
        for (const CssFamily &family : CssFamilies()) {
            auto *button = new QToolButton(box);
            button->setObjectName(family.name);
            button->setText(family.caption);
            button->setToolTip(family.caption);
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            button->setPopupMode(QToolButton::InstantPopup);
            button->setMenu(buildFamilyMenu(family, button));
            layout->addWidget(button);
        }
        return box;
    });
}

QMenu *CssCommandsModule::buildFamilyMenu(const CssFamily &family, QWidget *parent) {
    const ActionRegistry &r = *m_ctx.actions;
    auto *menu = new SplitItemMenu(family.caption, parent);
    menu->setObjectName(family.name + QStringLiteral("Menu"));
    menu->setToolTipsVisible(true);
    if (family.hasShorthand) {
        menu->addAction(r.action(family.shorthand.name));
        menu->addSeparator();
    }
    for (const CssProperty &p : family.properties) {
        QAction *own = r.action(p.item.name);
        if (p.values.isEmpty() && p.placeholders.isEmpty() && !p.palette) {
            menu->addAction(own);
            continue;
        }
        auto *sub = new SplitItemMenu(p.item.caption, menu);
        sub->setObjectName(p.item.name + QStringLiteral("Menu"));
        sub->setToolTipsVisible(true);
        for (const CssItem &v : p.values)
            sub->addAction(r.action(v.name));
        if (!p.placeholders.isEmpty()) {
            if (!p.values.isEmpty()) sub->addSeparator();
            for (const CssItem &v : p.placeholders)
                sub->addAction(r.action(v.name));
        }
        if (p.palette) {
            if (!p.values.isEmpty()) sub->addSeparator();
            addColourGrid(sub, [this, property = p.item.text](const QColor &c) {
                wrap(CssColourDeclaration(property, ColourUi::colourText(c)));
            });
        }
        menu->addSplitItem(own, sub);
    }
    return menu;
}

void CssCommandsModule::addRuleCommands() {
    ActionRegistry &r = *m_ctx.actions;
    const struct {
        const char *name;
        QString caption;
        CssRuleKind kind;
        const char *icon;
    } rules[] = {
        {"CSSBalise", QStringLiteral("Nouvelle Balise HTML"), CssRuleKind::Tag, "<>{"},
        {"CSSClasse", QStringLiteral("Nouvelle classe"), CssRuleKind::Class, ".{"},
        {"CSSIdent", QStringLiteral("Nouvel identificateur unique"), CssRuleKind::Ident, "#{"}};
    for (const auto &rule : rules) {
        QAction *a = r.add(QLatin1String(rule.name), rule.caption, {}, kCss);
        a->setIcon(textIcon(QString::fromLatin1(rule.icon)));
        connect(a, &QAction::triggered, this, [this, kind = rule.kind] { this->rule(kind); });
        m_markupActions << a;
    }
}

void CssCommandsModule::rule(CssRuleKind kind) {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    TCssRuleBox box(kind, m_ctx.window);
    if (ui().execDialog(&box) != QDialog::Accepted || !e) return;
    Markup::WrapSelection(m_ctx, e, box.opening(m_ctx.options->casse), CssRuleClosing(), true);
}

void CssCommandsModule::addStyleSheet() {
    QAction *a =
        m_ctx.actions->add(QStringLiteral("InsertionCSS"), QStringLiteral("Feuille de style..."),
                           {}, QStringLiteral("Insertion"));
    connect(a, &QAction::triggered, this, &CssCommandsModule::styleSheet);
    m_markupActions << a;
}

QString CssCommandsModule::browseStyleSheet() {
    FileDialogRequest request;
    request.filter = QStringLiteral("Feuilles de style (*.css)|*.css|Tous les fichiers (*.*)|*.*");
    Markup::PrepareFileDialog(m_ctx, request);
    const QStringList chosen = ui().openFileNames(m_ctx.window, request);
    if (chosen.isEmpty()) return {};
    return Markup::RelativeUrl(m_ctx, chosen.first());
}

void CssCommandsModule::styleSheet() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    m_cssBox.run(m_ctx.window, [this, &e](TCSSBox &box) {
        box.setBrowser([this] { return browseStyleSheet(); });
        box.prepareForShow();
        Markup::SaveFirstPrompt(m_ctx);
        if (ui().execDialog(&box) != QDialog::Accepted || !e) return true;
        box.rememberAddress();
        if (!box.external()) {
            const CssWrap w = StyleSheetInternal();
            Markup::WrapSelection(m_ctx, e, w.opening, w.closing, false);
        } else {
            const QString href = Markup::UrlEncode(e, box.address());
            Markup::WrapSelection(m_ctx, e, StyleSheetLink(href, m_ctx.options->xhtml), QString(),
                                  false);
        }
        return true;
    });
}
