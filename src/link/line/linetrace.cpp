// SPDX-License-Identifier: GPL-3.0-or-later
#include "linetrace.h"

#include "model/textrules.h"

#include <QFileDevice>
#include <QIODevice>

namespace rw {

namespace {

QByteArray seconds(qint64 ns)
{
    return QByteArray::number(static_cast<double>(ns) / 1e9, 'f', 6);
}

QByteArray hex(QByteArrayView bytes)
{
    return bytes.toByteArray().toHex(' ').toUpper();
}

} // namespace

LineTrace::LineTrace(QIODevice &out) : out_(out)
{
    clock_.start();
}

qint64 LineTrace::nowNs() const
{
    return clock_.nsecsElapsed();
}

void LineTrace::sent(const QString &port, const char *bytes, qint64 count)
{
    writeLine(port, ">>", hex(QByteArrayView(bytes, count)));
}

void LineTrace::received(const QString &port, QByteArrayView bytes, qint64 waiting,
                         qint64 waitSinceNs)
{
    QByteArray text = hex(bytes) + " (" + QByteArray::number(waiting) + " waiting";
    if (waitSinceNs >= 0)
        text += ", waited from " + seconds(waitSinceNs);
    writeLine(port, "<<", text + ')');
}

void LineTrace::purged(const QString &port, QByteArrayView dropped)
{
    if (dropped.isEmpty())
        writeLine(port, "--", "purge dropped nothing");
    else
        writeLine(port, "--",
                  "purge dropped " + QByteArray::number(dropped.size()) +
                      " bytes: " + hex(dropped));
}

void LineTrace::closed(const QString &port, QByteArrayView unread)
{
    if (unread.isEmpty())
        writeLine(port, "--", "close");
    else
        writeLine(port, "--",
                  "close, " + QByteArray::number(unread.size()) + " bytes unread: " + hex(unread));
}

void LineTrace::note(const QString &port, const QString &text)
{
    QString oneLine = text;
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    writeLine(port, "--", escapedControls(oneLine).toUtf8());
}

bool LineTrace::ok() const
{
    QMutexLocker lock(&mutex_);
    return ok_;
}

void LineTrace::writeLine(const QString &port, const char *mark, QByteArrayView text)
{
    QMutexLocker lock(&mutex_);
    // Stamped under the lock, so the lines of several ports stay in time order.
    // A port's name may come from anywhere (a settings file, a link's name): a line break in
    // it would forge a line, an escape sequence act on the terminal that shows the trace.
    const QByteArray line = seconds(clock_.nsecsElapsed()) + ' ' +
                            escapedControls(port).toLocal8Bit() + ' ' + mark + ' ' +
                            text.toByteArray() + '\n';
    bool written = out_.write(line) == line.size();
    // Handed to the system at once: what was written survives a crash or a signal.
    if (auto *file = qobject_cast<QFileDevice *>(&out_))
        written = file->flush() && written;
    ok_ = written && ok_;
}

} // namespace rw
