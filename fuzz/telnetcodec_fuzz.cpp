// SPDX-License-Identifier: GPL-3.0-or-later
// The telnet side of a network serial line against whatever a server sends, in pieces of
// any size: the codec never keeps more than its limits, hands out no more data than came
// in, answers every request with whole three-byte commands, and once it has seen a
// subnegotiation without end takes nothing more.
//
// Input: pieces, each a length byte and that many bytes.

#include "link/line/telnetcodec.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace rw::telnet;

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Codec codec;
    codec.start();
    size_t at = 0;
    qsizetype taken = 0;
    qsizetype answered = 0;
    while (at < size) {
        const size_t length = std::min<size_t>(data[at], size - at - 1);
        const QByteArrayView piece(reinterpret_cast<const char *>(data) + at + 1,
                                   static_cast<qsizetype>(length));
        at += 1 + length;
        const bool endlessBefore = codec.endless();
        const QByteArray out = codec.feed(piece);
        require(out.size() <= piece.size());
        require(!endlessBefore || out.isEmpty());
        const QByteArray replies = codec.takeReplies();
        // Each answer is IAC, a verb (WILL..DONT) and an option; never more than one for each
        // request of three bytes that came.
        taken += piece.size();
        answered += replies.size();
        require(replies.size() % 3 == 0);
        require(answered <= taken);
        for (qsizetype i = 0; i < replies.size(); i += 3) {
            require(static_cast<uint8_t>(replies[i]) == IAC);
            const auto verb = static_cast<uint8_t>(replies[i + 1]);
            require(verb >= WILL && verb <= DONT);
        }
        require(codec.takeReplies().isEmpty());
        for (uint8_t command = 0; command < 8; ++command) {
            const int64_t value = codec.confirmed(static_cast<ComPortCommand>(command));
            require(value >= -1 && value <= 0xFFFFFFFFLL);
        }
    }
    return 0;
}
