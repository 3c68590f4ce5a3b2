// SPDX-License-Identifier: GPL-3.0-or-later
// Transmitters behind a serial server on the network: the real port code against Debian's
// ser2net on the loopback address, in front of the simulator's pseudo-terminal, both as
// rfc2217://HOST:PORT and as socket://HOST:PORT.

#include "fastclock.h"
#include "filledtable.h"
#include "link/line/commport.h"
#include "link/line/networkline.h"
#include "link/line/waitclock.h"
#include "link/protocol/transmittercommands.h"
#include "link/run/portjobs.h"
#include "model/settingstable.h"
#include "recordingview.h"
#include "serialserver.h"
#include "simulator.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <arpa/inet.h>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using namespace rw;

namespace {

// The tests that need ser2net are skipped, saying so, where it is not installed.
#define REQUIRE_SERIAL_SERVER()                                                                    \
    do {                                                                                           \
        if (SerialServer::program().isEmpty())                                                     \
            QSKIP("ser2net is not installed (scripts/install-deps.sh network)");                   \
    } while (false)

const QString OpenFailedText = QStringLiteral("Error opening comm port. Port already in use?");

// A server on the loopback address that answers each new connection with `greeting`,
// the request to set the baud rate with `answer`, and nothing else: a telnet server that
// will not set the line, or a raw one.
class FakeServer {
public:
    FakeServer(QByteArray greeting, QByteArray answer)
        : greeting_(std::move(greeting)), answer_(std::move(answer))
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket *s = server_.nextPendingConnection()) {
                s->write(greeting_);
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    if (s->readAll().contains(QByteArray("\xFF\xFA\x2C\x01", 4)))
                        s->write(answer_);
                });
            }
        });
    }
    QString name() const
    {
        return QStringLiteral("rfc2217://127.0.0.1:%1").arg(server_.serverPort());
    }

private:
    QByteArray greeting_;
    QByteArray answer_;
    QTcpServer server_;
};

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// Confirmations of 19200 baud, 8 data bits, no parity, one stop bit.
QByteArray confirmsTheLine()
{
    return bytes({0xFF, 0xFA, 0x2C, 0x65, 0x00, 0x00, 0x4B, 0x00, 0xFF, 0xF0, 0xFF,
                  0xFA, 0x2C, 0x66, 0x08, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x67, 0x01,
                  0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x68, 0x01, 0xFF, 0xF0});
}

// A server on the loopback address that, once its opening (and, when `setsTheLine`, the
// confirmation of the line settings) is sent, sends `flood` without end as fast as the
// connection takes it. With `reads` false it stops reading what comes back.
class HostileServer {
public:
    HostileServer(bool setsTheLine, QByteArray opening, QByteArray flood, bool reads)
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [=, this] {
            while (QTcpSocket *s = server_.nextPendingConnection()) {
                const auto pump = [s, flood] {
                    while (s->state() == QAbstractSocket::ConnectedState &&
                           s->bytesToWrite() < 65536)
                        s->write(flood);
                };
                const auto attack = [s, pump, reads] {
                    if (!reads)
                        s->setReadBufferSize(1); // takes one byte, then nothing more
                    QObject::connect(s, &QTcpSocket::bytesWritten, s, pump);
                    s->write(QByteArray(1, '\0'));
                };
                s->write(bytes({0xFF, 0xFD, 0x2C}) + opening);
                if (!setsTheLine) {
                    attack();
                    continue;
                }
                QObject::connect(s, &QTcpSocket::readyRead, s, [s, attack] {
                    if (s->property("attacking").toBool())
                        return (void)s->readAll();
                    if (!s->readAll().contains(QByteArray("\xFF\xFA\x2C\x01", 4)))
                        return;
                    s->setProperty("attacking", true);
                    s->write(confirmsTheLine());
                    attack();
                });
            }
        });
    }
    QString name() const
    {
        return QStringLiteral("rfc2217://127.0.0.1:%1").arg(server_.serverPort());
    }

private:
    QTcpServer server_;
};

// The most memory the process has held so far, in KiB.
long peakMemoryKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class TestNetworkLine : public QObject {
    Q_OBJECT

    // The messages of a Write (or Read) through the server to a simulator with `faults`.
    QStringList failedTransfer(bool rfc2217, const QStringList &faults, bool read)
    {
        SimulatorProcess sim;
        SerialServer server;
        if (!sim.start(faults) || !server.start(sim.device()))
            return {"simulator or server did not start"};
        TCommPort port;
        RecordingView view(port, rfc2217 ? server.rfc2217() : server.raw());
        TransmitterCommands commands(port, view, fastClock());
        SettingsTable table = tableOf('\x33');
        const QByteArray before = table.buildImage();
        const bool ok = (read ? commands.Read(table) : commands.Write(table)).ok();
        if (ok)
            return {"the transfer succeeded"};
        checkEndedCleanly(view, port);
        if (table.buildImage() != before)
            return {"the table changed"};
        return view.messages;
    }

private slots:
    void networkPortNamesAreReadAsServerAndPort()
    {
        const auto a = parseNetworkPortName("rfc2217://bench-7.example.net:4001");
        QVERIFY(a);
        QVERIFY(a->rfc2217);
        QCOMPARE(a->host, QStringLiteral("bench-7.example.net"));
        QCOMPARE(a->port, 4001);
        const auto b = parseNetworkPortName("SOCKET://192.168.1.20:2000");
        QVERIFY(b);
        QVERIFY(!b->rfc2217);
        QCOMPARE(b->host, QStringLiteral("192.168.1.20"));
        const auto c = parseNetworkPortName("socket://[::1]:3000");
        QVERIFY(c);
        QCOMPARE(c->host, QStringLiteral("::1"));
        QCOMPARE(c->port, 3000);
        QVERIFY(!parseNetworkPortName("rfc2217://bench-7"));
        QVERIFY(!parseNetworkPortName("rfc2217://:4001"));
        QVERIFY(!parseNetworkPortName("rfc2217://host:70000"));
        QVERIFY(!parseNetworkPortName("/dev/ttyUSB0"));
        QVERIFY(isNetworkPortName("rfc2217://bench-7"));
        QVERIFY(!isNetworkPortName("ttyS0"));
    }

    void anImageFullOf0xFFGoesThereAndBackByteExact_data()
    {
        QTest::addColumn<bool>("rfc2217");
        QTest::newRow("rfc2217") << true;
        QTest::newRow("socket") << false;
    }
    void anImageFullOf0xFFGoesThereAndBackByteExact()
    {
        REQUIRE_SERIAL_SERVER();
        QFETCH(bool, rfc2217);
        SimulatorProcess sim;
        SerialServer server;
        QVERIFY(sim.start());
        QVERIFY(server.start(sim.device()));
        const QString name = rfc2217 ? server.rfc2217() : server.raw();
        TCommPort port;
        RecordingView view(port, name);
        TransmitterCommands commands(port, view, fastClock());
        QVERIFY2(commands.Write(tableOf('\xFF')), qPrintable(view.messages.join(" / ")));
        QCOMPARE(view.messages, QStringList{"Write Success !"});
        checkEndedCleanly(view, port);
        QCOMPARE(sim.memory(), memoryOf('\xFF'));
        // Every request arrived whole: 16 writes of 145 bytes, 16 reads of 18.
        const QList<QByteArray> requests = sim.requests();
        QCOMPARE(requests.size(), 32);
        QCOMPARE(requests[0].size(), 145);
        QCOMPARE(requests[0].mid(15, 128), QByteArray(128, '\xFF'));
        QCOMPARE(requests[31].size(), 18);

        SettingsTable table = tableOf('\x00');
        view.messages.clear();
        QVERIFY(commands.Read(table));
        QCOMPARE(view.messages, QStringList{"Read Success !"});
        QCOMPARE(table.buildImage(), memoryOf('\xFF'));
        checkEndedCleanly(view, port);
    }

    void transmitterFaultsFailAsOnALocalPort_data()
    {
        QTest::addColumn<bool>("rfc2217");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QStringList>("expected");
        for (bool rfc : {true, false}) {
            const char *form = rfc ? "rfc2217" : "socket";
            QTest::addRow("%s verify mismatch", form)
                << rfc << QStringList{"--verify-mismatch", "2"} << false
                << QStringList{"Verify Error !"};
            QTest::addRow("%s silent transmitter", form)
                << rfc << QStringList{"--silent-after", "0"} << false
                << QStringList{"Write Error !"};
            QTest::addRow("%s reply cut short", form)
                << rfc << QStringList{"--truncate", "3"} << true << QStringList{"Read Error !"};
        }
    }
    void transmitterFaultsFailAsOnALocalPort()
    {
        REQUIRE_SERIAL_SERVER();
        QFETCH(bool, rfc2217);
        QFETCH(QStringList, faults);
        QFETCH(bool, read);
        QFETCH(QStringList, expected);
        const QStringList messages = failedTransfer(rfc2217, faults, read);
        QVERIFY2(messages == expected, qPrintable(messages.join(" / ")));
    }

    void theServerStoppedMidWriteEndsTheWriteWithItsReason_data()
    {
        QTest::addColumn<bool>("rfc2217");
        QTest::newRow("rfc2217") << true;
        QTest::newRow("socket") << false;
    }
    void theServerStoppedMidWriteEndsTheWriteWithItsReason()
    {
        REQUIRE_SERIAL_SERVER();
        QFETCH(bool, rfc2217);
        SimulatorProcess sim;
        SerialServer server;
        QVERIFY(sim.start());
        QVERIFY(server.start(sim.device()));
        TCommPort port;
        ActingView view(port, rfc2217 ? server.rfc2217() : server.raw());
        // The server goes away once the third block is written and verified.
        QElapsedTimer sinceStop;
        view.onPosition = [&](int p) {
            if (p == 384) {
                server.stop();
                sinceStop.start();
            }
        };
        QVERIFY(!TransmitterCommands(port, view, WaitClock::standard()).Write(tableOf('\x44')));
        QVERIFY2(view.messages.size() == 2, qPrintable(view.messages.join(" / ")));
        QVERIFY2(view.messages[0].contains("closed the connection"), qPrintable(view.messages[0]));
        QCOMPARE(view.messages[1], QStringLiteral("Write Error !"));
        checkEndedCleanly(view, port);
        // Told when the connection closed, not after the next byte's time-out of 3 s.
        QVERIFY2(sinceStop.elapsed() < 2900, qPrintable(QString::number(sinceStop.elapsed())));
    }

    void refusedAndUnknownServersAreToldWithTheirReason()
    {
        const quint16 closed = freeLoopbackPort();
        const QString refused = QStringLiteral("rfc2217://127.0.0.1:%1").arg(closed);
        const QString unknown = QStringLiteral("socket://rw830kt-no-such-host.invalid:4001");
        const QString malformed = QStringLiteral("rfc2217://bench-7");
        const QStringList expected[] = {
            {OpenFailedText + QStringLiteral("\n\n127.0.0.1 refuses the connection: no serial "
                                             "server listens on port %1 there. Check the port "
                                             "number and that the server runs.")
                                  .arg(closed),
             "Write Error !"},
            {OpenFailedText + "\n\nThe host rw830kt-no-such-host.invalid is not known. Check "
                              "its name, or give its address.",
             "Write Error !"},
            {OpenFailedText + "\n\nThe port name rfc2217://bench-7 does not name a server: write "
                              "it as rfc2217://HOST:PORT or socket://HOST:PORT.",
             "Write Error !"},
        };
        int i = 0;
        for (const QString &name : {refused, unknown, malformed}) {
            TCommPort port;
            RecordingView view(port, name);
            QVERIFY(!TransmitterCommands(port, view, fastClock()).Write(tableOf('\x01')));
            QCOMPARE(view.messages, expected[i++]);
            checkEndedCleanly(view, port);
        }
    }

    void aServerThatWillNotSetTheLineIsToldWithinAShortTime_data()
    {
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("reason");
        const QByteArray takesTheOption = bytes({0xFF, 0xFD, 0x2C});
        // Confirmations of the line as the server had it before the request.
        const QByteArray stale =
            bytes({0xFF, 0xFA, 0x2C, 0x65, 0x00, 0x00, 0x4B, 0x00, 0xFF, 0xF0, 0xFF,
                   0xFA, 0x2C, 0x66, 0x08, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x67, 0x01,
                   0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x68, 0x01, 0xFF, 0xF0});
        QTest::newRow("silent") << QByteArray() << QByteArray()
                                << "did not answer the telnet negotiation";
        QTest::newRow("refuses the option") << bytes({0xFF, 0xFB, 0x03, 0xFF, 0xFE, 0x2C})
                                            << QByteArray() << "refuses to set the line";
        // Takes the option up, then confirms one setting other than asked for.
        const auto confirms = [&](int baudHigh, int baudLow, int dataBits, int parity, int stop) {
            return bytes({0xFF, 0xFA, 0x2C, 0x65, 0x00, 0x00,   baudHigh, baudLow,
                          0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x66,   dataBits, 0xFF,
                          0xF0, 0xFF, 0xFA, 0x2C, 0x67, parity, 0xFF,     0xF0,
                          0xFF, 0xFA, 0x2C, 0x68, stop, 0xFF,   0xF0});
        };
        const QString wanted = " instead of 19200 baud, 8 data bits, no parity, one stop bit.";
        QTest::newRow("other baud rate")
            << takesTheOption << confirms(0x25, 0x80, 8, 1, 1)
            << "it set 9600 baud, 8 data bits, no parity, one stop bit" + wanted;
        QTest::newRow("other data size")
            << takesTheOption << confirms(0x4B, 0x00, 7, 1, 1)
            << "it set 19200 baud, 7 data bits, no parity, one stop bit" + wanted;
        QTest::newRow("other parity")
            << takesTheOption << confirms(0x4B, 0x00, 8, 3, 1)
            << "it set 19200 baud, 8 data bits, even parity, one stop bit" + wanted;
        QTest::newRow("other stop size")
            << takesTheOption << confirms(0x4B, 0x00, 8, 1, 2)
            << "it set 19200 baud, 8 data bits, no parity, two stop bits" + wanted;
        QTest::newRow("no confirmations")
            << takesTheOption << QByteArray() << "did not confirm the line settings";
        QTest::newRow("only confirmations from before the request")
            << takesTheOption + stale << QByteArray() << "did not confirm the line settings";
    }
    void aServerThatWillNotSetTheLineIsToldWithinAShortTime()
    {
        QFETCH(QByteArray, greeting);
        QFETCH(QByteArray, answer);
        QFETCH(QString, reason);
        FakeServer server(greeting, answer);
        // A set-up time-out of half a second: the rows that wait for it end soon.
        NetworkLine line(server.name(), ConnectTimeoutMs, 500);
        QElapsedTimer took;
        took.start();
        try {
            line.open({19200, 8, 0, 1});
            QFAIL("the line opened");
        } catch (const ECommError &e) {
            QCOMPARE(e.Code, LineSetupRefused);
            QVERIFY2(e.Detail.startsWith("The server at 127.0.0.1:"), qPrintable(e.Detail));
            QVERIFY2(e.Detail.contains(reason), qPrintable(e.Detail));
        }
        QVERIFY(!line.usable());
        QVERIFY2(took.elapsed() < 3000, qPrintable(QString::number(took.elapsed())));
    }

    void aServerWithoutEndInItsNegotiationIsCutOffWithBoundedMemory_data()
    {
        QTest::addColumn<bool>("setsTheLine");
        QTest::addColumn<QByteArray>("opening");
        QTest::addColumn<QByteArray>("flood");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<QString>("first");
        const QByteArray subnegotiation = bytes({0xFF, 0xFA, 0x2C, 0x6A});
        QByteArray requests;
        for (int i = 0; i < 1024; ++i)
            requests += bytes({0xFF, 0xFB, 0x01}); // WILL ECHO, refused each time
        const QString opening = "Error opening comm port.\n\nThe server at 127.0.0.1:";
        const QString during =
            "The serial port stopped working during the transfer (the server at 127.0.0.1:";
        QTest::newRow("endless subnegotiation while the line is set up")
            << false << subnegotiation << QByteArray(4096, 'x') << true << opening;
        QTest::newRow("endless requests, never read, while the line is set up")
            << false << QByteArray() << requests << false << opening;
        QTest::newRow("endless subnegotiation during the write")
            << true << QByteArray() << subnegotiation + QByteArray(4096, 'x') << true << during;
        QTest::newRow("endless requests, never read, during the write")
            << true << QByteArray() << requests << false << during;
    }
    void aServerWithoutEndInItsNegotiationIsCutOffWithBoundedMemory()
    {
        QFETCH(bool, setsTheLine);
        QFETCH(QByteArray, opening);
        QFETCH(QByteArray, flood);
        QFETCH(bool, reads);
        QFETCH(QString, first);
        HostileServer server(setsTheLine, opening, flood, reads);
        const long before = peakMemoryKiB();
        TCommPort port;
        RecordingView view(port, server.name());
        QVERIFY(!TransmitterCommands(port, view, WaitClock::standard()).Write(tableOf('\x01')));
        // Cut off for what it sent, not timed out: the message says which.
        QCOMPARE(view.messages.size(), 2);
        QVERIFY2(view.messages[0].startsWith(first), qPrintable(view.messages[0]));
        QVERIFY2(view.messages[0].contains("sent an endless telnet negotiation"),
                 qPrintable(view.messages[0]));
        QCOMPARE(view.messages[1], QStringLiteral("Write Error !"));
        checkEndedCleanly(view, port);
#ifndef __SANITIZE_ADDRESS__
        // Server and line together; a sanitizer's build keeps freed memory for a while.
        QVERIFY2(peakMemoryKiB() - before < 32 * 1024,
                 qPrintable(QString::number(peakMemoryKiB() - before)));
#endif
    }

    void aServerThatNeverAcceptsTimesOutWithTheReason()
    {
        // A listening socket whose queue of connections (one, for a backlog of 0) is full:
        // the system drops further connection attempts unanswered, as a firewall does.
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(fd, reinterpret_cast<sockaddr *>(&address), length) == 0);
        QVERIFY(::listen(fd, 0) == 0);
        QVERIFY(::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        const quint16 port = ntohs(address.sin_port);
        std::vector<std::unique_ptr<QTcpSocket>> fillers;
        for (int i = 0; i < 2; ++i) {
            fillers.push_back(std::make_unique<QTcpSocket>());
            fillers.back()->connectToHost(QHostAddress::LocalHost, port);
            fillers.back()->waitForConnected(2000);
        }
        const QString name = QStringLiteral("rfc2217://127.0.0.1:%1").arg(port);
        NetworkLine line(name, 1500);
        QElapsedTimer took;
        took.start();
        try {
            line.open({19200, 8, 0, 1});
            ::close(fd);
            QSKIP("this system took the connection into a full queue");
        } catch (const ECommError &e) {
            ::close(fd);
            QCOMPARE(e.Code, OpenFailed);
            QCOMPARE(e.Detail,
                     QStringLiteral("127.0.0.1:%1 did not answer within 1.5 s: the host is "
                                    "switched off or out of reach, or a firewall drops the "
                                    "connection. Check the address and the network.")
                         .arg(port));
            QVERIFY(took.elapsed() >= 1400);
        }
    }

    void aParallelWriteReachesTwoRemoteAndOneLocalTransmitter()
    {
        REQUIRE_SERIAL_SERVER();
        SimulatorProcess a, b, c;
        SerialServer serverA, serverB;
        QVERIFY(a.start());
        QVERIFY(b.start());
        QVERIFY(c.start());
        QVERIFY(serverA.start(a.device()));
        QVERIFY(serverB.start(b.device()));
        const SettingsTable table = tableOf('\xFF');
        const QList<PortJobState> states = runOnPorts(
            {serverA.rfc2217(), serverB.raw(), c.device()},
            [&table](TCommPort &port, TransferView &view) {
                return TransmitterCommands(port, view, WaitClock::standard()).Write(table);
            });
        QCOMPARE(states.size(), 3);
        for (const PortJobState &s : states) {
            QVERIFY2(s.ok, qPrintable(s.port + ": " + s.messages.join(" / ")));
            QCOMPARE(s.messages, QStringList{"Write Success !"});
        }
        QCOMPARE(a.memory(), memoryOf('\xFF'));
        QCOMPARE(b.memory(), memoryOf('\xFF'));
        QCOMPARE(c.memory(), memoryOf('\xFF'));
    }
};

QTEST_GUILESS_MAIN(TestNetworkLine)
#include "test_networkline.moc"
