#include "assist/tag_reference.h"

#include <algorithm>

namespace TagReference {

namespace {

// Opening and closing texts: nullptr takes the rule (the key's element in lower
// case, and its end tag); "" is an element without end tag.
struct Row {
    const char *key;
    const char *opening;
    const char *closing;
    const char *description;
    const char *example;
    bool obsolete;
};

const char *const Void = "";

const Row Rows[] = {
    {"<!-- -->", "<!--", "-->",
     "Commentaire : le texte placé entre les deux marques n'est pas affiché par le navigateur",
     "<!-- Menu principal du site -->\r\n<ul id=\"menu\">\r\n  <li>Accueil</li>\r\n</ul>", false},
    {"<!DOCTYPE>", "<!DOCTYPE html>", Void,
     "Déclaration du type de document, en tête du fichier ; <!DOCTYPE html> annonce une page "
     "HTML d'aujourd'hui",
     "<!DOCTYPE html>\r\n<html lang=\"fr\">\r\n<head>\r\n  <meta charset=\"utf-8\">\r\n  "
     "<title>Ma page</title>\r\n</head>",
     false},
    {"<A>", nullptr, nullptr,
     "Lien hypertexte vers une autre page, un fichier, une adresse électronique ou une ancre "
     "de la page",
     "Consultez <a href=\"tarifs.html\">nos tarifs</a> ou <a "
     "href=\"mailto:contact@exemple.fr\">écrivez-nous</a>.",
     false},
    {"<ABBR>", nullptr, nullptr, "Abréviation ; l'attribut title en donne la forme complète",
     "Le <abbr title=\"Centre national d'études spatiales\">CNES</abbr> est à Paris.", false},
    {"<ACRONYM>", nullptr, nullptr, "Acronyme (obsolète : utilisez <abbr>)",
     "La <acronym title=\"Société nationale des chemins de fer\">SNCF</acronym>", true},
    {"<ADDRESS>", nullptr, nullptr,
     "Coordonnées de l'auteur ou du propriétaire de la page ou de l'article",
     "<address>\r\n  Jeanne Martin<br>\r\n  <a "
     "href=\"mailto:jeanne@exemple.fr\">jeanne@exemple.fr</a>\r\n</address>",
     false},
    {"<APPLET>", nullptr, nullptr,
     "Applet Java incorporée à la page (obsolète : les navigateurs ne l'exécutent plus)",
     "<applet code=\"Horloge.class\" width=\"200\" height=\"50\">\r\n  Votre navigateur "
     "n'exécute pas Java.\r\n</applet>",
     true},
    {"<AREA>", nullptr, Void,
     "Zone cliquable d'une image réactive, à l'intérieur d'un élément <map>",
     "<map name=\"carte\">\r\n  <area shape=\"rect\" coords=\"0,0,100,50\" href=\"nord.html\" "
     "alt=\"Région nord\">\r\n</map>",
     false},
    {"<B>", nullptr, nullptr, "Affiche le texte en gras",
     "lisez <b>attentivement</b> les explications", false},
    {"<BASE>", nullptr, Void, "Adresse de base des liens relatifs de la page, dans l'en-tête",
     "<head>\r\n  <base href=\"https://www.exemple.fr/docs/\">\r\n</head>", false},
    {"<BASEFONT>", nullptr, Void,
     "Police par défaut de la page (obsolète : utilisez les feuilles de style)",
     "<basefont face=\"Arial\" size=\"3\">", true},
    {"<BDO>", nullptr, nullptr,
     "Impose le sens d'écriture du texte (dir=\"rtl\" : de droite à gauche)",
     "<bdo dir=\"rtl\">Ce texte s'affiche à l'envers</bdo>", false},
    {"<BGSOUND>", "<bgsound src=\"", "\" loop=\"infinite\">",
     "Son joué en fond de page (obsolète : utilisez <audio>)",
     "<bgsound src=\"musique.mid\" loop=\"infinite\">", true},
    {"<BIG>", nullptr, nullptr,
     "Texte plus grand que le texte environnant (obsolète : utilisez les feuilles de style)",
     "Un mot <big>important</big>", true},
    {"<BLINK>", nullptr, nullptr,
     "Texte clignotant (obsolète : ignoré par les navigateurs actuels)", "<blink>Nouveau !</blink>",
     true},
    {"<BLOCKQUOTE>", nullptr, nullptr,
     "Longue citation, présentée en retrait ; cite peut donner l'adresse de la source",
     "<blockquote cite=\"https://fr.wikisource.org/\">\r\n  <p>Le cœur a ses raisons que la "
     "raison ne connaît point.</p>\r\n</blockquote>",
     false},
    {"<BODY>", nullptr, nullptr, "Corps du document : tout ce que la page affiche",
     "<body>\r\n  <h1>Bienvenue</h1>\r\n  <p>Premier paragraphe.</p>\r\n</body>", false},
    {"<BR>", nullptr, Void, "Force une rupture de ligne",
     "Voici une première ligne.<br>\r\nEt maintenant une deuxième ligne", false},
    {"<BUTTON>", nullptr, nullptr,
     "Bouton, de formulaire (type=\"submit\" ou \"reset\") ou pour un script (type=\"button\")",
     "<button type=\"submit\">Envoyer</button>", false},
    {"<CAPTION>", nullptr, nullptr, "Titre d'un tableau, juste après <table>",
     "<table>\r\n  <caption>Ventes par trimestre</caption>\r\n  "
     "<tr><td>T1</td><td>120</td></tr>\r\n</table>",
     false},
    {"<CENTER>", nullptr, nullptr,
     "Centre son contenu (obsolète : utilisez text-align: center en CSS)",
     "<center>Texte centré</center>", true},
    {"<CITE>", nullptr, nullptr, "Titre d'une œuvre citée (livre, film, article...)",
     "J'ai relu <cite>Les Misérables</cite> cet été.", false},
    {"<CODE>", nullptr, nullptr, "Fragment de code informatique, en police à chasse fixe",
     "La fonction <code>alert()</code> affiche un message.", false},
    {"<COL>", nullptr, Void,
     "Propriétés d'une ou plusieurs colonnes d'un tableau, dans un <colgroup>",
     "<colgroup>\r\n  <col span=\"2\" style=\"background: #EEEEEE\">\r\n  <col>\r\n</colgroup>",
     false},
    {"<COLGROUP>", nullptr, Void, "Groupe de colonnes d'un tableau",
     "<table>\r\n  <colgroup span=\"2\"></colgroup>\r\n  <tr><td>A</td><td>B</td><td>C</td></tr>"
     "\r\n</table>",
     false},
    {"<DD>", nullptr, Void, "Définition d'un terme dans une liste de définitions <dl>",
     "<dl>\r\n  <dt>HTML</dt>\r\n  <dd>Langage de description des pages web</dd>\r\n</dl>", false},
    {"<DEL>", nullptr, nullptr, "Texte supprimé d'une version du document, souvent barré",
     "Prix : <del>30 €</del> <ins>25 €</ins>", false},
    {"<DFN>", nullptr, nullptr, "Terme défini à l'endroit où il apparaît",
     "Un <dfn>octet</dfn> est un groupe de huit bits.", false},
    {"<DIR>", nullptr, nullptr, "Liste de répertoires (obsolète : utilisez <ul>)",
     "<dir>\r\n  <li>images</li>\r\n  <li>styles</li>\r\n</dir>", true},
    {"<DIV>", nullptr, nullptr,
     "Bloc générique, sans signification, pour grouper des éléments et les mettre en forme",
     "<div class=\"encadre\">\r\n  <p>Un paragraphe dans un bloc.</p>\r\n</div>", false},
    {"<DL>", nullptr, nullptr, "Liste de définitions : des termes <dt> et leurs définitions <dd>",
     "<dl>\r\n  <dt>CSS</dt>\r\n  <dd>Feuilles de style en cascade</dd>\r\n</dl>", false},
    {"<DT>", nullptr, Void, "Terme d'une liste de définitions <dl>",
     "<dl>\r\n  <dt>URL</dt>\r\n  <dd>Adresse d'une ressource sur le web</dd>\r\n</dl>", false},
    {"<EM>", nullptr, nullptr, "Met l'accent sur un mot, affiché en italique",
     "Il faut <em>absolument</em> sauvegarder.", false},
    {"<EMBED>", nullptr, Void, "Contenu externe incorporé (module, document PDF...)",
     "<embed src=\"plan.pdf\" type=\"application/pdf\" width=\"600\" height=\"400\">", false},
    {"<FIELDSET>", nullptr, nullptr,
     "Groupe de champs d'un formulaire, encadré, avec une légende <legend>",
     "<fieldset>\r\n  <legend>Coordonnées</legend>\r\n  <label for=\"nom\">Nom</label> <input "
     "id=\"nom\" name=\"nom\">\r\n</fieldset>",
     false},
    {"<FONT>", nullptr, nullptr,
     "Police, taille et couleur du texte (obsolète : utilisez les feuilles de style)",
     "<font face=\"Verdana\" color=\"#FF0000\">Texte rouge</font>", true},
    {"<FORM>", nullptr, nullptr,
     "Formulaire : ses champs sont envoyés à l'adresse action selon la méthode method",
     "<form action=\"envoi.php\" method=\"post\">\r\n  <input type=\"email\" name=\"courriel\" "
     "required>\r\n  <button type=\"submit\">S'inscrire</button>\r\n</form>",
     false},
    {"<FRAME>", nullptr, Void,
     "Cadre d'un jeu de cadres <frameset> (obsolète : utilisez <iframe> ou la mise en page CSS)",
     "<frameset cols=\"25%,*\">\r\n  <frame src=\"menu.html\" name=\"menu\">\r\n  <frame "
     "src=\"accueil.html\" name=\"principal\">\r\n</frameset>",
     true},
    {"<FRAMESET>", nullptr, nullptr,
     "Découpe la fenêtre en cadres (obsolète : utilisez la mise en page CSS)",
     "<frameset rows=\"80,*\">\r\n  <frame src=\"titre.html\">\r\n  <frame "
     "src=\"contenu.html\">\r\n</frameset>",
     true},
    {"<H1>", nullptr, nullptr, "Titre de premier niveau, le plus important de la page",
     "<h1>Mon site de randonnée</h1>", false},
    {"<H2>", nullptr, nullptr, "Titre de deuxième niveau", "<h2>Les sentiers des Alpes</h2>",
     false},
    {"<H3>", nullptr, nullptr, "Titre de troisième niveau", "<h3>Préparer son sac</h3>", false},
    {"<H4>", nullptr, nullptr, "Titre de quatrième niveau", "<h4>Matériel</h4>", false},
    {"<H5>", nullptr, nullptr, "Titre de cinquième niveau", "<h5>Chaussures</h5>", false},
    {"<H6>", nullptr, nullptr, "Titre de sixième niveau, le moins important", "<h6>Lacets</h6>",
     false},
    {"<HEAD>", nullptr, nullptr,
     "En-tête du document : titre, jeu de caractères, feuilles de style, scripts",
     "<head>\r\n  <meta charset=\"utf-8\">\r\n  <title>Accueil</title>\r\n  <link "
     "rel=\"stylesheet\" href=\"style.css\">\r\n</head>",
     false},
    {"<HR>", nullptr, Void, "Insertion d'une ligne horizontale séparatrice", "<hr width=\"80%\">",
     false},
    {"<HTML>", nullptr, nullptr,
     "Élément racine qui contient tout le document ; lang indique sa langue",
     "<html lang=\"fr\">\r\n<head><title>Page</title></head>\r\n<body></body>\r\n</html>", false},
    {"<I>", nullptr, nullptr, "Affiche le texte en italique",
     "Le mot <i>latin</i> est en italique.", false},
    {"<IFRAME>", nullptr, nullptr, "Cadre en ligne qui affiche une autre page dans la page",
     "<iframe src=\"carte.html\" width=\"400\" height=\"300\" title=\"Plan d'accès\" "
     "loading=\"lazy\"></iframe>",
     false},
    {"<IMG>", "<img src=\"", "\" alt=\"\">",
     "Image ; alt donne un texte de remplacement, lu par les lecteurs d'écran",
     "<img src=\"photo.jpg\" alt=\"Le lac au lever du soleil\" width=\"320\" height=\"240\">",
     false},
    {"<INPUT>", nullptr, Void,
     "Champ de formulaire ; type choisit sa nature : text, password, checkbox, radio, submit, "
     "email, number, date, color, range, search, tel, url, file, hidden...",
     "<input type=\"email\" name=\"courriel\" placeholder=\"nom@exemple.fr\" required>\r\n"
     "<input type=\"date\" name=\"depart\">",
     false},
    {"<INS>", nullptr, nullptr, "Texte ajouté dans une version du document, souvent souligné",
     "Réunion <del>mardi</del> <ins>jeudi</ins>", false},
    {"<ISINDEX>", nullptr, Void,
     "Champ de recherche sur une ligne (obsolète : utilisez <form> et <input>)",
     "<isindex prompt=\"Rechercher :\">", true},
    {"<KBD>", nullptr, nullptr, "Texte que l'utilisateur doit taper au clavier",
     "Appuyez sur <kbd>Ctrl</kbd>+<kbd>S</kbd> pour enregistrer.", false},
    {"<LABEL>", nullptr, nullptr, "Étiquette d'un champ de formulaire ; for reprend l'id du champ",
     "<label for=\"ville\">Ville :</label>\r\n<input id=\"ville\" name=\"ville\">", false},
    {"<LEGEND>", nullptr, nullptr, "Légende d'un groupe de champs <fieldset>",
     "<fieldset>\r\n  <legend>Livraison</legend>\r\n</fieldset>", false},
    {"<LI>", nullptr, nullptr, "Élément d'une liste <ul> ou <ol>",
     "<ul>\r\n  <li>Pain</li>\r\n  <li>Fromage</li>\r\n</ul>", false},
    {"<LINK>", nullptr, Void,
     "Lien entre le document et une autre ressource, le plus souvent une feuille de style",
     "<link rel=\"stylesheet\" href=\"style.css\">\r\n<link rel=\"icon\" href=\"favicon.png\">",
     false},
    {"<MAP>", nullptr, nullptr,
     "Image réactive : un ensemble de zones <area>, désigné par l'attribut usemap d'une image",
     "<img src=\"france.png\" alt=\"Carte\" usemap=\"#regions\">\r\n<map name=\"regions\">\r\n  "
     "<area shape=\"circle\" coords=\"120,80,30\" href=\"paris.html\" alt=\"Paris\">\r\n</map>",
     false},
    {"<MARQUEE>", nullptr, nullptr, "Texte défilant (obsolète : utilisez une animation CSS)",
     "<marquee>Soldes jusqu'à samedi !</marquee>", true},
    {"<MENU>", nullptr, nullptr, "Liste de commandes ou de boutons, comme une barre d'outils",
     "<menu>\r\n  <li><button>Copier</button></li>\r\n  <li><button>Coller</button></li>\r\n"
     "</menu>",
     false},
    {"<META>", nullptr, Void,
     "Information sur le document : jeu de caractères, description, affichage sur mobile...",
     "<meta charset=\"utf-8\">\r\n<meta name=\"viewport\" content=\"width=device-width, "
     "initial-scale=1\">\r\n<meta name=\"description\" content=\"Recettes de saison\">",
     false},
    {"<NOBR>", nullptr, nullptr,
     "Empêche les retours à la ligne (obsolète : utilisez white-space: nowrap en CSS)",
     "<nobr>Ne coupez pas cette ligne</nobr>", true},
    {"<NOFRAME>", "<noframes>", "</noframes>",
     "Contenu affiché par les navigateurs sans cadres (obsolète, comme les cadres)",
     "<noframes>\r\n  <p>Votre navigateur n'affiche pas les cadres : <a "
     "href=\"menu.html\">menu</a>.</p>\r\n</noframes>",
     true},
    {"<NOSCRIPT>", nullptr, nullptr, "Contenu affiché quand les scripts sont désactivés",
     "<noscript>\r\n  <p>Activez JavaScript pour utiliser cette page.</p>\r\n</noscript>", false},
    {"<OBJECT>", nullptr, nullptr,
     "Ressource externe incorporée (document, image, module) avec un contenu de remplacement",
     "<object data=\"schema.svg\" type=\"image/svg+xml\" width=\"300\" height=\"200\">\r\n  "
     "Schéma du montage\r\n</object>",
     false},
    {"<OL>", nullptr, nullptr, "Liste numérotée ; start et type règlent la numérotation",
     "<ol>\r\n  <li>Préchauffer le four</li>\r\n  <li>Enfourner</li>\r\n</ol>", false},
    {"<OPTGROUP>", nullptr, nullptr, "Groupe d'options d'une liste <select>, avec un titre label",
     "<select name=\"ville\">\r\n  <optgroup label=\"Bretagne\">\r\n    <option>Rennes</option>"
     "\r\n    <option>Brest</option>\r\n  </optgroup>\r\n</select>",
     false},
    {"<OPTION>", nullptr, Void, "Choix d'une liste <select> ou <datalist>",
     "<select name=\"taille\">\r\n  <option value=\"s\">Petite</option>\r\n  <option "
     "value=\"m\" selected>Moyenne</option>\r\n</select>",
     false},
    {"<P>", nullptr, nullptr, "Paragraphe de texte",
     "<p>Le sentier part du village et monte jusqu'au col.</p>", false},
    {"<PARAM>", nullptr, Void, "Paramètre d'un élément <object> (obsolète dans le HTML actuel)",
     "<object data=\"lecteur.swf\">\r\n  <param name=\"autoplay\" value=\"false\">\r\n</object>",
     true},
    {"<PRE>", nullptr, nullptr,
     "Texte préformaté : espaces et retours à la ligne conservés, police à chasse fixe",
     "<pre>\r\nNom     Âge\r\nAnne    34\r\n</pre>", false},
    {"<Q>", nullptr, nullptr, "Courte citation dans le texte, entre guillemets",
     "Il m'a dit <q>à demain</q> en partant.", false},
    {"<S>", nullptr, nullptr, "Texte qui n'est plus exact ou plus pertinent, barré",
     "<s>Épuisé</s> De nouveau en stock", false},
    {"<SAMP>", nullptr, nullptr, "Exemple de ce qu'affiche un programme",
     "Le serveur répond <samp>404 Not Found</samp>.", false},
    {"<SCRIPT>", nullptr, nullptr,
     "Script exécuté par le navigateur, écrit dans la page ou chargé par src ; defer ou async "
     "en diffèrent l'exécution, type=\"module\" en fait un module",
     "<script src=\"menu.js\" defer></script>\r\n<script>\r\n  "
     "document.title = \"Bonjour\";\r\n</script>",
     false},
    {"<SELECT>", nullptr, nullptr, "Liste déroulante de choix <option>",
     "<select name=\"pays\">\r\n  <option value=\"fr\">France</option>\r\n  <option "
     "value=\"be\">Belgique</option>\r\n</select>",
     false},
    {"<SMALL>", nullptr, nullptr, "Petits caractères : mentions légales, précisions",
     "<small>Prix TTC, hors frais de port.</small>", false},
    {"<SPAN>", nullptr, nullptr,
     "Portion de texte générique, sans signification, pour une mise en forme",
     "Le mot <span class=\"rouge\">attention</span> est en rouge.", false},
    {"<STRIKE>", nullptr, nullptr, "Texte barré (obsolète : utilisez <del> ou <s>)",
     "<strike>Ancien tarif</strike>", true},
    {"<STRONG>", nullptr, nullptr, "Texte d'une grande importance, affiché en gras",
     "<strong>Ne pas ouvrir</strong> pendant la cuisson.", false},
    {"<STYLE>", nullptr, nullptr, "Feuille de style écrite dans la page, dans l'en-tête",
     "<style>\r\n  body { font-family: sans-serif; }\r\n  h1 { color: #336699; }\r\n</style>",
     false},
    {"<SUB>", nullptr, nullptr, "Le contenu de l'élément est affiché comme un indice",
     "La formule de l'eau est H<sub>2</sub>O", false},
    {"<SUP>", nullptr, nullptr, "Le contenu de l'élément est affiché en exposant",
     "Le 1<sup>er</sup> janvier ; 10<sup>3</sup> = 1000", false},
    {"<TABLE>", nullptr, nullptr, "Tableau de données, fait de lignes <tr> et de cellules",
     "<table>\r\n  <tr><th>Ville</th><th>Habitants</th></tr>\r\n  "
     "<tr><td>Lyon</td><td>522 000</td></tr>\r\n</table>",
     false},
    {"<TBODY>", nullptr, nullptr, "Corps d'un tableau : ses lignes de données",
     "<table>\r\n  <tbody>\r\n    <tr><td>1</td><td>Un</td></tr>\r\n  </tbody>\r\n</table>", false},
    {"<TD>", nullptr, nullptr, "Cellule de données d'une ligne de tableau",
     "<tr>\r\n  <td>Lundi</td>\r\n  <td colspan=\"2\">Fermé</td>\r\n</tr>", false},
    {"<TEXTAREA>", nullptr, nullptr, "Zone de saisie de texte sur plusieurs lignes",
     "<textarea name=\"message\" rows=\"5\" cols=\"40\" placeholder=\"Votre "
     "message\"></textarea>",
     false},
    {"<TFOOT>", nullptr, nullptr, "Pied d'un tableau : lignes de totaux ou de notes",
     "<table>\r\n  <tfoot>\r\n    <tr><td>Total</td><td>42</td></tr>\r\n  </tfoot>\r\n</table>",
     false},
    {"<TH>", nullptr, nullptr, "Cellule d'en-tête d'un tableau, en gras et centrée",
     "<tr>\r\n  <th scope=\"col\">Nom</th>\r\n  <th scope=\"col\">Prénom</th>\r\n</tr>", false},
    {"<THEAD>", nullptr, nullptr, "En-tête d'un tableau : ses lignes de titres",
     "<table>\r\n  <thead>\r\n    <tr><th>Produit</th><th>Prix</th></tr>\r\n  </thead>\r\n"
     "</table>",
     false},
    {"<TITLE>", nullptr, nullptr,
     "Titre du document, affiché dans l'onglet du navigateur et par les moteurs de recherche",
     "<head>\r\n  <title>Recettes de saison</title>\r\n</head>", false},
    {"<TR>", nullptr, nullptr, "Ligne d'un tableau",
     "<tr>\r\n  <td>A1</td>\r\n  <td>B1</td>\r\n</tr>", false},
    {"<TT>", nullptr, nullptr,
     "Texte en police à chasse fixe (obsolète : utilisez <code>, <kbd> ou les feuilles de "
     "style)",
     "Tapez <tt>dir</tt> puis Entrée.", true},
    {"<U>", nullptr, nullptr,
     "Texte souligné pour une annotation (faute d'orthographe, nom propre chinois...)",
     "Une <u>fote</u> d'orthographe", false},
    {"<UL>", nullptr, nullptr, "Liste à puces, non numérotée",
     "<ul>\r\n  <li>Pommes</li>\r\n  <li>Poires</li>\r\n</ul>", false},
    {"<VAR>", nullptr, nullptr, "Variable d'une formule ou d'un programme",
     "L'aire vaut <var>l</var> × <var>h</var>.", false},
    {"<WBR>", nullptr, Void, "Endroit où une ligne peut être coupée si nécessaire",
     "https://www.exemple.fr/<wbr>documents/<wbr>rapport-annuel.pdf", false},

    // Today's elements.
    {"<ARTICLE>", nullptr, nullptr,
     "Contenu autonome qui a un sens seul : billet, article de presse, fiche produit",
     "<article>\r\n  <h2>Ouverture du marché</h2>\r\n  <p>Le marché ouvre samedi.</p>\r\n"
     "</article>",
     false},
    {"<ASIDE>", nullptr, nullptr, "Contenu annexe : encadré, note, liens connexes",
     "<aside>\r\n  <h3>À lire aussi</h3>\r\n  <a href=\"suite.html\">La suite</a>\r\n</aside>",
     false},
    {"<AUDIO>", nullptr, nullptr, "Son ou musique, avec ou sans commandes de lecture",
     "<audio controls>\r\n  <source src=\"chant.ogg\" type=\"audio/ogg\">\r\n  <source "
     "src=\"chant.mp3\" type=\"audio/mpeg\">\r\n</audio>",
     false},
    {"<CANVAS>", nullptr, nullptr, "Zone de dessin pilotée par un script",
     "<canvas id=\"dessin\" width=\"300\" height=\"150\">Graphique des ventes</canvas>", false},
    {"<DATALIST>", nullptr, nullptr,
     "Suggestions proposées à un champ <input> qui la désigne par list",
     "<input list=\"fruits\" name=\"fruit\">\r\n<datalist id=\"fruits\">\r\n  <option "
     "value=\"Pomme\">\r\n  <option value=\"Poire\">\r\n</datalist>",
     false},
    {"<DETAILS>", nullptr, nullptr,
     "Bloc repliable ; son titre <summary> reste visible, le reste s'ouvre d'un clic",
     "<details>\r\n  <summary>Conditions de vente</summary>\r\n  <p>Livraison sous 48 h.</p>\r\n"
     "</details>",
     false},
    {"<DIALOG>", nullptr, nullptr, "Boîte de dialogue ou fenêtre modale",
     "<dialog id=\"confirmation\">\r\n  <p>Enregistrer les modifications ?</p>\r\n  <form "
     "method=\"dialog\"><button>OK</button></form>\r\n</dialog>",
     false},
    {"<FIGCAPTION>", nullptr, nullptr, "Légende d'une figure <figure>",
     "<figure>\r\n  <img src=\"pont.jpg\" alt=\"Le pont\">\r\n  <figcaption>Le pont au "
     "crépuscule</figcaption>\r\n</figure>",
     false},
    {"<FIGURE>", nullptr, nullptr,
     "Illustration, schéma ou extrait de code, avec sa légende <figcaption>",
     "<figure>\r\n  <img src=\"graphe.png\" alt=\"Courbe des températures\">\r\n  "
     "<figcaption>Températures de juillet</figcaption>\r\n</figure>",
     false},
    {"<FOOTER>", nullptr, nullptr, "Pied de la page ou d'une section : auteur, droits, liens",
     "<footer>\r\n  <p>© 2024 Association des randonneurs</p>\r\n</footer>", false},
    {"<HEADER>", nullptr, nullptr, "En-tête de la page ou d'une section : logo, titre, navigation",
     "<header>\r\n  <h1>Le Petit Journal</h1>\r\n  <nav><a href=\"/\">Accueil</a></nav>\r\n"
     "</header>",
     false},
    {"<MAIN>", nullptr, nullptr, "Contenu principal de la page, une seule fois par page",
     "<main>\r\n  <h1>Nos recettes</h1>\r\n  <p>Cuisine de saison.</p>\r\n</main>", false},
    {"<MARK>", nullptr, nullptr, "Texte surligné, mis en évidence pour le lecteur",
     "Résultats pour <mark>randonnée</mark> dans le texte", false},
    {"<METER>", nullptr, nullptr, "Mesure dans un intervalle connu : niveau, taux de remplissage",
     "Disque : <meter value=\"0.7\" min=\"0\" max=\"1\">70 %</meter>", false},
    {"<NAV>", nullptr, nullptr, "Bloc de liens de navigation principaux",
     "<nav>\r\n  <a href=\"index.html\">Accueil</a> |\r\n  <a href=\"contact.html\">Contact</a>"
     "\r\n</nav>",
     false},
    {"<OUTPUT>", nullptr, nullptr, "Résultat d'un calcul ou d'une action de l'utilisateur",
     "<output name=\"total\" for=\"prix quantite\">0</output> €", false},
    {"<PICTURE>", nullptr, nullptr,
     "Image proposée en plusieurs versions <source> ; le navigateur choisit la mieux adaptée",
     "<picture>\r\n  <source srcset=\"photo.webp\" type=\"image/webp\">\r\n  <img "
     "src=\"photo.jpg\" alt=\"Le port\">\r\n</picture>",
     false},
    {"<PROGRESS>", nullptr, nullptr, "Barre d'avancement d'une tâche",
     "Téléchargement : <progress value=\"40\" max=\"100\">40 %</progress>", false},
    {"<SECTION>", nullptr, nullptr, "Section thématique d'un document, en général avec un titre",
     "<section>\r\n  <h2>Horaires</h2>\r\n  <p>Du lundi au vendredi.</p>\r\n</section>", false},
    {"<SOURCE>", nullptr, Void, "Une version d'un média dans <audio>, <video> ou <picture>",
     "<video controls>\r\n  <source src=\"film.webm\" type=\"video/webm\">\r\n  <source "
     "src=\"film.mp4\" type=\"video/mp4\">\r\n</video>",
     false},
    {"<SUMMARY>", nullptr, nullptr, "Titre toujours visible d'un bloc <details>",
     "<details>\r\n  <summary>Voir la réponse</summary>\r\n  <p>42</p>\r\n</details>", false},
    {"<TEMPLATE>", nullptr, nullptr,
     "Modèle de contenu non affiché, que les scripts recopient dans la page",
     "<template id=\"ligne\">\r\n  <tr><td class=\"nom\"></td></tr>\r\n</template>", false},
    {"<TIME>", nullptr, nullptr, "Date ou heure, lisible par les programmes grâce à datetime",
     "Rendez-vous le <time datetime=\"2024-05-18T14:00\">18 mai à 14 h</time>.", false},
    {"<TRACK>", nullptr, Void, "Sous-titres ou chapitres d'une vidéo ou d'un son",
     "<video src=\"film.mp4\" controls>\r\n  <track kind=\"subtitles\" src=\"film.fr.vtt\" "
     "srclang=\"fr\" label=\"Français\" default>\r\n</video>",
     false},
    {"<VIDEO>", nullptr, nullptr, "Vidéo, avec ou sans commandes de lecture",
     "<video src=\"visite.mp4\" controls width=\"640\" poster=\"visite.jpg\">\r\n  Votre "
     "navigateur ne lit pas cette vidéo.\r\n</video>",
     false},
};

QString elementOf(const QString &key) {
    return key.mid(1, key.size() - 2).toLower();
}

std::vector<Entry> build() {
    std::vector<Entry> out;
    for (const Row &r : Rows) {
        Entry e;
        e.key = QString::fromUtf8(r.key);
        const QString name = elementOf(e.key);
        e.opening = r.opening ? QString::fromUtf8(r.opening) : QLatin1Char('<') + name + u'>';
        e.closing = r.closing ? QString::fromUtf8(r.closing) : QStringLiteral("</") + name + u'>';
        e.description = QString::fromUtf8(r.description);
        e.example = QString::fromUtf8(r.example);
        e.obsolete = r.obsolete;
        out.push_back(e);
    }
    std::sort(out.begin(), out.end(), [](const Entry &a, const Entry &b) { return a.key < b.key; });
    return out;
}

} // namespace

const std::vector<Entry> &entries() {
    static const std::vector<Entry> all = build();
    return all;
}

int indexOf(const QString &key) {
    const std::vector<Entry> &all = entries();
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].key.compare(key, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

QString markupCase(const QString &text, bool casse) {
    if (!casse) return text;
    QString out = text;
    enum { Outside, InTag, InQuote, InComment } state = Outside;
    QChar quote;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        switch (state) {
        case Outside:
            if (c == u'<') {
                if (QStringView(out).mid(i).startsWith(u"<!--")) {
                    state = InComment;
                    i += 3;
                } else {
                    state = InTag;
                }
            }
            break;
        case InTag:
            if (c == u'>') {
                state = Outside;
            } else if (c == u'"' || c == u'\'') {
                quote = c;
                state = InQuote;
            } else if (c.unicode() < 128) {
                out[i] = c.toUpper();
            }
            break;
        case InQuote:
            if (c == quote) state = InTag;
            break;
        case InComment:
            if (QStringView(out).mid(i).startsWith(u"-->")) {
                state = Outside;
                i += 2;
            }
            break;
        }
    }
    return out;
}

QString displayKey(const Entry &entry, bool casse) {
    return casse ? entry.key.toUpper() : entry.key.toLower();
}

} // namespace TagReference
