// SPDX-License-Identifier: GPL-3.0-or-later
#include "pacedline.h"

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <utility>

PacedLine::PacedLine(int fd, int baud, int latencyMs, int chunkBytes)
    : fd_(fd), baud_(baud), latencyUs_(qint64(latencyMs) * 1000),
      chunkBytes_(std::max(chunkBytes, 1)),
      notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this))
{
    clock_.start();
    connect(notifier_, &QSocketNotifier::activated, this, &PacedLine::readable);
    sendTimer_.setSingleShot(true);
    sendTimer_.setTimerType(Qt::PreciseTimer);
    connect(&sendTimer_, &QTimer::timeout, this, &PacedLine::sendDue);
    stormTimer_.setInterval(1);
    connect(&stormTimer_, &QTimer::timeout, this, [this] {
        static const QByteArray noise = [] {
            QByteArray b(4096, '\0');
            for (qsizetype i = 0; i < b.size(); ++i)
                b[i] = static_cast<char>((i * 37 + 11) & 0xFF);
            return b;
        }();
        // The line takes what fits; the rest of the noise is simply lost.
        [[maybe_unused]] const ssize_t n = ::write(fd_, noise.constData(), noise.size());
    });
}

qint64 PacedLine::wireUs(qsizetype bytes) const
{
    return baud_ > 0 ? bytes * 10 * 1000000LL / baud_ : 0;
}

void PacedLine::readable()
{
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n <= 0)
        return; // EAGAIN, or nobody on the other side: nothing to read
    if (replyEndUs_ >= 0 && outgoing_.empty() && onTurnaround)
        onTurnaround(nowUs() - replyEndUs_);
    replyEndUs_ = -1;
    receivedUntilUs_ = std::max(nowUs(), receivedUntilUs_) + wireUs(n);
    if (onReceived)
        onReceived(QByteArray(buffer, n));
}

void PacedLine::sendReply(const QByteArray &bytes, int pauseAt, int pauseMs)
{
    qint64 at = std::max(receivedUntilUs_ + latencyUs_, sentUntilUs_);
    const qsizetype split = pauseAt >= 0 && pauseAt < bytes.size() ? pauseAt : bytes.size();
    // The chunks before the pause, then those after it: no chunk spans the pause.
    const std::pair<qsizetype, qsizetype> parts[] = {{0, split}, {split, bytes.size()}};
    for (const auto &[from, to] : parts) {
        if (from == split && from < to)
            at += qint64(pauseMs) * 1000;
        for (qsizetype i = from; i < to; i += chunkBytes_) {
            const QByteArray chunk = bytes.mid(i, std::min(chunkBytes_, to - i));
            at += wireUs(chunk.size());
            outgoing_.push_back({at, chunk});
        }
    }
    sentUntilUs_ = at;
    sendDue();
}

void PacedLine::sendDue()
{
    while (!outgoing_.empty() && outgoing_.front().dueUs <= nowUs()) {
        Chunk &c = outgoing_.front();
        const ssize_t n = ::write(fd_, c.bytes.constData(), c.bytes.size());
        if (n < 0 && errno != EAGAIN)
            return; // the line is gone
        if (n < c.bytes.size()) {
            // The PC is not reading; try the rest shortly.
            c.bytes.remove(0, std::max<ssize_t>(n, 0));
            sendTimer_.start(1);
            return;
        }
        outgoing_.pop_front();
        if (outgoing_.empty())
            replyEndUs_ = nowUs();
    }
    if (!outgoing_.empty()) {
        const qint64 waitUs = outgoing_.front().dueUs - nowUs();
        sendTimer_.start(static_cast<int>(std::max<qint64>(0, (waitUs + 999) / 1000)));
    }
}

void PacedLine::startStorm()
{
    outgoing_.clear();
    stormTimer_.start();
}

void PacedLine::stop()
{
    notifier_->setEnabled(false);
    sendTimer_.stop();
    stormTimer_.stop();
    outgoing_.clear();
}
