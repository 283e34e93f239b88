#pragma once

#include "authoring/media_markup.h"
#include "authoring/ui/dialog_parts.h"

#include <QDialog>
#include <QPointer>
#include <QSize>
#include <QThread>

#include <atomic>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

// The image dialog, kept for the run: the source with its six last pictures, the
// size against the picture's natural size, border, spacing, alt text, alignment and
// a preview.
class TImage_Boite : public QDialog {
    Q_OBJECT
public:
    explicit TImage_Boite(QWidget *parent = nullptr);
    ~TImage_Boite() override;

    void setFileBrowser(DialogParts::FileBrowser browser) { m_browser = std::move(browser); }

    Authoring::ImageValues values() const;
    // After OK: the source goes first in the history with what goes with it.
    void rememberCurrent();
    QStringList history() const;

    // Reads a picture's natural size into the size fields and shows it; reports a
    // picture whose size cannot be read and leaves the fields as they are, with no
    // natural size (the previous picture's is forgotten in any case).
    void loadPicture(const QString &path);
    QSize naturalSize() const { return m_natural; }
    // Whether a large picture's preview is still being decoded.
    bool previewPending() const { return m_previewThread != nullptr; }

    // Runs at each showing: fields emptied, units in pixels, natural size forgotten.
    void prepareForShow();

signals:
    // The preview shows a picture or says why it cannot.
    void previewShown();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Entry {
        QString source;
        bool picked = false;
        QString path;
        QString width;
        QString height;
        Authoring::SizeUnit widthUnit = Authoring::SizeUnit::Pixel;
        Authoring::SizeUnit heightUnit = Authoring::SizeUnit::Pixel;
        QString alt;
    };
    struct SizeRow {
        QLineEdit *field;
        QComboBox *unit;
        Authoring::SizeUnit lastUnit = Authoring::SizeUnit::Pixel;
    };

    void browse();
    void sourceChanged(const QString &text);
    void unitChanged(SizeRow &row, bool horizontal);
    void restore(SizeRow &row, bool horizontal);
    void updateEmphasis();
    void showPreview();
    void setPreview(const QImage &image, const QString &text);
    // Decodes a large PNG's preview away from the window; a newer preview cancels it.
    void decodeInBackground(const QString &path, const QSize &target);
    void cancelBackgroundPreview();
    int natural(bool horizontal) const;
    static Authoring::SizeUnit unitOf(const SizeRow &row);

    QComboBox *m_source;
    SizeRow m_width;
    SizeRow m_height;
    QLineEdit *m_border;
    QLineEdit *m_alt;
    QLineEdit *m_hspace;
    QLineEdit *m_vspace;
    QComboBox *m_align;
    QLabel *m_preview;
    QCheckBox *m_stretch;

    DialogParts::FileBrowser m_browser;
    Authoring::History<Entry> m_history;
    QString m_pickedSource; // what browsing wrote into the source field
    QString m_path;         // the picture shown and measured
    QSize m_natural;        // empty: unknown
    QPointer<QThread> m_previewThread;
    std::shared_ptr<std::atomic_bool> m_previewCancel;
};
