// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A transmitter's serial line offered by a server on the network (a networked serial
// box, or a computer running a serial server): `rfc2217://HOST:PORT` talks telnet with the
// COM-PORT-OPTION and sets the line to the transmitter's settings itself;
// `socket://HOST:PORT` sends the bytes as they are, the server holding the line settings.

#include "linebackend.h"
#include "networkportname.h"
#include "telnetcodec.h"

#include <QAbstractSocket>
#include <QByteArray>

class QTcpSocket;

namespace rw {

// How long the server may take to accept the connection, and to answer the line setup.
constexpr int ConnectTimeoutMs = 5000;
constexpr int LineSetupTimeoutMs = 3000;
// How many bytes of answers to the server's telnet requests may wait unread by it: a server
// that keeps asking and never reads would otherwise grow them without end.
constexpr qint64 MaxUnreadAnswers = 16384;

class NetworkLine : public LineBackend {
    Q_OBJECT
public:
    explicit NetworkLine(const QString &portName, int connectTimeoutMs = ConnectTimeoutMs,
                         int lineSetupTimeoutMs = LineSetupTimeoutMs);
    ~NetworkLine() override;

    void open(const LineSettings &settings) override;
    void close() override;
    bool usable() const override;
    bool setBaudRate(uint32_t baudRate) override;
    bool write(const char *buffer, qint64 count) override;
    bool readByte(char &byte) override;
    qint64 readBytes(char *buffer, qint64 max) override;
    qint64 bytesAvailable() override;
    bool purge() override;
    void wakeWhenAvailable(int count) override;
    void takePending() override;
    uint32_t systemError() const override;

private:
    void connectToServer(const NetworkAddress &address);
    void setUpLine(const LineSettings &settings);
    // Fails, telling why, unless the server `answered` the set-up with the settings wanted.
    void judgeSetUp(bool answered, const telnet::SerialSettings &wanted);
    // Waits, window events running but no input taken, until `done` holds or the time
    // is up; false at the time-out.
    template <typename Done> bool waitFor(int ms, Done done);
    // Moves what the server sent into the received data, answering its telnet requests.
    void pull();
    // The server sent a subnegotiation without end or does not read the answers to its
    // requests: nothing more is taken from it, and the line is lost (or its set-up fails).
    bool overwhelmed();
    void onSocketError(QAbstractSocket::SocketError error);
    [[noreturn]] void fail(uint8_t code, uint32_t systemError, const QString &detail);

    QString portName_;
    int connectTimeoutMs_;
    int lineSetupTimeoutMs_;
    QTcpSocket *socket_ = nullptr;
    bool rfc2217_ = false;
    telnet::Codec codec_;
    QByteArray received_;
    QString server_; // HOST:PORT, for the messages
    bool opening_ = false;
    bool lost_ = false;
    bool endless_ = false;
};

} // namespace rw
