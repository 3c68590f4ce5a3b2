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

} // namespace rw::cli
