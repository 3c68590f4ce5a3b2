// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowline.h"

#include "app/frmmain.h"
#include "link/line/waitclock.h"
#include "link/protocol/transmittercommands.h"
#include "link/run/portjobs.h"
#include "model/settingstable.h"
#include "simulators.h"
#include "standins.h"
#include "windowfolder.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Writes = 5;
// A Write's requests; each but the first follows a reply of the same Write.
constexpr std::size_t TurnaroundsInAWrite = 2 * rw::TransferBlockCount - 1;
constexpr double TargetWorstUs = 10000;

// Processes that each keep a core busy, at the benchmark's own priority, while they live;
// each in a session of its own, as a program started from elsewhere is (the system shares
// the computer between sessions before it shares a session between its threads).
class BusyProcesses {
public:
    explicit BusyProcesses(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto p = std::make_unique<QProcess>();
            p->start(QStringLiteral("setsid"), {QStringLiteral("sh"), QStringLiteral("-c"),
                                                QStringLiteral("while :; do :; done")});
            if (p->waitForStarted())
                processes_.push_back(std::move(p));
        }
    }
    ~BusyProcesses()
    {
        for (auto &p : processes_) {
            p->kill();
            p->waitForFinished();
        }
    }
    BusyProcesses(const BusyProcesses &) = delete;
    BusyProcesses &operator=(const BusyProcesses &) = delete;

private:
    std::vector<std::unique_ptr<QProcess>> processes_;
};

// The turnarounds the simulator wrote into `log` since it was last emptied, in
// microseconds, the log emptied again. Only the last Write's own: the pause before its
// first request belongs to whatever came before it.
std::vector<double> takeWriteTurnarounds(const QString &log)
{
    std::vector<double> us;
    QFile f(log);
    if (!f.open(QIODevice::ReadWrite))
        return us;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (!line.isEmpty())
            us.push_back(line.toDouble());
    f.resize(0);
    if (us.size() > TurnaroundsInAWrite)
        us.erase(us.begin(), us.end() - TurnaroundsInAWrite);
    return us;
}

// Runs Writes by `write` (true when one succeeded) and prints the turnarounds within them.
bool measureWrites(const std::function<bool()> &write, const QString &log, const char *path,
                   const char *beside)
{
    std::vector<double> all, worst;
    takeWriteTurnarounds(log);
    for (int i = 0; i < Writes; ++i) {
        const bool written = write();
        const std::vector<double> us = takeWriteTurnarounds(log);
        if (!written || us.size() != TurnaroundsInAWrite)
            return false;
        all.insert(all.end(), us.begin(), us.end());
        worst.push_back(*std::max_element(us.begin(), us.end()));
    }
    std::sort(all.begin(), all.end());
    const double median = all[all.size() / 2];
    const double most = *std::max_element(worst.begin(), worst.end());
    std::printf("%-7s byte by byte   turnaround in a Write, %-29s median %5.0f us  worst %6.0f "
                "us (each Write's:",
                path, beside, median, most);
    for (double w : worst)
        std::printf(" %.0f", w);
    std::printf(")  target worst %.0f us%s\n", TargetWorstUs,
                most <= TargetWorstUs ? "" : "  MISSED");
    return true;
}

} // namespace

bool windowLineFigures()
{
    QTemporaryDir logFolder;
    const QString log = logFolder.filePath("turnaround.log");
    Simulators sim;
    const bool started =
        sim.start(1, rw::TransmitterBaudRate, 1, {QStringLiteral("--turnaround-log"), log});
    const WindowFolder folder(sim.devices());
    if (!started || !folder.ok()) {
        std::fprintf(stderr, "the transmitter simulator did not start\n");
        return false;
    }
    AnsweringDialogs dialogs;
    rw::SettingsTable table;
    bool ok = true;
    {
        rw::TfmMain window(table, dialogs);
        window.show();
        QApplication::processEvents();
        const auto windowWrite = [&] {
            const qsizetype before = dialogs.texts.size();
            window.mnuWriteClick();
            return dialogs.texts.mid(before) == QStringList{QStringLiteral("Write Success !")};
        };
        // The same Write on a port's own thread of the parallel runner, as rw830kt-cli writes:
        // what the machine allows a thread that waits for the line.
        const auto runnerWrite = [&] {
            return rw::runOnPorts(sim.devices(),
                                  [&](rw::TCommPort &port, rw::TransferView &view) {
                                      return rw::TransmitterCommands(port, view,
                                                                     rw::WaitClock::standard())
                                          .Write(table);
                                  })
                .first()
                .ok;
        };
        for (const bool loaded : {false, true}) {
            const BusyProcesses busy(loaded ? 2 : 0);
            const char *beside = loaded ? "beside 2 CPU-bound processes:" : "the machine as it is:";
            ok = measureWrites(windowWrite, log, "window", beside) && ok;
            ok = measureWrites(runnerWrite, log, "runner", beside) && ok;
        }
        window.hide();
    }
    if (!ok)
        std::fprintf(stderr, "a Write of the window's line figures failed\n");
    return ok;
}
