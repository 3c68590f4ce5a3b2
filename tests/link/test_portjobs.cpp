// SPDX-License-Identifier: GPL-3.0-or-later
// Several transmitters at once, and the trace of the line.

#include "link/commport.h"
#include "link/linetrace.h"
#include "link/portjobs.h"
#include "link/transmittercommands.h"
#include "link/waitclock.h"
#include "model/settingstable.h"
#include "simulator.h"

#include <QBuffer>
#include <QTest>

using namespace rw;

namespace {

SettingsTable tableOf(char fill)
{
    SettingsTable t;
    t.takeImage(QByteArray(1940, fill));
    return t;
}

PortJob writing(const SettingsTable &table)
{
    return [&table](TCommPort &port, TransferView &view) {
        return TransmitterCommands(port, view, WaitClock::standard()).Write(table);
    };
}

} // namespace

class TestPortJobs : public QObject {
    Q_OBJECT
private slots:
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

    void anUnknownPortFailsAloneWithTheOpeningMessage()
    {
        SimulatorProcess a;
        QVERIFY(a.start());
        const SettingsTable table;
        const QList<PortJobState> states =
            runOnPorts({"/dev/rw830kt-no-such-port", a.device()}, writing(table));
        QVERIFY(!states[0].ok);
        QVERIFY(states[0].messages.first().startsWith(
            QStringLiteral("Error opening comm port. Port already in use?\n\nThe port "
                           "/dev/rw830kt-no-such-port has no device behind it")));
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
