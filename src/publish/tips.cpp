#include "publish/tips.h"

#include <QRandomGenerator>
#include <algorithm>

namespace Tips {
const QStringList &texts() {
    static const QStringList t = {
        QStringLiteral("Pour faire défiler le texte d'un document verticalement sans toucher à la "
                       "souris et sans modifier la position du curseur dans le texte, cliquez sur "
                       "Ctrl + flèche haut ou bas"),
        QStringLiteral("Pour créer une liste HTML à partir d'un ensemble de lignes de texte, "
                       "sélectionnez ces lignes et appelez le menu \"Insertion / Liste...\" : "
                       "chaque ligne correspond à un élément de la liste."),
        QStringLiteral("Posez des repères dans votre document en pressant les touche \"Maj + Ctrl "
                       "+ 1\", \"Maj + Ctrl + 2\"... Vous pourrez ensuite facilement vous rendre à "
                       "ce repère en pressant les touches \"Ctrl + 1\", \"Ctrl + 2\"..."),
        QStringLiteral("Cliquez avec le bouton droit de la souris sur les barres d'outils pour "
                       "afficher ou masquer une barre d'outils."),
        QStringLiteral("Dans les boîtes de dialogue Tableau ou Liste, pour ajouter un élément, "
                       "plutôt que de cliquer avec la souris sur le bouton \"Ajouter\", appuyez "
                       "simplement sur la touche \"Entrée\" : votre ligne est alors "
                       "automatiquement ajoutée."),
        QStringLiteral("Pensez à enregistrer votre document une première fois avant de créer des "
                       "liens, d'insérer des images ou de modifier les propriétés générales : ceci "
                       "permettra à Balizor de définir le chemin relatif de vos éléments par "
                       "rapport à votre document."),
        QStringLiteral("Pour avoir une description des principaux marqueurs HTML, consultez la "
                       "\"Boîte des marqueurs\" du menu \"Outils\"."),
        QStringLiteral("Avant de publier votre site sur le web, pensez à le tester sur un maximum "
                       "de navigateurs différents pour vérifier son bon fonctionnement (Internet "
                       "Explorer, Firefox...)."),
        QStringLiteral("La fonction \"Outils / Informations document\" vous permet, entre autres,  "
                       "de connaître le poid de votre document (sans compter les images ou autres "
                       "éléments externes). Veillez à ce que celui-ci ne soit pas trop lourd."),
        QStringLiteral("Pour une plus grande compatibilité et un meilleur rapport qualité / poids, "
                       "n'utilisez que des images au format GIF, JPEG ou PNG."),
        QStringLiteral("Utilisez la combinaison de touches Ctrl+² pour masquer l'ensemble des "
                       "barres d'outils rapidement, et à nouveau Ctrl+² pour les réafficher."),
    };
    return t;
}
} // namespace Tips

TipCycle::TipCycle(int count) : m_marks(size_t(std::max(count, 1)), false) {}

int TipCycle::next(int displayed, const RandomStep &random) {
    const int n = count();
    displayed = ((displayed % n) + n) % n;
    m_marks[size_t(displayed)] = true;
    int c = (displayed + std::clamp(random(n), 0, n - 1)) % n;
    if (std::find(m_marks.begin(), m_marks.end(), false) != m_marks.end()) {
        while (m_marks[size_t(c)])
            c = (c + 1) % n;
    } else {
        std::fill(m_marks.begin(), m_marks.end(), false);
        // A new round must not begin by showing again the tip just read.
        if (c == displayed && n > 1) c = (c + 1) % n;
    }
    // Shown is read: a window closed on this tip must not open on it next time.
    m_marks[size_t(c)] = true;
    return c;
}

int TipCycle::randomStep(int count) {
    return count > 0 ? int(QRandomGenerator::global()->bounded(count)) : 0;
}

TipCycle &TipCycle::forRun() {
    static TipCycle cycle(int(Tips::texts().size()));
    return cycle;
}
