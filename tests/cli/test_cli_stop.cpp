// SPDX-License-Identifier: GPL-3.0-or-later
// rw830kt-cli stopped by real signals in the middle of real transfers: the simulator
// falls silent at a known request, so the transfer is waiting there when the signal comes.

#include "simulator.h"
#include "testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <sys/types.h>

using namespace rw;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

QByteArray imageOf(char fill)
{
    QByteArray image(2048, '\0');
    image.replace(0, 1940, QByteArray(1940, fill));
    return image;
}

// True once `done` holds, looking every 20 ms for at most 30 s.
bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > 30000)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

class TestCliStop : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Runs rw830kt-cli, sends `signal` once `ready` holds, and returns how it ended.
    Run stopped(int signal, const QStringList &args, const std::function<bool()> &ready)
    {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QStringLiteral(RW830KT_CLI), args);
        Run r;
        if (!p.waitForStarted(10000) || !waitFor([&] { return ready() || !p.processId(); }))
            return r;
        if (p.state() != QProcess::Running || ::kill(static_cast<pid_t>(p.processId()), signal))
            return r;
        if (!p.waitForFinished(30000))
            return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
    QString path(const QString &name) const { return dir_.filePath(name); }
    QStringList files() const { return fileNames(dir_.path()); }

private slots:
    void init()
    {
        for (const QString &f : files())
            QFile::remove(path(f));
    }

    void ctrlCDuringAReadWritesNoTableAndTheTraceEndsWithTheStop()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--silent-after", "4"}, imageOf('\x44')));
        const Run r =
            stopped(SIGINT, {"read", "-p", sim.device(), "-o", "new.tbl", "--trace", "t.txt"},
                    [&] { return sim.requests().size() >= 5; });
        // Stopped, not timed out: the fifth block's reply would have taken 6 s to do that.
        QCOMPARE(r.status, 130);
        QVERIFY2(
            r.err.contains("rw830kt-cli: " + sim.device() + ": stopped during block 5 (SIGINT)"),
            qPrintable(r.err));
        QVERIFY2(r.err.contains("rw830kt-cli: new.tbl: not written: the run was stopped"),
                 qPrintable(r.err));
        QVERIFY(!r.err.contains("Read Error !"));
        QCOMPARE(files(), QStringList{"t.txt"});

        // Every frame sent is in the trace, every reply received, then the stop.
        const QList<QByteArray> lines = contents(path("t.txt")).trimmed().split('\n');
        int requests = 0;
        QByteArray received;
        for (const QByteArray &line : lines.mid(0, lines.size() - 1)) {
            const QList<QByteArray> f = line.split(' ');
            QVERIFY2(f.size() > 3, line.constData());
            if (f[2] == ">>")
                ++requests;
            else if (f[2] == "<<") {
                // The bytes, then "(N waiting, ...)".
                for (const QByteArray &b : f.mid(3)) {
                    if (b.startsWith('('))
                        break;
                    received += QByteArray::fromHex(b);
                }
            }
        }
        QCOMPARE(requests, 5);
        QCOMPARE(received.size(), 4 * 143);
        QCOMPARE(received.mid(3 * 143 + 13, 128), QByteArray(128, '\x44')); // the fourth block
        const QList<QByteArray> last = lines.last().split(' ');
        QCOMPARE(QString::fromLocal8Bit(last.value(1)), sim.device());
        QCOMPARE(last.value(2), QByteArray("--"));
        QCOMPARE(last.mid(3).join(' '), QByteArray("run stopped during block 5 by SIGINT"));
    }

    void aStoppedReadLeavesTheTableFileAndItsBackupAsTheyWere()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--silent-after", "2"}, imageOf('\x55')));
        writeFile(path("site.tbl"), imageOf('\x01'));
        writeFile(path("site.BAK"), imageOf('\x02'));
        const Run r = stopped(SIGTERM, {"read", "-p", sim.device(), "-o", "site.tbl"},
                              [&] { return sim.requests().size() >= 3; });
        QVERIFY2(r.status == 143, qPrintable(r.err));
        QVERIFY2(r.err.contains(sim.device() + ": stopped during block 3 (SIGTERM)"),
                 qPrintable(r.err));
        QCOMPARE(contents(path("site.tbl")), imageOf('\x01'));
        QCOMPARE(contents(path("site.BAK")), imageOf('\x02'));
        QCOMPARE(files(), (QStringList{"site.BAK", "site.tbl"}));
    }

    void aHangUpDuringAParallelWriteReportsEveryPort()
    {
        SimulatorProcess whole, quiet;
        QVERIFY(whole.start());
        QVERIFY(quiet.start({"--silent-after", "3"})); // no read-back of the second block
        writeFile(path("bench.tbl"), imageOf('\x66'));
        // Once the whole write has closed its port (its trace says so) and the quiet one
        // has asked for the read-back it gets no answer to.
        const Run r =
            stopped(SIGHUP,
                    {"write", "-p", whole.device(), "-p", quiet.device(), "bench.tbl", "--trace",
                     "bench.txt"},
                    [&] {
                        return contents(path("bench.txt"))
                                   .contains(" " + whole.device().toLocal8Bit() + " -- close") &&
                               quiet.requests().size() == 4;
                    });
        QCOMPARE(r.status, 129);
        QCOMPARE(whole.memory(), imageOf('\x66'));
        QVERIFY2(r.out.contains(whole.device() + ": written and verified"), qPrintable(r.out));
        QVERIFY2(r.err.contains(quiet.device() + ": stopped during block 2 (SIGHUP)"),
                 qPrintable(r.err));
        QVERIFY2(r.err.contains("1 of 2 transmitters written; stopped: " + quiet.device()),
                 qPrintable(r.err));
        QVERIFY(!r.err.contains("Verify Error !"));
        QVERIFY(!r.err.contains(whole.device() + ": stopped"));
    }
};

QTEST_GUILESS_MAIN(TestCliStop)
#include "test_cli_stop.moc"
