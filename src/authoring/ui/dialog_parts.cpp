#include "authoring/ui/dialog_parts.h"

#include "authoring/ui/insertion_glue.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>

namespace DialogParts {

QComboBox *historyCombo(QWidget *parent, const char *name) {
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Completion would change the case of a typed path to an entry's.
    combo->setCompleter(nullptr);
    combo->setMinimumContentsLength(28);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

QToolButton *browseButton(QWidget *parent, const char *name) {
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(QStringLiteral("..."));
    b->setToolTip(QStringLiteral("Parcourir..."));
    return b;
}

QLineEdit *numberField(QWidget *parent, const char *name, int maxDigits) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(maxDigits)), e));
    e->setMaxLength(maxDigits);
    e->setMaximumWidth(maxDigits > 4 ? 70 : 56);
    return e;
}

void setHistory(QComboBox *combo, const QStringList &items) {
    const QString text = combo->currentText();
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setEditText(text);
}

void fillBrowsedPath(QComboBox *combo, const QString &url) {
    combo->setEditText(url);
    Markup::SelectPathFolder(combo->lineEdit());
}

QHBoxLayout *okCancelHelp(QDialog *dialog, const std::function<void()> &help) {
    auto *ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), dialog);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    if (help) {
        auto *aide = new QPushButton(QStringLiteral("Aide"), dialog);
        aide->setObjectName(QStringLiteral("BoutAide"));
        row->addWidget(aide);
        QObject::connect(aide, &QPushButton::clicked, dialog, help);
    }
    return row;
}

} // namespace DialogParts
