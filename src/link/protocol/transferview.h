// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the Read and Write commands need from the window: the status text, the progress
// bar, the window's enabled state, the message boxes, the selected port and the refresh.
// The main window implements it; tests record it.

#include "transferoutcome.h"

#include <QString>

namespace rw {

class TransferView {
public:
    virtual ~TransferView() = default;

    virtual void setStatusText(const QString &text) = 0;
    virtual void setProgressRange(int minimum, int maximum) = 0;
    // Positions above the maximum show as a full bar.
    virtual void setProgressPosition(int position) = 0;
    // Paints a pending change of the progress bar at once.
    virtual void repaintProgress() = 0;
    // A request has gone out and its reply is a line time away: a view that hands what it
    // shows to another thread does so now, while no reply waits for the program.
    virtual void requestSent() {}
    // Whether the user can reach the window's controls and commands; the status text and
    // the progress bar stay readable either way.
    virtual void setWindowEnabled(bool enabled) = 0;

    // The window's "RW830KT" box with the exclamation icon.
    virtual void warn(const QString &text) = 0;
    // The plain box of the port-opening messages.
    virtual void plainMessage(const QString &text) = 0;

    // The port itself failed during a step (an unplugged adapter); `text` says so. By
    // default a box of its own; a view that shows the outcome's cause with the command's
    // result (which then carries the same words) may leave it out.
    virtual void portFailed(const QString &text) { warn(text); }
    // The command has ended and cleaned up: its result box ("Write Success !", "Read Error !"
    // ...). By default the box's described text alone, and nothing for a stopped run or a
    // command not started.
    virtual void commandEnded(TransferCommand command, const TransferOutcome &outcome)
    {
        const QString text = outcomeBoxText(command, outcome);
        if (!text.isEmpty())
            warn(text);
    }

    // The port chosen in the window's port list; empty when the list has no selection.
    virtual QString selectedPortName() const = 0;
    // Re-shows every control from the settings table.
    virtual void showTable() = 0;
};

} // namespace rw
