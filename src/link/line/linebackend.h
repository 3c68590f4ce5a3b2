// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What carries the port's bytes: a serial device on this computer, or a serial line that
// a server offers over the network. The port (TCommPort) keeps the rules every line shares
// (the open flag, the lost line, the trace); a line only moves bytes.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

namespace rw {

// The transmitter's line settings as the port holds them.
struct LineSettings {
    uint32_t baudRate = 9600;
    int dataBits = 8;
    int parity = 0;   // 0 none, 2 even
    int stopBits = 1; // 1 or 2
};

class LineBackend : public QObject {
    Q_OBJECT
public:
    // Opens the line with the settings, DTR and RTS on where the line has them; raises
    // ECommError (OpenFailed, or LineSetupRefused when the line refuses the settings).
    virtual void open(const LineSettings &settings) = 0;
    virtual void close() = 0;
    // Whether the line still carries bytes.
    virtual bool usable() const = 0;
    virtual bool setBaudRate(uint32_t baudRate) = 0;
    // Hands all the bytes to the line at once; false when it refuses them.
    virtual bool write(const char *buffer, qint64 count) = 0;
    virtual bool readByte(char &byte) = 0;
    // Takes up to `max` of the bytes that have arrived; -1 when the line fails.
    virtual qint64 readBytes(char *buffer, qint64 max) = 0;
    virtual qint64 bytesAvailable() = 0;
    // Discards what was received, then what is still to be sent.
    virtual bool purge() = 0;
    virtual void wakeWhenAvailable(int count) = 0;
    virtual void takePending() = 0;
    // While false the line wakes nobody, however many bytes arrive; they wait in the
    // system's queue. Lines whose bytes come in few packets need not do anything.
    virtual void setWatching(bool watching) { (void)watching; }
    // Sleeps on this thread without an event loop for at most `wallMs`: until the wake
    // threshold's bytes have come (when `forBytes`; they are then taken), the line fails,
    // or a stop is asked for. False at once where the line cannot wait so on this thread;
    // the caller's event loop waits then.
    virtual bool waitDirectly(int wallMs, bool forBytes)
    {
        (void)wallMs;
        (void)forBytes;
        return false;
    }
    // The system's code for the last failure, kept in ECommError::SystemError.
    virtual uint32_t systemError() const = 0;

signals:
    // Bytes arrived or the line reported an error: whoever waits should look again.
    void activity();
    // The line ended while open; said once, with the system's code and why in words.
    void lost(uint32_t systemError, const QString &detail);
};

// The line behind a port name: `rfc2217://HOST:PORT` and `socket://HOST:PORT` reach a
// serial line over the network, every other name a serial device here.
std::unique_ptr<LineBackend> makeLine(const QString &portName);
// The serial device of this name on this system (one file per system).
std::unique_ptr<LineBackend> makeSerialLine(const QString &portName);

} // namespace rw
