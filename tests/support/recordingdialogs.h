// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test stand-in for every modal box and dialog: answers from a script and remembers
// what the window showed.

#include "editors/dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace rw {

class RecordingDialogs : public Dialogs {
public:
    BoxAnswer message(const MessageBoxRequest &box) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    void about() override { ++aboutShown; }
    void report(const ReportRequest &request) override { reports.append(request); }
    // Remembers the report among `reports` and answers OK unless `confirmAnswer` says not.
    bool confirmReport(const ReportRequest &request) override;
    // Runs `onPrinter`, which sets the printer up as the print dialog would (a PDF file,
    // in tests) and answers; no printer is chosen without it.
    bool choosePrinter(QPrinter &printer) override;
    // Runs `onDialog` while the dialog is "up" (it drives the dialog as a user would) and
    // counts the dialog; no event loop of its own.
    void runDialog(QDialog &dialog) override;

    QStringList texts() const; // the texts of all boxes shown, in order
    void clear();

    QList<MessageBoxRequest> boxes;
    QList<FileDialogRequest> fileDialogs;
    QList<ReportRequest> reports;
    int aboutShown = 0;
    BoxAnswer nextAnswer = BoxAnswer::Ok;                     // for OK/Cancel and Yes/No boxes
    QString nextFileName;                                     // what the next file dialog returns
    std::function<void(const MessageBoxRequest &)> onMessage; // runs while a box is "up"
    std::function<void(QDialog &)> onDialog;                  // runs while a dialog is "up"
    bool confirmAnswer = true;                                // OK for a report that asks
    int confirmations = 0;
    std::function<bool(QPrinter &)> onPrinter;
    int dialogsShown = 0;
};

} // namespace rw
