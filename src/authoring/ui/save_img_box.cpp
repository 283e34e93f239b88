#include "authoring/ui/save_img_box.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

const QString TSaveImgBox::Question = QStringLiteral(
    "Il est préférable de sauvegarder votre document une première fois avant de continuer. "
    "Voulez-vous le sauvegarder maintenant ?");

TSaveImgBox::TSaveImgBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSaveImgBox"));
    setWindowTitle(QStringLiteral("Balizor"));

    auto *picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    picture->setAlignment(Qt::AlignTop);
    auto *text = new QLabel(Question, this);
    text->setObjectName(QStringLiteral("LabelQuestion"));
    text->setWordWrap(true);
    text->setMinimumWidth(320);
    m_dontAsk = new QCheckBox(QStringLiteral("Ne plus poser cette question"), this);
    m_dontAsk->setObjectName(QStringLiteral("CheckNePlusDemander"));

    auto *yes = new QPushButton(QStringLiteral("&Oui"), this);
    yes->setObjectName(QStringLiteral("BoutOui"));
    yes->setDefault(true);
    auto *no = new QPushButton(QStringLiteral("&Non"), this);
    no->setObjectName(QStringLiteral("BoutNon"));
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_dontAsk);
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

bool TSaveImgBox::dontAskAgain() const {
    return m_dontAsk->isChecked();
}
