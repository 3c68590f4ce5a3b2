#include "linetrace.h"

#include <QIODevice>

namespace rw {

namespace {

// Received bytes go on one line until this many have gathered or the direction changes.
constexpr qsizetype BytesPerLine = 32;

} // namespace

LineTrace::LineTrace(QIODevice &out) : out_(out)
{
    clock_.start();
}

LineTrace::~LineTrace()
{
    QMutexLocker lock(&mutex_);
    for (const QString &port : received_.keys())
        flushLocked(port);
}

void LineTrace::sent(const QString &port, const char *bytes, qint64 count)
{
    QMutexLocker lock(&mutex_);
    flushLocked(port);
    writeLine(clock_.nsecsElapsed(), port, ">>", QByteArrayView(bytes, count));
}

void LineTrace::received(const QString &port, uint8_t byte)
{
    QMutexLocker lock(&mutex_);
    Pending &p = received_[port];
    if (p.bytes.isEmpty())
        p.firstNs = clock_.nsecsElapsed();
    p.bytes.append(static_cast<char>(byte));
    if (p.bytes.size() >= BytesPerLine)
        flushLocked(port);
}

void LineTrace::flush(const QString &port)
{
    QMutexLocker lock(&mutex_);
    flushLocked(port);
}

void LineTrace::note(const QString &port, const QString &text)
{
    QMutexLocker lock(&mutex_);
    flushLocked(port);
    const QByteArray line = QByteArray::number(clock_.nsecsElapsed() / 1e9, 'f', 6) + ' ' +
                            port.toLocal8Bit() + " -- " + text.toUtf8() + '\n';
    ok_ = out_.write(line) == line.size() && ok_;
}

bool LineTrace::ok() const
{
    QMutexLocker lock(&mutex_);
    return ok_;
}

void LineTrace::flushLocked(const QString &port)
{
    auto it = received_.find(port);
    if (it == received_.end() || it->bytes.isEmpty())
        return;
    writeLine(it->firstNs, port, "<<", it->bytes);
    it->bytes.clear();
}

void LineTrace::writeLine(qint64 ns, const QString &port, const char *direction,
                          QByteArrayView bytes)
{
    QByteArray line = QByteArray::number(ns / 1e9, 'f', 6) + ' ' + port.toLocal8Bit() + ' ' +
                      direction + ' ' + bytes.toByteArray().toHex(' ').toUpper() + '\n';
    ok_ = out_.write(line) == line.size() && ok_;
}

} // namespace rw
