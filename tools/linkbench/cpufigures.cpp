// SPDX-License-Identifier: GPL-3.0-or-later
#include "cpufigures.h"

#include "app/frmmain.h"
#include "link/line/commport.h"
#include "link/line/waitclock.h"
#include "link/protocol/transmittercommands.h"
#include "measure.h"
#include "model/settingstable.h"
#include "simulators.h"
#include "standins.h"
#include "windowfolder.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int Baud = rw::TransmitterBaudRate;
constexpr int Runs = 5;

struct Spread {
    double median = 0, least = 0, most = 0;
};

Spread spreadOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.front(), v.back()};
}

// CPU seconds the finished child processes have used so far.
double childrenCpu()
{
    rusage u{};
    ::getrusage(RUSAGE_CHILDREN, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// CPU seconds of one rw830kt-cli run with `args`; negative when it failed.
double cliRun(const QStringList &args)
{
    const double before = childrenCpu();
    QProcess cli;
    cli.start(QStringLiteral(RW830KT_CLI), args);
    if (!cli.waitForFinished(600000) || cli.exitStatus() != QProcess::NormalExit ||
        cli.exitCode() != 0)
        return -1;
    return childrenCpu() - before;
}

double cliWrite(const QStringList &ports, const QString &table)
{
    QStringList args{"write", "-q"};
    for (const QString &p : ports)
        args << "-p" << p;
    return cliRun(args << table);
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
    bool ok = true;

    std::vector<double> core, own, ratio, cli, start, window;
    rw::TCommPort line;
    QuietView view(port);
    rw::TransmitterCommands commands(line, view, rw::WaitClock::standard());
    for (int i = 0; i < Runs; ++i) {
        const Figures fig = measure([&] { ok = commands.Write(table).ok() && ok; });
        core.push_back(fig.cpuSeconds);
        ratio.push_back(fig.wallSeconds / wireSeconds(writeWireBytes(), Baud));
        const double o = ownThreadWrite(port, table);
        ok = o >= 0 && ok;
        own.push_back(o);
        const double c = cliWrite({port}, tableFile);
        ok = c >= 0 && ok;
        cli.push_back(c);
        // The part of the whole process that is the program's start and end alone.
        start.push_back(cliRun({"--version"}));
    }

    {
        const WindowFolder windowFolder({port});
        ok = windowFolder.ok() && ok;
        AnsweringDialogs dialogs;
        rw::SettingsTable shown;
        rw::TfmMain w(shown, dialogs);
        w.show();
        QApplication::processEvents();
        for (int i = 0; i < Runs; ++i)
            window.push_back(measure([&] { w.mnuWriteClick(); }).cpuSeconds);
        ok = dialogs.texts == QStringList(Runs, "Write Success !") && ok;
    }

    Simulators bench;
    std::vector<double> many;
    if (bench.start(64, Baud, 1)) {
        for (int i = 0; i < Runs; ++i) {
            const double c = cliWrite(bench.devices(), tableFile);
            ok = c >= 0 && ok;
            many.push_back(c);
        }
    } else {
        std::fprintf(stderr, "64 simulators did not start\n");
        ok = false;
    }

    std::printf("CPU per Write, replies paced byte by byte at %d baud; line time %.3f s "
                "(median of %d runs, least..most):\n",
                Baud, wireSeconds(writeWireBytes(), Baud), Runs);
    printFigure("core, window's thread", spreadOf(core), 15, "ms", 1000);
    printFigure("core, a port's own thread", spreadOf(own), 15, "ms", 1000);
    printFigure("rw830kt-cli write, whole process", spreadOf(cli), 20, "ms", 1000);
    const Spread st = spreadOf(start);
    std::printf("    %-32s %7.1f ms  (%.1f..%.1f)  as rw830kt-cli --version\n",
                "of which starting and ending", st.median * 1000, st.least * 1000, st.most * 1000);
    printFigure("window", spreadOf(window), 30, "ms", 1000);
    if (!many.empty())
        printFigure("rw830kt-cli, 64 ports at once", spreadOf(many), 250, "ms", 1000);
    // Measured by the simulator: from a reply's last byte to the next request's first, its
    // own wake-up included. Every Write above counts, whatever path it took; the pauses
    // between two runs are among the longest tenth.
    std::vector<double> gaps;
    QFile gapFile(turnarounds);
    if (gapFile.open(QIODevice::ReadOnly))
        for (const QByteArray &line : gapFile.readAll().split('\n'))
            if (!line.isEmpty())
                gaps.push_back(line.toDouble());
    if (!gaps.empty()) {
        std::sort(gaps.begin(), gaps.end());
        const double median = gaps[gaps.size() / 2];
        std::printf("  %-34s %7.0f us  (9 in 10 under %.0f us)  target 1000 us%s\n",
                    "turnaround, reply to next request", median, gaps[gaps.size() * 9 / 10],
                    median <= 1000 ? "" : "  MISSED");
    }
    const Spread r = spreadOf(ratio);
    std::printf("  %-34s %7.3f     (%.3f..%.3f)  target 1.02\n", "core wall / line time", r.median,
                r.least, r.most);
    if (!ok)
        std::fprintf(stderr, "a Write of the CPU figures failed\n");
    return ok;
}
