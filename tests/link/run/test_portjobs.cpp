// SPDX-License-Identifier: GPL-3.0-or-later
// Several transmitters at once, and the trace of the line.

#include "filledtable.h"
#include "link/line/commport.h"
#include "link/line/linetrace.h"
#include "link/line/stoprequest.h"
#include "link/line/waitclock.h"
#include "link/protocol/transferview.h"
#include "link/protocol/transmittercommands.h"
#include "link/run/portjobs.h"
#include "missingport.h"
#include "model/settingstable.h"
#include "outcomestring.h"
#include "simulator.h"

#include <QBuffer>
#include <QSemaphore>
#include <QTest>
#include <QThread>

using namespace rw;

namespace {

PortJob writing(const SettingsTable &table)
{
    return [&table](TCommPort &port, TransferView &view) {
        return TransmitterCommands(port, view, WaitClock::standard()).Write(table);
    };
}

PortJob reading()
{
    return [](TCommPort &port, TransferView &view) {
        SettingsTable t;
        return TransmitterCommands(port, view, WaitClock::standard()).Read(t);
    };
}

} // namespace

class TestPortJobs : public QObject {
    Q_OBJECT
private slots:
    // Ports that report far more than the calling thread looks at, with and without a
    // display: every report arrives, in order, and the run ends with the last port.
    void aFloodOfReportsArrivesWholeAndInOrder_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::newRow("nothing shown") << false;
        QTest::newRow("shown ten times a second") << true;
    }
    void aFloodOfReportsArrivesWholeAndInOrder()
    {
        QFETCH(bool, shown);
        const PortJob flood = [](TCommPort &, TransferView &view) {
            for (int i = 1; i <= 3000; ++i) {
                view.setStatusText(QString::number(i));
                if (i % 1000 == 0)
                    view.warn(QStringLiteral("%1 of 3000").arg(i));
            }
            return TransferOutcome{TransferResult::Success, -1, {}};
        };
        int ticks = 0;
        const QList<PortJobState> states =
            runOnPorts({"one", "two", "three"}, flood, nullptr,
                       shown ? std::function([&](const QList<PortJobState> &) { ++ticks; })
                             : std::function<void(const QList<PortJobState> &)>());
        QCOMPARE(states.size(), 3);
        for (const PortJobState &s : states) {
            QVERIFY(s.done && s.ok);
            QCOMPARE(s.status, QStringLiteral("3000"));
            QCOMPARE(s.messages, (QStringList{"1000 of 3000", "2000 of 3000", "3000 of 3000"}));
        }
        QCOMPARE(ticks > 0, shown); // the last one at the end
    }

    // A port that reports nothing for a while (a transmitter slow to answer) leaves the
    // calling thread asleep: it is shown what a port reported, and the end, not a
    // ten-times-a-second tick of its own.
    void theCallingThreadIsShownReportsAndTheEndNotTicks()
    {
        const PortJob slow = [](TCommPort &, TransferView &view) {
            view.setStatusText(QStringLiteral("waiting"));
            QThread::msleep(700);
            view.setStatusText(QStringLiteral("answered"));
            return TransferOutcome{TransferResult::Success, -1, {}};
        };
        QStringList shown;
        runOnPorts({"one"}, slow, nullptr, [&](const QList<PortJobState> &s) {
            shown << s[0].status + (s[0].done ? " (done)" : "");
        });
        // Each status at most once (a busy machine may skip the first), then the end.
        QVERIFY2(shown.count(QStringLiteral("waiting")) <= 1, qPrintable(shown.join(", ")));
        QVERIFY2(shown.size() <= 3, qPrintable(shown.join(", ")));
        QCOMPARE(shown.last(), QStringLiteral("answered (done)"));

        // A status that follows a shown one at once is not lost for the rest of a long
        // wait: it is shown when the tick is up. The port goes on as each is shown.
        QSemaphore firstShown, secondShown;
        const PortJob quick = [&](TCommPort &, TransferView &view) {
            view.setStatusText(QStringLiteral("block 1"));
            firstShown.tryAcquire(1, 60000);
            view.setStatusText(QStringLiteral("block 2"));
            secondShown.tryAcquire(1, 60000);
            return TransferOutcome{TransferResult::Success, -1, {}};
        };
        shown.clear();
        runOnPorts({"one"}, quick, nullptr, [&](const QList<PortJobState> &s) {
            shown << s[0].status + (s[0].done ? " (done)" : "");
            if (s[0].done)
                return;
            if (s[0].status == QLatin1String("block 1"))
                firstShown.release();
            if (s[0].status == QLatin1String("block 2"))
                secondShown.release();
        });
        QVERIFY2(shown.contains(QStringLiteral("block 2")), qPrintable(shown.join(", ")));
    }

    void aFailingTransmitterNeitherStopsNorSpoilsTheOthers()
    {
        SimulatorProcess a, b, c;
        // 20 ms before each of its 32 replies: the run outlasts several ticks however fast
        // the machine is.
        QVERIFY(a.start({"--chunk", "1", "--latency", "20"}));
        QVERIFY(b.start({"--verify-mismatch", "3"})); // the third block reads back wrong
        QVERIFY(c.start());
        const SettingsTable table = tableOf('\x5A');
        QList<PortJobState> lastTick;
        const QList<PortJobState> states =
            runOnPorts({a.device(), b.device(), c.device()}, writing(table), nullptr,
                       [&](const QList<PortJobState> &s) { lastTick = s; });

        QCOMPARE(states.size(), 3);
        QCOMPARE(states[0].port, a.device());
        QVERIFY(states[0].ok);
        QVERIFY(!states[1].ok);
        QVERIFY(states[2].ok);
        QCOMPARE(states[0].messages, QStringList{"Write Success !"});
        QCOMPARE(states[1].messages, QStringList{"Verify Error !"});
        QCOMPARE(states[2].messages, QStringList{"Write Success !"});
        for (const PortJobState &s : states) {
            QVERIFY(s.done);
            QCOMPARE(s.status, QStringLiteral("Ready ......"));
        }
        QByteArray expected(2048, '\0');
        expected.replace(0, 1940, QByteArray(1940, '\x5A'));
        QCOMPARE(a.memory(), expected);
        QCOMPARE(c.memory(), expected);
        // The last report comes when every port has ended.
        QCOMPARE(lastTick.size(), 3);
        for (const PortJobState &s : lastTick)
            QVERIFY(s.done);
    }

    // The calling thread showing progress slowly keeps an old view of the ports alive
    // while the ports end one after another: nothing any port reports may be lost.
    void everyReasonArrivesWhilePortsEndAtDifferentTimesAndTheDisplayIsSlow()
    {
        // Every port outlasts the first ticks, and each ends at its own time: the failing
        // one at its eighth block, the fast one after about 0.3 s, the paced one last.
        SimulatorProcess fast, failing, paced;
        QVERIFY(fast.start({"--latency", "8"}));
        QVERIFY(failing.start({"--latency", "8", "--verify-mismatch", "8"}));
        QVERIFY(paced.start({"--chunk", "1", "--latency", "25"}));
        const SettingsTable table = tableOf('\x3C');
        int ticks = 0;
        QList<int> lastPositions;
        QList<int> lastMaximums;
        const QList<PortJobState> states =
            runOnPorts({fast.device(), failing.device(), paced.device()}, writing(table), nullptr,
                       [&](const QList<PortJobState> &s) {
                           ++ticks;
                           lastPositions.clear();
                           lastMaximums.clear();
                           for (const PortJobState &p : s) {
                               lastPositions << p.position;
                               lastMaximums << p.maximum;
                           }
                           QThread::msleep(150);
                       });

        QCOMPARE(states.size(), 3);
        QCOMPARE(states[0].messages, QStringList{"Write Success !"});
        QCOMPARE(states[1].messages, QStringList{"Verify Error !"});
        QCOMPARE(states[2].messages, QStringList{"Write Success !"});
        QCOMPARE(states[0].outcome, (TransferOutcome{TransferResult::Success, -1, {}}));
        QCOMPARE(
            states[1].outcome,
            (TransferOutcome{TransferResult::VerifyFailed, 7, {}, ReplyFault::Mismatch, 143, 143}));
        QCOMPARE(states[2].outcome, (TransferOutcome{TransferResult::Success, -1, {}}));
        QVERIFY(!states[1].ok);
        for (const PortJobState &s : states) {
            QVERIFY(s.done);
            QCOMPARE(s.status, QStringLiteral("Ready ......"));
            QCOMPARE(s.maximum, 1600);
            QCOMPARE(s.position, 0);
        }
        QVERIFY(ticks >= 2);
        QCOMPARE(lastPositions, (QList<int>{0, 0, 0}));
        QCOMPARE(lastMaximums, (QList<int>{1600, 1600, 1600}));
        QByteArray expected(2048, '\0');
        expected.replace(0, 1940, QByteArray(1940, '\x3C'));
        QCOMPARE(fast.memory(), expected);
        QCOMPARE(paced.memory(), expected);
    }

    // A stop ends every port still waiting for its transmitter at once, each with the
    // block it was in, without a failure box; a port that had ended keeps its outcome.
    void aStopEndsTheWaitingPortsAtTheirBlockAndLeavesTheEndedOnesAlone()
    {
        SimulatorProcess whole, quietAfterThree, quietAtOnce;
        QVERIFY(whole.start({}, tableOf('\x22').buildImage()));
        QVERIFY(quietAfterThree.start({"--silent-after", "3"}));
        QVERIFY(quietAtOnce.start({"--silent-after", "0"}));
        // The stop comes once the first port has ended and the silent transmitters have
        // taken the requests they leave unanswered: whichever of these comes last.
        bool firstEnded = false, stopped = false;
        const auto stopWhenDue = [&] {
            if (!stopped && firstEnded && quietAfterThree.requestsTaken() >= 4 &&
                quietAtOnce.requestsTaken() >= 1) {
                stopped = true;
                requestStop();
            }
        };
        quietAfterThree.whenRequests(4, stopWhenDue);
        quietAtOnce.whenRequests(1, stopWhenDue);
        const QList<PortJobState> states =
            runOnPorts({whole.device(), quietAfterThree.device(), quietAtOnce.device()}, reading(),
                       nullptr, [&](const QList<PortJobState> &s) {
                           firstEnded = s[0].done;
                           stopWhenDue();
                       });
        clearStopRequest();
        QVERIFY(stopped);

        QCOMPARE(states[0].outcome, (TransferOutcome{TransferResult::Success, -1, {}}));
        QCOMPARE(states[0].messages, QStringList{"Read Success !"});
        QCOMPARE(states[1].outcome, (TransferOutcome{TransferResult::Stopped, 3, {}}));
        QCOMPARE(states[2].outcome, (TransferOutcome{TransferResult::Stopped, 0, {}}));
        for (int i : {1, 2}) {
            QVERIFY(states[i].done);
            QVERIFY(!states[i].ok);
            QCOMPARE(states[i].messages, QStringList{});
            QCOMPARE(states[i].status, QStringLiteral("Ready ......"));
            QCOMPARE(states[i].position, 0);
        }
        QCOMPARE(quietAfterThree.requests().size(), 4);
        QCOMPARE(quietAtOnce.requests().size(), 1);

        // The stopped ports were let go: the next run opens them again.
        const QList<PortJobState> again = runOnPorts({quietAtOnce.device()}, reading());
        QCOMPARE(
            again[0].outcome,
            (TransferOutcome{TransferResult::ReadFailed, 0, {}, ReplyFault::NoAnswer, 0, 143}));
        QCOMPARE(again[0].messages, QStringList{"Read Error !"});
    }

    void anUnknownPortFailsAloneWithTheOpeningMessage()
    {
        SimulatorProcess a;
        QVERIFY(a.start());
        const SettingsTable table;
        const QList<PortJobState> states =
            runOnPorts({"/dev/rw830kt-no-such-port", a.device()}, writing(table));
        QVERIFY(!states[0].ok);
        QCOMPARE(states[0].outcome.result, TransferResult::PortNotOpened);
        QCOMPARE(states[0].messages.first(), "Error opening comm port. Port already in use?\n\n" +
                                                 missingPortReason("/dev/rw830kt-no-such-port"));
        QVERIFY(states[1].ok);
    }

    void theTraceHoldsEveryByteEachWayWithTimeAndPort()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({}, tableOf('\x11').buildImage()));
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        {
            LineTrace trace(out);
            const QList<PortJobState> states = runOnPorts(
                {sim.device()},
                [](TCommPort &port, TransferView &view) {
                    SettingsTable t;
                    return TransmitterCommands(port, view, WaitClock::standard()).Read(t);
                },
                &trace);
            QVERIFY(states[0].ok);
        }
        const QList<QByteArray> lines = out.data().trimmed().split('\n');
        QByteArray sent, received;
        double last = 0;
        for (const QByteArray &line : lines) {
            const QList<QByteArray> parts = line.split(' ');
            QVERIFY2(parts.size() > 3, line.constData());
            const double time = parts[0].toDouble();
            QVERIFY(time >= last);
            last = time;
            QCOMPARE(QString::fromLocal8Bit(parts[1]), sim.device());
            if (parts[2] == "--")
                continue; // open, close, purges and time-outs
            // A received run ends with how many bytes were waiting, in brackets.
            const qsizetype hexEnd = parts[2] == "<<" ? line.indexOf(" (") : line.size();
            QVERIFY2(hexEnd > 0, line.constData());
            const QByteArray bytes =
                QByteArray::fromHex(line.left(hexEnd).split(' ').mid(3).join());
            if (parts[2] == ">>")
                sent += bytes;
            else if (parts[2] == "<<")
                received += bytes;
            else
                QFAIL(line.constData());
        }
        // Sixteen read requests, the first for 128 bytes at 0x1000.
        QByteArray requests;
        for (const QByteArray &r : sim.requests())
            requests += r;
        QCOMPARE(sent, requests);
        QVERIFY(sent.startsWith(QByteArray("TealCondor2R\x03\x10\x00\x80\x01\x17", 18)));
        // Every reply: header, then the block's 128 bytes of 0x11.
        QVERIFY(received.contains(QByteArray(128, '\x11')));
        QVERIFY(received.size() >= 16 * (128 + 12));
    }
};

QTEST_GUILESS_MAIN(TestPortJobs)
#include "test_portjobs.moc"
