// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What stands in for the user while the benchmark runs: a window stand-in for the core
// path that keeps only the messages, and the window's boxes answered at once.

#include "editors/dialogs.h"
#include "link/protocol/transferview.h"

#include <QStringList>
#include <functional>

class QuietView : public rw::TransferView {
public:
    explicit QuietView(QString port) : port_(std::move(port)) {}
    void setStatusText(const QString &) override {}
    void setProgressRange(int, int) override {}
    void setProgressPosition(int) override {}
    void repaintProgress() override {}
    void setWindowEnabled(bool) override {}
    void warn(const QString &text) override { messages << text; }
    void plainMessage(const QString &text) override { messages << text; }
    QString selectedPortName() const override { return port_; }
    void showTable() override {}
    QStringList messages;

private:
    QString port_;
};

class AnsweringDialogs : public rw::Dialogs {
public:
    rw::BoxAnswer message(const rw::MessageBoxRequest &box) override
    {
        texts << box.text;
        return rw::BoxAnswer::Ok;
    }
    QString openFileName(const rw::FileDialogRequest &) override { return {}; }
    QString saveFileName(const rw::FileDialogRequest &) override { return {}; }
    void about() override {}
    void runDialog(QDialog &dialog) override
    {
        if (onDialog)
            onDialog(dialog);
    }
    QStringList texts;
    std::function<void(QDialog &)> onDialog;
};
