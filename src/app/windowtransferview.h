// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window as the Read and Write commands see it: the status text tells the block under
// way and the time left, the Stop button and Escape are armed while a command runs, and a
// failed or stopped command ends in one box with its cause below the described text. A
// screen reader is told of the start, each quarter and the end.

#include "link/protocol/transferview.h"

#include <QElapsedTimer>
#include <QStringList>

namespace rw {

class TfmMain;

// A box's text: the parts with a blank line between them, empty ones left out.
QString paragraphs(const QStringList &parts);

class WindowTransferView : public TransferView {
public:
    explicit WindowTransferView(TfmMain &window);

    // A line the result box ends with (where the line trace went).
    void setNote(const QString &note) { note_ = note; }
    // The Read under way is a Compare: so its progress, stop and announcements say.
    void setComparing() { comparing_ = true; }
    // The command under way (or last run) as the user chose it.
    TransferCommand command() const { return command_; }

    void setStatusText(const QString &text) override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressPosition(int position) override;
    void repaintProgress() override;
    void setWindowEnabled(bool enabled) override;
    void warn(const QString &text) override;
    void plainMessage(const QString &text) override;
    // The result box carries the port's failure as its cause: no box of its own.
    void portFailed(const QString &) override {}
    // A success is told by the command's handler, with what it made; a failure or a stop
    // here, with its cause.
    void commandEnded(TransferCommand command, const TransferOutcome &outcome) override;
    QString selectedPortName() const override;
    // Every Read of the window goes into a table of its own; the window takes it (and
    // shows it) only when it holds settings.
    void showTable() override {}

private:
    void showProgress();
    void announce(const QString &words);

    TfmMain &w_;
    QString note_;
    bool comparing_ = false;
    bool running_ = false;
    // A new range waits to be painted; a new position the bar paints at once by itself.
    bool rangeUnpainted_ = false;
    TransferCommand command_ = TransferCommand::Read;
    int blocksDone_ = 0;
    QElapsedTimer started_;
};

} // namespace rw
