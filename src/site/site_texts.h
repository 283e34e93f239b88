#pragma once

#include <QString>

// The texts of the site panel and of the search in files.
namespace SiteTexts {

inline QString panelTitle() {
    return QStringLiteral("Site");
}
inline QString resultsTitle() {
    return QStringLiteral("Résultats de la recherche");
}
inline QString chooseSite() {
    return QStringLiteral("Ouvrir un site");
}
inline QString chooseFolder() {
    return QStringLiteral("Dossier de la recherche");
}
inline QString newFolderName() {
    return QStringLiteral("Nouveau dossier");
}

inline QString trashQuestion(const QString &name, bool folder) {
    return (folder ? QStringLiteral("Mettre le dossier « %1 » et tout son contenu à la corbeille ?")
                   : QStringLiteral("Mettre le fichier « %1 » à la corbeille ?"))
        .arg(name);
}
inline QString trashFailed(const QString &name) {
    return QStringLiteral("Impossible de mettre « %1 » à la corbeille.").arg(name);
}
inline QString renameFailed(const QString &name) {
    return QStringLiteral("Impossible de renommer « %1 » : le nom est pris ou refusé par le "
                          "système.")
        .arg(name);
}
inline QString folderFailed() {
    return QStringLiteral("Impossible de créer un dossier ici.");
}
inline QString linksTitle() {
    return QStringLiteral("Liens du site");
}
inline QString chooseLinksFolder() {
    return QStringLiteral("Dossier dont vérifier les liens");
}
inline QString linksListing() {
    return QStringLiteral("Recherche des pages...");
}
inline QString linksProgress(int done, int total) {
    return QStringLiteral("Lecture des pages : %1 sur %2").arg(done).arg(total);
}
inline QString linksStopped() {
    return QStringLiteral("Vérification arrêtée");
}
inline QString linksSummary(int broken, int pages) {
    const QString in =
        pages > 1 ? QStringLiteral("%1 pages").arg(pages) : QStringLiteral("%1 page").arg(pages);
    if (broken == 0) return QStringLiteral("Aucun lien brisé dans %1").arg(in);
    return (broken > 1 ? QStringLiteral("%1 liens brisés dans %2")
                       : QStringLiteral("%1 lien brisé dans %2"))
        .arg(broken)
        .arg(in);
}

inline QString linksCut(int shown) {
    return QStringLiteral(" (les %1 premiers sont affichés)").arg(shown);
}

inline QString siteMissing(const QString &folder) {
    return QStringLiteral("Le dossier « %1 » n'existe plus.").arg(folder);
}

inline QString noFolder() {
    return QStringLiteral("Choisissez un dossier existant.");
}
inline QString emptyPattern() {
    return QStringLiteral("Tapez le texte à rechercher.");
}

inline QString listing() {
    return QStringLiteral("Recherche des fichiers...");
}
inline QString searching(int done, int total, int matches, int files) {
    return QStringLiteral("%1 fichiers sur %2 lus : %3 occurrence(s) dans %4 fichier(s)")
        .arg(done)
        .arg(total)
        .arg(matches)
        .arg(files);
}
inline QString searchDone(int matches, int files, int total) {
    return QStringLiteral("%1 occurrence(s) dans %2 fichier(s) sur %3 lus")
        .arg(matches)
        .arg(files)
        .arg(total);
}
inline QString searchStopped(int matches, int files) {
    return QStringLiteral("Recherche arrêtée : %1 occurrence(s) dans %2 fichier(s)")
        .arg(matches)
        .arg(files);
}
inline QString moreLines(int count) {
    return QStringLiteral("... d'autres lignes ne sont pas listées (%1 occurrence(s) dans ce "
                          "fichier)")
        .arg(count);
}

inline QString replaceQuestion(int matches, int files, const QString &replacement) {
    return QStringLiteral("Remplacer %1 occurrence(s) dans %2 fichier(s) par « %3 » ?")
        .arg(matches)
        .arg(files)
        .arg(replacement);
}
inline QString replacing(int done, int total) {
    return QStringLiteral("Remplacement : %1 fichier(s) sur %2").arg(done).arg(total);
}
inline QString replaceDone(int matches, int files) {
    return QStringLiteral("%1 occurrence(s) remplacée(s) dans %2 fichier(s).")
        .arg(matches)
        .arg(files);
}
inline QString replaceStopped() {
    return QStringLiteral("Remplacement arrêté : chaque fichier est resté entier, ancien ou "
                          "nouveau.");
}
inline QString skippedChanged() {
    return QStringLiteral("Fichiers modifiés depuis la recherche, laissés tels quels :");
}
inline QString skippedUnencodable() {
    return QStringLiteral("Fichiers dont l'encodage (Windows-1252) ne peut pas contenir le texte "
                          "de remplacement, laissés tels quels :");
}
inline QString skippedFailed() {
    return QStringLiteral("Fichiers qui n'ont pas pu être écrits, laissés intacts :");
}

} // namespace SiteTexts
