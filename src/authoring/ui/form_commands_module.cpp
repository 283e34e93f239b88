#include "authoring/ui/form_commands_module.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "authoring/ui/form_boxes.h"
#include "authoring/ui/form_command_icons.h"
#include "authoring/ui/insertion_glue.h"
#include "authoring/ui/tab_boite.h"

#include <QAction>
#include <QMainWindow>
#include <QPointer>

using namespace Authoring;

namespace {
const QString kFormulaire = QStringLiteral("Formulaire");
const QString kInsertion = QStringLiteral("Insertion");
const QString kImageFilter = QStringLiteral(
    "Fichiers image (*.gif;*.jpg;*.jpeg;*.png)|*.gif;*.jpg;*.jpeg;*.png|Gif image "
    "(*.gif)|*.gif|Jpeg image (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG image (*.png)|*.png|Tous les "
    "fichiers (*.*)|*.*");

// Markup written as a whole, with nothing after the selection.
WrapMarkup before(const QString &text) {
    return {text, QString()};
}
} // namespace

FormCommandsModule::FormCommandsModule(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    addFormCommands();
    QAction *table = add("InsertionTableau", QStringLiteral("&Tableau..."), kInsertion,
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    connect(table, &QAction::triggered, this, &FormCommandsModule::tableCommand);

    m_ctx.actions->addUpdate([this] {
        const bool editor = m_ctx.docs->ActiveEditor() != nullptr;
        for (QAction *a : std::as_const(m_actions))
            a->setEnabled(editor);
    });
}

QAction *FormCommandsModule::add(const char *name, const QString &caption, const QString &category,
                                 const QKeySequence &key) {
    QAction *a = m_ctx.actions->add(QLatin1String(name), caption, key, category);
    a->setIcon(FormCommandIcon(QLatin1String(name)));
    m_actions << a;
    return a;
}

template <typename Box, typename Prepare, typename Build>
void FormCommandsModule::runDialog(Prepare prepare, Build build) {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    RunPerUseDialog<Box>(m_ctx.window, [&](Box &box) {
        prepare(box);
        if (ui().execDialog(&box) != QDialog::Accepted || !e) return;
        const WrapMarkup markup = build(box);
        if (markup.opening.isEmpty() && markup.closing.isEmpty()) return;
        // The builders have already given the tags their case.
        Markup::WrapSelection(m_ctx, e, markup.opening, markup.closing, true);
    });
}

void FormCommandsModule::addFormCommands() {
    const Options &o = *m_ctx.options;
    auto none = [](auto &) {};

    connect(add("InsertionFormulaire", QStringLiteral("&Nouveau formulaire..."), kFormulaire),
            &QAction::triggered, this, [=, this, &o] {
                runDialog<TFormulaire_Boite>(none, [&o](TFormulaire_Boite &b) {
                    return BuildFormMarkup(b.values(), o.casse);
                });
            });
    connect(add("FormulaireRadio", QStringLiteral("Case &radio..."), kFormulaire),
            &QAction::triggered, this, [=, this, &o] {
                runDialog<TForm_Radio_Boite>(none, [&o](TForm_Radio_Boite &b) {
                    return before(
                        BuildChoiceGroupMarkup(ChoiceKind::Radio, b.values(), o.xhtml, o.casse));
                });
            });
    connect(add("FormulaireCocher", QStringLiteral("Case à &cocher..."), kFormulaire),
            &QAction::triggered, this, [=, this, &o] {
                runDialog<TForm_Check_Boite>(none, [&o](TForm_Check_Boite &b) {
                    return before(
                        BuildChoiceGroupMarkup(ChoiceKind::CheckBox, b.values(), o.xhtml, o.casse));
                });
            });
    connect(
        add("FormulaireListeDeroulante", QStringLiteral("Boîte liste &déroulante..."), kFormulaire),
        &QAction::triggered, this, [=, this, &o] {
            runDialog<TForm_Combo_Boite>(none, [&o](TForm_Combo_Boite &b) {
                return before(BuildDropDownMarkup(b.values(), o.xhtml, o.casse));
            });
        });
    connect(add("FormulaireListe", QStringLiteral("Boîte &liste..."), kFormulaire),
            &QAction::triggered, this, [=, this, &o] {
                runDialog<TForm_ListBox_Boite>(none, [&o](TForm_ListBox_Boite &b) {
                    return before(BuildListBoxMarkup(b.values(), o.xhtml, o.casse));
                });
            });
    connect(add("FormulaireTexte", QStringLiteral("Boîte &texte..."), kFormulaire),
            &QAction::triggered, this, [=, this, &o] {
                runDialog<TForm_edit_Boite>(none, [&o](TForm_edit_Boite &b) {
                    return before(BuildTextFieldMarkup(b.values(), o.xhtml, o.casse));
                });
            });
    connect(add("FormulairePassword", QStringLiteral("Boîte m&ot de passe..."), kFormulaire),
            &QAction::triggered, this, [=, this, &o] {
                runDialog<TForm_pass_Boite>(none, [&o](TForm_pass_Boite &b) {
                    return before(BuildPasswordMarkup(b.values(), o.xhtml, o.casse));
                });
            });
    connect(
        add("FormulaireTexteMultiligne", QStringLiteral("Boîte texte &multiligne..."), kFormulaire),
        &QAction::triggered, this, [=, this, &o] {
            runDialog<TForm_Memo_Boite>(none, [&o](TForm_Memo_Boite &b) {
                return BuildTextAreaMarkup(b.values(), o.casse);
            });
        });
    const struct {
        const char *name;
        QString caption;
        ButtonType type;
    } buttons[] = {
        {"FormulaireBouton", QStringLiteral("&Bouton..."), ButtonType::Standard},
        {"FormulaireBoutonSoumettre", QStringLiteral("Bouton &soumettre..."), ButtonType::Submit},
        {"FormulaireBoutonReinitialiser", QStringLiteral("Bouton ré&initialiser..."),
         ButtonType::Reset},
    };
    for (const auto &b : buttons) {
        connect(add(b.name, b.caption, kFormulaire), &QAction::triggered, this,
                [this, type = b.type] { buttonCommand(type); });
    }
    connect(add("FormulaireBoutonParcourir", QStringLiteral("Bouton &parcourir..."), kFormulaire),
            &QAction::triggered, this, [=, this, &o] {
                runDialog<TFormParcBoite>(none, [&o](TFormParcBoite &b) {
                    return before(BuildFileFieldMarkup(b.values(), o.xhtml, o.casse));
                });
            });
    connect(add("FormulaireHidden", QStringLiteral("Entrée cac&hée..."), kFormulaire),
            &QAction::triggered, this, [=, this, &o] {
                runDialog<TBoite_Hidden>(none, [&o](TBoite_Hidden &b) {
                    return before(BuildHiddenFieldMarkup(b.values(), o.xhtml, o.casse));
                });
            });
    connect(add("FormulaireImage", QStringLiteral("Image de formulaire..."), kFormulaire),
            &QAction::triggered, this, [this, &o] {
                runDialog<TBoite_FormImage>(
                    [this](TBoite_FormImage &b) { b.setBrowser([this] { return browseImage(); }); },
                    [&o](TBoite_FormImage &b) {
                        return before(BuildImageButtonMarkup(b.values(), o.xhtml, o.casse));
                    });
            });
}

void FormCommandsModule::buttonCommand(ButtonType type) {
    const Options &o = *m_ctx.options;
    runDialog<TBoite_Bouton>(
        [type](TBoite_Bouton &b) { b.setType(type); },
        [&o](TBoite_Bouton &b) { return before(BuildButtonMarkup(b.values(), o.xhtml, o.casse)); });
}

QString FormCommandsModule::browseImage() {
    FileDialogRequest request;
    request.filter = kImageFilter;
    Markup::PrepareFileDialog(m_ctx, request);
    const QStringList chosen = ui().openFileNames(m_ctx.window, request);
    if (chosen.isEmpty()) return {};
    return Markup::RelativeUrl(m_ctx, chosen.first());
}

void FormCommandsModule::tableCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    TTab_Boite box(m_cells, m_ctx.window);
    if (ui().execDialog(&box) != QDialog::Accepted || !e) return;
    const QString table = BuildTableMarkup(box.values(), m_cells, m_ctx.options->casse);
    if (!table.isEmpty()) Markup::InsertMarkup(m_ctx, e, table, true);
}
