// SPDX-License-Identifier: GPL-3.0-or-later
#include "processcpu.h"

#include "childcpu.h"
#include "link/protocol/transmittercommands.h"
#include "model/settingstable.h"
#include "simulators.h"
#include "spread.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

namespace {

// Enough runs that a median holds beside other work on the machine: a Write takes its
// line time, a start alone a few milliseconds, so each Write has several starts beside it.
constexpr int Runs = 9;
constexpr int StartsPerRun = 5;

struct Samples {
    std::vector<double> write, version, bare;
    bool ok = true;

    void add(std::vector<double> &to, double cpu)
    {
        ok = ok && cpu >= 0;
        to.push_back(cpu);
    }
};

// The three kinds of run one after another, again and again, so that whatever else the
// machine does falls on all three alike.
Samples interleavedRuns(const QString &port, const QString &tableFile)
{
    Samples s;
    const QString cli = QStringLiteral(RW830KT_CLI);
    for (int i = 0; i < Runs; ++i) {
        s.add(s.write, cpuOfRun(cli, {"write", "-q", "-p", port, tableFile}));
        for (int k = 0; k < StartsPerRun; ++k) {
            s.add(s.version, cpuOfRun(cli, {"--version"}));
            s.add(s.bare, cpuOfRun(QStringLiteral(RW830KT_BARE_QT), {}));
        }
    }
    return s;
}

void printMs(const char *what, const Spread &s)
{
    std::printf("  %-40s %6.1f ms  (%.1f..%.1f)\n", what, s.median * 1000, s.least * 1000,
                s.most * 1000);
}

} // namespace

bool processCpuFigures()
{
    Simulators sim;
    QTemporaryDir folder;
    if (!sim.start(1, rw::TransmitterBaudRate, 1)) {
        std::fprintf(stderr, "the transmitter simulator did not start\n");
        return false;
    }
    const QString tableFile = folder.filePath("bench.tbl");
    QFile f(tableFile);
    if (!f.open(QIODevice::WriteOnly) || f.write(rw::SettingsTable().buildImage()) != 2048)
        return false;
    f.close();

    const Samples s = interleavedRuns(sim.devices().first(), tableFile);
    const Spread write = spreadOf(s.write), version = spreadOf(s.version), bare = spreadOf(s.bare);
    std::printf("CPU of whole processes, byte-paced Write (medians of %d interleaved Writes "
                "and %d starts of each program, least..most):\n",
                Runs, Runs * StartsPerRun);
    printMs("rw830kt-cli write", write);
    printMs("rw830kt-cli --version", version);
    printMs("a bare QCoreApplication program", bare);
    const double share = (write.median - version.median) * 1000;
    std::printf("  %-40s %6.1f ms  target 10 ms%s\n", "the Write's share (write - --version)",
                share, share <= 10 ? "" : "  MISSED");
    const double start = version.median / bare.median;
    std::printf("  %-40s %6.2f     target 1.2%s\n", "--version / the bare program", start,
                start <= 1.2 ? "" : "  MISSED");
    if (!s.ok)
        std::fprintf(stderr, "a run of the process CPU figures failed\n");
    return s.ok;
}
