// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes every write beyond `bytes` fail the way a full disk does, for as long as the
// object lives (on systems without file size limits it does nothing; see active()).

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace rw {

class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes)
    {
#ifdef Q_OS_UNIX
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the test
        active_ = getrlimit(RLIMIT_FSIZE, &old_) == 0;
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        active_ = active_ && setrlimit(RLIMIT_FSIZE, &limit) == 0;
#else
        (void)bytes;
#endif
    }
    ~FileSizeLimit()
    {
#ifdef Q_OS_UNIX
        if (active_)
            setrlimit(RLIMIT_FSIZE, &old_);
#endif
    }
    bool active() const
    {
        return active_;
    }

private:
    bool active_ = false;
#ifdef Q_OS_UNIX
    rlimit old_{};
#endif
};

} // namespace rw
