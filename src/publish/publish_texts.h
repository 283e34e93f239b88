#pragma once

#include <QString>

// The program's own texts for the preview panel and browser tests.
namespace PublishTexts {

inline QString userBrowserMissing()
{
    return QStringLiteral("Le chemin que vous avez spécifié en tant que Navigateur Utilisateur "
                          "n'existe pas.\r\nVous pouvez régler ce problème dans le menu "
                          "\"Outils/Préférences\", onglet \"général/Navigateur utilisé\"");
}

inline QString browserNotStarted(const QString &program)
{
    return QStringLiteral("Impossible de lancer le navigateur \"") + program +
           QStringLiteral("\".\r\nVérifiez qu'il s'agit d'un programme exécutable.");
}

inline QString livePreviewPaused() {
    return QStringLiteral("Aperçu en direct suspendu : la page dépasse 2 Mo. "
                          "Tester (Ctrl+F9) ou Recharger (Ctrl+R) l'actualise.");
}

} // namespace PublishTexts
