// SPDX-License-Identifier: GPL-3.0-or-later
#include "commport.h"

#include "linebackend.h"
#include "linetrace.h"

#include <algorithm>

#include <QCoreApplication>

namespace rw {

namespace {

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
    if (line_)
        return {code, line_->systemError(), {}};
    return {code, 0, {}};
}

void TCommPort::requireOpen(uint8_t failCode) const
{
    if (!open_)
        throw ECommError{PortNotOpen, 0, {}};
    if (lost_ || !line_ || !line_->usable())
        throw error(failCode);
}

void TCommPort::Open()
{
    if (open_)
        return;
    std::unique_ptr<LineBackend> line = makeLine(portName_);
    try {
        line->open({baudRate_, dataBits_, parity_, stopBits_});
    } catch (const ECommError &e) {
        if (trace_)
            trace_->note(portName_, e.Detail.isEmpty()
                                        ? QStringLiteral("open failed")
                                        : QStringLiteral("open failed: %1").arg(e.Detail));
        throw;
    }
    line_ = line.release();
    line_->setParent(this);
    lost_ = false;
    watchLine();
    open_ = true;
    waitSinceNs_ = -1;
    if (trace_)
        trace_->note(portName_,
                     QStringLiteral("open at %1 baud, %2 data bits, %3 parity, %4 stop bit%5")
                         .arg(baudRate_)
                         .arg(dataBits_)
                         .arg(parity_ == 2 ? QStringLiteral("even") : QStringLiteral("no"))
                         .arg(stopBits_)
                         .arg(stopBits_ == 1 ? QString() : QStringLiteral("s")));
}

void TCommPort::watchLine()
{
    connect(line_, &LineBackend::activity, this, &TCommPort::activity);
    connect(line_, &LineBackend::lost, this, [this](uint32_t systemError, const QString &detail) {
        if (lost_)
            return;
        lost_ = true;
        lostError_ = systemError;
        lostDetail_ = detail;
    });
}

void TCommPort::Close()
{
    if (!open_)
        return;
    if (trace_)
        trace_->closed(portName_, lost_ ? QByteArray() : takeAllPending());
    LineBackend *line = line_;
    line_ = nullptr;
    open_ = false;
    lost_ = false;
    line->disconnect(this);
    line->close();
    delete line;
}

void TCommPort::SetBaudRate(uint32_t baudRate)
{
    const uint32_t old = baudRate_;
    baudRate_ = baudRate;
    if (open_ && line_ && !line_->setBaudRate(baudRate)) {
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
    if (!line_->write(buffer, count))
        throw error(WriteFailed);
}

uint8_t TCommPort::ReadByte()
{
    requireOpen(ReadFailed);
    const qint64 waiting = line_->bytesAvailable();
    char c = 0;
    if (!line_->readByte(c))
        throw error(ReadFailed);
    traceReceived(&c, 1, waiting);
    return static_cast<uint8_t>(c);
}

qint64 TCommPort::ReadBytes(char *buffer, qint64 max)
{
    requireOpen(ReadFailed);
    const qint64 waiting = line_->bytesAvailable();
    const qint64 n = line_->readBytes(buffer, std::min(max, waiting));
    if (n < 0 || (n == 0 && max > 0 && waiting > 0))
        throw error(ReadFailed);
    if (n > 0)
        traceReceived(buffer, n, waiting);
    return n;
}

void TCommPort::traceReceived(const char *bytes, qint64 count, qint64 waiting)
{
    if (trace_)
        trace_->received(portName_, QByteArrayView(bytes, count), waiting, waitSinceNs_);
    waitSinceNs_ = -1;
}

QByteArray TCommPort::takeAllPending()
{
    if (!line_ || !line_->usable())
        return {};
    // Bytes short of the wake threshold sit in the line unseen: fetch them first.
    line_->takePending();
    QByteArray all(line_->bytesAvailable(), Qt::Uninitialized);
    const qint64 n = all.isEmpty() ? 0 : line_->readBytes(all.data(), all.size());
    all.truncate(std::max<qint64>(n, 0));
    return all;
}

uint32_t TCommPort::BytesAvailable()
{
    requireOpen(LineStatusFailed);
    return static_cast<uint32_t>(line_->bytesAvailable());
}

void TCommPort::Purge()
{
    requireOpen(PurgeFailed);
    if (trace_)
        trace_->purged(portName_, takeAllPending());
    waitSinceNs_ = -1;
    if (!line_->purge())
        throw error(PurgeFailed);
}

void TCommPort::Note(const QString &text)
{
    if (trace_)
        trace_->note(portName_, text);
}

void TCommPort::WakeWhenAvailable(int count)
{
    requireOpen(LineStatusFailed);
    if (trace_ && waitSinceNs_ < 0)
        waitSinceNs_ = trace_->nowNs();
    line_->wakeWhenAvailable(count);
}

void TCommPort::WatchLine(bool watching)
{
    if (!open_ || !line_ || lost_)
        return;
    // Not watching is waiting too: for a reply still on its way.
    if (!watching && trace_ && waitSinceNs_ < 0)
        waitSinceNs_ = trace_->nowNs();
    line_->setWatching(watching);
}

bool TCommPort::WaitDirectly(int wallMs, bool forBytes)
{
    return open_ && line_ && !lost_ && line_->waitDirectly(wallMs, forBytes);
}

void TCommPort::TakePending()
{
    requireOpen(LineStatusFailed);
    line_->takePending();
}

} // namespace rw
