#pragma once
// A plain-text record of every byte sent and received on the transmitter's lines, for a
// person to read or to attach to a bug report. One line per frame sent and per run of
// bytes received, each with its time since the trace began, the port and the direction:
//
//   0.004213 /dev/ttyUSB0 >> 54 65 61 6C 43 6F 6E 64 6F 72 32 53 ...
//   0.019870 /dev/ttyUSB0 << 54 65 61 6C 43 6F 6E 64 6F 72 32 53 ...
//
// Several ports may share one trace from several threads.

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QString>

class QIODevice;

namespace rw {

class LineTrace {
public:
    // The trace writes to `out`, which must stay open while the trace lives.
    explicit LineTrace(QIODevice &out);
    ~LineTrace(); // writes what is still gathered

    void sent(const QString &port, const char *bytes, qint64 count);
    void received(const QString &port, uint8_t byte);
    // Writes the bytes received on the port so far as their own line.
    void flush(const QString &port);
    // Writes one line at once: the time, the port, "--" and the text (a run stopped, ...).
    void note(const QString &port, const QString &text);
    // False once a write to the trace's file failed.
    bool ok() const;

private:
    struct Pending {
        qint64 firstNs = 0;
        QByteArray bytes;
    };
    void writeLine(qint64 ns, const QString &port, const char *direction, QByteArrayView bytes);
    void flushLocked(const QString &port);

    mutable QMutex mutex_;
    QIODevice &out_;
    QElapsedTimer clock_;
    QHash<QString, Pending> received_;
    bool ok_ = true;
};

} // namespace rw
