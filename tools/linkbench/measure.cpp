// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure.h"

#include "link/protocol/framecodec.h"
#include "link/protocol/transmittercommands.h"
#include "model/fieldlayout.h"

#include <cstdio>

namespace {

constexpr int BlockBytes = rw::TransferBlockSize;
constexpr int Blocks = rw::ImageSize / BlockBytes;

} // namespace

int writeWireBytes()
{
    using namespace rw::frame;
    return Blocks *
           (writeRequestSize(BlockBytes) + AckSize + ReadRequestSize + readReplySize(BlockBytes));
}

int readWireBytes()
{
    using namespace rw::frame;
    return Blocks * (ReadRequestSize + readReplySize(BlockBytes));
}

void report(const char *path, const char *replies, const char *what, const Figures &f, int bytes,
            int baud)
{
    const double wire = wireSeconds(bytes, baud);
    std::printf("%-7s %-14s %-6s wall %6.3f s  wire %6.3f s  ratio %.3f  CPU %6.3f s  "
                "%4.1f %% of a core\n",
                path, replies, what, f.wallSeconds, wire, f.wallSeconds / wire, f.cpuSeconds,
                100 * f.cpuSeconds / f.wallSeconds);
}
