// SPDX-License-Identifier: GPL-3.0-or-later
// The trace of the line: what it records of a real port against the transmitter simulator,
// and that every line is in the file as soon as it is made.

#include "link/line/commport.h"
#include "link/line/linetrace.h"
#include "link/line/waitclock.h"
#include "link/protocol/blockprotocol.h"
#include "recordingview.h"
#include "simulator.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>

using namespace rw;

namespace {

struct Line {
    double time = -1;
    QString port;
    QString mark;
    QString text;
};

// What the file holds now, read through a handle of its own.
QList<Line> linesOf(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<Line> lines;
    static const QRegularExpression form(R"(^(\d+\.\d{6}) (\S+) (>>|<<|--) (.*)$)");
    for (const QByteArray &raw : f.readAll().split('\n')) {
        if (raw.isEmpty())
            continue;
        const QRegularExpressionMatch m = form.match(QString::fromLocal8Bit(raw));
        if (!m.hasMatch())
            return {{-1, {}, {}, QString::fromLocal8Bit(raw)}};
        lines.append({m.captured(1).toDouble(), m.captured(2), m.captured(3), m.captured(4)});
    }
    return lines;
}

} // namespace

class TestLineTrace : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void aReplyCutShortIsStampedWhenItCameThenTheTimeOutAndThePurgeFollow()
    {
        // Protocol time runs twice as fast: the acknowledgement's budget is about 1.5 s, and
        // the line is looked at every 120 ms while the reply is awaited.
        SimulatorProcess sim;
        QVERIFY(sim.start({"--truncate", "1"}));
        QFile file(dir_.filePath("cut.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        LineTrace trace(file);
        TCommPort port;
        port.setTrace(&trace);
        port.Connect(19200, sim.device(), 1);
        RecordingView view(port);
        const WaitClock clock(2);
        BlockProtocol protocol(port, clock, view);
        QVERIFY(!protocol.WriteBlock(QByteArray(2048, 'a'), 0x1000, 128));
        port.Close();

        const QList<Line> lines = linesOf(file.fileName());
        QCOMPARE(lines.size(), 6);
        for (const Line &l : lines)
            QCOMPARE(l.port, sim.device());
        QCOMPARE(lines[0].mark, QString("--"));
        QCOMPARE(lines[0].text, QString("open at 19200 baud, 8 data bits, no parity, 1 stop bit"));
        QCOMPARE(lines[1].mark, QString(">>"));
        QVERIFY(lines[1].text.startsWith("54 65 61 6C 43 6F 6E 64 6F 72 32 53 82 10 00 61 61"));
        // The half that came ("TealCond"), with when the wait for it began.
        QCOMPARE(lines[2].mark, QString("<<"));
        static const QRegularExpression run(
            R"(^54 65 61 6C 43 6F 6E 64 \(8 waiting, waited from (\d+\.\d{6})\)$)");
        const QRegularExpressionMatch m = run.match(lines[2].text);
        QVERIFY2(m.hasMatch(), qPrintable(lines[2].text));
        const double waitedFrom = m.captured(1).toDouble();
        QVERIFY(waitedFrom >= lines[1].time && waitedFrom <= lines[2].time);
        // Taken at a look soon after it came, not at the end of the budget (a margin that
        // holds on a busy machine).
        QVERIFY2(lines[2].time - lines[1].time < 0.75, qPrintable(QString::number(lines[2].time)));
        QCOMPARE(lines[3].text, QString("time-out: 8 of 16 reply bytes arrived"));
        QVERIFY(lines[3].time - lines[2].time >= 1.5);
        QCOMPARE(lines[4].text, QString("purge dropped nothing"));
        QCOMPARE(lines[5].text, QString("close"));
        QVERIFY(lines[4].time >= lines[3].time && lines[5].time >= lines[4].time);
    }

    void bytesNobodyReadAreTracedWhenPurgedAndAtClose()
    {
        // Five bytes follow the first acknowledgement: 00 55 AA FF 06. The port takes
        // them (below its wake threshold, nothing else would) before the purge or close.
        QFile file(dir_.filePath("left.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        LineTrace trace(file);
        TCommPort port;
        port.setTrace(&trace);
        RecordingView view(port);
        BlockProtocol protocol(port, WaitClock::standard(), view);

        SimulatorProcess purged;
        QVERIFY(purged.start({"--extra", "1"}));
        port.Connect(19200, purged.device(), 1);
        QVERIFY(protocol.WriteBlock(QByteArray(2048, 'a'), 0x1000, 128));
        QTRY_COMPARE_WITH_TIMEOUT((port.TakePending(), port.BytesAvailable()), 5u, 30000);
        port.Purge();
        port.Close();

        SimulatorProcess closed;
        QVERIFY(closed.start({"--extra", "1"}));
        port.Connect(19200, closed.device(), 1);
        QVERIFY(protocol.WriteBlock(QByteArray(2048, 'a'), 0x1000, 128));
        QTRY_COMPARE_WITH_TIMEOUT((port.TakePending(), port.BytesAvailable()), 5u, 30000);
        port.Close();

        QStringList notes;
        for (const Line &l : linesOf(file.fileName())) {
            if (l.mark == "--" && !l.text.startsWith("open"))
                notes << l.port + ": " + l.text;
        }
        QCOMPARE(notes, (QStringList{
                            purged.device() + ": purge dropped 5 bytes: 00 55 AA FF 06",
                            purged.device() + ": close",
                            closed.device() + ": close, 5 bytes unread: 00 55 AA FF 06",
                        }));
    }

    // However the reply's bytes were split among reads (one run on an idle machine, more
    // on a busy one), the runs hold the reply once, in order, each with how many bytes the
    // line held when it was taken; the first tells when the wait for it began.
    void theRunsOfAReplyHoldItsBytesInOrderWithHowManyWereWaiting()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({}, QByteArray(2048, '\x5A')));
        QFile file(dir_.filePath("whole.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        LineTrace trace(file);
        TCommPort port;
        port.setTrace(&trace);
        port.Connect(19200, sim.device(), 1);
        RecordingView view(port);
        BlockProtocol protocol(port, WaitClock::standard(), view);
        QByteArray image(2048, '\0');
        QVERIFY(protocol.ReadBlock(image, 0x1000, 4));
        port.Close();

        const QList<Line> lines = linesOf(file.fileName());
        QVERIFY2(lines.size() >= 4, qPrintable(QString::number(lines.size())));
        QCOMPARE(lines[1].text, QString("54 65 61 6C 43 6F 6E 64 6F 72 32 52 03 10 00 04 00 9B"));
        QCOMPARE(lines.last().text, QString("close"));
        static const QRegularExpression run(
            R"(^((?:[0-9A-F]{2} )*[0-9A-F]{2}) \((\d+) waiting(, waited from \d+\.\d{6})?\)$)");
        QStringList bytes;
        for (qsizetype i = 2; i < lines.size() - 1; ++i) {
            QCOMPARE(lines[i].mark, QString("<<"));
            const QRegularExpressionMatch m = run.match(lines[i].text);
            QVERIFY2(m.hasMatch(), qPrintable(lines[i].text));
            const QStringList taken = m.captured(1).split(' ');
            QVERIFY2(m.captured(2).toInt() >= taken.size(), qPrintable(lines[i].text));
            if (i == 2)
                QVERIFY2(m.hasCaptured(3), qPrintable(lines[i].text));
            bytes << taken;
        }
        // Header, "2R", four data bytes, their checksum: 0x32 + 0x52 + 4 + 4 * 0x5A.
        QCOMPARE(bytes.join(' '),
                 QString("54 65 61 6C 43 6F 6E 64 6F 72 32 52 04 5A 5A 5A 5A 01 F0"));
    }

    void portsOnSeveralThreadsShareOneTraceLineByLineInTimeOrder()
    {
        QFile file(dir_.filePath("threads.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        LineTrace trace(file);
        const auto writer = [&trace](const QString &port) {
            return QThread::create([&trace, port] {
                for (int i = 0; i < 400; ++i) {
                    trace.sent(port, "\x54\x65\x61\x6C", 4);
                    trace.note(port, QStringLiteral("block %1").arg(i));
                }
            });
        };
        std::unique_ptr<QThread> a(writer("/dev/ttyUSB0")), b(writer("/dev/ttyUSB1"));
        a->start();
        b->start();
        QVERIFY(a->wait(60000) && b->wait(60000));

        const QList<Line> lines = linesOf(file.fileName());
        QCOMPARE(lines.size(), 1600);
        QHash<QString, int> notes;
        double last = 0;
        for (const Line &l : lines) {
            QVERIFY2(l.time >= last, qPrintable(l.text));
            last = l.time;
            if (l.mark == ">>") {
                QCOMPARE(l.text, QString("54 65 61 6C"));
            } else {
                // Each port's notes come in the order it wrote them.
                QCOMPARE(l.text, QStringLiteral("block %1").arg(notes[l.port]));
                ++notes[l.port];
            }
        }
        QCOMPARE(notes.value("/dev/ttyUSB0"), 400);
        QCOMPARE(notes.value("/dev/ttyUSB1"), 400);
    }

    void everyLineIsInTheFileAsSoonAsItIsMade()
    {
        QFile file(dir_.filePath("note.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        LineTrace trace(file);
        trace.note("/dev/ttyUSB3", "stopped by a signal\nduring block 4");

        trace.sent("/dev/ttyUSB3", "\x01\x02\xFE", 3);
        // Read through another handle while the trace and its file are still open.
        const QList<Line> lines = linesOf(file.fileName());
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].port, QString("/dev/ttyUSB3"));
        QCOMPARE(lines[0].mark, QString("--"));
        QCOMPARE(lines[0].text, QString("stopped by a signal during block 4"));
        QCOMPARE(lines[1].mark, QString(">>"));
        QCOMPARE(lines[1].text, QString("01 02 FE"));
        QVERIFY(lines[0].time >= 0 && lines[1].time >= lines[0].time);
        QVERIFY(trace.ok());
    }
};

QTEST_GUILESS_MAIN(TestLineTrace)
#include "test_linetrace.moc"
