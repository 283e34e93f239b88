#include "app/document_texts.h"

#include <QFileInfo>

namespace DocTexts {

QString titleText(const QString &fileName, int kind)
{
    const QString name = QFileInfo(fileName).fileName();
    if (kind == 1)
        return QStringLiteral("FTP : ") + name;
    if (kind == 2)
        return QStringLiteral("Modèle : ") + name;
    return fileName;
}

} // namespace DocTexts
