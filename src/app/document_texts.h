#pragma once

#include <QString>

// The program's own texts for documents, tabs, saving and closing.
namespace DocTexts {

inline const QString kCrLf = QStringLiteral("\r\n");

inline QString untitledCaption(int n) { return QStringLiteral("Sans Nom (%1)").arg(n); }

inline QString fileDoesNotExist(const QString &path)
{
    return QStringLiteral("Le fichier \"") + path + QStringLiteral("\" n'existe pas");
}

inline QString cannotOpen(const QString &path)
{
    return QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path);
}

inline QString cannotCreate(const QString &path)
{
    return QStringLiteral("Impossible de créer le fichier %1").arg(path);
}

inline QString recentVanished(const QString &path)
{
    return QStringLiteral("Le fichier \"") + path + QStringLiteral("\" n'existe plus.") + kCrLf +
           QStringLiteral("Voulez-vous supprimer le raccourci de la liste des fichiers récents ?");
}

inline QString readOnlyTarget(const QString &path)
{
    return path + kCrLf + QStringLiteral("Ce fichier  existe avec un attribut en lecture seule.") +
           kCrLf + QStringLiteral("Veuillez utiliser un nom de fichier différent.");
}

inline QString saveNotWritable()
{
    return QStringLiteral(
               "Impossible de sauvegarder le fichier car celui-ci n'est pas accessible en écriture.") +
           kCrLf +
           QStringLiteral("Vérifiez qu'il n'est pas ouvert dans un autre programme ou "
                          "sauvegardez-le sous un nom différent.");
}

inline QString saveFailed() { return QStringLiteral("Impossible de sauvegarder le fichier."); }

// A character the document's code page cannot hold: save in UTF-8 instead?
inline QString encodingQuestion(const QString &name, int line, int col)
{
    return QStringLiteral("Le document \"") + name +
           QStringLiteral("\" contient des caractères que le codage Windows-1252 ne peut pas "
                          "représenter (ligne %1, colonne %2).")
               .arg(line)
               .arg(col) +
           kCrLf + QStringLiteral("Voulez-vous l'enregistrer en UTF-8 ?") + kCrLf + kCrLf +
           QStringLiteral("Répondez \"Non\" pour ne pas l'enregistrer.");
}

// The close question; ftpBreaks is the line break(s) of the FTP form.
inline QString closeQuestion(bool ftp, const QString &name, const QString &ftpBreaks)
{
    if (ftp)
        return QStringLiteral("Le fichier \"") + name + QStringLiteral("\" a été ouvert via FTP.") +
               ftpBreaks + QStringLiteral("Voulez-vous l'enregistrer en local ?");
    return QStringLiteral("Le texte dans le fichier \"") + name + QStringLiteral("\" a changé.") +
           kCrLf + QStringLiteral("Voulez-vous enregistrer les modifications ?");
}

// An FTP document whose changes did not reach the server: the mark after its name
// (tab and title), and the close question.
inline QString unsentMark() {
    return QStringLiteral(" (non envoyé)");
}
inline QString unsentCloseQuestion(const QString &name, const QString &ftpBreaks) {
    return QStringLiteral("Les modifications du fichier \"") + name +
           QStringLiteral("\" n'ont pas été envoyées au serveur FTP.") + ftpBreaks +
           QStringLiteral("Voulez-vous l'enregistrer en local ?");
}

inline QString win32Error(int code, const QString &text)
{
    return QStringLiteral("Erreur Win32.  Code : %1.").arg(code) + QLatin1Char('\n') + text;
}

// Status bar and title.
inline QString caretPanel(int line, int col) { return QStringLiteral("%1:%2").arg(line).arg(col); }
inline QString modifiedPanel(bool modified)
{
    return modified ? QStringLiteral("Modifié") : QString();
}
inline QString modePanel(bool overwrite)
{
    return overwrite ? QStringLiteral("Remplacement") : QStringLiteral("Insertion");
}
inline QString windowTitle(const QString &text, bool modified)
{
    if (text.isEmpty())
        return QStringLiteral("Balizor");
    return QStringLiteral("Balizor - ") + text + (modified ? QStringLiteral("*") : QString());
}
// The title text of a document: its file name, or "FTP : " / "Modèle : " + its name part.
QString titleText(const QString &fileName, int kind);

} // namespace DocTexts
