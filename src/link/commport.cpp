// SPDX-License-Identifier: GPL-3.0-or-later
#include "commport.h"

#include "linetrace.h"
#include "wakethreshold.h"

#include <QCoreApplication>
#include <QSerialPort>

namespace rw {

namespace {

// The port's input queue: a storm of bytes on the line cannot grow memory beyond this
// while nobody reads.
constexpr qint64 InputQueueSize = 32768;

// What the user is told when the line fails while open; nothing for errors that do not
// end the line. A serial device never reads as empty or fails a read while it is there: a
// pseudo-terminal whose other side is gone reports read errors, an unplugged adapter a
// resource error, both again and again.
const char *lineFailure(QSerialPort::SerialPortError e)
{
    switch (e) {
    case QSerialPort::ResourceError:
        return "the device is no longer there";
    case QSerialPort::ReadError:
        return "the line cannot be read";
    case QSerialPort::WriteError:
        return "the line cannot be written";
    default:
        return nullptr;
    }
}

void closeProgramPort()
{
    TCommPort::instance().Close();
}

} // namespace

TCommPort::TCommPort() = default;

TCommPort::~TCommPort()
{
    Close();
}

TCommPort &TCommPort::instance()
{
    static TCommPort port;
    static const bool closedAtExit = [] {
        if (QCoreApplication::instance())
            qAddPostRoutine(closeProgramPort);
        return true;
    }();
    Q_UNUSED(closedAtExit);
    return port;
}

ECommError TCommPort::error(uint8_t code) const
{
    if (lost_)
        return {code, lostError_, lostDetail_};
    if (serial_)
        return {code, static_cast<uint32_t>(serial_->error()), {}};
    return {code, 0, {}};
}

void TCommPort::requireOpen(uint8_t failCode) const
{
    if (!open_)
        throw ECommError{PortNotOpen, 0, {}};
    if (lost_ || !serial_ || !serial_->isOpen())
        throw error(failCode);
}

void TCommPort::Open()
{
    if (open_)
        return;
    auto *serial = new QSerialPort(portName_, this);
    serial->setReadBufferSize(InputQueueSize);
    serial_ = serial;
    lost_ = false;
    const bool opened =
        serial->setBaudRate(static_cast<qint32>(baudRate_)) &&
        serial->setDataBits(static_cast<QSerialPort::DataBits>(dataBits_)) &&
        serial->setParity(parity_ == 2 ? QSerialPort::EvenParity : QSerialPort::NoParity) &&
        serial->setStopBits(stopBits_ == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        serial->setFlowControl(QSerialPort::NoFlowControl) && serial->open(QIODevice::ReadWrite);
    if (!opened) {
        const QSerialPort::SerialPortError why = serial->error();
        const ECommError e =
            error(why == QSerialPort::UnsupportedOperationError ? LineSetupRefused : OpenFailed);
        serial_ = nullptr;
        delete serial;
        throw e;
    }
    // A line without modem control (a pseudo-terminal) cannot raise DTR and RTS; the
    // transmitter's line works without them, so that is not an error.
    serial->setDataTerminalReady(true);
    serial->setRequestToSend(true);
    serial->clearError();
    watchLine();
    open_ = true;
}

void TCommPort::watchLine()
{
    connect(serial_, &QSerialPort::readyRead, this, &TCommPort::activity);
    connect(serial_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::NoError)
            return;
        if (!lost_ && lineFailure(e)) {
            lost_ = true;
            lostError_ = static_cast<uint32_t>(e);
            lostDetail_ = lineFailure(e);
            // Qt reports a vanished device again and again while it stays open; close
            // it once control is back in an event loop, outside this signal.
            QSerialPort *serial = serial_;
            QMetaObject::invokeMethod(
                serial, [serial] { serial->close(); }, Qt::QueuedConnection);
        }
        emit activity();
    });
}

void TCommPort::Close()
{
    if (!open_)
        return;
    QSerialPort *serial = serial_;
    serial_ = nullptr;
    open_ = false;
    lost_ = false;
    serial->disconnect(this);
    if (trace_)
        trace_->flush(portName_);
    if (serial->isOpen())
        serial->close();
    delete serial;
}

void TCommPort::SetBaudRate(uint32_t baudRate)
{
    const uint32_t old = baudRate_;
    baudRate_ = baudRate;
    if (open_ && serial_ && !serial_->setBaudRate(static_cast<qint32>(baudRate))) {
        baudRate_ = old;
        throw error(BaudRateRefused);
    }
}

void TCommPort::SetPortName(const QString &name)
{
    if (open_)
        throw ECommError{RenameWhileOpen, 0, {}};
    portName_ = name;
}

void TCommPort::Connect(uint32_t baudRate, const QString &name, int lineFormat)
{
    switch (lineFormat) {
    case 0:
        dataBits_ = 7;
        parity_ = 2;
        stopBits_ = 2;
        break;
    case 1:
        dataBits_ = 8;
        parity_ = 0;
        stopBits_ = 1;
        break;
    default:
        dataBits_ = 8;
        parity_ = 0;
        stopBits_ = 2;
        break;
    }
    Close();
    SetBaudRate(baudRate);
    SetPortName(name);
    Open();
}

void TCommPort::Write(const char *buffer, qint64 count)
{
    requireOpen(WriteFailed);
    if (!buffer || count <= 0)
        return;
    if (trace_)
        trace_->sent(portName_, buffer, count);
    if (serial_->write(buffer, count) != count)
        throw error(WriteFailed);
    // Hand the frame to the line now rather than on the next pass of the event loop.
    serial_->flush();
}

uint8_t TCommPort::ReadByte()
{
    requireOpen(ReadFailed);
    char c = 0;
    if (serial_->read(&c, 1) != 1)
        throw error(ReadFailed);
    if (trace_)
        trace_->received(portName_, static_cast<uint8_t>(c));
    return static_cast<uint8_t>(c);
}

uint32_t TCommPort::BytesAvailable()
{
    requireOpen(LineStatusFailed);
    return static_cast<uint32_t>(serial_->bytesAvailable());
}

void TCommPort::Purge()
{
    requireOpen(PurgeFailed);
    if (!serial_->clear(QSerialPort::Input) || !serial_->clear(QSerialPort::Output))
        throw error(PurgeFailed);
}

void TCommPort::WakeWhenAvailable(int count)
{
    requireOpen(LineStatusFailed);
    setWakeThreshold(*serial_, count);
}

void TCommPort::TakePending()
{
    requireOpen(LineStatusFailed);
    setWakeThreshold(*serial_, 1);
    serial_->waitForReadyRead(0);
}

} // namespace rw
