// SPDX-License-Identifier: GPL-3.0-or-later
#include "networkfigures.h"

#include "link/line/commport.h"
#include "link/line/waitclock.h"
#include "link/protocol/transmittercommands.h"
#include "measure.h"
#include "model/settingstable.h"
#include "serialserver.h"
#include "simulators.h"
#include "spread.h"
#include "standins.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int Baud = rw::TransmitterBaudRate;
// Each way in turn, this many times: the medians hold beside other work on the machine.
constexpr int Runs = 3;
// What a networked line may cost beyond the local one.
constexpr double Target = 1.06;

struct Way {
    const char *name;
    QString port;
    std::vector<double> wall;
    double cpu = 0;
};

// One Write to `way`'s port; false when it failed.
bool writeOnce(Way &way)
{
    const rw::SettingsTable table;
    rw::TCommPort line;
    QuietView view(way.port);
    rw::TransmitterCommands commands(line, view, rw::WaitClock::standard());
    const Figures f = measure([&] { commands.Write(table); });
    way.wall.push_back(f.wallSeconds);
    way.cpu += f.cpuSeconds;
    if (view.messages == QStringList{"Write Success !"})
        return true;
    std::fprintf(stderr, "a Write to %s failed: %s\n", way.name,
                 qPrintable(view.messages.join(", ")));
    return false;
}

} // namespace

bool networkFigures()
{
    if (rw::SerialServer::program().isEmpty()) {
        std::printf("network: ser2net is not installed (scripts/install-deps.sh network)\n");
        return true;
    }
    // A transmitter's UART sends its replies byte by byte: a server that passes on a
    // reply's first byte at once and holds the rest until it is acknowledged shows here.
    // Each way has a transmitter of its own: a server lets a second connection to the same
    // line in only once the first has let go of it.
    Simulators local, telnet, raw;
    rw::SerialServer telnetServer, rawServer;
    if (!local.start(1, Baud, 1) || !telnet.start(1, Baud, 1) || !raw.start(1, Baud, 1) ||
        !telnetServer.start(telnet.devices().first()) || !rawServer.start(raw.devices().first())) {
        std::fprintf(stderr, "the simulators or ser2net did not start\n");
        return false;
    }
    std::vector<Way> ways{{"local", local.devices().first(), {}, 0},
                          {"rfc2217", telnetServer.rfc2217(), {}, 0},
                          {"socket", rawServer.raw(), {}, 0}};
    bool ok = true;
    for (int i = 0; i < Runs; ++i)
        for (Way &way : ways)
            ok = writeOnce(way) && ok;
    const double localWall = spreadOf(ways[0].wall).median;
    std::printf("Write through ser2net on the loopback address, replies paced byte by byte "
                "(median of %d runs each):\n",
                Runs);
    for (const Way &way : ways) {
        const Spread s = spreadOf(way.wall);
        std::printf("  %-8s wall %6.3f s  (%.3f..%.3f)  wire ratio %.3f  CPU %6.3f s", way.name,
                    s.median, s.least, s.most, s.median / wireSeconds(writeWireBytes(), Baud),
                    way.cpu / Runs);
        if (&way != &ways[0])
            std::printf("  %.3f times local  target %.2f%s", s.median / localWall, Target,
                        s.median / localWall <= Target ? "" : "  MISSED");
        std::printf("\n");
    }
    return ok;
}
