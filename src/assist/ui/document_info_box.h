#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

// What the document information dialog shows.
struct DocumentInfoFields {
    QString name, path, lines, characters, size, created, modified, accessed;
    bool nameEditable = false;
    bool readOnly = false, hidden = false, archive = false;
    bool readOnlyEnabled = false;
    bool hiddenArchiveEnabled = false;
};

// "Informations Document": facts about the active document; the name can be
// edited to rename the file and the read-only box changes the file.
class TBoiteInfo : public QDialog {
    Q_OBJECT
public:
    explicit TBoiteInfo(const DocumentInfoFields &f, QWidget *parent = nullptr);
    QString name() const;
    bool readOnly() const;
    bool hidden() const;
    bool archive() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_edits[8] = {};
    QCheckBox *m_readOnly, *m_hidden, *m_archive;
};
