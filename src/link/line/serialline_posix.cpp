// SPDX-License-Identifier: GPL-3.0-or-later
// A serial device on Linux: Qt SerialPort, with the terminal reached directly for its
// byte-count wake threshold and its queues (wakethreshold.h).
#include "serialline.h"

#include "commport.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QThread>
#include <algorithm>

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
        // The system's own words for it ("Inappropriate ioctl for device"), for the user.
        const QString systemReason = serial->errorString();
        delete serial;
        throw ECommError{why == QSerialPort::UnsupportedOperationError ? LineSetupRefused
                                                                       : OpenFailed,
                         static_cast<uint32_t>(why), systemReason};
    }
    // A line without modem control (a pseudo-terminal) cannot raise DTR and RTS; the
    // transmitter's line works without them, so that is not an error.
    serial->setDataTerminalReady(true);
    serial->setRequestToSend(true);
    serial->clearError();
    serial_ = serial;
    lost_ = false;
    held_.clear();
    wake_.forget();
    const QCoreApplication *app = QCoreApplication::instance();
    direct_ = app && QThread::currentThread() != app->thread();
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
    held_.clear();
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
    if (!serial_)
        return true;
    // The port sets the terminal's whole state again, wake threshold included.
    wake_.forget();
    return serial_->setBaudRate(static_cast<qint32>(baudRate));
}

bool SerialLine::write(const char *buffer, qint64 count)
{
    // Straight to the system's queue when nothing of the port's own waits before it: the
    // frame is on its way with one call, without a round through the write notifier.
    if (serial_->bytesToWrite() == 0) {
        const qint64 n = writeSystemQueue(*serial_, buffer, count);
        if (n == count)
            return true;
        if (n > 0) {
            buffer += n;
            count -= n;
        }
    }
    if (serial_->write(buffer, count) != count)
        return false;
    // Hand the rest to the line now rather than on the next pass of the event loop.
    serial_->flush();
    return true;
}

bool SerialLine::readByte(char &byte)
{
    return readBytes(&byte, 1) == 1;
}

qint64 SerialLine::readBytes(char *buffer, qint64 max)
{
    // What was taken from the system's queue came before anything in the port's buffer.
    const qint64 held = std::min<qint64>(max, held_.size());
    std::copy_n(held_.constData(), held, buffer);
    held_.remove(0, held);
    if (held == max)
        return held;
    const qint64 n = serial_->read(buffer + held, max - held);
    return n < 0 ? (held > 0 ? held : n) : held + n;
}

qint64 SerialLine::bytesAvailable()
{
    return held_.size() + serial_->bytesAvailable();
}

bool SerialLine::purge()
{
    held_.clear();
    return serial_->clear(QSerialPort::Input) && serial_->clear(QSerialPort::Output);
}

void SerialLine::wakeWhenAvailable(int count)
{
    // The threshold stays set from one wait to the next: a reply's last bytes are mostly
    // the same few, so it changes seldom, and asking the terminal costs calls each time.
    wake_.set(*serial_, count);
}

void SerialLine::setWatching(bool watching)
{
    // The port's read notification is its one watch on the device; switched off, the event
    // loop no longer polls the device, and the terminal layer (which wakes a poller at
    // every byte, whatever the wake threshold) has nobody to wake. A line that waits
    // directly runs no event loop while it waits: nobody polls it anyway.
    if (direct_)
        return;
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
    const qint64 waiting = systemBytesWaiting(*serial_);
    if (waiting == 0)
        return;
    if (waiting > 0) {
        // Keep the order: what the port's buffer holds came first.
        if (serial_->bytesAvailable() > 0)
            held_ += serial_->readAll();
        const qint64 before = held_.size();
        const qint64 room = std::max<qint64>(0, InputQueueSize - before);
        held_.resize(before + std::min(waiting, room));
        const qint64 n = readSystemQueue(*serial_, held_.data() + before, held_.size() - before);
        held_.resize(before + std::max<qint64>(n, 0));
        if (n >= 0)
            return;
    }
    // Where the queue cannot be reached directly (or its read failed, which the port then
    // reports), let the port look with a threshold of one byte.
    wakeWhenAvailable(1);
    serial_->waitForReadyRead(0);
}

bool SerialLine::waitDirectly(int wallMs, bool forBytes)
{
    if (!direct_)
        return false;
    switch (waitForLine(*serial_, forBytes, wallMs)) {
    case LineWait::Unsupported:
        direct_ = false;
        return false;
    case LineWait::Readable:
        takePending();
        break;
    case LineWait::Failed:
        // The port reads the failure and reports it as it does from its notifier.
        serial_->waitForReadyRead(0);
        break;
    case LineWait::Elapsed:
        break;
    }
    return true;
}

uint32_t SerialLine::systemError() const
{
    return serial_ ? static_cast<uint32_t>(serial_->error()) : 0;
}

} // namespace rw

namespace rw {

std::unique_ptr<LineBackend> makeSerialLine(const QString &portName)
{
    return std::make_unique<SerialLine>(portName);
}

} // namespace rw
