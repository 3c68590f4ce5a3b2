// SPDX-License-Identifier: GPL-3.0-or-later
// How close Write and Read come to the speed of the line, and what they cost, as a user
// meets them: against transmitter simulators paced at 19200 baud, with replies handed
// over 16 bytes at a time (a USB adapter's FIFO) and one byte at a time (a plain UART);
// through the core alone, through the real main window, writing one image to 1, 2 and 4
// transmitters at once, the window's bench of 4 beside its single Write, and with the line
// behind ser2net on the loopback address; the turnaround within the window's Writes, and
// how soon the window shows its first frame beside a plain Qt window.
// Targets: every transfer within 1.03 times the wire time of its bytes and under 2 % of a
// core; with 4 ports at once each port within 1.05 and the whole process under 5 %.

#include "app/benchdialog.h"
#include "app/frmmain.h"
#include "cpufigures.h"
#include "link/line/commport.h"
#include "link/line/waitclock.h"
#include "link/protocol/transferview.h"
#include "link/protocol/transmittercommands.h"
#include "link/run/portjobs.h"
#include "measure.h"
#include "model/settingstable.h"
#include "networkfigures.h"
#include "processcpu.h"
#include "simulators.h"
#include "standins.h"
#include "startfigures.h"
#include "windowfolder.h"
#include "windowline.h"

#include <QApplication>
#include <QTreeWidgetItem>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Baud = rw::TransmitterBaudRate;
bool failed = false;

void expect(const QStringList &messages, const QStringList &wanted, const char *what)
{
    if (messages != wanted) {
        std::fprintf(stderr, "%s failed: %s\n", what, qPrintable(messages.join(", ")));
        failed = true;
    }
}

void coreTransfers(int chunk, const char *replies)
{
    Simulators sim;
    if (!sim.start(1, Baud, chunk)) {
        std::fprintf(stderr, "the transmitter simulator did not start\n");
        std::exit(1);
    }
    rw::SettingsTable table;
    rw::TCommPort port;
    QuietView view(sim.devices().first());
    rw::TransmitterCommands commands(port, view, rw::WaitClock::standard());
    report("core", replies, "Write", measure([&] { commands.Write(table); }), writeWireBytes(),
           Baud);
    report("core", replies, "Read", measure([&] { commands.Read(table); }), readWireBytes(), Baud);
    expect(view.messages, {"Write Success !", "Read Success !"}, "core transfers");
}

// The real main window, its port list naming the simulator, driven through its menu
// handlers: the status text, the progress bar and the window's events all take part.
void windowTransfers(int chunk, const char *replies)
{
    Simulators sim;
    const bool started = sim.start(1, Baud, chunk);
    const WindowFolder folder(sim.devices());
    if (!started || !folder.ok()) {
        std::fprintf(stderr, "the transmitter simulator did not start\n");
        std::exit(1);
    }
    AnsweringDialogs dialogs;
    rw::SettingsTable table;
    {
        rw::TfmMain window(table, dialogs);
        window.show();
        QApplication::processEvents();
        report("window", replies, "Write", measure([&] { window.mnuWriteClick(); }),
               writeWireBytes(), Baud);
        report("window", replies, "Read", measure([&] { window.mnuReadClick(); }), readWireBytes(),
               Baud);
        window.hide();
    }
    expect(dialogs.texts, {"Write Success !", "Read Success !"}, "window transfers");
}

void parallelWrites(int ports)
{
    Simulators sim;
    if (!sim.start(ports, Baud, 1)) {
        std::fprintf(stderr, "the transmitter simulators did not start\n");
        std::exit(1);
    }
    const rw::SettingsTable table;
    std::vector<double> seconds(static_cast<std::size_t>(ports));
    QList<rw::PortJobState> states;
    const Figures whole = measure([&] {
        states = rw::runOnPorts(sim.devices(), [&](rw::TCommPort &port, rw::TransferView &view) {
            QElapsedTimer t;
            t.start();
            const rw::TransferOutcome outcome =
                rw::TransmitterCommands(port, view, rw::WaitClock::standard()).Write(table);
            const int i = static_cast<int>(sim.devices().indexOf(view.selectedPortName()));
            seconds[static_cast<std::size_t>(i)] = t.nsecsElapsed() / 1e9;
            return outcome;
        });
    });
    const double wire = wireSeconds(writeWireBytes(), Baud);
    double worst = 0;
    for (const rw::PortJobState &s : states) {
        if (!s.ok) {
            std::fprintf(stderr, "write to %s failed: %s\n", qPrintable(s.port),
                         qPrintable(s.messages.join(", ")));
            failed = true;
        }
    }
    for (double s : seconds)
        worst = std::max(worst, s / wire);
    std::printf("threads byte by byte   Write to %d port%s at once: worst port ratio %.3f  "
                "whole %6.3f s  CPU %6.3f s  %4.1f %% of a core\n",
                ports, ports == 1 ? " " : "s", worst, whole.wallSeconds, whole.cpuSeconds,
                100 * whole.cpuSeconds / whole.wallSeconds);
}

// The window's "Write to Several..." to 4 transmitters beside its single Write to one of
// them: the bench should take the time of one Write.
void windowBench()
{
    constexpr int Ports = 4;
    Simulators sim;
    const bool started = sim.start(Ports, Baud, 1);
    const WindowFolder folder(sim.devices());
    if (!started || !folder.ok()) {
        std::fprintf(stderr, "the transmitter simulators did not start\n");
        std::exit(1);
    }
    AnsweringDialogs dialogs;
    rw::SettingsTable table;
    QList<rw::BenchPortResult> results;
    dialogs.onDialog = [&](QDialog &d) {
        auto &bench = static_cast<rw::BenchDialog &>(d);
        for (const QString &port : sim.devices())
            bench.row(port)->setCheckState(rw::BenchDialog::PortColumn, Qt::Checked);
        bench.writeClick();
        results = bench.results();
    };
    {
        rw::TfmMain window(table, dialogs);
        window.show();
        QApplication::processEvents();
        const Figures single = measure([&] { window.mnuWriteClick(); });
        report("window", "byte by byte", "Write", single, writeWireBytes(), Baud);
        const Figures bench = measure([&] { window.mnuWriteToSeveralClick(); });
        std::printf("window  byte by byte   Write to Several, %d ports: wall %6.3f s  %.3f times "
                    "the single Write  CPU %6.3f s  %4.1f %% of a core\n",
                    Ports, bench.wallSeconds, bench.wallSeconds / single.wallSeconds,
                    bench.cpuSeconds, 100 * bench.cpuSeconds / bench.wallSeconds);
        window.hide();
    }
    expect(dialogs.texts, {"Write Success !"}, "window single write");
    QStringList words;
    for (const rw::BenchPortResult &r : results)
        words << rw::benchResultText(r);
    expect(words, QStringList(Ports, QStringLiteral("Write Success !")), "window bench");
}

} // namespace

int main(int argc, char *argv[])
{
    // The window needs no screen to be measured.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], FirstFrameChild) == 0)
        return firstFrameChild(argv[2], std::atoll(argv[3]), argc, argv);
    QApplication app(argc, argv);
    std::printf("Against simulators at %d baud, 10 bits a byte. Targets: ratio <= 1.03 and "
                "CPU < 2 %% of a core per transfer;\n4 ports at once: each port <= 1.05, the "
                "process < 5 %% of a core.\n",
                Baud);
    // One part alone when named: core, window, line, threads, bench, network, cpu or start.
    const QString only = app.arguments().value(1);
    if (only.isEmpty() || only == "core") {
        coreTransfers(16, "16-byte chunks");
        coreTransfers(1, "byte by byte");
    }
    if (only.isEmpty() || only == "window") {
        windowTransfers(16, "16-byte chunks");
        windowTransfers(1, "byte by byte");
    }
    if (only.isEmpty() || only == "line")
        failed = !windowLineFigures() || failed;
    if (only.isEmpty() || only == "threads") {
        for (int ports : {1, 2, 4})
            parallelWrites(ports);
    }
    if (only.isEmpty() || only == "bench")
        windowBench();
    if (only.isEmpty() || only == "network")
        failed = !networkFigures() || failed;
    if (only.isEmpty() || only == "cpu") {
        failed = !cpuFigures() || failed;
        failed = !processCpuFigures() || failed;
    }
    if (only.isEmpty() || only == "start")
        failed = !startFigures() || failed;
    return failed ? 1 : 0;
}
