// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one serial port: a thin wrapper over Qt SerialPort with the transmitter's
// line setup (DTR and RTS on, no flow control). Every failure raises ECommError.

#include <QObject>
#include <QString>
#include <cstdint>

class QSerialPort;

namespace rw {

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

    bool IsOpen() const { return open_; }
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
    void Write(const char *buffer, qint64 count);
    uint8_t ReadByte();
    uint32_t BytesAvailable();
    // Discards what was received, then what is still to be sent.
    void Purge();
    // Lets `activity` wait until `count` bytes have arrived, where the line can do that,
    // instead of firing at every byte; a reply's bytes then cost one wake-up, not one each.
    void WakeWhenAvailable(int count);
    // Takes whatever the line holds now, however few bytes: the last look before a time-out.
    void TakePending();

    // Records every byte sent and taken from the line from now on; null stops it.
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

    bool open_ = false;
    QString portName_ = QStringLiteral("COM1");
    uint32_t baudRate_ = 9600;
    int dataBits_ = 8;
    int parity_ = 0;   // 0 none, 2 even
    int stopBits_ = 1; // 1 or 2
    QSerialPort *serial_ = nullptr;
    LineTrace *trace_ = nullptr;
    // The line failed while open (an unplugged adapter): Qt then keeps reporting errors,
    // so the device is closed at once and every later call fails until Close.
    bool lost_ = false;
    uint32_t lostError_ = 0;
    QString lostDetail_;
};

} // namespace rw
