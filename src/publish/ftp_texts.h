#pragma once

#include <QLocale>
#include <QString>

// The program's own texts for FTP sites and transfers.
namespace FtpTexts {

inline QString placeholderSession() {
    return QStringLiteral("Sélectionnez une session");
}
inline QString sessionNameMissing() {
    return QStringLiteral("Vous devez renseigner un nom de session.");
}
inline QString sessionNameTaken(const QString &n) {
    return QStringLiteral("Le nom de session \"") + n +
           QStringLiteral("\" est déjà utilisé.\r\n Veuillez en définir un autre.");
}
inline QString sessionNameSlash() {
    return QStringLiteral("Un nom de session ne peut pas contenir les caractères \"/\" et \"\\\".");
}
inline QString forbiddenCharacters() {
    return QStringLiteral(
        "Un nom de fichier ne peut contenir l'un des caractères suivants :\r\n\\/:*?\"<>|");
}
inline QString controlCharacters() {
    return QStringLiteral("Un nom de fichier ne peut pas contenir de caractère de contrôle "
                          "(retour à la ligne, tabulation...).");
}
inline QString hostileName(const QString &n) {
    return QStringLiteral("Le nom \"") + n +
           QStringLiteral("\" envoyé par le serveur n'est pas un simple nom de fichier : "
                          "il ne peut pas être ouvert ni modifié ici.");
}
inline QString deleteSession(const QString &n) {
    return QStringLiteral("Etes-vous sûr de vouloir supprimer la session \"") + n +
           QStringLiteral("\" ?");
}
inline QString disconnectQuestion() {
    return QStringLiteral("Etes-vous sûr de vouloir fermer la connexion au serveur FTP ?");
}
inline QString folderUnreachable(const QString &f) {
    return QStringLiteral("Impossible d'accéder au répertoire \"") + f + QLatin1Char('"');
}
inline QString cannotMakeFolder() {
    return QStringLiteral("Impossible de créer le répertoire");
}
inline QString cannotRenameFile() {
    return QStringLiteral("Impossible de renommer le fichier.");
}
inline QString cannotRenameFolder() {
    return QStringLiteral("Impossible de renommer le répertoire.");
}
inline QString cannotDelete() {
    return QStringLiteral("Impossible de supprimer le répertoire.");
}
inline QString deleteFile(const QString &n) {
    return QStringLiteral("Etes-vous sûr de vouloir supprimer le fichier \"") + n +
           QStringLiteral("\" ?");
}
inline QString deleteFolder(const QString &n) {
    return QStringLiteral("Etes-vous sûr de vouloir supprimer le répertoire \"") + n +
           QStringLiteral("\" ?");
}
inline QString saveLocallyFirst() {
    return QStringLiteral("Vous devez sauvegarder votre document en local avant de pouvoir "
                          "l'enregistrer via FTP.\r\nVoulez-vous le sauvegarder maintenant ?");
}
inline QString spaceAdvice() {
    return QStringLiteral("Conseil : évitez d'utiliser des espaces dans vos noms de fichiers !");
}
inline QString fileNameMissing() {
    return QStringLiteral("Veuillez spécifier un nom de fichier.");
}
inline QString transferDone() {
    return QStringLiteral("Transfert terminé.");
}
inline QString transferAborted() {
    return QStringLiteral("Transfert annulé.");
}
inline QString disconnected() {
    return QStringLiteral("Déconnecté.");
}
inline QString speed(double kbPerSecond) {
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return QStringLiteral("Vitesse de téléchargement ") + locale.toString(kbPerSecond, 'f', 2) +
           QStringLiteral(" Ko/s");
}
inline QString renameRefused(const QString &temporary, const QString &target) {
    return QStringLiteral("Le fichier a été envoyé sous le nom provisoire \"") + temporary +
           QStringLiteral("\", mais le serveur a refusé de le renommer en \"") + target +
           QStringLiteral("\".\r\nLe fichier \"") + target +
           QStringLiteral("\" du serveur n'a pas été modifié.");
}
inline QString sizeMismatch(qint64 sent, qint64 reported) {
    return QStringLiteral(
               "Le serveur indique une taille de %1 octets pour le fichier envoyé au lieu "
               "de %2 octets : l'envoi est abandonné et le fichier du serveur n'a pas été "
               "modifié.")
        .arg(reported)
        .arg(sent);
}
inline QString uploadShort(qint64 sent, qint64 size) {
    return QStringLiteral("Seuls %1 octets sur %2 ont été envoyés : l'envoi est abandonné et le "
                          "fichier du serveur n'a pas été modifié.")
        .arg(sent)
        .arg(size);
}
inline QString targetSetAside(const QString &aside, const QString &target) {
    return QStringLiteral("Le serveur a refusé de remplacer le fichier \"") + target +
           QStringLiteral("\" : son ancienne version se trouve maintenant sous le nom \"") + aside +
           QStringLiteral("\".");
}
inline QString downloadShort(qint64 received, qint64 expected) {
    return QStringLiteral("Le fichier reçu ne fait que %1 octets au lieu de %2 : la copie est "
                          "incomplète et n'est pas ouverte.")
        .arg(received)
        .arg(expected);
}
inline QString localCopyFailed(const QString &why) {
    return QStringLiteral("La copie locale du fichier n'a pas pu être écrite : ") + why;
}
inline QString stopTransferQuestion() {
    return QStringLiteral("Un transfert est en cours.\r\nVoulez-vous l'interrompre ?");
}
inline QString uploadFailed(const QString &why) {
    return QStringLiteral("L'envoi du fichier a échoué : ") + why +
           QStringLiteral("\r\nLe fichier du serveur n'a pas été modifié.");
}
inline QString invalidHost(const QString &h) {
    return QStringLiteral("Le nom de serveur \"") + h + QStringLiteral("\" n'est pas valide.");
}
inline QString certificateQuestion(const QString &host, const QString &fingerprint) {
    return QStringLiteral("Le certificat présenté par le serveur \"") + host +
           QStringLiteral("\" n'est pas garanti par une autorité reconnue (il est peut-être "
                          "auto-signé).\r\n\r\nEmpreinte SHA-256 :\r\n") +
           fingerprint +
           QStringLiteral("\r\n\r\nVérifiez cette empreinte auprès de votre hébergeur. Voulez-vous "
                          "faire confiance à ce certificat pour ce serveur ?");
}
inline QString certificateChanged(const QString &host) {
    return QStringLiteral("Le certificat du serveur \"") + host +
           QStringLiteral("\" n'est plus celui que vous aviez accepté. La connexion est refusée : "
                          "quelqu'un se fait peut-être passer pour ce serveur.");
}
inline QString hostKeyQuestion(const QString &host, const QString &fingerprint) {
    return QStringLiteral("Première connexion au serveur \"") + host +
           QStringLiteral("\" : sa clé n'est pas encore connue.\r\n\r\nEmpreinte de la clé :\r\n") +
           fingerprint +
           QStringLiteral("\r\n\r\nVérifiez cette empreinte auprès de votre hébergeur. Voulez-vous "
                          "l'accepter et vous connecter ?");
}
inline QString hostKeyChanged(const QString &host) {
    return QStringLiteral("La clé du serveur \"") + host +
           QStringLiteral("\" a changé depuis la dernière connexion. La connexion est refusée : "
                          "quelqu'un se fait peut-être passer pour ce serveur.");
}
inline QString passwordPrompt(const QString &user, const QString &host) {
    return QStringLiteral("Mot de passe de \"") + user + QStringLiteral("\" sur \"") + host +
           QStringLiteral("\" :");
}

} // namespace FtpTexts
