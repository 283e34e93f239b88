#pragma once

#include <QLocale>
#include <QString>

// The texts of the site publishing.
namespace PublishSiteTexts {

inline QString connecting(const QString &host) {
    return QStringLiteral("Connexion à %1...").arg(host);
}
inline QString listing(const QString &folder) {
    return QStringLiteral("Lecture du dossier distant %1...").arg(folder);
}
inline QString listingFailed(const QString &folder, const QString &why) {
    return QStringLiteral("Impossible de lire le dossier distant \"%1\" : %2").arg(folder, why);
}
inline QString makingFolder(const QString &folder) {
    return QStringLiteral("Création du dossier %1...").arg(folder);
}
inline QString deleting(const QString &path) {
    return QStringLiteral("Suppression de %1...").arg(path);
}
inline QString sending(const QString &path, int index, int count) {
    return QStringLiteral("Envoi de %1 (%2 sur %3)...").arg(path).arg(index).arg(count);
}
inline QString size(qint64 bytes) {
    return QLocale(QLocale::French).formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}
inline QString compared(int uploads, qint64 bytes, int extras, int unchanged) {
    if (uploads == 0 && extras == 0)
        return QStringLiteral("Le site est à jour sur le serveur (%1 fichiers identiques).")
            .arg(unchanged);
    return QStringLiteral("%1 fichier(s) à envoyer (%2), %3 fichier(s) sur le serveur seulement, "
                          "%4 fichier(s) identique(s). Rien n'est envoyé avant que vous "
                          "cliquiez sur Publier.")
        .arg(uploads)
        .arg(size(bytes))
        .arg(extras)
        .arg(unchanged);
}
inline QString done(int sent, int deleted, int failed) {
    QString t = QStringLiteral("Publication terminée : %1 fichier(s) envoyé(s)").arg(sent);
    if (deleted) t += QStringLiteral(", %1 supprimé(s)").arg(deleted);
    if (failed) t += QStringLiteral(", %1 échec(s)").arg(failed);
    return t + QLatin1Char('.');
}
inline QString cancelled(int sent, int left) {
    return QStringLiteral("Publication annulée : %1 fichier(s) envoyé(s), %2 restant(s). "
                          "Publier à nouveau n'enverra que ce qui manque.")
        .arg(sent)
        .arg(left);
}
inline QString connectionLost(int sent, int left) {
    return QStringLiteral("La connexion au serveur est perdue : %1 fichier(s) envoyé(s), "
                          "%2 restant(s). Publier à nouveau n'enverra que ce qui manque.")
        .arg(sent)
        .arg(left);
}
inline QString localMissing() {
    return QStringLiteral("Le fichier local n'existe plus ou ne peut pas être lu.");
}
inline QString notSent() {
    return QStringLiteral("Non envoyé");
}
inline QString deleteQuestion(int count) {
    return QStringLiteral("%1 fichier(s) présent(s) seulement sur le serveur seront supprimés "
                          "du serveur. Continuer ?")
        .arg(count);
}
inline QString noSession() {
    return QStringLiteral("Aucune session FTP n'est enregistrée. Créez-en une dans la fenêtre "
                          "\"Ouvrir via FTP...\" (menu Fichier > FTP), puis revenez ici.");
}
inline QString noSite() {
    return QStringLiteral("Choisissez le dossier local du site.");
}
inline QString siteMissing(const QString &folder) {
    return QStringLiteral("Le dossier \"%1\" n'existe pas.").arg(folder);
}
inline QString stopQuestion() {
    return QStringLiteral("Une publication est en cours. Voulez-vous l'arrêter ? Chaque fichier "
                          "reste soit l'ancien, soit le nouveau.");
}

} // namespace PublishSiteTexts
