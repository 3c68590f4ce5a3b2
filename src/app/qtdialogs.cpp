// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdialogs.h"

#include "frmabout.h"
#include "reportbox.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace rw {

BoxAnswer QtDialogs::message(const MessageBoxRequest &box)
{
    QMessageBox mb(parent_);
    mb.setWindowTitle(box.caption);
    mb.setText(box.text);
    switch (box.icon) {
    case BoxIcon::None:
        mb.setIcon(QMessageBox::NoIcon);
        break;
    case BoxIcon::Warning:
        mb.setIcon(QMessageBox::Warning);
        break;
    case BoxIcon::Error:
        mb.setIcon(QMessageBox::Critical);
        break;
    }
    switch (box.buttons) {
    case BoxButtons::Ok:
        mb.setStandardButtons(QMessageBox::Ok);
        break;
    case BoxButtons::OkCancel:
        mb.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case BoxButtons::YesNo:
        mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case BoxButtons::YesNoCancel:
        mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        mb.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (mb.exec()) {
    case QMessageBox::Cancel:
        return BoxAnswer::Cancel;
    case QMessageBox::Yes:
        return BoxAnswer::Yes;
    case QMessageBox::No:
        return BoxAnswer::No;
    default:
        // A box closed without a button (by the program when the system stops it): No for a
        // plain question, Cancel where there is one.
        if (box.buttons == BoxButtons::YesNoCancel || box.buttons == BoxButtons::OkCancel)
            return BoxAnswer::Cancel;
        return box.buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
    }
}

QString QtDialogs::openFileName(const FileDialogRequest &request)
{
    QFileDialog dlg(parent_, QString(), request.directory, request.filter);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

QString QtDialogs::saveFileName(const FileDialogRequest &request)
{
    QFileDialog dlg(parent_, QString(), request.directory, request.filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(request.defaultSuffix);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

void QtDialogs::runDialog(QDialog &dialog)
{
    dialog.exec();
}

void QtDialogs::report(const ReportRequest &request)
{
    ReportBox box(request, parent_);
    box.exec();
}

bool QtDialogs::confirmReport(const ReportRequest &request)
{
    ReportBox box(request, parent_, true);
    return box.exec() == QDialog::Accepted;
}

bool QtDialogs::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::about()
{
    TfmAbout box(parent_);
    box.exec();
}

} // namespace rw
