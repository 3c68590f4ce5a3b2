// SPDX-License-Identifier: GPL-3.0-or-later
#include "networkline.h"

#include <algorithm>

#include "commport.h"
#include "socketoptions.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

namespace rw {

namespace {

// As on a serial port: a storm of bytes cannot grow memory beyond this while nobody reads;
// the server then waits, as a full serial driver makes the line wait.
constexpr qint64 InputQueueSize = 32768;

QString seconds(int ms)
{
    return QString::number(ms / 1000.0, 'g', 3);
}

// Line settings in words, from the COM-PORT-OPTION's codes.
QString describeLine(int64_t baud, int64_t dataBits, int64_t parity, int64_t stopSize)
{
    static const char *const parities[] = {"parity unknown", "no parity",   "odd parity",
                                           "even parity",    "mark parity", "space parity"};
    static const char *const stops[] = {"stop bits unknown", "one stop bit", "two stop bits",
                                        "1.5 stop bits"};
    return QStringLiteral("%1 baud, %2 data bits, %3, %4")
        .arg(baud)
        .arg(dataBits)
        .arg(QLatin1String(parity >= 1 && parity <= 5 ? parities[parity] : parities[0]),
             QLatin1String(stopSize >= 1 && stopSize <= 3 ? stops[stopSize] : stops[0]));
}

uint8_t parityCode(int parity)
{
    return parity == 2 ? 3 : 1; // even, or none
}

} // namespace

NetworkLine::NetworkLine(const QString &portName, int connectTimeoutMs, int lineSetupTimeoutMs)
    : portName_(portName), connectTimeoutMs_(connectTimeoutMs),
      lineSetupTimeoutMs_(lineSetupTimeoutMs)
{
}

NetworkLine::~NetworkLine()
{
    close();
}

void NetworkLine::fail(uint8_t code, uint32_t systemError, const QString &detail)
{
    close();
    throw ECommError{code, systemError, detail};
}

template <typename Done> bool NetworkLine::waitFor(int ms, Done done)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto wake = [&loop] { loop.quit(); };
    const QMetaObject::Connection c1 = connect(socket_, &QTcpSocket::connected, &loop, wake);
    const QMetaObject::Connection c2 = connect(socket_, &QTcpSocket::readyRead, &loop, wake);
    const QMetaObject::Connection c3 = connect(socket_, &QTcpSocket::errorOccurred, &loop, wake);
    bool ok = false;
    for (;;) {
        if (done()) {
            ok = true;
            break;
        }
        const qint64 left = ms - elapsed.elapsed();
        if (left <= 0 || socket_->state() == QAbstractSocket::UnconnectedState)
            break;
        timer.start(static_cast<int>(left));
        // The window repaints meanwhile but takes no input: no second command can start.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    disconnect(c1);
    disconnect(c2);
    disconnect(c3);
    return ok;
}

void NetworkLine::open(const LineSettings &settings)
{
    const std::optional<NetworkAddress> address = parseNetworkPortName(portName_);
    if (!address)
        throw ECommError{OpenFailed, 0,
                         QStringLiteral("The port name %1 does not name a server: write it as "
                                        "rfc2217://HOST:PORT or socket://HOST:PORT.")
                             .arg(portName_)};
    rfc2217_ = address->rfc2217;
    server_ = QStringLiteral("%1:%2").arg(address->host).arg(address->port);
    codec_ = telnet::Codec();
    received_.clear();
    lost_ = false;
    endless_ = false;
    opening_ = true;
    connectToServer(*address);
    if (rfc2217_)
        setUpLine(settings);
    opening_ = false;
}

void NetworkLine::connectToServer(const NetworkAddress &address)
{
    socket_ = new QTcpSocket(this);
    socket_->setReadBufferSize(InputQueueSize);
    connect(socket_, &QTcpSocket::readyRead, this, [this] {
        // The server may hold a reply's rest until its first bytes are acknowledged.
        acknowledgeAtOnce(socket_->socketDescriptor());
        pull();
        emit activity();
    });
    connect(socket_, &QTcpSocket::errorOccurred, this, &NetworkLine::onSocketError);
    socket_->connectToHost(address.host, address.port);
    const bool connected = waitFor(
        connectTimeoutMs_, [this] { return socket_->state() == QAbstractSocket::ConnectedState; });
    if (connected) {
        // Every frame waits for its reply: hand each to the network at once, and
        // acknowledge the reply's bytes as they come.
        socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        acknowledgeAtOnce(socket_->socketDescriptor());
        return;
    }
    const QAbstractSocket::SocketError error = socket_->state() == QAbstractSocket::UnconnectedState
                                                   ? socket_->error()
                                                   : QAbstractSocket::SocketTimeoutError;
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        fail(OpenFailed, error,
             QStringLiteral("The host %1 is not known. Check its name, or give its address.")
                 .arg(address.host));
    case QAbstractSocket::ConnectionRefusedError:
        fail(OpenFailed, error,
             QStringLiteral("%1 refuses the connection: no serial server listens on port %2 "
                            "there. Check the port number and that the server runs.")
                 .arg(address.host)
                 .arg(address.port));
    case QAbstractSocket::SocketTimeoutError:
        fail(OpenFailed, error,
             QStringLiteral("%1 did not answer within %2 s: the host is switched off or "
                            "out of reach, or a firewall drops the connection. Check the "
                            "address and the network.")
                 .arg(server_, seconds(connectTimeoutMs_)));
    default:
        fail(OpenFailed, error,
             QStringLiteral("%1 cannot be reached (%2). Check the address and the network.")
                 .arg(server_, socket_->errorString()));
    }
}

void NetworkLine::setUpLine(const LineSettings &s)
{
    telnet::SerialSettings wanted;
    wanted.baudRate = s.baudRate;
    wanted.dataBits = static_cast<uint8_t>(s.dataBits);
    wanted.parity = parityCode(s.parity);
    wanted.stopBits = static_cast<uint8_t>(s.stopBits);
    socket_->write(codec_.start());
    socket_->flush();
    bool setupSent = false;
    // The server must take up the COM-PORT-OPTION and confirm the four line settings. Its
    // confirmation of the modem lines is not awaited: a server in front of a line without
    // them (a pseudo-terminal) may never give it, and the lines follow the settings anyway.
    const bool answered = waitFor(lineSetupTimeoutMs_, [&] {
        pull();
        if (endless_ || codec_.comPortRefused())
            return true;
        if (codec_.comPortAccepted() && !setupSent) {
            codec_.forgetConfirmations();
            socket_->write(telnet::lineSetup(wanted));
            socket_->flush();
            setupSent = true;
        }
        return codec_.lineConfirmed();
    });
    judgeSetUp(answered, wanted);
}

void NetworkLine::judgeSetUp(bool answered, const telnet::SerialSettings &wanted)
{
    const QString remedy =
        QStringLiteral(" Offer the line with RFC 2217 on the server, or set the server's line "
                       "to 19200 baud, 8 data bits, no parity, one stop bit and name the port "
                       "socket://%1.")
            .arg(server_);
    if (endless_)
        fail(LineSetupRefused, 0,
             QStringLiteral("The server at %1 sent an endless telnet negotiation. Check that "
                            "the port number is the serial server's.")
                 .arg(server_));
    if (socket_->state() != QAbstractSocket::ConnectedState)
        fail(LineSetupRefused, socket_->error(),
             QStringLiteral("The server at %1 closed the connection while the line was set up "
                            "(another program may be using the line).")
                 .arg(server_));
    if (codec_.comPortRefused())
        fail(LineSetupRefused, 0,
             QStringLiteral("The server at %1 refuses to set the line (it does not take up "
                            "the COM-PORT-OPTION).")
                     .arg(server_) +
                 remedy);
    if (!answered) {
        if (!codec_.serverSpoke())
            fail(LineSetupRefused, QAbstractSocket::SocketTimeoutError,
                 QStringLiteral("The server at %1 did not answer the telnet negotiation within "
                                "%2 s: it may offer the line raw. Name the port "
                                "socket://%1 then.")
                     .arg(server_, seconds(lineSetupTimeoutMs_)));
        fail(LineSetupRefused, QAbstractSocket::SocketTimeoutError,
             QStringLiteral("The server at %1 did not confirm the line settings within %2 s.")
                     .arg(server_, seconds(lineSetupTimeoutMs_)) +
                 remedy);
    }
    const bool asWanted = codec_.confirmed(telnet::SetBaudRate) == wanted.baudRate &&
                          codec_.confirmed(telnet::SetDataSize) == wanted.dataBits &&
                          codec_.confirmed(telnet::SetParity) == wanted.parity &&
                          codec_.confirmed(telnet::SetStopSize) == wanted.stopBits;
    if (!asWanted)
        fail(LineSetupRefused, 0,
             QStringLiteral("The server at %1 refuses the line settings: it set %2 instead of "
                            "%3.")
                     .arg(server_,
                          describeLine(codec_.confirmed(telnet::SetBaudRate),
                                       codec_.confirmed(telnet::SetDataSize),
                                       codec_.confirmed(telnet::SetParity),
                                       codec_.confirmed(telnet::SetStopSize)),
                          describeLine(wanted.baudRate, wanted.dataBits, wanted.parity,
                                       wanted.stopBits)) +
                 remedy);
}

void NetworkLine::pull()
{
    if (!socket_ || endless_)
        return;
    const qint64 room = InputQueueSize - received_.size();
    if (room <= 0)
        return;
    const QByteArray in = socket_->read(room);
    if (in.isEmpty())
        return;
    if (!rfc2217_) {
        received_ += in;
        return;
    }
    received_ += codec_.feed(in);
    const QByteArray replies = codec_.takeReplies();
    if (!replies.isEmpty() && socket_->state() == QAbstractSocket::ConnectedState) {
        socket_->write(replies);
        socket_->flush();
    }
    if (overwhelmed() && !opening_ && !lost_) {
        lost_ = true;
        emit lost(0, QStringLiteral("the server at %1 sent an endless telnet negotiation; check "
                                    "that the port number is the serial server's")
                         .arg(server_));
        emit activity();
    }
}

bool NetworkLine::overwhelmed()
{
    if (!endless_ && (codec_.endless() || socket_->bytesToWrite() > MaxUnreadAnswers))
        endless_ = true;
    return endless_;
}

void NetworkLine::onSocketError(QAbstractSocket::SocketError error)
{
    // open() tells what went wrong itself; a wait that ran out ends nothing.
    if (opening_ || lost_ || error == QAbstractSocket::SocketTimeoutError)
        return;
    // Whatever the server sent before it went stays readable.
    pull();
    lost_ = true;
    const QString detail =
        error == QAbstractSocket::RemoteHostClosedError
            ? QStringLiteral("the server at %1 closed the connection; check that it still runs "
                             "and that the network reaches it")
                  .arg(server_)
            : QStringLiteral("the connection to %1 failed: %2; check the network")
                  .arg(server_, socket_->errorString());
    emit lost(static_cast<uint32_t>(error), detail);
    emit activity();
}

void NetworkLine::close()
{
    if (!socket_)
        return;
    QTcpSocket *socket = socket_;
    socket_ = nullptr;
    socket->disconnect(this);
    if (socket->state() == QAbstractSocket::ConnectedState) {
        socket->flush();
        socket->disconnectFromHost();
    }
    socket->abort();
    delete socket;
    received_.clear();
}

bool NetworkLine::usable() const
{
    return socket_ && !lost_ && socket_->state() == QAbstractSocket::ConnectedState;
}

bool NetworkLine::setBaudRate(uint32_t baudRate)
{
    if (!socket_ || !rfc2217_)
        return true; // a raw line's rate is the server's
    const char value[4] = {char(baudRate >> 24), char(baudRate >> 16), char(baudRate >> 8),
                           char(baudRate)};
    socket_->write(telnet::comPortCommand(telnet::SetBaudRate, QByteArrayView(value, 4)));
    return socket_->flush() || socket_->bytesToWrite() == 0;
}

bool NetworkLine::write(const char *buffer, qint64 count)
{
    const QByteArray wire =
        rfc2217_ ? telnet::escapeData(QByteArrayView(buffer, count)) : QByteArray(buffer, count);
    if (socket_->write(wire) != wire.size())
        return false;
    socket_->flush();
    // A request makes the system expect a conversation and delay its acknowledgements
    // again: the reply's first bytes must not wait for that.
    acknowledgeAtOnce(socket_->socketDescriptor());
    return true;
}

bool NetworkLine::readByte(char &byte)
{
    if (received_.isEmpty())
        pull();
    if (received_.isEmpty())
        return false;
    byte = received_.front();
    received_.remove(0, 1);
    return true;
}

qint64 NetworkLine::readBytes(char *buffer, qint64 max)
{
    if (received_.isEmpty())
        pull();
    const qint64 n = std::min<qint64>(max, received_.size());
    if (n > 0) {
        std::copy_n(received_.constData(), n, buffer);
        received_.remove(0, n);
    }
    return n;
}

qint64 NetworkLine::bytesAvailable()
{
    pull();
    return received_.size();
}

bool NetworkLine::purge()
{
    pull();
    received_.clear();
    return true;
}

void NetworkLine::wakeWhenAvailable(int)
{
    // Bytes come off the network in packets, not one at a time: nothing to save here.
}

void NetworkLine::takePending()
{
    pull();
}

uint32_t NetworkLine::systemError() const
{
    return socket_ ? static_cast<uint32_t>(socket_->error()) : 0;
}

} // namespace rw
