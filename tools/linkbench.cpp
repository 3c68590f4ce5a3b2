// How close Write and Read come to the speed of the line: runs both against the
// transmitter simulator paced at 19200 baud and prints wall time, the time the bytes
// exchanged need on the wire, their ratio, and the CPU time the program used.
// Targets: ratio at most 1.10, CPU time under 5 % of the wall time.

#include "link/commport.h"
#include "link/framecodec.h"
#include "link/transferview.h"
#include "link/transmittercommands.h"
#include "link/waitclock.h"
#include "model/settingstable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

constexpr int Blocks = 16;
constexpr int BlockBytes = 128;
constexpr double BitsPerByte = 10;

// The window stand-in: only the messages matter here.
class QuietView : public rw::TransferView {
public:
    explicit QuietView(QString port) : port_(std::move(port)) {}
    void setStatusText(const QString &) override {}
    void setProgressRange(int, int) override {}
    void setProgressPosition(int) override {}
    void repaintProgress() override {}
    void setWindowEnabled(bool) override {}
    void warn(const QString &text) override { messages << text; }
    void plainMessage(const QString &text) override { messages << text; }
    QString selectedPortName() const override { return port_; }
    void refreshControls() override {}
    QStringList messages;

private:
    QString port_;
};

struct Figures {
    double wallSeconds;
    double cpuSeconds;
};

Figures measure(const std::function<void()> &run)
{
    QElapsedTimer wall;
    const std::clock_t cpu = std::clock();
    wall.start();
    run();
    return {wall.nsecsElapsed() / 1e9, double(std::clock() - cpu) / CLOCKS_PER_SEC};
}

void print(const char *what, const Figures &f, int bytes, int baud)
{
    const double wire = bytes * BitsPerByte / baud;
    std::printf("%-6s wall %.3f s   wire limit %.3f s (%d bytes)   ratio %.3f   "
                "CPU %.3f s (%.1f %% of wall)\n",
                what, f.wallSeconds, wire, bytes, f.wallSeconds / wire, f.cpuSeconds,
                100 * f.cpuSeconds / f.wallSeconds);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int baud = 19200;

    QProcess simulator;
    simulator.setProgram(QCoreApplication::applicationDirPath() + "/rw830kt_txsim");
    simulator.setArguments({"--baud", QString::number(baud)});
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator.start();
    if (!simulator.waitForStarted() || !simulator.waitForReadyRead()) {
        std::fprintf(stderr, "the transmitter simulator did not start\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(simulator.readLine()).trimmed();

    rw::SettingsTable table;
    rw::TCommPort &port = rw::TCommPort::instance();
    QuietView view(device);
    rw::TransmitterCommands commands(port, view, rw::WaitClock::standard());

    const Figures write = measure([&] { commands.Write(table); });
    const Figures read = measure([&] { commands.Read(table); });
    simulator.terminate();
    simulator.waitForFinished();

    std::printf("Against the simulator at %d baud, 10 bits a byte:\n", baud);
    print("Write", write,
          Blocks * (rw::frame::writeRequestSize(BlockBytes) + rw::frame::AckSize +
                    rw::frame::ReadRequestSize + rw::frame::readReplySize(BlockBytes)),
          baud);
    print("Read", read,
          Blocks * (rw::frame::ReadRequestSize + rw::frame::readReplySize(BlockBytes)), baud);
    if (view.messages != QStringList{"Write Success !", "Read Success !"}) {
        std::fprintf(stderr, "transfers failed: %s\n", qPrintable(view.messages.join(", ")));
        return 1;
    }
    return 0;
}
