#include "app/ui/ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
UiServices g_default;
UiServices *g_current = &g_default;

QWidget *dialogParent()
{
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}
} // namespace

UiServices &UiServices::instance() { return *g_current; }

void UiServices::install(UiServices *services) { g_current = services ? services : &g_default; }

MsgAnswer UiServices::message(MsgType type, MsgButtons buttons, const QString &text)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(QStringLiteral("Balizor"));
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(shown);
    switch (type) {
    case MsgType::Plain: box.setIcon(QMessageBox::NoIcon); break;
    case MsgType::Information: box.setIcon(QMessageBox::Information); break;
    case MsgType::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgType::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgType::Confirmation: box.setIcon(QMessageBox::Question); break;
    }
    QPushButton *ok = nullptr, *yes = nullptr, *no = nullptr, *cancel = nullptr;
    if (buttons == MsgButtons::Ok) {
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
    } else {
        yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
        if (buttons == MsgButtons::YesNoCancel) {
            cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
        } else {
            box.setEscapeButton(no);
        }
        box.setDefaultButton(yes);
    }
    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    if (clicked == yes && yes)
        return MsgAnswer::Yes;
    if (clicked == no && no)
        return MsgAnswer::No;
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    return buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel : MsgAnswer::No;
}

int UiServices::execDialog(QDialog *dialog) { return dialog->exec(); }

QString UiServices::selectFolder(QWidget *parent, const QString &caption, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent ? parent : dialogParent(), caption, start);
}

bool UiServices::selectFont(QWidget *parent, QFont *font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, *font, parent ? parent : dialogParent());
    if (ok)
        *font = chosen;
    return ok;
}

QStringList dialogNameFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The dialog reads its patterns from the last parentheses and hides them.
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out;
}

namespace {
void prepare(QFileDialog &dlg, const FileDialogRequest &r)
{
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setOption(QFileDialog::HideNameFilterDetails, true);
    if (!r.caption.isEmpty())
        dlg.setWindowTitle(r.caption);
    if (!r.startFolder.isEmpty())
        dlg.setDirectory(r.startFolder);
    const QStringList filters = dialogNameFilters(r.filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(r.filterIndex, filters.first()));
    }
    if (!r.fileName.isEmpty())
        dlg.selectFile(r.fileName);
}
} // namespace

QStringList UiServices::openFileNames(QWidget *parent, const FileDialogRequest &r)
{
    QFileDialog dlg(parent);
    prepare(dlg, r);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(r.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    QStringList files;
    for (const QString &f : dlg.selectedFiles())
        files << QDir::toNativeSeparators(f);
    return files;
}

QString UiServices::saveFileName(QWidget *parent, const FileDialogRequest &r)
{
    QFileDialog dlg(parent);
    prepare(dlg, r);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    if (!r.defaultSuffix.isEmpty())
        dlg.setDefaultSuffix(r.defaultSuffix);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dlg.selectedFiles().first());
}
