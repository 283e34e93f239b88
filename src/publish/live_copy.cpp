#include "publish/live_copy.h"

#include "publish/preview_copy.h"
#include "publish/preview_markup.h"

#include <QFileInfo>

QByteArray snapshotBytes(const CopySnapshot &s) {
    QByteArray bytes;
    if (!encodeForFile(s.utf8.constData(), s.utf8.size(), s.encoding, s.lineBreak, &bytes))
        encodeForFile(s.utf8.constData(), s.utf8.size(), TextEncoding::Utf8, s.lineBreak, &bytes);
    return bytes;
}

PanelCopyResult writePanelCopy(const PanelCopyJob &job) {
    PanelCopyResult result;
    QByteArray bytes = snapshotBytes(job.page);
    QList<const CopySnapshot *> used;
    if (job.markup) {
        PreviewMarkupOptions options;
        options.lineAttributes = job.lineAttributes;
        options.relink = [&job, &used](const QByteArray &value) -> QByteArray {
            const auto it = job.unsaved.constFind(linkedLocalFile(job.pagePath, value));
            if (it == job.unsaved.constEnd()) return {};
            if (!used.contains(&*it)) used << &*it;
            return relinkedValue(value, QFileInfo(it->path).fileName());
        };
        PreviewMarkup decorated = decoratePreviewPage(bytes, options);
        bytes = std::move(decorated.bytes);
        for (const QByteArray &link : decorated.links) {
            const QString file = linkedLocalFile(job.pagePath, link);
            if (!file.isEmpty() && !result.linkedFiles.contains(file)) result.linkedFiles << file;
        }
    }
    for (const CopySnapshot *linked : used) {
        if (!writePreviewCopy(linked->path, snapshotBytes(*linked))) {
            result.failedPath = linked->path;
            return result;
        }
    }
    if (!writePreviewCopy(job.page.path, bytes)) result.failedPath = job.page.path;
    return result;
}
