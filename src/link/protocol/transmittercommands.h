// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Read and Write commands of the Transmitter menu: the whole settings image moves
// between the table and the transmitter in sixteen 128-byte blocks, every written block
// read back and compared before the next one goes out.

#include "transferoutcome.h"

#include <QString>
#include <QStringList>

namespace rw {

class BlockProtocol;
class SettingsTable;
class TCommPort;
class TransferView;
class WaitClock;
struct ECommError;

constexpr int TransferBlockSize = 128;
constexpr int WriteProgressMaximum = 1600;
constexpr int ReadProgressMaximum = 2621;
constexpr unsigned TransmitterBaudRate = 19200;
constexpr int TransmitterLineFormat = 1; // 8 data bits, no parity, one stop bit

// What the status bar shows while a command runs and after it has ended.
inline const QString WriteStartText = QStringLiteral("Write RW830KT ......");
inline const QString WriteBlockText = QStringLiteral("Write ......");
inline const QString ReadStartText = QStringLiteral("Read RW830KT ......");
inline const QString ReadyText = QStringLiteral("Ready ......");
inline const QStringList TransferStatusTexts{WriteStartText, WriteBlockText, ReadStartText,
                                             ReadyText};

// Opens the port chosen in the window's list at the transmitter's line settings and
// empties its buffers. A failure is told to the user here; the caller learns of it from
// the port staying closed.
void OpenSelectedPort(TCommPort &port, TransferView &view);

// What the user reads when the port itself fails during a transfer (an unplugged adapter).
QString portFailureMessage(const ECommError &e);

class TransmitterCommands {
public:
    TransmitterCommands(TCommPort &port, TransferView &view, const WaitClock &clock);

    // Sends the table's image; the table is never changed. Success when every block was
    // written and verified. A stop request (stopRequested()) ends it at the next wait with
    // Stopped, the port closed and no box shown.
    TransferOutcome Write(const SettingsTable &table);
    // Replaces the table with the transmitter's image only when every block arrived
    // intact; Success then. Stops as Write does, the table unchanged.
    TransferOutcome Read(SettingsTable &table);

    // True while a Read or Write is under way.
    static bool transferRunning() { return busy_; }

private:
    template <typename Step> bool attempt(Step step);
    TransferOutcome failure(TransferResult result, int block, bool portOpened,
                            const BlockProtocol &protocol) const;
    void closePort();
    void drainReplyUnderWay();
    TransferOutcome endWriteWithError(const TransferOutcome &outcome);
    TransferOutcome endReadWithError(const TransferOutcome &outcome);
    TransferOutcome endStopped(TransferCommand command, int block);

    TCommPort &port_;
    TransferView &view_;
    const WaitClock &clock_;
    // One transfer at a time: the window is disabled during one, but a command must never
    // start inside the waits of another.
    static inline thread_local bool busy_ = false;
    // The port's own failure during the step under way, in words for the user.
    QString portFailure_;
};

} // namespace rw
