#include "shell/ui/menu_layout.h"

#include "app/ui/action_registry.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {
LayoutEntry A(const char *name) { return {LayoutEntry::Action, QString::fromLatin1(name), {}, {}}; }
LayoutEntry S() { return {LayoutEntry::Separator, {}, {}, {}}; }
LayoutEntry Sub(const QString &caption, QList<LayoutEntry> children, const char *name = "")
{
    return {LayoutEntry::Submenu, QString::fromLatin1(name), caption, std::move(children)};
}
LayoutEntry P(const char *name) { return {LayoutEntry::Provided, QString::fromLatin1(name), {}, {}}; }
LayoutEntry W(const char *name) { return {LayoutEntry::Widget, QString::fromLatin1(name), {}, {}}; }
// A button that runs its action and drops down a list (inline entries, or one provided menu).
LayoutEntry Split(const char *action, QList<LayoutEntry> dropDown)
{
    return {LayoutEntry::Split, QString::fromLatin1(action), {}, std::move(dropDown)};
}
// A drop-down button without an action of its own.
LayoutEntry Drop(const QString &caption, QList<LayoutEntry> children, const char *name = "")
{
    return {LayoutEntry::Split, QString::fromLatin1(name), caption, std::move(children)};
}

QList<LayoutEntry> range(const char *prefix, int from, int to)
{
    QList<LayoutEntry> l;
    for (int i = from; i <= to; ++i)
        l << LayoutEntry{LayoutEntry::Action, QString::fromLatin1(prefix) + QString::number(i), {}, {}};
    return l;
}

QList<LayoutEntry> operator+(QList<LayoutEntry> a, const QList<LayoutEntry> &b)
{
    a.append(b);
    return a;
}

QList<LayoutEntry> formControls()
{
    return {A("FormulaireRadio"), A("FormulaireCocher"), A("FormulaireListe"),
            A("FormulaireListeDeroulante"), A("FormulaireTexte"), A("FormulairePassword"),
            A("FormulaireTexteMultiligne"), A("FormulaireBouton"), A("FormulaireBoutonSoumettre"),
            A("FormulaireBoutonReinitialiser"), A("FormulaireBoutonParcourir"),
            A("FormulaireImage"), A("FormulaireHidden")};
}

QList<LayoutEntry> browsers()
{
    return {A("Nav1"), A("Nav2"), A("Nav3"), A("Nav4"), S(), A("NavPerso")};
}

QList<LayoutEntry> caseActions()
{
    return {A("ModifierMAJ"), A("ModifierMin"), A("ModifierInverser"), A("ModifierCapitalize"),
            A("ModifierSensitif")};
}

QList<LayoutEntry> toolbarToggles()
{
    QList<LayoutEntry> l;
    for (const QString &n : MenuLayout::toggleOrder())
        l << LayoutEntry{LayoutEntry::Action, n, {}, {}};
    return l << S() << A("OutilsBarreMasquer");
}

QList<LayoutEntry> makeMenuBar()
{
    return {
        Sub(QStringLiteral("&Fichier"),
            {A("FileNew"), A("FileNewWizard"), A("FileNewFrames"), A("FileOpen"), P("FileReOpen"),
             A("FileOpenSite"), P("FileRecentSites"),
             Sub(QStringLiteral("Mo&dèles"),
                 {A("FileModeleNew"), S(), A("FileModeleSave"), A("FileModeleModifier")},
                 "MenuModeles"),
             S(),
             Sub(QStringLiteral("FTP"), {A("FileOpenFTP"), A("FileSaveFTP"),
                                         A("FilePublishSite"),
                                         S(), A("FileDisconnectFTP")},
                 "MenuFTP"),
             S(), A("FileSave"), A("FileSaveAs"), A("FileSaveAll"), A("FileClose"), A("FileCloseAll"),
             S(), A("FilePrintSetup"), A("FilePrintPreview"), A("FilePrint"), S(),
             A("FileNewInstance"), S(), A("MenuQuitter")},
            "MenuFichier"),
        Sub(QStringLiteral("&Edition"),
            {A("EditUndo"), A("EditRedo"), S(), A("EditCut1"), A("EditCopy1"), A("EditPaste1"),
             A("EditEffacer"), A("EditSelectAll"), S(), A("EditIndent"), A("EditIndentInv"), S(),
             A("EditFind"), A("EditSearchPrev"), A("EditSearchNext"), A("EditReplace"),
             A("EditFindInFiles"), S(),
             A("EditAllerA"), S(), A("EditWordWrap"), A("EditModeColonne"), A("EditSpecialCar"),
             A("EditOnTop"),
             Sub(QStringLiteral("Fin de ligne"), {A("EditBRWin"), A("EditBRLinux"), A("EditBRMac")},
                 "MenuFinDeLigne"),
             S(),
             Sub(QStringLiteral("Basculer les signets"),
                 range("BookmarkToggle", 0, 9) + QList<LayoutEntry>{S(), A("BookmarkClear")},
                 "MenuBasculerSignets"),
             Sub(QStringLiteral("Aller au signet"), range("BookmarkGoto", 0, 9),
                 "MenuAllerSignet")},
            "MenuEdition"),
        Sub(QStringLiteral("&Insertion"),
            {A("InsertionCadres"),
             S(),
             A("InsertionImage"),
             A("InsertionLien"),
             A("InsertionAncre"),
             A("InsertionMail"),
             A("InsertionSon"),
             A("InsertionVideo"),
             S(),
             A("InsertionTableau"),
             A("InsertionListe"),
             S(),
             A("InsertionBreak"),
             A("InsertionHR"),
             A("InsertionDate"),
             S(),
             A("InsertionFormulaire"),
             Sub(QStringLiteral("Objet de formulaire"), formControls(), "MenuObjetFormulaire"),
             S(),
             A("InsertionScript"),
             A("InsertionCSS")},
            "MenuInsertion"),
        Sub(QStringLiteral("&Modifier"),
            {A("ModifierProprietes"), S(), A("ModifierConversion"), A("ModifierDeconversion"), S(),
             A("ModifierConvVolee"), S(),
             Sub(QStringLiteral("Changer la casse"), caseActions(), "MenuChangerCasse")},
            "MenuModifier"),
        Sub(QStringLiteral("&Texte"),
            {A("TexteCommentaire"),
             A("TexteRetrait"),
             A("TexteParagraphe"),
             A("texteEspace"),
             S(),
             Sub(QStringLiteral("&Style"),
                 {A("StyleGras"),
                  A("StyleItalique"),
                  A("StyleSouligne"),
                  S(),
                  A("StyleAugmenter"),
                  A("StyleDiminuer"),
                  S(),
                  A("StyleExposant"),
                  A("StyleIndice"),
                  S(),
                  A("Barr1"),
                  A("Tltype1"),
                  A("Accentuation1"),
                  A("Forteaccentuation1"),
                  S(),
                  A("Code1"),
                  A("Variable1"),
                  A("Echantillon1"),
                  A("Clavie1"),
                  S(),
                  A("Citation1"),
                  A("Dfinition1")},
                 "MenuStyle"),
             Sub(QStringLiteral("A&lignement"),
                 {A("AlignementGauche"), A("AlignementCentre"), A("AlignementDroite"), S(),
                  A("Alignementjustifie")},
                 "MenuAlignement"),
             Sub(QStringLiteral("Heading"), range("Head", 1, 6), "MenuHeading"),
             S(),
             Sub(QStringLiteral("Evènements"), range("Events", 1, 10), "MenuEvenements"),
             S(),
             A("TexteFont"),
             Sub(QStringLiteral("&Modèles de police"),
                 range("Modele", 1, 10) + QList<LayoutEntry>{S(), A("TextePoliceConf")},
                 "MenuModelesPolice"),
             P("MenuCouleur"),
             P("MenuTaille"),
             P("MenuAugmenterTaille"),
             P("MenuDiminuerTaille"),
             S(),
             P("MenuCaracteresAccentues"),
             P("MenuCaracteresSpeciaux")},
            "MenuTexte"),
        Sub(QStringLiteral("&Outils"),
            {A("OutilsTester"), Sub(QStringLiteral("&Navigateur utilisé"), browsers(), "MenuNavigateur"),
             A("OutilsBarreNavigateur"), A("NavDirect"), A("NavSuivreCurseur"), S(),
             A("OutilsOrthographe"), P("MenuLangueOrthographe"), S(), A("OutilsScanTokens"),
             A("OutilsIndenter"), A("OutilsVerifierPage"), A("OutilsVerifierFrappe"),
             A("OutilsLiensSite"),
             A("OutilsInfos"), A("OutilsCopierAdresseDoc"), A("OutilsEncodeURL"), S(),
             A("OutilsMarqueurs"), A("OutilsConvertisseurHexa"), S(),
             Sub(QStringLiteral("&Barre d'outils"), toolbarToggles(), "MenuBarreOutils"),
             A("OutilsPref")},
            "MenuOutils"),
        Sub(QStringLiteral("Fe&nêtre"), {A("MenuDocPrecedent"), A("MenuDocSuivant"), S()},
            "MenuFenetre"),
        Sub(QStringLiteral("&?"),
            {A("AideAide"), S(), A("AideTips"), A("AideAccueil"), A("AideMiseAJour"), S(),
             A("AideApropos")},
            "MenuAide"),
    };
}

QList<ToolbarDef> makeToolbars()
{
    return {
        {QStringLiteral("TBPrinc"), QStringLiteral("Standard"), QStringLiteral("OutilsBarreStandard"),
         QStringLiteral("Standard"), true,
         {A("FileNew"), Split("FileOpen", {P("FileReOpen")}), A("FileSave"), A("FileSaveAll"),
          A("FilePrint"), A("FileClose"), S(), A("EditUndo"), A("EditRedo"), S(), A("EditCut1"),
          A("EditCopy1"), A("EditPaste1"), S(), A("EditWordWrap"), A("EditModeColonne"),
          A("EditSpecialCar"), A("EditOnTop"), S(), A("EditIndent"), A("EditIndentInv"), S(),
          Split("OutilsTester", browsers()), A("OutilsInfos"), A("AideAide")}},
        {QStringLiteral("TBRecherche"), QStringLiteral("Recherche"), QStringLiteral("OutilsBarreRecherche"),
         QStringLiteral("Recherche"), true,
         {A("EditFind"), A("EditSearchPrev"), A("EditSearchNext"), A("EditReplace")}},
        {QStringLiteral("TBHighlighter"), QStringLiteral("Type de document"),
         QStringLiteral("OutilsBarreTypeDoc"), QStringLiteral("Type de document"), true,
         {W("cbxHighlighter")}},
        {QStringLiteral("TBTexte"), QStringLiteral("Texte"), QStringLiteral("OutilsBarreTexte"),
         QStringLiteral("Texte"), true,
         {A("StyleGras"), A("StyleItalique"), A("StyleSouligne"), S(),
          Split("TexteFont", range("Modele", 1, 10) + QList<LayoutEntry>{S(), A("TextePoliceConf")}),
          Drop(QStringLiteral("Heading"), range("Head", 1, 6), "DropHeading"), S(), A("StylePipette"),
          W("ColorDropDown"), W("ColorSwatch"), S(), A("AlignementGauche"), A("AlignementCentre"),
          A("AlignementDroite"), A("Alignementjustifie")}},
        {QStringLiteral("TBSpecial"), QStringLiteral("Spécialisés"), QStringLiteral("OutilsBarreTable"),
         QStringLiteral("Spécialisés"), true,
         {A("InsertionImage"), A("InsertionLien"), A("InsertionAncre"), S(), A("InsertionListe"),
          A("InsertionListeOrdonnee"), A("InsertionListeDef"), S(), A("InsertionTableau")}},
        {QStringLiteral("TBForm"), QStringLiteral("Formulaires"), QStringLiteral("OutilsBarreForm"),
         QStringLiteral("Formulaires"), true,
         QList<LayoutEntry>{A("InsertionFormulaire"), S()} + formControls()},
        {QStringLiteral("TBAcc"), QStringLiteral("Caractères"), QStringLiteral("OutilsBarreAccents"),
         QStringLiteral("Accents"), true,
         {A("ModifierConversion"), A("ModifierDeconversion"), S(), A("ModifierConvVolee"), S(),
          Drop(QStringLiteral("Caractères accentués"), {P("MenuCaracteresAccentues")},
               "DropCaracteresAccentues"),
          Drop(QStringLiteral("Caractères spéciaux"), {P("MenuCaracteresSpeciaux")},
               "DropCaracteresSpeciaux"),
          S(), Drop(QStringLiteral("Changer la casse"), caseActions(), "DropChangerCasse")}},
        {QStringLiteral("TBCSS"), QStringLiteral("Feuilles de style"), QStringLiteral("OutilsBarreCSS"),
         QStringLiteral("Feuilles de style"), false,
         {A("CSSBalise"), A("CSSClasse"), A("CSSIdent"), S(), W("CSSFamilies")}},
        {QStringLiteral("TBSQL"), QStringLiteral("SQL"), QStringLiteral("OutilsBarreSQL"),
         QStringLiteral("SQL"), false,
         {A("SQLCreateTable"), A("SQLDropTable"), S(),
          A("SQLSelect"),
          Split("SQLInnerJoin", {A("SQLInnerJoin"), A("SQLLeftJoin"), A("SQLRightOuterJoin")}),
          A("SQLInsert"), A("SQLUpdate"), A("SQLDelete")}},
        {QStringLiteral("TBASP"), QStringLiteral("ASP"), QStringLiteral("OutilsBarreASP"),
         QStringLiteral("ASP"), false,
         {A("ASPBloc"), A("ASPCommenter"), A("ASPDecommenter"), A("ASPProcedure"), A("ASPInc"),
          A("ASPChaine")}},
        {QStringLiteral("TBPHP"), QStringLiteral("PHP"), QStringLiteral("OutilsBarrePHP"),
         QStringLiteral("PHP"), false, {A("PHPBloc"), A("PHPCommenter"), A("PHPInc")}},
    };
}

bool entryPresent(const LayoutEntry &e, const ActionRegistry &reg);

bool anyPresent(const QList<LayoutEntry> &entries, const ActionRegistry &reg)
{
    for (const LayoutEntry &e : entries) {
        if (e.kind != LayoutEntry::Separator && entryPresent(e, reg))
            return true;
    }
    return false;
}

bool entryPresent(const LayoutEntry &e, const ActionRegistry &reg)
{
    switch (e.kind) {
    case LayoutEntry::Action:
        return reg.has(e.name);
    case LayoutEntry::Separator:
        return false;
    case LayoutEntry::Submenu:
        return anyPresent(e.children, reg);
    case LayoutEntry::Provided:
        return reg.menu(e.name) != nullptr;
    case LayoutEntry::Widget:
        return bool(reg.widget(e.name));
    case LayoutEntry::Split:
        return e.name.isEmpty() || !e.caption.isEmpty() ? anyPresent(e.children, reg)
                                                        : reg.has(e.name);
    }
    return false;
}

// Visits the present entries, adding a separator only between two groups that both
// have something: none at the ends, never two in a row.
template <typename AddSeparator, typename AddEntry>
void walkPresent(const QList<LayoutEntry> &entries, const ActionRegistry &reg,
                 AddSeparator addSeparator, AddEntry addEntry)
{
    bool pending = false;
    bool any = false;
    for (const LayoutEntry &e : entries) {
        if (e.kind == LayoutEntry::Separator) {
            pending = any;
            continue;
        }
        if (!entryPresent(e, reg))
            continue;
        if (pending)
            addSeparator();
        pending = false;
        any = true;
        addEntry(e);
    }
}

QMenu *dropDownMenu(const LayoutEntry &e, const ActionRegistry &reg, QWidget *parent)
{
    // A single provided menu is used as it is; inline entries get a menu of their own.
    if (e.children.size() == 1 && e.children.first().kind == LayoutEntry::Provided)
        return reg.menu(e.children.first().name);
    if (!anyPresent(e.children, reg))
        return nullptr;
    auto *m = new QMenu(e.caption, parent);
    MenuLayout::fillMenu(m, e.children, reg);
    return m;
}
} // namespace

namespace MenuLayout {

const QList<LayoutEntry> &menuBar()
{
    static const QList<LayoutEntry> l = makeMenuBar();
    return l;
}

const QList<ToolbarDef> &toolbars()
{
    static const QList<ToolbarDef> l = makeToolbars();
    return l;
}

QStringList toggleOrder()
{
    return {QStringLiteral("OutilsBarreStandard"), QStringLiteral("OutilsBarreRecherche"),
            QStringLiteral("OutilsBarreTypeDoc"),  QStringLiteral("OutilsBarreTexte"),
            QStringLiteral("OutilsBarreAccents"),  QStringLiteral("OutilsBarreTable"),
            QStringLiteral("OutilsBarreForm"),     QStringLiteral("OutilsBarreCSS"),
            QStringLiteral("OutilsBarreSQL"),      QStringLiteral("OutilsBarreASP"),
            QStringLiteral("OutilsBarrePHP")};
}

const QList<LayoutEntry> &contextMenu(const QString &name)
{
    static const QList<LayoutEntry> editor = {
        A("FileClose"), S(), A("EditCut1"), A("EditCopy1"), A("EditPaste1"), A("EditSelectAll"), S(),
        A("InsertionImage"), A("InsertionLien"), A("InsertionTableau"), A("InsertionListe"), S(),
        A("OutilsTester"), S(), A("OutilsCopierAdresseDoc")};
    static const QList<LayoutEntry> bars = toolbarToggles();
    static const QList<LayoutEntry> nav = {A("EditCut2"), A("EditCopy2"), A("EditPaste2"), S(),
                                           A("SelectAllURL")};
    static const QList<LayoutEntry> none;
    if (name == QLatin1String("EditorPopup"))
        return editor;
    if (name == QLatin1String("BarreOutilsPopUp"))
        return bars;
    if (name == QLatin1String("PopupMenuEditNav"))
        return nav;
    return none;
}

void fillMenu(QMenu *menu, const QList<LayoutEntry> &entries, const ActionRegistry &reg)
{
    walkPresent(entries, reg, [menu] { menu->addSeparator(); }, [menu, &reg](const LayoutEntry &e) {
        switch (e.kind) {
        case LayoutEntry::Action:
            menu->addAction(reg.action(e.name));
            break;
        case LayoutEntry::Submenu: {
            QMenu *sub = menu->addMenu(e.caption);
            sub->setObjectName(e.name);
            sub->menuAction()->setObjectName(e.name);
            fillMenu(sub, e.children, reg);
            break;
        }
        case LayoutEntry::Provided:
            menu->addMenu(reg.menu(e.name));
            break;
        case LayoutEntry::Split:
            if (QMenu *m = dropDownMenu(e, reg, menu))
                menu->addMenu(m);
            break;
        case LayoutEntry::Widget:
        case LayoutEntry::Separator:
            break;
        }
    });
}

void fillMenuBar(QMenuBar *bar, const ActionRegistry &reg)
{
    for (const LayoutEntry &e : menuBar()) {
        if (!entryPresent(e, reg))
            continue;
        QMenu *m = bar->addMenu(e.caption);
        m->setObjectName(e.name);
        fillMenu(m, e.children, reg);
    }
}

void fillToolbar(QToolBar *bar, const QList<LayoutEntry> &entries, const ActionRegistry &reg)
{
    walkPresent(entries, reg, [bar] { bar->addSeparator(); }, [bar, &reg](const LayoutEntry &e) {
        switch (e.kind) {
        case LayoutEntry::Action:
            bar->addAction(reg.action(e.name));
            break;
        case LayoutEntry::Widget:
            bar->addWidget(reg.widget(e.name)(bar));
            break;
        case LayoutEntry::Split: {
            auto *button = new QToolButton(bar);
            QMenu *m = dropDownMenu(e, reg, button);
            if (!e.name.isEmpty() && reg.has(e.name) && e.caption.isEmpty()) {
                // Runs its action; the arrow opens the list.
                button->setDefaultAction(reg.action(e.name));
                button->setMenu(m);
                button->setPopupMode(QToolButton::MenuButtonPopup);
            } else {
                button->setObjectName(e.name);
                button->setText(e.caption);
                button->setToolTip(e.caption);
                if (m && !m->actions().isEmpty() && !m->actions().first()->icon().isNull())
                    button->setIcon(m->actions().first()->icon());
                button->setMenu(m);
                button->setPopupMode(QToolButton::InstantPopup);
            }
            bar->addWidget(button);
            break;
        }
        case LayoutEntry::Submenu:
        case LayoutEntry::Provided: {
            auto *button = new QToolButton(bar);
            QMenu *m = e.kind == LayoutEntry::Provided ? reg.menu(e.name) : nullptr;
            if (!m) {
                m = new QMenu(e.caption, button);
                fillMenu(m, e.children, reg);
            }
            button->setMenu(m);
            button->setText(m->title());
            button->setPopupMode(QToolButton::InstantPopup);
            bar->addWidget(button);
            break;
        }
        case LayoutEntry::Separator:
            break;
        }
    });
}

QMenu *buildContextMenu(const QString &name, const ActionRegistry &reg, QWidget *parent)
{
    auto *m = new QMenu(parent);
    m->setObjectName(name);
    fillMenu(m, contextMenu(name), reg);
    return m;
}

} // namespace MenuLayout
