// SPDX-License-Identifier: GPL-3.0-or-later
// Read and Write end to end: the real serial port against the transmitter simulator.

#include "fastclock.h"
#include "link/line/commport.h"
#include "link/line/waitclock.h"
#include "link/protocol/blockprotocol.h"
#include "link/protocol/framecodec.h"
#include "link/protocol/transmittercommands.h"
#include "model/settingstable.h"
#include "portheldelsewhere.h"
#include "pseudoterminal.h"
#include "recordingview.h"
#include "scriptedline.h"
#include "simulator.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QTest>

using namespace rw;

namespace {

// A table that differs from the built-in defaults in every block.
SettingsTable patternedTable()
{
    SettingsTable t;
    QByteArray image = t.buildImage();
    for (int i = 0; i < DataSize; ++i)
        image[i] = static_cast<char>((i * 31 + 7) & 0xFF);
    t.takeImage(image);
    return t;
}

const QString Ready = QStringLiteral("Ready ......");

} // namespace

class TestTransfers : public QObject {
    Q_OBJECT

    // A Write against a simulator with the given faults; returns the messages shown.
    QStringList failedWrite(const QStringList &faults, SimulatorProcess &sim)
    {
        if (!sim.start(faults))
            return {"simulator did not start"};
        TCommPort port;
        RecordingView view(port, sim.device());
        const SettingsTable table = patternedTable();
        const QByteArray before = table.buildImage();
        TransmitterCommands(port, view, fastClock()).Write(table);
        checkEndedCleanly(view, port);
        if (table.buildImage() != before)
            return {"table changed"};
        return view.messages;
    }

    // A Read against a simulator with the given faults; the table must stay as it was.
    QStringList failedRead(const QStringList &faults)
    {
        SimulatorProcess sim;
        if (!sim.start(faults, patternedTable().buildImage()))
            return {"simulator did not start"};
        TCommPort port;
        RecordingView view(port, sim.device());
        SettingsTable table;
        const QByteArray before = table.buildImage();
        if (TransmitterCommands(port, view, fastClock()).Read(table))
            return {"read succeeded"};
        checkEndedCleanly(view, port);
        if (table.buildImage() != before)
            return {"table changed"};
        if (view.refreshes != 0)
            return {"controls refreshed"};
        // The port is closed before the error box comes up.
        if (view.portOpenAtMessage.last())
            return {"port open at the error box"};
        return view.messages;
    }

private slots:
    void portRaisesItsErrorCodes()
    {
        auto code = [](auto call) {
            try {
                call();
            } catch (const ECommError &e) {
                return static_cast<int>(e.Code);
            }
            return 0;
        };
        TCommPort port;
        QCOMPARE(code([&] { port.Write("x", 1); }), 7);
        QCOMPARE(code([&] { port.Write("x", 0); }), 7); // closed comes first
        QCOMPARE(code([&] { port.ReadByte(); }), 7);
        QCOMPARE(code([&] { port.BytesAvailable(); }), 7);
        QCOMPARE(code([&] { port.Purge(); }), 7);
        port.SetPortName("/dev/rw830kt-no-such-port");
        QCOMPARE(code([&] { port.Open(); }), 8);
        QVERIFY(!port.IsOpen());

        SimulatorProcess sim;
        QVERIFY(sim.start());
        port.Connect(19200, sim.device(), 1);
        QVERIFY(port.IsOpen());
        QCOMPARE(code([&] { port.Write("x", 0); }), 0);
        QCOMPARE(code([&] { port.Write(nullptr, 5); }), 0);
        QCOMPARE(port.BytesAvailable(), 0u);
        QCOMPARE(code([&] { port.Open(); }), 0); // already open: nothing happens
        QCOMPARE(code([&] { port.SetPortName("ttyS0"); }), 6);
        QCOMPARE(port.PortName(), sim.device());
        // Connect on an open port closes it and opens it again with the new settings.
        port.Connect(9600, sim.device(), 2);
        QVERIFY(port.IsOpen());
        QCOMPARE(port.BaudRate(), 9600u);
        port.Close();
        QVERIFY(!port.IsOpen());
        QCOMPARE(code([&] { port.Close(); }), 0);
    }

    void writeThenReadRoundTripsTheWholeImage()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start());
        TCommPort port;
        const SettingsTable table = patternedTable();
        const QByteArray image = table.buildImage();

        RecordingView w(port, sim.device());
        TransmitterCommands(port, w, WaitClock::standard()).Write(table);
        QCOMPARE(w.messages, QStringList{"Write Success !"});
        checkEndedCleanly(w, port);
        QCOMPARE(sim.memory(), image);

        // Sixteen writes of 145 bytes and sixteen reads of 18, alternating, as built.
        const QList<QByteArray> sent = sim.requests();
        QCOMPARE(sent.size(), 32);
        for (int k = 0; k < 16; ++k) {
            const uint16_t address = static_cast<uint16_t>(0x1000 + 128 * k);
            QCOMPARE(sent[2 * k], frame::writeRequest(address, image.mid(128 * k, 128)));
            QCOMPARE(sent[2 * k + 1], frame::readRequest(address, 128));
        }
        QVERIFY(sent[1].endsWith(QByteArray::fromHex("0117")));

        QStringList positions;
        for (int p = 128; p <= 2048; p += 128)
            positions << QString::number(p);
        QCOMPARE(w.only("range:"), QStringList{"0..1600"});
        QCOMPARE(w.only("pos:"), positions + QStringList{"0"});
        QCOMPARE(w.only("status:").first(), QString("Write RW830KT ......"));
        QCOMPARE(w.only("status:").count("Write ......"), 16);
        QCOMPARE(w.events.mid(w.events.size() - 4),
                 (QStringList{"pos:0", "enabled", "status:" + Ready, "warn:Write Success !"}));
        QVERIFY(!w.portOpenAtMessage.last());
        QCOMPARE(w.repaints, 16);

        SettingsTable readBack; // the built-in defaults until the Read
        RecordingView r(port, sim.device());
        QVERIFY(TransmitterCommands(port, r, WaitClock::standard()).Read(readBack));
        QCOMPARE(readBack.buildImage(), image);
        QCOMPARE(r.messages, QStringList{"Read Success !"});
        checkEndedCleanly(r, port);
        QCOMPARE(r.only("range:"), QStringList{"0..2621"});
        QCOMPARE(r.only("pos:"), positions + QStringList({"256", "0"}));
        QCOMPARE(r.only("status:"), (QStringList{"Read RW830KT ......", Ready}));
        QCOMPARE(r.events.mid(r.events.size() - 4),
                 (QStringList{"refresh", "enabled", "status:" + Ready, "warn:Read Success !"}));

        const QList<QByteArray> read = sim.requests().mid(32);
        QCOMPARE(read.size(), 16);
        for (int k = 0; k < 16; ++k)
            QCOMPARE(read[k], frame::readRequest(static_cast<uint16_t>(0x1000 + 128 * k), 128));
    }

    void portIsFreeForAnotherProgramAfterEachCommand()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--silent-after", "2"}));
        TCommPort port;
        RecordingView view(port, sim.device());
        TransmitterCommands(port, view, fastClock()).Write(patternedTable());
        QCOMPARE(view.messages, QStringList{"Write Error !"});
        QSerialPort other(sim.device());
        QVERIFY2(other.open(QIODevice::ReadWrite), qPrintable(other.errorString()));
    }

    void anotherPortChosenBetweenCommandsIsTheOneUsed()
    {
        SimulatorProcess first, second;
        QVERIFY(first.start());
        QVERIFY(second.start({}, patternedTable().buildImage()));
        TCommPort port;
        RecordingView view(port, first.device());
        TransmitterCommands commands(port, view, WaitClock::standard());
        commands.Write(SettingsTable());
        QCOMPARE(first.requests().size(), 32);

        view.selected = second.device();
        SettingsTable table;
        QVERIFY(commands.Read(table));
        QCOMPARE(table.buildImage(), patternedTable().buildImage());
        QCOMPARE(second.requests().size(), 16);
        QCOMPARE(first.requests().size(), 32);
    }

    // --- the failures of Write ---------------------------------------------------------

    void writeToAPortThatCannotBeOpenedSendsNothing()
    {
        TCommPort port;
        RecordingView view(port, "/dev/rw830kt-no-such-port");
        TransmitterCommands(port, view, WaitClock::standard()).Write(patternedTable());
        const QString opening = "Error opening comm port. Port already in use?\n\n"
                                "The port /dev/rw830kt-no-such-port has no device behind it: "
                                "the adapter is unplugged, or the system has given it another "
                                "name. Plug it in and choose the port again; the list of ports "
                                "shows the ports present each time it opens.";
        QCOMPARE(view.messages, (QStringList{opening, "Write Error !"}));
        QCOMPARE(view.events.first(), "plain:" + opening);
        checkEndedCleanly(view, port);
    }

    void portInUseByAnotherProgramCannotBeOpened()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start());
        PortHeldElsewhere other(sim.device());
        QVERIFY(other.holding());
        TCommPort port;
        RecordingView view(port, sim.device());
        SettingsTable table;
        QVERIFY(!TransmitterCommands(port, view, WaitClock::standard()).Read(table));
        QCOMPARE(view.messages,
                 (QStringList{QString("Error opening comm port. Port already in use?\n\n"
                                      "The port %1 is in use by another program: test_transfers "
                                      "(process %2). Close that program and try again.")
                                  .arg(sim.device())
                                  .arg(other.pid()),
                              "Read Error !"}));
        QVERIFY(sim.requests().isEmpty());
    }

    void emptyPortListIsToldAndEndsTheCommand()
    {
        TCommPort port;
        RecordingView view(port, QString());
        TransmitterCommands(port, view, WaitClock::standard()).Write(patternedTable());
        QCOMPARE(view.messages, (QStringList{"Error opening comm port. No serial port is selected.",
                                             "Write Error !"}));
        checkEndedCleanly(view, port);
    }

    void writeWithoutAcknowledgementFails()
    {
        SimulatorProcess sim;
        QCOMPARE(failedWrite({"--silent-after", "2"}, sim), QStringList{"Write Error !"});
        // The first block went in and verified before the second was refused.
        QCOMPARE(sim.memory().left(128), patternedTable().buildImage().left(128));
        QCOMPARE(sim.requests().size(), 3);
    }

    void incompleteAcknowledgementFails()
    {
        SimulatorProcess sim;
        QCOMPARE(failedWrite({"--truncate", "3"}, sim), QStringList{"Write Error !"});
    }

    void acknowledgementWithAWrongLetterFails()
    {
        SimulatorProcess sim;
        QCOMPARE(failedWrite({"--bad-ack", "2"}, sim), QStringList{"Write Error !"});
        QCOMPARE(sim.requests().size(), 3); // nothing after the refused acknowledgement
    }

    void acknowledgementWithAWrongChecksumFails()
    {
        SimulatorProcess sim;
        QCOMPARE(failedWrite({"--bad-checksum", "1"}, sim), QStringList{"Write Error !"});
    }

    void verifyWithoutReplyFails()
    {
        SimulatorProcess sim;
        QCOMPARE(failedWrite({"--silent-after", "1"}, sim), QStringList{"Verify Error !"});
    }

    void verifyWithDifferentDataFails()
    {
        SimulatorProcess sim;
        QCOMPARE(failedWrite({"--verify-mismatch", "5"}, sim), QStringList{"Verify Error !"});
        QCOMPARE(sim.requests().size(), 10);
    }

    void verifyWithABadChecksumFails()
    {
        SimulatorProcess sim;
        QCOMPARE(failedWrite({"--bad-checksum", "4"}, sim),
                 (QStringList{"Checksum Error !", "Verify Error !"}));
    }

    void writeErrorBoxComesBeforeTheCleanUp()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--bad-ack", "1"}));
        TCommPort port;
        RecordingView view(port, sim.device());
        TransmitterCommands(port, view, fastClock()).Write(patternedTable());
        QCOMPARE(view.portOpenAtMessage, QList<bool>{true});
        QCOMPARE(view.events.mid(view.events.size() - 4),
                 (QStringList{"warn:Write Error !", "status:" + Ready, "pos:0", "enabled"}));
    }

    // --- the failures of Read ----------------------------------------------------------

    void readWithoutReplyFails()
    {
        QCOMPARE(failedRead({"--silent-after", "3"}), QStringList{"Read Error !"});
    }

    void readFailingAtTheLastBlockChangesNothing()
    {
        QCOMPARE(failedRead({"--bad-checksum", "16"}),
                 (QStringList{"Checksum Error !", "Read Error !"}));
    }

    void readReplyCutShortFails()
    {
        QCOMPARE(failedRead({"--truncate", "1"}), QStringList{"Read Error !"});
        // Byte by byte, the bytes that did come wake nobody until the deadline: they must
        // still be seen, and the missing ones still end in a time-out.
        QCOMPARE(failedRead({"--chunk", "1", "--truncate", "2"}), QStringList{"Read Error !"});
    }

    void repliesHandedOverByteByByteRoundTrip()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--chunk", "1", "--baud", "19200"}));
        TCommPort port;
        RecordingView view(port, sim.device());
        const SettingsTable table = patternedTable();
        QVERIFY(TransmitterCommands(port, view, fastClock()).Write(table));
        SettingsTable readBack;
        QVERIFY(TransmitterCommands(port, view, fastClock()).Read(readBack));
        QCOMPARE(readBack.buildImage(), table.buildImage());
    }

    // --- a device that vanishes ----------------------------------------------------------

    void unpluggedPortDuringWriteEndsCleanlyAndPromptly()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--hangup-after", "5"}));
        TCommPort port;
        ActingView view(port, sim.device());
        // From the second block's end: the third block's write is answered, and its
        // read-back makes the simulator go away.
        QElapsedTimer sinceSecondBlock;
        view.onPosition = [&](int p) {
            if (p == 256)
                sinceSecondBlock.start();
        };
        TransmitterCommands(port, view, WaitClock::standard()).Write(patternedTable());
        QVERIFY2(sinceSecondBlock.elapsed() < 2900, "told when the device went, not at a time-out");
        QCOMPARE(view.messages.size(), 2);
        QVERIFY(view.messages[0].startsWith("The serial port stopped working"));
        QCOMPARE(view.messages[1], QString("Verify Error !"));
        checkEndedCleanly(view, port);
        QVERIFY(sim.waitForExit(3000));

        // The device is gone now: the next command cannot open it.
        RecordingView again(port, sim.device());
        SettingsTable table;
        QVERIFY(!TransmitterCommands(port, again, WaitClock::standard()).Read(table));
        QCOMPARE(again.messages.size(), 2);
        QVERIFY(again.messages[0].startsWith("Error opening comm port. Port already in use?"));
        QCOMPARE(again.messages[1], QString("Read Error !"));
    }

    void unpluggedPortDuringReadLeavesTheTable()
    {
        const QStringList m = failedRead({"--hangup-after", "7"});
        QCOMPARE(m.size(), 2);
        QVERIFY(m[0].startsWith("The serial port stopped working"));
        QCOMPARE(m[1], QString("Read Error !"));
    }

    // --- whatever arrives on the line ------------------------------------------------------

    void garbageInsteadOfARepliesEndsTheCommand()
    {
        SimulatorProcess sim;
        QCOMPARE(failedWrite({"--garbage", "1"}, sim), QStringList{"Write Error !"});
        const QStringList m = failedRead({"--garbage", "2"});
        QCOMPARE(m.last(), QString("Read Error !"));
    }

    void extraBytesSpoilTheNextReply()
    {
        SimulatorProcess sim;
        const QStringList m = failedWrite({"--extra", "1"}, sim);
        QCOMPARE(m.last(), QString("Verify Error !"));
    }

    void stormOfBytesEndsTheCommand()
    {
        SimulatorProcess sim;
        QCOMPARE(failedWrite({"--storm-after", "2"}, sim), QStringList{"Write Error !"});
        const QStringList m = failedRead({"--storm-after", "0"});
        QCOMPARE(m.last(), QString("Read Error !"));
    }

    // --- the budget of a reply byte ---------------------------------------------------------

    void aByteLateInItsBudgetIsAcceptedEveryByteGetsItsOwn()
    {
        // Protocol time runs 10 times fast: a read byte's budget (100 steps of 60 ms) is
        // 600 ms. At 600 baud, byte by byte, the 79-byte reply takes 1.3 s: every byte is far
        // inside its own budget (17 ms apart) though the reply takes twice one budget.
        SimulatorProcess sim;
        QVERIFY(sim.start({"--baud", "600", "--chunk", "1"}, patternedTable().buildImage()));
        TCommPort port;
        port.Connect(19200, sim.device(), 1);
        RecordingView view(port);
        const WaitClock clock(10);
        BlockProtocol protocol(port, clock, view);
        QByteArray image(2048, '\0');
        QElapsedTimer t;
        t.start();
        QVERIFY(protocol.ReadBlock(image, 0x1000, 64));
        QVERIFY(t.elapsed() > 700);
        QCOMPARE(image.left(64), patternedTable().buildImage().left(64));
    }

    void aByteThatMissesItsBudgetTimesOutAfterTheHundredAndFirstStep()
    {
        // Protocol time 4 times fast: the acknowledgement's budget is 750 ms, the time-out
        // comes at 757.5 ms. A reply 3 s late must not be waited for; one 250 ms late is in
        // time. (The exact step is checked on a stepping clock below.)
        SimulatorProcess sim;
        QVERIFY(sim.start({"--latency", "3000"}));
        TCommPort port;
        port.Connect(19200, sim.device(), 1);
        RecordingView view(port);
        const WaitClock clock(4);
        BlockProtocol protocol(port, clock, view);
        QElapsedTimer t;
        t.start();
        QVERIFY(!protocol.WriteBlock(QByteArray(2048, 'a'), 0x1000, 128));
        QVERIFY(t.elapsed() >= 757);
        QCOMPARE(view.only("pos:"), QStringList{"0"});
        port.Close();

        SimulatorProcess early;
        QVERIFY(early.start({"--latency", "250"}));
        port.Connect(19200, early.device(), 1);
        QVERIFY(protocol.WriteBlock(QByteArray(2048, 'a'), 0x1000, 128));
    }

    // --- budgets on a stepping clock: each runs from the byte before ------------------------

    void everyReplyByteIsTakenAtTheLastStepOfItsBudgetAndTimesOutOneLater_data()
    {
        QTest::addColumn<bool>("read");
        QTest::addColumn<QList<qint64>>("after"); // per piece, ms after the one before
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("endsAfterLastTaken"); // ms, when it times out
        // The acknowledgement's bytes have 100 steps of 30 ms, a read reply's 100 of 60 ms;
        // the time-out comes at the end of the 101st step.
        QTest::newRow("first byte at the last step")
            << false << QList<qint64>{3000} << true << qint64(0);
        QTest::newRow("first byte a millisecond late")
            << false << QList<qint64>{3001} << false << qint64(3030);
        QTest::newRow("read: first byte at the last step")
            << true << QList<qint64>{6000} << true << qint64(0);
        QTest::newRow("read: first byte a millisecond late")
            << true << QList<qint64>{6001} << false << qint64(6060);
        QTest::newRow("byte after a gap at the last step")
            << false << QList<qint64>{0, 3000} << true << qint64(0);
        QTest::newRow("byte after a gap a millisecond late")
            << false << QList<qint64>{0, 3001} << false << qint64(3030);
        QTest::newRow("read: byte after a gap a millisecond late")
            << true << QList<qint64>{100, 6001} << false << qint64(6060);
        QTest::newRow("gaps within budgets, the whole longer than one")
            << false << QList<qint64>{2000, 2500} << true << qint64(0);
        QTest::newRow("reply stops short")
            << false << QList<qint64>{10, -1} << false << qint64(3030);
    }
    void everyReplyByteIsTakenAtTheLastStepOfItsBudgetAndTimesOutOneLater()
    {
        QFETCH(bool, read);
        QFETCH(QList<qint64>, after);
        QFETCH(bool, ok);
        QFETCH(qint64, endsAfterLastTaken);
        const QByteArray image = patternedTable().buildImage();
        const QByteArray reply =
            read ? frame::readReply(image.left(128)) : frame::writeAcknowledgement();
        // The reply in as many pieces as there are times; a time of -1: that piece never comes.
        QList<ScriptedLine::Piece> pieces;
        const qsizetype each = reply.size() / after.size();
        for (qsizetype i = 0; i < after.size(); ++i) {
            if (after[i] >= 0)
                pieces.push_back(
                    {reply.mid(i * each, i + 1 == after.size() ? -1 : each), after[i]});
        }
        SteppingClock clock;
        ScriptedLine port(clock);
        port.answer(pieces);
        RecordingView view(port);
        BlockProtocol protocol(port, clock, view);
        QByteArray into(2048, '\0');
        const bool done =
            read ? protocol.ReadBlock(into, 0x1000, 128) : protocol.WriteBlock(image, 0x1000, 128);
        QCOMPARE(done, ok);
        // Not looked at before the request and the reply, less two bytes, can have crossed
        // the line: 145 + 14 bytes for a write, 18 + 141 for a read, of ten bits at 19200
        // baud: 82.8 ms either way.
        QVERIFY(!port.looks.isEmpty());
        QCOMPARE(port.looks.first() - port.requestAt, 82);
        if (ok) {
            QCOMPARE(port.purges, 0);
            if (read)
                QCOMPARE(into.left(128), image.left(128));
            return;
        }
        const qint64 from = port.lastTakenAt >= 0 ? port.lastTakenAt : port.requestAt;
        QCOMPARE(clock.nowMs() - from, endsAfterLastTaken);
        QCOMPARE(port.purges, 1);
        QCOMPARE(view.only("pos:"), QStringList{"0"});
        QCOMPARE(into, QByteArray(2048, '\0'));
    }

    // --- the serial line's own queue --------------------------------------------------------

    // Bytes short of the wake threshold are taken straight from the terminal, and every byte
    // comes out in the order it arrived, whichever way it was taken.
    void everyByteComesOutInArrivalOrderWhateverTookIt_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QByteArray>("expected");
        // wake N: the wake threshold; send B: the line delivers B; take N: the last look
        // before a wait until N bytes are waiting; seen N: the port's notifier alone until
        // N are waiting; purge: both queues dropped.
        QTest::newRow("short of the threshold, then over it")
            << QStringList{"wake 5", "send ab", "take 2", "send cdefg", "seen 7"}
            << QByteArray("abcdefg");
        QTest::newRow("seen by the port, then short of the threshold")
            << QStringList{"wake 1", "send ab", "seen 2", "wake 5", "send cd", "take 4"}
            << QByteArray("abcd");
        QTest::newRow("a purge drops what was taken")
            << QStringList{"wake 5", "send ab", "take 2", "purge", "send xyz", "take 3"}
            << QByteArray("xyz");
    }
    void everyByteComesOutInArrivalOrderWhateverTookIt()
    {
        QFETCH(QStringList, steps);
        QFETCH(QByteArray, expected);
        PseudoTerminal pty;
        QVERIFY(pty.master >= 0);
        TCommPort port;
        port.Connect(19200, pty.device(), 1);
        port.Write("TealCondor2", 11);
        QCOMPARE(pty.received(), QByteArray("TealCondor2"));
        for (const QString &step : steps) {
            const QString what = step.section(' ', 0, 0);
            const QString arg = step.section(' ', 1);
            if (what == "wake") {
                port.WakeWhenAvailable(arg.toInt());
            } else if (what == "send") {
                QVERIFY(pty.send(arg.toLatin1()));
            } else if (what == "take") {
                QTRY_COMPARE_WITH_TIMEOUT((port.TakePending(), port.BytesAvailable()), arg.toUInt(),
                                          5000);
            } else if (what == "seen") {
                QTRY_COMPARE_WITH_TIMEOUT(port.BytesAvailable(), arg.toUInt(), 5000);
            } else {
                port.Purge();
                QCOMPARE(port.BytesAvailable(), 0u);
            }
        }
        QByteArray got(64, '\0');
        got.truncate(port.ReadBytes(got.data(), got.size()));
        QCOMPARE(got, expected);
        QCOMPARE(port.BytesAvailable(), 0u);
    }
};

QTEST_GUILESS_MAIN(TestTransfers)
#include "test_transfers.moc"
