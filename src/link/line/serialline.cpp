// SPDX-License-Identifier: GPL-3.0-or-later
#include "serialline.h"

#include "commport.h"
#include "wakethreshold.h"

#include <QSerialPort>
#include <QSocketNotifier>

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

} // namespace

SerialLine::SerialLine(const QString &portName) : portName_(portName) {}

SerialLine::~SerialLine()
{
    close();
}

void SerialLine::open(const LineSettings &s)
{
    auto *serial = new QSerialPort(portName_, this);
    serial->setReadBufferSize(InputQueueSize);
    const bool opened =
        serial->setBaudRate(static_cast<qint32>(s.baudRate)) &&
        serial->setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)) &&
        serial->setParity(s.parity == 2 ? QSerialPort::EvenParity : QSerialPort::NoParity) &&
        serial->setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        serial->setFlowControl(QSerialPort::NoFlowControl) && serial->open(QIODevice::ReadWrite);
    if (!opened) {
        const QSerialPort::SerialPortError why = serial->error();
        delete serial;
        throw ECommError{why == QSerialPort::UnsupportedOperationError ? LineSetupRefused
                                                                       : OpenFailed,
                         static_cast<uint32_t>(why),
                         {}};
    }
    // A line without modem control (a pseudo-terminal) cannot raise DTR and RTS; the
    // transmitter's line works without them, so that is not an error.
    serial->setDataTerminalReady(true);
    serial->setRequestToSend(true);
    serial->clearError();
    serial_ = serial;
    lost_ = false;
    watchLine();
}

void SerialLine::watchLine()
{
    connect(serial_, &QSerialPort::readyRead, this, &LineBackend::activity);
    connect(serial_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::NoError)
            return;
        if (!lost_ && lineFailure(e)) {
            lost_ = true;
            // Qt reports a vanished device again and again while it stays open; close
            // it once control is back in an event loop, outside this signal.
            QSerialPort *serial = serial_;
            QMetaObject::invokeMethod(
                serial, [serial] { serial->close(); }, Qt::QueuedConnection);
            emit lost(static_cast<uint32_t>(e), QString::fromLatin1(lineFailure(e)));
        }
        emit activity();
    });
}

void SerialLine::close()
{
    if (!serial_)
        return;
    QSerialPort *serial = serial_;
    serial_ = nullptr;
    serial->disconnect(this);
    if (serial->isOpen())
        serial->close();
    delete serial;
}

bool SerialLine::usable() const
{
    return serial_ && !lost_ && serial_->isOpen();
}

bool SerialLine::setBaudRate(uint32_t baudRate)
{
    return !serial_ || serial_->setBaudRate(static_cast<qint32>(baudRate));
}

bool SerialLine::write(const char *buffer, qint64 count)
{
    if (serial_->write(buffer, count) != count)
        return false;
    // Hand the frame to the line now rather than on the next pass of the event loop.
    serial_->flush();
    return true;
}

bool SerialLine::readByte(char &byte)
{
    return serial_->read(&byte, 1) == 1;
}

qint64 SerialLine::readBytes(char *buffer, qint64 max)
{
    return serial_->read(buffer, max);
}

qint64 SerialLine::bytesAvailable()
{
    return serial_->bytesAvailable();
}

bool SerialLine::purge()
{
    return serial_->clear(QSerialPort::Input) && serial_->clear(QSerialPort::Output);
}

void SerialLine::wakeWhenAvailable(int count)
{
    setWakeThreshold(*serial_, count);
}

void SerialLine::setWatching(bool watching)
{
    // The port's read notification is its one watch on the device; switched off, the event
    // loop no longer polls the device, and the terminal layer (which wakes a poller at
    // every byte, whatever the wake threshold) has nobody to wake.
    for (QSocketNotifier *n : serial_->findChildren<QSocketNotifier *>()) {
        if (n->type() != QSocketNotifier::Read)
            continue;
        if (!watching && n->isEnabled()) {
            n->setEnabled(false);
            unwatched_ = true;
        } else if (watching && unwatched_) {
            n->setEnabled(true);
            unwatched_ = false;
        }
    }
}

void SerialLine::takePending()
{
    setWakeThreshold(*serial_, 1);
    serial_->waitForReadyRead(0);
}

uint32_t SerialLine::systemError() const
{
    return serial_ ? static_cast<uint32_t>(serial_->error()) : 0;
}

} // namespace rw
