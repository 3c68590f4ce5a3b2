// SPDX-License-Identifier: GPL-3.0-or-later
// A serial device on Windows, through the system's comm calls: CreateFileW on \\.\COMn,
// GetCommState and SetCommState, SetCommTimeouts, SetupComm, ReadFile, WriteFile,
// ClearCommError and PurgeComm. Reads never block: the timeouts make ReadFile return at once
// with what has come, and a wait for a reply looks at the input queue every millisecond,
// sleeping on the stop request's event in between, so a stop wakes it at once. On the
// window's thread the wait keeps the window's events going as it looks.
#include "commport.h"
#include "linebackend.h"
#include "stoprequest.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSerialPort>
#include <QThread>
#include <algorithm>
#include <windows.h>

#include <timeapi.h> // after windows.h, whose types it uses

namespace rw {

namespace {

// The port's input queue: a storm of bytes on the line cannot grow memory beyond this
// while nobody reads.
constexpr qint64 InputQueueSize = 32768;

QString systemMessage(DWORD code)
{
    wchar_t *text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message = n ? QString::fromWCharArray(text, static_cast<int>(n)).trimmed()
                        : QStringLiteral("system error %1").arg(code);
    ::LocalFree(text);
    if (message.endsWith(u'.'))
        message.chop(1);
    return message;
}

// The failure in the words the port's other lines use (Qt's codes), for the reasons.
QSerialPort::SerialPortError openError(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return QSerialPort::DeviceNotFoundError;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return QSerialPort::PermissionError;
    default:
        return QSerialPort::OpenError;
    }
}

class WindowsSerialLine : public LineBackend {
public:
    explicit WindowsSerialLine(const QString &portName) : portName_(portName) {}
    ~WindowsSerialLine() override { close(); }

    void open(const LineSettings &s) override
    {
        // The device namespace reaches COM10 and above as well as COM1 to COM9.
        const QString device = portName_.startsWith(QLatin1String("\\\\.\\"))
                                   ? portName_
                                   : QStringLiteral("\\\\.\\") + portName_;
        handle_ =
            ::CreateFileW(reinterpret_cast<const wchar_t *>(device.utf16()),
                          GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            throw ECommError{OpenFailed, static_cast<uint32_t>(openError(code)),
                             systemMessage(code)};
        }
        ::SetupComm(handle_, 4096, 4096);
        COMMTIMEOUTS timeouts{};
        // Reads return at once with what has come; a write may take its line time and more.
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.WriteTotalTimeoutConstant = 5000;
        timeouts.WriteTotalTimeoutMultiplier = 2;
        if (!configure(s) || !::SetCommTimeouts(handle_, &timeouts)) {
            const DWORD code = ::GetLastError();
            close();
            throw ECommError{LineSetupRefused,
                             static_cast<uint32_t>(QSerialPort::UnsupportedOperationError),
                             systemMessage(code)};
        }
        // A millisecond's sleep lasts a millisecond while the port is open, not a tick of
        // the system's clock (up to 16 ms).
        timerPeriodSet_ = ::timeBeginPeriod(1) == TIMERR_NOERROR;
        lost_ = false;
        held_.clear();
        const QCoreApplication *app = QCoreApplication::instance();
        onWindowThread_ = app && QThread::currentThread() == app->thread();
        ::PurgeComm(handle_, PURGE_RXCLEAR | PURGE_TXCLEAR);
    }

    void close() override
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        if (timerPeriodSet_)
            ::timeEndPeriod(1);
        timerPeriodSet_ = false;
        held_.clear();
    }

    bool usable() const override { return handle_ != INVALID_HANDLE_VALUE && !lost_; }

    bool setBaudRate(uint32_t baudRate) override
    {
        if (handle_ == INVALID_HANDLE_VALUE)
            return true;
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(handle_, &dcb))
            return failed();
        dcb.BaudRate = baudRate;
        return ::SetCommState(handle_, &dcb) || failed();
    }

    bool write(const char *buffer, qint64 count) override
    {
        while (count > 0) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<qint64>(count, 65536));
            if (!::WriteFile(handle_, buffer, chunk, &written, nullptr) || written == 0)
                return failed();
            buffer += written;
            count -= written;
        }
        return true;
    }

    bool readByte(char &byte) override { return readBytes(&byte, 1) == 1; }

    qint64 readBytes(char *buffer, qint64 max) override
    {
        if (static_cast<qint64>(held_.size()) < max)
            takePending();
        const qint64 n = std::min<qint64>(max, held_.size());
        std::copy_n(held_.constData(), n, buffer);
        held_.remove(0, n);
        return lost_ && n == 0 ? -1 : n;
    }

    qint64 bytesAvailable() override { return held_.size() + std::max<qint64>(inputQueue(), 0); }

    bool purge() override
    {
        held_.clear();
        return ::PurgeComm(handle_,
                           PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR) ||
               failed();
    }

    void wakeWhenAvailable(int count) override { threshold_ = std::max(count, 1); }

    void takePending() override
    {
        const qint64 waiting = inputQueue();
        const qint64 room = InputQueueSize - held_.size();
        if (waiting <= 0 || room <= 0)
            return;
        const qint64 before = held_.size();
        held_.resize(before + std::min(waiting, room));
        DWORD got = 0;
        if (!::ReadFile(handle_, held_.data() + before, static_cast<DWORD>(held_.size() - before),
                        &got, nullptr))
            failed();
        held_.resize(before + got);
    }

    // Looks at the line every millisecond until the threshold's bytes have come, the line
    // fails, a stop is asked for, or the time is up; on the window's thread its events go
    // on meanwhile.
    bool waitDirectly(int wallMs, bool forBytes) override
    {
        const QDeadlineTimer deadline(std::max(wallMs, 0), Qt::PreciseTimer);
        const auto stop = reinterpret_cast<HANDLE>(stopWaitHandle());
        for (;;) {
            if (forBytes && bytesAvailable() >= threshold_) {
                takePending();
                emit activity();
                return true;
            }
            if (lost_ || stopRequested() || deadline.hasExpired())
                return true;
            if (onWindowThread_)
                QCoreApplication::processEvents(QEventLoop::AllEvents);
            const DWORD slice = static_cast<DWORD>(std::min<qint64>(1, deadline.remainingTime()));
            if (stop != reinterpret_cast<HANDLE>(-1))
                ::WaitForSingleObject(stop, slice);
            else
                ::Sleep(slice);
        }
    }

    uint32_t systemError() const override { return error_; }

private:
    bool configure(const LineSettings &s)
    {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(handle_, &dcb))
            return false;
        dcb.BaudRate = s.baudRate;
        dcb.ByteSize = static_cast<BYTE>(s.dataBits);
        dcb.Parity = s.parity == 2 ? EVENPARITY : NOPARITY;
        dcb.fParity = s.parity == 2;
        dcb.StopBits = s.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
        dcb.fBinary = TRUE;
        // No flow control; DTR and RTS on, which the transmitter's cable may power from.
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        return ::SetCommState(handle_, &dcb);
    }

    // How many bytes wait in the system's input queue; -1 when the line has failed.
    qint64 inputQueue()
    {
        if (handle_ == INVALID_HANDLE_VALUE || lost_)
            return -1;
        DWORD errors = 0;
        COMSTAT status{};
        if (!::ClearCommError(handle_, &errors, &status)) {
            failed();
            return -1;
        }
        return status.cbInQue;
    }

    // A failing call on an open port: the adapter is gone (or the line refuses work).
    bool failed()
    {
        if (!lost_) {
            lost_ = true;
            error_ = QSerialPort::ResourceError;
            emit lost(error_, QStringLiteral("the device is no longer there"));
            emit activity();
        }
        return false;
    }

    QString portName_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    QByteArray held_; // bytes taken from the system's queue, not yet read
    int threshold_ = 1;
    bool lost_ = false;
    bool onWindowThread_ = false;
    bool timerPeriodSet_ = false;
    uint32_t error_ = 0;
};

} // namespace

std::unique_ptr<LineBackend> makeSerialLine(const QString &portName)
{
    return std::make_unique<WindowsSerialLine>(portName);
}

} // namespace rw
