#include "app/templates.h"

#include "app/document_texts.h"
#include "app/document_types.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Templates {

QString folder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/Modeles");
}

QString nameError(const QString &name) {
    if (name.trimmed().isEmpty()) return QStringLiteral("Veuillez donner un nom au modèle.");
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QStringLiteral("Le nom d'un modèle ne peut pas contenir de séparateur de dossier "
                              "(\"/\" ou \"\\\").");
    if (name.trimmed() == QLatin1String(".") || name.trimmed() == QLatin1String(".."))
        return QStringLiteral("Le nom \"%1\" ne peut pas servir de nom de modèle.").arg(name);
    for (QChar c : name)
        if (c.category() == QChar::Other_Control)
            return QStringLiteral(
                "Le nom d'un modèle ne peut pas contenir de caractère de contrôle.");
    return QString();
}

QStringList list(const QString &dir) {
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

bool seed(const QString &dir, const QString &shippedFolder) {
    if (QFileInfo(dir).isDir()) return true;
    if (!QDir().mkpath(dir)) return false;
    // The user's own folder: private, like everything the program keeps for the user.
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QDir shipped(shippedFolder);
    for (const QString &name : shipped.entryList(QDir::Files)) {
        const QString target = QDir(dir).filePath(name);
        if (QFile::copy(shipped.filePath(name), target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    return true;
}

QString rename(const QString &dir, const QString &oldName, const QString &newName) {
    if (oldName == newName) return QString();
    if (const QString e = nameError(newName); !e.isEmpty()) return e;
    const QString target = QDir(dir).filePath(newName);
    // A case-only change on a case-blind file system is the same file.
    const bool sameFile = QFileInfo(target).exists() &&
                          QFileInfo(target).canonicalFilePath() ==
                              QFileInfo(QDir(dir).filePath(oldName)).canonicalFilePath();
    if ((QFileInfo::exists(target) && !sameFile) ||
        !QFile::rename(QDir(dir).filePath(oldName), target))
        return cannotRename();
    return QString();
}

bool remove(const QString &dir, const QString &name) {
    if (!nameError(name).isEmpty()) return false;
    return QFile::remove(QDir(dir).filePath(name));
}

QString overwriteQuestion(const QString &name) {
    return QStringLiteral("Un modèle portant le nom \"") + name +
           QStringLiteral("\" existe déjà.") + DocTexts::kCrLf +
           QStringLiteral("Voulez-vous l'écraser ?");
}

QString deleteQuestion(const QString &name) {
    return QStringLiteral("Etes-vous sûr de vouloir supprimer le modèle \"") + name +
           QStringLiteral("\" ?");
}

QString cannotDelete() {
    return QStringLiteral("Impossible de supprimer ce modèle.");
}

QString cannotRename() {
    return QStringLiteral("Impossible de renommer ce modèle.") + DocTexts::kCrLf +
           QStringLiteral("Vérifiez que le nouveau nom n'est pas déjà utilisé.");
}

} // namespace Templates

const QList<NewDocumentKind> &NewDocumentKinds() {
    using T = DocumentTypes;
    static const QList<NewDocumentKind> kinds = {
        {QStringLiteral("Texte"), T::SynGeneralSyn1, NewDocumentKind::Nothing,
         QStringLiteral("texte")},
        {QStringLiteral("HTML"), T::SynMultiSynHTML, NewDocumentKind::PageProperties,
         QStringLiteral("html")},
        {QStringLiteral("HTML avec cadres"), T::SynMultiSynHTML, NewDocumentKind::Frames,
         QStringLiteral("html")},
        {QStringLiteral("Feuille de style"), T::SynCssSyn1, NewDocumentKind::Nothing,
         QStringLiteral("css")},
        {QStringLiteral("JavaScript"), T::SynJScriptSyn1, NewDocumentKind::Nothing,
         QStringLiteral("js")},
        {QStringLiteral("VBScript"), T::SynVBScriptSyn1, NewDocumentKind::Nothing,
         QStringLiteral("vbs")},
        {QStringLiteral("PHP"), T::SynMultiSynPHP, NewDocumentKind::Nothing, QStringLiteral("php")},
        {QStringLiteral("ASP"), T::SynMultiSynASP, NewDocumentKind::Nothing, QStringLiteral("asp")},
        {QStringLiteral("Perl"), T::SynPerlSyn1, NewDocumentKind::Nothing, QStringLiteral("perl")},
        {QStringLiteral("SQL"), T::SynSQLSyn1, NewDocumentKind::Nothing, QStringLiteral("sql")},
    };
    return kinds;
}
