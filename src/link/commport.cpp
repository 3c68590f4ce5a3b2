#include "commport.h"

#include "linebackend.h"
#include "linetrace.h"

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
    line->open({baudRate_, dataBits_, parity_, stopBits_});
    line_ = line.release();
    line_->setParent(this);
    lost_ = false;
    watchLine();
    open_ = true;
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
    LineBackend *line = line_;
    line_ = nullptr;
    open_ = false;
    lost_ = false;
    line->disconnect(this);
    if (trace_)
        trace_->flush(portName_);
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
    char c = 0;
    if (!line_->readByte(c))
        throw error(ReadFailed);
    if (trace_)
        trace_->received(portName_, static_cast<uint8_t>(c));
    return static_cast<uint8_t>(c);
}

uint32_t TCommPort::BytesAvailable()
{
    requireOpen(LineStatusFailed);
    return static_cast<uint32_t>(line_->bytesAvailable());
}

void TCommPort::Purge()
{
    requireOpen(PurgeFailed);
    if (!line_->purge())
        throw error(PurgeFailed);
}

void TCommPort::WakeWhenAvailable(int count)
{
    requireOpen(LineStatusFailed);
    line_->wakeWhenAvailable(count);
}

void TCommPort::TakePending()
{
    requireOpen(LineStatusFailed);
    line_->takePending();
}

} // namespace rw
