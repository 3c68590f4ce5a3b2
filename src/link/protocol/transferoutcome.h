// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a Read, Write or Compare came to, as a value: success, or which failure and at
// which block. The window's boxes, the command line's lines and the parallel runner's
// report are all made from it, at the edge; nothing decides by comparing message texts.

#include <QString>

namespace rw {

enum class TransferResult {
    Success,
    PortNotOpened, // the port could not be opened (or none was selected); nothing sent
    WriteRejected, // a write request got no or a wrong acknowledgement ("Write Error !")
    VerifyFailed,  // a written block read back differently ("Verify Error !")
    ReadFailed,    // a read reply was missing, short or corrupt ("Read Error !")
    Stopped,       // the user or the system stopped the run (a signal)
    Busy,          // another transfer was under way on this thread; nothing was done
    BackupFailed,  // what a Write would replace could not be kept; nothing was written
};

// Which command a transfer was. Compare reads as Read does, into a table of its own that
// is compared with the window's; only the words it is told in differ.
enum class TransferCommand { Read, Write, Compare };

// The command's name as a person reads it at the start of a sentence: "Read", "Write",
// "Compare".
QString transferCommandName(TransferCommand command);

// What was wrong with the reply of the failing step, when the transmitter's answer was at
// fault rather than the port.
enum class ReplyFault {
    None,
    NoAnswer,    // not one byte of the reply arrived in time
    ShortReply,  // some bytes arrived, then the rest did not
    WrongReply,  // a write's acknowledgement was not the one expected
    BadChecksum, // a read reply arrived whole with a wrong checksum
    Mismatch,    // a block read back differs from the one written
};

constexpr int TransferBlockCount = 16;

struct TransferOutcome {
    TransferResult result = TransferResult::Success;
    int block = -1; // the block (0..15) at which it failed; -1 before any block
    // When the line itself failed during the step (an unplugged adapter): the port's own
    // reason, in words for the user; the result stays that of the step (WriteRejected,
    // VerifyFailed, ReadFailed), as the window's box does. Empty otherwise.
    QString detail;
    // The reply's fault, and how many of its bytes arrived (NoAnswer, ShortReply).
    ReplyFault fault = ReplyFault::None;
    int replyBytes = 0;
    int replyExpected = 0;

    bool ok() const { return result == TransferResult::Success; }
    explicit operator bool() const { return ok(); }
    friend bool operator==(const TransferOutcome &, const TransferOutcome &) = default;
};

// The window's box at the end of a command: "Write Success !", "Read Error !", ...; empty
// for a stopped run, which ends without a box (the one who stopped it knows), and for a
// command refused while another runs.
QString outcomeBoxText(TransferCommand command, const TransferOutcome &outcome);

// The outcome in a few words for a line of the command line's report or the trace:
// "written and verified", "verify failed at block 3", "stopped during block 6". Blocks are
// counted 1 to 16 here, as a person counts them.
QString outcomeSummary(TransferCommand command, const TransferOutcome &outcome);

// Why a failed command failed and what the user can do about it, in a sentence or two
// naming `port`; for a stopped one, what the stop means for the transmitter. The window
// shows it below the box's first line and rw830kt-cli prints it, so both say the same.
// Blocks are counted 1 to 16. A Write that failed part-way also says that the
// transmitter now holds part of the new settings. Empty for a success, for a port that did
// not open (its own message has said why) and for a command that was not started.
QString outcomeCause(TransferCommand command, const TransferOutcome &outcome, const QString &port);

// The box's first line and the cause below it, as the window shows them; a stopped run
// has only the cause.
QString outcomeBoxWithCause(TransferCommand command, const TransferOutcome &outcome,
                            const QString &port);

} // namespace rw
