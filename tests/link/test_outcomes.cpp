// SPDX-License-Identifier: GPL-3.0-or-later
// What Read and Write come to, as values, against the simulator's faults; and a stop
// request that ends a command waiting for a transmitter that says nothing.

#include "filledtable.h"
#include "link/commport.h"
#include "link/stoprequest.h"
#include "link/transferoutcome.h"
#include "link/transmittercommands.h"
#include "link/waitclock.h"
#include "model/settingstable.h"
#include "outcomestring.h"
#include "recordingview.h"
#include "simulator.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using namespace rw;

namespace {

// Protocol time twenty times faster than the wall clock, as the other transfer tests use.
const WaitClock &fastClock()
{
    static const WaitClock clock(20);
    return clock;
}

struct Ended {
    TransferOutcome outcome;
    QStringList messages;
};

Ended write(const QStringList &faults)
{
    SimulatorProcess sim;
    if (!sim.start(faults))
        return {{}, {"simulator did not start"}};
    TCommPort port;
    RecordingView view(port, sim.device());
    const TransferOutcome o = TransmitterCommands(port, view, fastClock()).Write(tableOf('\x0F'));
    return {o, view.messages};
}

Ended read(const QStringList &faults)
{
    SimulatorProcess sim;
    if (!sim.start(faults, tableOf('\x0E').buildImage()))
        return {{}, {"simulator did not start"}};
    TCommPort port;
    RecordingView view(port, sim.device());
    SettingsTable table;
    const TransferOutcome o = TransmitterCommands(port, view, fastClock()).Read(table);
    return {o, view.messages};
}

} // namespace

class TestOutcomes : public QObject {
    Q_OBJECT
private slots:
    void everyEndOfAWriteIsItsOwnOutcomeWithItsBlock()
    {
        Ended e = write({});
        QCOMPARE(e.outcome, (TransferOutcome{TransferResult::Success, -1, {}}));
        QVERIFY(e.outcome);
        QCOMPARE(e.messages, QStringList{"Write Success !"});

        e = write({"--bad-ack", "5"}); // the fifth acknowledgement: block 5, index 4
        QCOMPARE(e.outcome, (TransferOutcome{TransferResult::WriteRejected, 4, {}}));
        QVERIFY(!e.outcome);
        QCOMPARE(e.messages, QStringList{"Write Error !"});

        e = write({"--verify-mismatch", "3"});
        QCOMPARE(e.outcome, (TransferOutcome{TransferResult::VerifyFailed, 2, {}}));
        QCOMPARE(e.messages, QStringList{"Verify Error !"});

        // Requests 1 to 5 are answered: the read-back of the third block is not.
        e = write({"--silent-after", "5"});
        QCOMPARE(e.outcome, (TransferOutcome{TransferResult::VerifyFailed, 2, {}}));
        QCOMPARE(e.messages, QStringList{"Verify Error !"});

        // The line goes away at the fifth request, the third block's write.
        e = write({"--hangup-after", "4"});
        QCOMPARE(e.outcome.result, TransferResult::WriteRejected);
        QCOMPARE(e.outcome.block, 2);
        QVERIFY(e.outcome.detail.startsWith("The serial port stopped working"));
        QCOMPARE(e.messages.value(0), e.outcome.detail);
        QCOMPARE(e.messages.value(1), QStringLiteral("Write Error !"));
    }

    void everyEndOfAReadIsItsOwnOutcomeWithItsBlock()
    {
        Ended e = read({});
        QCOMPARE(e.outcome, (TransferOutcome{TransferResult::Success, -1, {}}));
        QCOMPARE(e.messages, QStringList{"Read Success !"});

        e = read({"--bad-checksum", "16"});
        QCOMPARE(e.outcome, (TransferOutcome{TransferResult::ReadFailed, 15, {}}));
        QCOMPARE(e.messages, (QStringList{"Checksum Error !", "Read Error !"}));

        e = read({"--truncate", "2"});
        QCOMPARE(e.outcome, (TransferOutcome{TransferResult::ReadFailed, 1, {}}));
        QCOMPARE(e.messages, QStringList{"Read Error !"});

        TCommPort port;
        RecordingView view(port, QStringLiteral("/dev/rw830kt-no-such-port"));
        SettingsTable table;
        const TransferOutcome o = TransmitterCommands(port, view, fastClock()).Read(table);
        QCOMPARE(o, (TransferOutcome{TransferResult::PortNotOpened, -1, {}}));
        QCOMPARE(view.messages.size(), 2);
        QCOMPARE(view.messages[1], QStringLiteral("Read Error !"));
    }

    void theOutcomesReadAsAPersonCountsBlocks()
    {
        using R = TransferResult;
        const auto line = [](TransferCommand c, R r, int block) {
            return outcomeSummary(c, {r, block, {}});
        };
        QCOMPARE(line(TransferCommand::Write, R::Success, -1),
                 QStringLiteral("written and verified"));
        QCOMPARE(line(TransferCommand::Write, R::Stopped, 0),
                 QStringLiteral("stopped during block 1"));
        QCOMPARE(line(TransferCommand::Read, R::Stopped, 15),
                 QStringLiteral("stopped during block 16"));
        QCOMPARE(line(TransferCommand::Write, R::VerifyFailed, 2),
                 QStringLiteral("verify failed at block 3"));
    }

    // The transmitter stays silent; without the stop the read-back would wait 3 s for
    // its first byte and then fail with "Verify Error !".
    void aStopEndsACommandThatWaitsForTheTransmitterCleanlyAndWithoutABox()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--silent-after", "3"}));
        TCommPort port;
        RecordingView view(port, sim.device());
        QElapsedTimer sinceStop;
        QTimer::singleShot(300, [&] {
            sinceStop.start();
            requestStop();
        });
        const TransferOutcome o =
            TransmitterCommands(port, view, WaitClock::standard()).Write(tableOf('\x0D'));
        clearStopRequest();
        QCOMPARE(o, (TransferOutcome{TransferResult::Stopped, 1, {}}));
        QVERIFY2(sinceStop.elapsed() < 2500, QByteArray::number(sinceStop.elapsed()));
        QCOMPARE(view.messages, QStringList{});
        QVERIFY(!port.IsOpen());
        QCOMPARE(view.position, 0);
        QCOMPARE(view.status, QStringLiteral("Ready ......"));
        QVERIFY(view.enabled);
        QCOMPARE(sim.requests().size(), 4);

        // A stop asked for before a command ends it before its first request.
        requestStop();
        RecordingView again(port, sim.device());
        SettingsTable table;
        const QByteArray before = table.buildImage();
        const TransferOutcome r = TransmitterCommands(port, again, fastClock()).Read(table);
        clearStopRequest();
        QCOMPARE(r, (TransferOutcome{TransferResult::Stopped, 0, {}}));
        QCOMPARE(table.buildImage(), before);
        QVERIFY(!port.IsOpen());
        QCOMPARE(sim.requests().size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestOutcomes)
#include "test_outcomes.moc"
