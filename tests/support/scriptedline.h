// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A port whose replies come on a stepping clock, piece by piece, each piece a set time after
// the one before it was taken (the first piece after the request): the budget of every reply
// byte can be met at its last millisecond or missed by one. It notes when it was looked at.

#include "link/line/commport.h"
#include "steppingclock.h"

#include <QByteArray>
#include <QList>
#include <algorithm>

namespace rw {

class ScriptedLine : public TCommPort {
public:
    struct Piece {
        QByteArray bytes;
        qint64 afterMs; // after the piece before was taken, or after the request
    };

    explicit ScriptedLine(const SteppingClock &clock) : clock_(clock) { SetBaudRate(19200); }

    // The answer to the next request.
    void answer(QList<Piece> pieces) { pieces_ = std::move(pieces); }

    bool IsOpen() const override { return true; }
    void Write(const char *, qint64) override
    {
        requestAt = clock_.nowMs();
        from_ = requestAt;
        looks.clear();
    }
    uint32_t BytesAvailable() override
    {
        looks << clock_.nowMs();
        return static_cast<uint32_t>(ready());
    }
    qint64 ReadBytes(char *buffer, qint64 max) override
    {
        if (ready() == 0)
            return 0;
        QByteArray &piece = pieces_.front().bytes;
        const qint64 n = std::min<qint64>(max, piece.size());
        std::copy_n(piece.constData(), n, buffer);
        piece.remove(0, n);
        if (piece.isEmpty()) {
            pieces_.removeFirst();
            from_ = lastTakenAt = clock_.nowMs();
        }
        return n;
    }
    uint8_t ReadByte() override
    {
        char c = 0;
        if (ReadBytes(&c, 1) != 1)
            throw ECommError{ReadFailed, 0, {}};
        return static_cast<uint8_t>(c);
    }
    void Purge() override { ++purges; }
    void WakeWhenAvailable(int) override {}
    void TakePending() override {}

    qint64 requestAt = -1;
    qint64 lastTakenAt = -1;
    QList<qint64> looks; // protocol times of every look at the line since the request
    int purges = 0;

private:
    qsizetype ready() const
    {
        if (pieces_.isEmpty() || clock_.nowMs() < from_ + pieces_.front().afterMs)
            return 0;
        return pieces_.front().bytes.size();
    }

    const SteppingClock &clock_;
    QList<Piece> pieces_;
    qint64 from_ = 0;
};

} // namespace rw
