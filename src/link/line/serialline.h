// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A serial device on Linux, through Qt SerialPort and the terminal under it (Windows has a
// line of its own, serialline_windows.cpp; makeSerialLine() gives the system's).

#include "linebackend.h"
#include "wakethreshold.h"

#include <QByteArray>

namespace rw {

class SerialLine : public LineBackend {
    Q_OBJECT
public:
    explicit SerialLine(const QString &portName);
    ~SerialLine() override;

    void open(const LineSettings &settings) override;
    void close() override;
    bool usable() const override;
    bool setBaudRate(uint32_t baudRate) override;
    bool write(const char *buffer, qint64 count) override;
    bool readByte(char &byte) override;
    qint64 readBytes(char *buffer, qint64 max) override;
    qint64 bytesAvailable() override;
    bool purge() override;
    void wakeWhenAvailable(int count) override;
    void takePending() override;
    void setWatching(bool watching) override;
    bool waitDirectly(int wallMs, bool forBytes) override;
    uint32_t systemError() const override;

private:
    void watchLine();

    QString portName_;
    QSerialPort *serial_ = nullptr;
    bool lost_ = false;
    bool unwatched_ = false; // the read notification was switched off by setWatching
    // Opened on a thread of its own, where nothing but the line needs an event loop: the
    // waits sleep in the system instead, which costs a few calls where a pass through the
    // event loop costs a dozen.
    bool direct_ = false;
    // Bytes taken from the system's queue by takePending, ahead of the port's buffer.
    QByteArray held_;
    WakeThreshold wake_;
};

} // namespace rw
