// SPDX-License-Identifier: GPL-3.0-or-later
#include "cpufigures.h"

#include "app/frmmain.h"
#include "childcpu.h"
#include "link/line/commport.h"
#include "link/line/waitclock.h"
#include "link/protocol/transmittercommands.h"
#include "measure.h"
#include "model/settingstable.h"
#include "simulators.h"
#include "spread.h"
#include "standins.h"
#include "windowfolder.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Baud = rw::TransmitterBaudRate;
constexpr int Runs = 5;

double cliWrite(const QStringList &ports, const QString &table)
{
    QStringList args{"write", "-q"};
    for (const QString &p : ports)
        args << "-p" << p;
    return cpuOfRun(QStringLiteral(RW830KT_CLI), args << table);
}

// CPU seconds of a Write on a thread of its own, as the command line and the bench run
// their ports; negative when it failed.
double ownThreadWrite(const QString &port, const rw::SettingsTable &table)
{
    double cpu = -1;
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        rw::TCommPort line;
        QuietView view(port);
        rw::TransmitterCommands commands(line, view, rw::WaitClock::standard());
        bool ok = false;
        const Figures fig = measure([&] { ok = commands.Write(table).ok(); });
        cpu = ok ? fig.cpuSeconds : -1;
    }));
    thread->start();
    thread->wait();
    return cpu;
}

void printFigure(const char *what, const Spread &s, double target, const char *unit, double scale)
{
    std::printf("  %-34s %7.1f %s  (%.1f..%.1f)  target %g %s%s\n", what, s.median * scale, unit,
                s.least * scale, s.most * scale, target, unit,
                s.median * scale <= target ? "" : "  MISSED");
}

// The figures of the runs, each kept per run.
struct CpuRuns {
    std::vector<double> core, own, ratio, window, many;
    bool ok = true;
};

// Writes through the core, on the calling thread and on a thread of its own, in turn.
void coreWrites(const QString &port, const rw::SettingsTable &table, CpuRuns &runs)
{
    rw::TCommPort line;
    QuietView view(port);
    rw::TransmitterCommands commands(line, view, rw::WaitClock::standard());
    for (int i = 0; i < Runs; ++i) {
        const Figures fig = measure([&] { runs.ok = commands.Write(table).ok() && runs.ok; });
        runs.core.push_back(fig.cpuSeconds);
        runs.ratio.push_back(fig.wallSeconds / wireSeconds(writeWireBytes(), Baud));
        const double o = ownThreadWrite(port, table);
        runs.ok = o >= 0 && runs.ok;
        runs.own.push_back(o);
    }
}

// Writes through the real main window's menu handler.
void windowWrites(const QString &port, CpuRuns &runs)
{
    const WindowFolder windowFolder({port});
    runs.ok = windowFolder.ok() && runs.ok;
    AnsweringDialogs dialogs;
    rw::SettingsTable shown;
    rw::TfmMain w(shown, dialogs);
    w.show();
    QApplication::processEvents();
    for (int i = 0; i < Runs; ++i)
        runs.window.push_back(measure([&] { w.mnuWriteClick(); }).cpuSeconds);
    runs.ok = dialogs.texts == QStringList(Runs, "Write Success !") && runs.ok;
}

// Whole rw830kt-cli processes writing to 64 transmitters at once.
void manyPortWrites(const QString &tableFile, CpuRuns &runs)
{
    Simulators bench;
    if (!bench.start(64, Baud, 1)) {
        std::fprintf(stderr, "64 simulators did not start\n");
        runs.ok = false;
        return;
    }
    for (int i = 0; i < Runs; ++i) {
        const double c = cliWrite(bench.devices(), tableFile);
        runs.ok = c >= 0 && runs.ok;
        runs.many.push_back(c);
    }
}

// Measured by the simulator: from a reply's last byte to the next request's first, its
// own wake-up included. Every Write counts, whatever path it took; the pauses between
// two runs are among the longest tenth.
void printTurnarounds(const QString &path)
{
    std::vector<double> gaps;
    QFile gapFile(path);
    if (gapFile.open(QIODevice::ReadOnly))
        for (const QByteArray &line : gapFile.readAll().split('\n'))
            if (!line.isEmpty())
                gaps.push_back(line.toDouble());
    if (gaps.empty())
        return;
    std::sort(gaps.begin(), gaps.end());
    const double median = gaps[gaps.size() / 2];
    std::printf("  %-34s %7.0f us  (9 in 10 under %.0f us)  target 1000 us%s\n",
                "turnaround, reply to next request", median, gaps[gaps.size() * 9 / 10],
                median <= 1000 ? "" : "  MISSED");
}

void printRuns(const CpuRuns &runs, const QString &turnarounds)
{
    std::printf("CPU per Write, replies paced byte by byte at %d baud; line time %.3f s "
                "(median of %d runs, least..most):\n",
                Baud, wireSeconds(writeWireBytes(), Baud), Runs);
    printFigure("core, window's thread", spreadOf(runs.core), 15, "ms", 1000);
    printFigure("core, a port's own thread", spreadOf(runs.own), 15, "ms", 1000);
    printFigure("window", spreadOf(runs.window), 30, "ms", 1000);
    if (!runs.many.empty())
        printFigure("rw830kt-cli, 64 ports at once", spreadOf(runs.many), 250, "ms", 1000);
    printTurnarounds(turnarounds);
    const Spread r = spreadOf(runs.ratio);
    std::printf("  %-34s %7.3f     (%.3f..%.3f)  target 1.02\n", "core wall / line time", r.median,
                r.least, r.most);
}

} // namespace

bool cpuFigures()
{
    Simulators sim;
    QTemporaryDir folder;
    const QString turnarounds = folder.filePath("turnaround.log");
    if (!sim.start(1, Baud, 1, {"--turnaround-log", turnarounds})) {
        std::fprintf(stderr, "the transmitter simulator did not start\n");
        return false;
    }
    const QString port = sim.devices().first();
    const rw::SettingsTable table;
    const QString tableFile = folder.filePath("bench.tbl");
    QFile f(tableFile);
    if (!f.open(QIODevice::WriteOnly) || f.write(table.buildImage()) != 2048)
        return false;
    f.close();

    CpuRuns runs;
    coreWrites(port, table, runs);
    windowWrites(port, runs);
    manyPortWrites(tableFile, runs);
    printRuns(runs, turnarounds);
    if (!runs.ok)
        std::fprintf(stderr, "a Write of the CPU figures failed\n");
    return runs.ok;
}
