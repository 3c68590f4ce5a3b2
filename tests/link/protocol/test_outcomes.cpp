// SPDX-License-Identifier: GPL-3.0-or-later
// What Read and Write come to, as values, against the simulator's faults; and a stop
// request that ends a command waiting for a transmitter that says nothing.

#include "fastclock.h"
#include "filledtable.h"
#include "link/line/commport.h"
#include "link/line/stoprequest.h"
#include "link/line/waitclock.h"
#include "link/protocol/transferoutcome.h"
#include "link/protocol/transmittercommands.h"
#include "link/run/transferprogress.h"
#include "model/settingstable.h"
#include "outcomestring.h"
#include "recordingview.h"
#include "simulator.h"

#include <QTest>
#include <QThread>
#include <memory>
#include <poll.h>

using namespace rw;

namespace {

struct Ended {
    TransferOutcome outcome;
    QStringList messages;
};

Ended writeHere(const QStringList &faults)
{
    SimulatorProcess sim;
    if (!sim.start(faults))
        return {{}, {"simulator did not start"}};
    TCommPort port;
    RecordingView view(port, sim.device());
    const TransferOutcome o = TransmitterCommands(port, view, fastClock()).Write(tableOf('\x0F'));
    return {o, view.messages};
}

Ended readHere(const QStringList &faults)
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

// Where the transfers run: on the test's own thread, which keeps an event loop going as
// the window's does, or on a thread of their own as the command line's ports do, where a
// serial line sleeps in the system instead.
bool onOwnThread = false;

template <typename Transfer> Ended run(Transfer transfer)
{
    if (!onOwnThread)
        return transfer();
    Ended ended;
    const std::unique_ptr<QThread> thread(QThread::create([&] { ended = transfer(); }));
    thread->start();
    thread->wait();
    return ended;
}

Ended write(const QStringList &faults)
{
    return run([&] { return writeHere(faults); });
}

Ended read(const QStringList &faults)
{
    return run([&] { return readHere(faults); });
}

void threads()
{
    QTest::addColumn<bool>("ownThread");
    QTest::newRow("this thread") << false;
    QTest::newRow("a thread of its own") << true;
}

} // namespace

class TestOutcomes : public QObject {
    Q_OBJECT
private slots:
    void everyEndOfAWriteIsItsOwnOutcomeWithItsBlock_data() { threads(); }
    void everyEndOfAWriteIsItsOwnOutcomeWithItsBlock()
    {
        QFETCH(bool, ownThread);
        onOwnThread = ownThread;
        Ended e = write({});
        QCOMPARE(e.outcome, (TransferOutcome{TransferResult::Success, -1, {}}));
        QVERIFY(e.outcome);
        QCOMPARE(e.messages, QStringList{"Write Success !"});

        e = write({"--bad-ack", "5"}); // the fifth acknowledgement: block 5, index 4
        QCOMPARE(e.outcome,
                 (TransferOutcome{
                     TransferResult::WriteRejected, 4, {}, ReplyFault::WrongReply, 16, 16}));
        QVERIFY(!e.outcome);
        QCOMPARE(e.messages, QStringList{"Write Error !"});

        e = write({"--verify-mismatch", "3"});
        QCOMPARE(
            e.outcome,
            (TransferOutcome{TransferResult::VerifyFailed, 2, {}, ReplyFault::Mismatch, 143, 143}));
        QCOMPARE(e.messages, QStringList{"Verify Error !"});

        // Requests 1 to 5 are answered: the read-back of the third block is not.
        e = write({"--silent-after", "5"});
        QCOMPARE(
            e.outcome,
            (TransferOutcome{TransferResult::VerifyFailed, 2, {}, ReplyFault::NoAnswer, 0, 143}));
        QCOMPARE(e.messages, QStringList{"Verify Error !"});

        // The line goes away at the fifth request, the third block's write.
        e = write({"--hangup-after", "4"});
        QCOMPARE(e.outcome.result, TransferResult::WriteRejected);
        QCOMPARE(e.outcome.block, 2);
        QVERIFY(e.outcome.detail.startsWith("The serial port stopped working"));
        QCOMPARE(e.messages.value(0), e.outcome.detail);
        QCOMPARE(e.messages.value(1), QStringLiteral("Write Error !"));
    }

    void everyEndOfAReadIsItsOwnOutcomeWithItsBlock_data() { threads(); }
    void everyEndOfAReadIsItsOwnOutcomeWithItsBlock()
    {
        QFETCH(bool, ownThread);
        onOwnThread = ownThread;
        Ended e = read({});
        QCOMPARE(e.outcome, (TransferOutcome{TransferResult::Success, -1, {}}));
        QCOMPARE(e.messages, QStringList{"Read Success !"});

        e = read({"--bad-checksum", "16"});
        QCOMPARE(e.outcome,
                 (TransferOutcome{
                     TransferResult::ReadFailed, 15, {}, ReplyFault::BadChecksum, 143, 143}));
        QCOMPARE(e.messages, (QStringList{"Checksum Error !", "Read Error !"}));

        e = read({"--truncate", "2"});
        QCOMPARE(e.outcome.result, TransferResult::ReadFailed);
        QCOMPARE(e.outcome.block, 1);
        QCOMPARE(e.outcome.fault, ReplyFault::ShortReply);
        QCOMPARE(e.outcome.replyBytes, 71); // the first half of the 143-byte reply
        QCOMPARE(e.outcome.replyExpected, 143);
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

    // The words below the window's box and on the command line's standard error.
    void theCausesNameThePortTheBlockAndTheRemedy()
    {
        using R = TransferResult;
        using F = ReplyFault;
        const TransferCommand Read = TransferCommand::Read, Write = TransferCommand::Write,
                              Compare = TransferCommand::Compare;
        // A Write that failed part-way has changed the transmitter: each says where.
        const QString mayHold = " The Write ended at block 1 of 16: the transmitter may hold part "
                                "of the new settings; write it again before use.";
        const auto holds = [](int block) {
            return QString(" The Write ended at block %1 of 16: the transmitter now holds part "
                           "of the new settings; write it again before use.")
                .arg(block);
        };
        const struct {
            TransferCommand command;
            TransferOutcome outcome;
            QString cause;
        } rows[] = {
            {Read,
             {R::ReadFailed, 0, {}, F::NoAnswer, 0, 143},
             "The transmitter on ttyUSB0 did not answer within 6 s. Check that it is switched "
             "on and in programming mode, and that the cable is in ttyUSB0."},
            {Write,
             {R::WriteRejected, 0, {}, F::NoAnswer, 0, 16},
             "The transmitter on ttyUSB0 did not answer within 3 s. Check that it is switched "
             "on and in programming mode, and that the cable is in ttyUSB0." +
                 mayHold},
            {Write,
             {R::VerifyFailed, 2, {}, F::NoAnswer, 0, 143},
             "The transmitter on ttyUSB0 stopped answering at block 3 of 16 (nothing within 3 "
             "s). Check the cable and the transmitter's power, then try again." +
                 holds(3)},
            {Read,
             {R::ReadFailed, 1, {}, F::ShortReply, 71, 143},
             "The transmitter on ttyUSB0 sent only 71 of the 143 reply bytes for block 2 of 16. "
             "Check the cable and that no other program uses ttyUSB0, then try again."},
            {Write,
             {R::WriteRejected, 4, {}, F::WrongReply, 16, 16},
             "The transmitter on ttyUSB0 did not accept block 5 of 16: its reply was not the "
             "acknowledgement expected. Check that it is in programming mode, then try again." +
                 holds(5)},
            {Read,
             {R::ReadFailed, 15, {}, F::BadChecksum, 143, 143},
             "Block 16 of 16 from the transmitter on ttyUSB0 arrived with a wrong checksum: the "
             "line garbled it. Check the cable, then try again."},
            {Write,
             {R::VerifyFailed, 13, {}, F::Mismatch, 143, 143},
             "Block 14 of 16 read back from the transmitter on ttyUSB0 differs from what was "
             "written: the transmitter did not keep it. Write again; when it fails at the same "
             "block again, the transmitter needs service." +
                 holds(14)},
            // The port's own reason (an adapter gone, a network server's words) comes first.
            {Write,
             {R::WriteRejected, 2, "The server closed the connection.", F::None, 0, 0},
             "The server closed the connection." + holds(3)},
            {Read,
             {R::ReadFailed, 2, "The server closed the connection.", F::None, 0, 0},
             "The server closed the connection."},
            {Write,
             {R::Stopped, 4, {}},
             "Write stopped during block 5 of 16: the transmitter now holds part of the new "
             "settings; write it again before use."},
            {Read, {R::Stopped, 9, {}}, "Read stopped during block 10 of 16: nothing was changed."},
            {Compare,
             {R::Stopped, 9, {}},
             "Compare stopped during block 10 of 16: nothing was changed."},
            {Compare,
             {R::ReadFailed, 0, {}, F::NoAnswer, 0, 143},
             "The transmitter on ttyUSB0 did not answer within 6 s. Check that it is switched "
             "on and in programming mode, and that the cable is in ttyUSB0."},
            {Write,
             {R::Stopped, -1, {}},
             "Write stopped before the first block: nothing was changed."},
            // Said by their own boxes already, or nothing to say.
            {Write, {R::PortNotOpened, -1, {}}, ""},
            {Write, {R::BackupFailed, -1, "The backup cannot be saved."}, ""},
            {Read, {R::Success, -1, {}}, ""},
        };
        for (const auto &row : rows)
            QCOMPARE(outcomeCause(row.command, row.outcome, "ttyUSB0"), row.cause);

        QCOMPARE(outcomeBoxWithCause(Read, rows[0].outcome, "ttyUSB0"),
                 "Read Error !\n\n" + rows[0].cause);
        QCOMPARE(outcomeBoxWithCause(Write, rows[9].outcome, "ttyUSB0"), rows[9].cause);
        QCOMPARE(outcomeBoxWithCause(Write, {}, "ttyUSB0"), QString("Write Success !"));
    }

    void theProgressTellsTheBlockUnderWayAndTheSecondsLeft()
    {
        const struct {
            TransferCommand command;
            int done;
            qint64 elapsedMs;
            QString text;
        } rows[] = {
            {TransferCommand::Write, 0, 0, "Write: block 1 of 16"},
            {TransferCommand::Write, 4, 500, "Write: block 5 of 16, 2 s left"},
            {TransferCommand::Read, 8, 4000, "Read: block 9 of 16, 4 s left"},
            {TransferCommand::Read, 15, 6000, "Read: block 16 of 16, 1 s left"},
            {TransferCommand::Compare, 2, 1000, "Compare: block 3 of 16, 7 s left"},
        };
        for (const auto &row : rows)
            QCOMPARE(transferProgressText(row.command, row.done, row.elapsedMs), row.text);
    }

    // The transmitter answers three requests and then stays silent: the stop comes once it
    // has taken the fourth, the second block's read-back, whose reply would otherwise be
    // waited for 3 s and end in "Verify Error !".
    void aStopEndsACommandThatWaitsForTheTransmitterCleanlyAndWithoutABox()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--silent-after", "3"}));
        TCommPort port;
        RecordingView view(port, sim.device());
        sim.whenRequests(4, [] { requestStop(); });
        const TransferOutcome o =
            TransmitterCommands(port, view, WaitClock::standard()).Write(tableOf('\x0D'));
        clearStopRequest();
        QCOMPARE(o, (TransferOutcome{TransferResult::Stopped, 1, {}}));
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

    // A port on a thread of its own sleeps in the system, not in an event loop: a stop
    // reaches it through a descriptor that rings until the request is cleared, and only
    // until then (a ring left behind would wake every later wait at once).
    void aStopRingsTheDescriptorThatSleepingPortsWatch()
    {
        const int fd = static_cast<int>(stopWaitHandle());
        QVERIFY(fd >= 0);
        const auto rings = [fd] {
            pollfd watched{fd, POLLIN, 0};
            return ::poll(&watched, 1, 0) == 1;
        };
        QVERIFY(!rings());
        requestStop();
        QVERIFY(rings());
        requestStop();
        clearStopRequest();
        QVERIFY(!stopRequested());
        QVERIFY(!rings());
        requestStopNow();
        QVERIFY(rings());
        clearStopRequest();
        QVERIFY(!rings());
    }
};

QTEST_GUILESS_MAIN(TestOutcomes)
#include "test_outcomes.moc"
