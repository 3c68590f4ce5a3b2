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
    PortFailed,    // the line itself failed mid-transfer (an unplugged adapter)
    Stopped,       // the user or the system stopped the run (a signal)
};

struct TransferOutcome {
    TransferResult result = TransferResult::Success;
    int block = -1; // the block (0..15) at which it failed; -1 before any block
    QString detail; // the port's own reason, in words for the user; may be empty

    bool ok() const { return result == TransferResult::Success; }
};

} // namespace rw
