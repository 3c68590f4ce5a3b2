// SPDX-License-Identifier: GPL-3.0-or-later
#include "promptwake.h"

#ifdef __linux__
#include <cstdint>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace rw {

#ifdef __linux__

namespace {

// The kernel's struct sched_attr in its first version, which every later kernel takes.
struct SchedAttr {
    uint32_t size = sizeof(SchedAttr);
    uint32_t policy = 0; // 0: the normal, time-shared policy
    uint64_t flags = 0;
    int32_t nice = 0;
    uint32_t priority = 0;
    uint64_t runtime = 0; // for the normal policy: the time slice asked for
    uint64_t deadline = 0;
    uint64_t period = 0;
};
constexpr uint64_t ResetOnFork = 0x01;

} // namespace

void preferPromptWakeUps()
{
    // A short time slice: the scheduler lets a woken thread that asked for one run before
    // the rest of the slice of whatever runs then (Linux 6.12 on; earlier kernels take the
    // request and go on as before). The thread's policy and nice value stay as they are.
    constexpr uint64_t SliceNs = 100000;
    SchedAttr attr;
    if (::syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0) != 0 || attr.policy != 0)
        return;
    attr.size = sizeof attr;
    attr.flags &= ResetOnFork;
    attr.runtime = SliceNs;
    ::syscall(SYS_sched_setattr, 0, &attr, 0);
}

#else

void preferPromptWakeUps() {}

#endif

} // namespace rw
