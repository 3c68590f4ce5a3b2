// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What rw830kt-cli's exit status tells a script.

namespace rw::cli {

enum ExitStatus {
    Success = 0,
    Failed = 1,     // a failed transfer, a refused value, or differences found
    UsageError = 2, // the command line itself is wrong
    FileError = 3,  // a file that cannot be read or written
};

// What each status means, for the help text.
struct ExitStatusMeaning {
    ExitStatus status;
    const char *meaning;
};
inline constexpr ExitStatusMeaning ExitStatusMeanings[] = {
    {Success, "success"},
    {Failed, "a failed transfer, a refused value or differences found"},
    {UsageError, "a usage error"},
    {FileError, "a file that cannot be read or written, standard output or standard error "
                "included"},
};

} // namespace rw::cli
