#include "app/outside_changes.h"

#include "app/document_texts.h"

#include <QAtomicInt>

namespace {
QAtomicInt g_transfers;
constexpr int kKindFtp = 1;
} // namespace

DiskChange compareWithDisk(const FileStamp &recorded, const FileStamp &current) {
    if (!current.exists) return DiskChange::Vanished;
    if (recorded.mtimeNs != current.mtimeNs || recorded.size != current.size || !recorded.exists)
        return DiskChange::Changed;
    return DiskChange::None;
}

bool isCheckedOnDisk(int documentKind, const QString &fileName) {
    return documentKind != kKindFtp && !fileName.isEmpty();
}

TransferGuard::TransferGuard() {
    g_transfers.ref();
}
TransferGuard::~TransferGuard() {
    g_transfers.deref();
}
bool TransferGuard::active() {
    return g_transfers.loadRelaxed() > 0;
}

namespace OutsideTexts {
using DocTexts::kCrLf;

QString vanishedQuestion(const QString &fileName) {
    return QStringLiteral("Le document \"") + fileName +
           QStringLiteral("\" a été supprimé ou n'est plus accessible.") + kCrLf +
           QStringLiteral("Souhaitez-vous le garder ouvert dans l'éditeur ?") + kCrLf + kCrLf +
           QStringLiteral("Répondez \"Oui\" pour le garder ouvert, \"Non\" pour le fermer");
}

QString vanishedLossWarning(const QString &fileName) {
    return QStringLiteral("Le document \"") + fileName +
           QStringLiteral("\" contient des modifications qui n'ont pas été enregistrées.") + kCrLf +
           QStringLiteral("Si vous le fermez, ces modifications seront définitivement perdues.") +
           kCrLf + kCrLf + QStringLiteral("Voulez-vous vraiment le fermer ?");
}

QString changedQuestion(const QString &fileName, bool modified) {
    QString t = QStringLiteral("Le document \"") + fileName +
                QStringLiteral("\" a été modifié par une autre application.") + kCrLf +
                QStringLiteral("Souhaitez-vous le recharger maintenant ?") + kCrLf;
    if (modified)
        t += kCrLf + QStringLiteral("Attention : si vous répondez \"Oui\", toutes les "
                                    "modifications effectuées depuis le dernier enregistrement "
                                    "seront perdues.");
    return t;
}
} // namespace OutsideTexts
