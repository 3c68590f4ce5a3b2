// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one serial port, with the transmitter's line setup (DTR and RTS on, no
// flow control) on a serial device here or on a serial line offered over the network
// (see linebackend.h). Every failure raises ECommError. The operations the programming
// protocol uses on an open line are virtual, so that a stand-in line (fed from a test or a
// fuzzer) can take the place of a device.

#include <QObject>
#include <QString>
#include <cstdint>

namespace rw {

class LineBackend;
class LineTrace;

// What failed; the numbers are the port's error codes.
enum CommErrorCode : uint8_t {
    BaudRateRefused = 1,   // SetBaudRate on an open port that refused the rate
    RenameWhileOpen = 6,   // SetPortName while open
    PortNotOpen = 7,       // Write, ReadByte, BytesAvailable, Purge on a closed port
    OpenFailed = 8,        // missing, in use or no access
    WriteFailed = 9,       // the line is gone or refuses data
    ReadFailed = 10,       // the line is gone or a byte could not be read
    PurgeFailed = 12,      // the buffers could not be emptied
    LineSetupRefused = 15, // the device opened but refused the line settings
    LineStatusFailed = 18, // the line is gone while bytes were awaited
};

struct ECommError {
    uint8_t Code = 0;
    uint32_t SystemError = 0; // Qt's error code for the port at the time
    QString Detail;           // why the line failed, in words for the user; may be empty
};

class TCommPort : public QObject {
    Q_OBJECT
public:
    TCommPort();
    ~TCommPort() override; // closes the port

    // The one port of the program, closed when the application ends.
    static TCommPort &instance();

    virtual bool IsOpen() const { return open_; }
    // Opens the named port with the stored settings; nothing when already open.
    void Open();
    void Close();
    void SetBaudRate(uint32_t baudRate);
    void SetPortName(const QString &name);
    // Line format 0: 7 data bits, even parity, two stop bits; 1: 8 data bits, no parity,
    // one stop bit; anything else: 8 data bits, no parity, two stop bits. Closes, sets
    // rate and name, opens.
    void Connect(uint32_t baudRate, const QString &name, int lineFormat);
    // Sends the bytes in one piece; a null buffer or count 0 sends nothing.
    virtual void Write(const char *buffer, qint64 count);
    virtual uint8_t ReadByte();
    // Takes up to `max` of the bytes waiting, as one run; the count taken.
    virtual qint64 ReadBytes(char *buffer, qint64 max);
    virtual uint32_t BytesAvailable();
    // Discards what was received, then what is still to be sent.
    virtual void Purge();
    // Writes a line of its own into the trace, when there is one.
    void Note(const QString &text);
    // Lets `activity` wait until `count` bytes have arrived, where the line can do that,
    // instead of firing at every byte; a reply's bytes then cost one wake-up, not one each.
    virtual void WakeWhenAvailable(int count);
    // Takes whatever the line holds now, however few bytes: the last look before a time-out.
    virtual void TakePending();
    // While false, bytes that arrive wait in the system's queue and wake nobody (a reply
    // still on its way cannot be complete); true watches again. Nothing on a closed port.
    void WatchLine(bool watching);
    // Sleeps without an event loop for at most `wallMs`, where the line can on this thread:
    // until the bytes asked for by WakeWhenAvailable have come (when `forBytes`), the line
    // fails, or a stop is asked for. False at once where it cannot; then an event loop waits.
    bool WaitDirectly(int wallMs, bool forBytes);

    // Records what happens on the line from now on (every byte sent, taken, purged or left
    // unread, open and close); null stops it.
    void setTrace(LineTrace *trace) { trace_ = trace; }

    const QString &PortName() const { return portName_; }
    uint32_t BaudRate() const { return baudRate_; }

signals:
    // Bytes arrived or the line reported an error: whoever waits should look again.
    void activity();

private:
    void requireOpen(uint8_t failCode) const;
    ECommError error(uint8_t code) const;
    void watchLine();
    QByteArray takeAllPending();
    void traceReceived(const char *bytes, qint64 count, qint64 waiting);

    bool open_ = false;
    QString portName_ = QStringLiteral("COM1");
    uint32_t baudRate_ = 9600;
    int dataBits_ = 8;
    int parity_ = 0;   // 0 none, 2 even
    int stopBits_ = 1; // 1 or 2
    LineBackend *line_ = nullptr;
    LineTrace *trace_ = nullptr;
    // When the wait for the bytes not yet taken began, on the trace's clock; -1: none.
    qint64 waitSinceNs_ = -1;
    // The line failed while open (an unplugged adapter, a dropped connection): every
    // later call fails until Close.
    bool lost_ = false;
    uint32_t lostError_ = 0;
    QString lostDetail_;
};

} // namespace rw
