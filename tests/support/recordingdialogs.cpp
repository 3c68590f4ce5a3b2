// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordingdialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

namespace rw {

BoxAnswer RecordingDialogs::message(const MessageBoxRequest &box)
{
    boxes.append(box);
    if (onMessage)
        onMessage(box);
    if (box.buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    return nextAnswer;
}

void RecordingDialogs::runDialog(QDialog &dialog)
{
    ++dialogsShown;
    // Up as the real one is, modal over the window, but without a loop of its own.
    dialog.setModal(true);
    dialog.show();
    dialog.activateWindow();
    // A dialog's window counts as active while its parent is: wait for the dialog itself.
    if (!QTest::qWaitFor([&dialog] { return QApplication::activeWindow() == &dialog; }))
        qWarning("the dialog did not become active");
    if (onDialog)
        onDialog(dialog);
    dialog.hide();
}

bool RecordingDialogs::confirmReport(const ReportRequest &request)
{
    reports.append(request);
    ++confirmations;
    return confirmAnswer;
}

bool RecordingDialogs::choosePrinter(QPrinter &printer)
{
    return onPrinter ? onPrinter(printer) : false;
}

QString RecordingDialogs::openFileName(const FileDialogRequest &request)
{
    fileDialogs.append(request);
    return nextFileName;
}

QString RecordingDialogs::saveFileName(const FileDialogRequest &request)
{
    fileDialogs.append(request);
    return nextFileName;
}

QStringList RecordingDialogs::texts() const
{
    QStringList r;
    for (const MessageBoxRequest &b : boxes)
        r << b.text;
    return r;
}

void RecordingDialogs::clear()
{
    boxes.clear();
    fileDialogs.clear();
    reports.clear();
    aboutShown = 0;
    dialogsShown = 0;
    confirmations = 0;
}

} // namespace rw
