#pragma once

#include <QDialog>

class QCheckBox;

// The question offered before a file is chosen for an untitled document: saving it
// first lets paths be written relative to it.
class TSaveImgBox : public QDialog {
    Q_OBJECT
public:
    static const QString Question;

    explicit TSaveImgBox(QWidget *parent = nullptr);

    // "Ne plus poser cette question".
    bool dontAskAgain() const;

private:
    QCheckBox *m_dontAsk;
};
