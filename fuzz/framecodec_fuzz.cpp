// SPDX-License-Identifier: GPL-3.0-or-later
// The frame codec's judging of whatever arrives as a reply, and the transmitter side's
// framing of whatever arrives as requests. The first input byte is the data count n the
// reply is judged for; the rest is the reply.

#include "link/protocol/framecodec.h"

#include <cstdint>
#include <cstdlib>

using namespace rw;

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

uint8_t at(QByteArrayView b, qsizetype i)
{
    return static_cast<uint8_t>(b[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int n = data[0];
    const QByteArrayView reply(reinterpret_cast<const char *>(data) + 1,
                               static_cast<qsizetype>(size - 1));

    if (frame::readReplyIntact(reply, n)) {
        // Intact: long enough, and the sum over bytes 10 .. 12 + n is the big-endian pair
        // after them.
        require(reply.size() >= n + 15);
        unsigned sum = 0;
        for (int i = 10; i <= 12 + n; ++i)
            sum += at(reply, i);
        require((sum & 0xFFFF) == (at(reply, 13 + n) << 8 | at(reply, 14 + n)));
        const QByteArrayView payload = frame::readReplyData(reply, n);
        require(payload.size() == n && payload.data() == reply.data() + 13);
    }

    // The data as a transmitter's reply always passes, and gives the data back.
    const QByteArrayView body = reply.first(std::min<qsizetype>(reply.size(), n));
    const QByteArray built = frame::readReply(body);
    require(built.size() == body.size() + 15);
    require(frame::readReplyIntact(built, static_cast<int>(body.size())));
    require(frame::readReplyData(built, static_cast<int>(body.size())) == body);

    // Requests taken off a line of these bytes: each a whole frame, each shortening the rest.
    QByteArray pending = reply.toByteArray();
    qsizetype left = pending.size();
    while (const auto f = frame::takeFrame(pending)) {
        require(f->raw.startsWith("TealCondor"));
        require(f->raw.size() == f->body.size() + 15);
        require(at(f->raw, 12) == f->body.size());
        require(pending.size() + f->raw.size() <= left);
        left = pending.size();
    }
    require(pending.size() <= left);
    return 0;
}
