// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the RW830KT on a pseudo-terminal: prints the device path to open as the
// serial port, then answers write and read requests from its 2048-byte settings memory.
// Used by the tests, the link benchmark and the demo.

#include "base/profilefile.h"
#include "base/safefile.h"
#include "base/settingsfile.h"
#include "base/version.h"
#include "link/line/promptwake.h"
#include "link/protocol/framecodec.h"
#include "pacedline.h"
#include "pseudoterminal.h"
#include "transmitter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <vector>

namespace {

struct Settings {
    int baud = 0;
    int latencyMs = 0;
    // A USB adapter's UART hands bytes over a small FIFO at a time.
    int chunkBytes = 16;
    QString loadFile;
    QString saveFile;
    QString logFile;
    QString turnaroundFile;
    QString settingsFile;
    Faults faults;
    bool version = false;
    bool tellRequests = false;
};

// An option that takes a number of 0 or more, and the setting it goes into.
struct IntOption {
    const char *name;
    const char *help;
    int *target;
};

std::vector<IntOption> intOptions(Settings &s)
{
    return {
        {"baud", "Pace replies at this baud rate, 10 bits a byte (0: no pacing).", &s.baud},
        {"latency", "Milliseconds before each reply starts.", &s.latencyMs},
        {"chunk", "Hand replies over N bytes at a time (default 16; 1 paces every byte).",
         &s.chunkBytes},
        {"silent-after", "Answer nothing after N requests.", &s.faults.silentAfter},
        {"hangup-after", "Disappear at the request after N requests.", &s.faults.hangUpAfter},
        {"storm-after", "Flood the line after N requests.", &s.faults.stormAfter},
        {"bad-checksum", "Spoil the checksum of the Nth reply.", &s.faults.badChecksum},
        {"bad-ack", "Spoil a header letter of the Nth acknowledgement.", &s.faults.badAckLetter},
        {"verify-mismatch", "Change a data byte of the Nth read reply.", &s.faults.verifyMismatch},
        {"garbage", "Send random bytes instead of the Nth reply.", &s.faults.garbage},
        {"truncate", "Send only the first half of the Nth reply.", &s.faults.truncate},
        {"extra", "Send five extra bytes after the Nth reply.", &s.faults.extraBytes},
        {"pause", "Stop halfway through the Nth reply for --pause-ms, then send the rest.",
         &s.faults.pause},
        {"pause-ms", "How long the pause of --pause lasts, in milliseconds.", &s.faults.pauseMs},
    };
}

bool parseArguments(const QCoreApplication &app, Settings &s)
{
    QCommandLineParser p;
    p.setApplicationDescription("Simulated RW830KT transmitter on a pseudo-terminal.");
    p.addHelpOption();
    p.addOption({"version", "Show the version and the licence."});
    p.addOption({"tell-requests",
                 "Print \"request N\" on standard output as each request is taken, before it is "
                 "answered, so that whoever started the simulator can act on it."});
    const std::vector<IntOption> ints = intOptions(s);
    for (const IntOption &o : ints)
        p.addOption({o.name, o.help, "N"});
    p.addOption({"load", "Start with the memory from this 2048-byte table file.", "file"});
    p.addOption({"save", "Keep the memory in this table file after every write.", "file"});
    p.addOption({"log", "Append every request received, in hex, one line each.", "file"});
    p.addOption({"turnaround-log",
                 "Append the microseconds from each reply's last byte to the next request, one "
                 "line each.",
                 "file"});
    p.addOption({"settings-file",
                 QStringLiteral("Name this port in the %1 key of section %2 of this settings "
                                "file (the program's %3), keeping every other line.")
                     .arg(rw::ExtraPortsKey, rw::SerialSection, rw::SettingsFileName),
                 "file"});
    p.process(app);
    if (p.isSet("version")) {
        s.version = true;
        return true;
    }
    for (const IntOption &o : ints) {
        if (!p.isSet(o.name))
            continue;
        bool ok = false;
        *o.target = p.value(o.name).toInt(&ok);
        if (!ok || *o.target < 0) {
            std::fprintf(stderr, "--%s needs a number of 0 or more\n", o.name);
            return false;
        }
    }
    s.loadFile = p.value("load");
    s.saveFile = p.value("save");
    s.logFile = p.value("log");
    s.turnaroundFile = p.value("turnaround-log");
    s.settingsFile = p.value("settings-file");
    s.tellRequests = p.isSet("tell-requests");
    return true;
}

bool loadMemory(const QString &path, QByteArray &memory)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() != Transmitter::MemorySize) {
        std::fprintf(stderr, "%s is no readable 2048-byte table file\n", qPrintable(path));
        return false;
    }
    memory = f.readAll();
    return memory.size() == Transmitter::MemorySize;
}

void saveMemory(const QString &path, const QByteArray &memory)
{
    const rw::WriteOutcome saved = rw::writeFileSafely(path, memory);
    if (!saved.ok)
        std::fprintf(stderr, "%s not saved: %s\n", qPrintable(path), qPrintable(saved.error));
}

void appendLine(const QString &path, const QByteArray &line)
{
    QFile f(path);
    if (f.open(QIODevice::Append | QIODevice::Text))
        f.write(line + '\n');
}

void printVersion()
{
    const QString text =
        QStringLiteral("rw830kt-simulator %1\n%2").arg(rw::ProgramVersion, rw::LicenceNotice);
    std::fputs(qPrintable(text), stdout);
}

// Opens the pseudo-terminal and, when a settings file is given, names it there; false
// after saying why on standard error.
bool openTerminal(PseudoTerminal &terminal, const QString &settingsFile)
{
    QString why;
    if (!terminal.open(&why)) {
        std::fprintf(stderr, "cannot make a pseudo-terminal: %s\n", qPrintable(why));
        return false;
    }
    if (!settingsFile.isEmpty()) {
        rw::ProfileFile settings(settingsFile);
        settings.write(rw::SerialSection, rw::ExtraPortsKey, terminal.devicePath());
        if (!settings.save()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(settingsFile));
            return false;
        }
    }
    return true;
}

// The simulator at work: the transmitter's memory, the line it answers on and the bytes
// received that make no whole request yet.
struct Station {
    const Settings &settings;
    Transmitter &transmitter;
    PseudoTerminal &terminal;
    PacedLine &line;
    QByteArray pending;
    int taken = 0;

    // Answers every whole request among the bytes received so far.
    void received(const QByteArray &bytes)
    {
        pending.append(bytes);
        while (auto request = rw::frame::takeFrame(pending)) {
            if (!settings.logFile.isEmpty())
                appendLine(settings.logFile, request->raw.toHex());
            ++taken;
            if (settings.tellRequests) {
                std::printf("request %d\n", taken);
                std::fflush(stdout);
            }
            const Transmitter::Answer a = transmitter.answer(*request);
            if (a.wrote && !settings.saveFile.isEmpty())
                saveMemory(settings.saveFile, transmitter.memory());
            switch (a.action) {
            case Transmitter::Action::Reply:
                line.sendReply(a.bytes, a.pauseAt, settings.faults.pauseMs);
                break;
            case Transmitter::Action::Storm:
                line.startStorm();
                break;
            case Transmitter::Action::HangUp:
                line.stop();
                terminal.hangUp();
                QCoreApplication::exit(0);
                return;
            case Transmitter::Action::Ignore:
                break;
            }
        }
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Settings s;
    if (!parseArguments(app, s))
        return 2;
    if (s.version) {
        printVersion();
        return 0;
    }
    Transmitter transmitter(s.faults);
    if (!s.loadFile.isEmpty() && !loadMemory(s.loadFile, transmitter.memory()))
        return 2;

    PseudoTerminal terminal;
    if (!openTerminal(terminal, s.settingsFile))
        return 1;
    // The path comes last: whoever reads it may use the port, and the settings file, at once.
    std::printf("%s\n", qPrintable(terminal.devicePath()));
    std::fflush(stdout);

    // A transmitter answers as soon as a request is in: on a busy computer its stand-in
    // must not make the program look slow by waking late itself.
    rw::preferPromptWakeUps();
    PacedLine line(terminal.fd(), s.baud, s.latencyMs, s.chunkBytes);
    Station station{s, transmitter, terminal, line, {}, 0};
    line.onReceived = [&station](const QByteArray &bytes) { station.received(bytes); };
    if (!s.turnaroundFile.isEmpty())
        line.onTurnaround = [&s](qint64 us) {
            appendLine(s.turnaroundFile, QByteArray::number(us));
        };
    return app.exec();
}
