// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real modal boxes and file dialogs.

#include "editors/dialogs.h"

class QWidget;

namespace rw {

class QtDialogs : public Dialogs {
public:
    void setParentWindow(QWidget *w) { parent_ = w; }

    BoxAnswer message(const MessageBoxRequest &box) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    void about() override;
    void report(const ReportRequest &request) override;
    bool confirmReport(const ReportRequest &request) override;
    bool choosePrinter(QPrinter &printer) override;
    void runDialog(QDialog &dialog) override;

private:
    QWidget *parent_ = nullptr;
};

} // namespace rw
