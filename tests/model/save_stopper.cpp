// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a table file and stops itself with SIGKILL when the save reaches the named step,
// the way a crash or a power cut stops it there. Each step it passes is printed first.
//
//     save_stopper TARGET STEP CHAR
//
// TARGET is the table file, STEP one of ContentSynced, BackupKept, Replaced, FolderSynced
// (or "none" to run to the end), CHAR the byte the 2048-byte image is made of.

#include "base/safefile.h"
#include "model/tablefile.h"

#include <csignal>
#include <cstdio>
#include <cstring>

using namespace rw;

namespace {

const char *StepNames[] = {"ContentSynced", "BackupKept", "Replaced", "FolderSynced"};
int stopAt = -1;

void passStep(WriteStep step)
{
    const int index = static_cast<int>(step);
    std::printf("%s\n", StepNames[index]);
    std::fflush(stdout);
    if (index == stopAt)
        std::raise(SIGKILL);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4 || std::strlen(argv[3]) != 1)
        return 2;
    for (int i = 0; i < 4; ++i)
        if (std::strcmp(argv[2], StepNames[i]) == 0)
            stopAt = i;
    observeWriteSteps(passStep);
    const TableSaveResult saved =
        saveTableFile(QString::fromLocal8Bit(argv[1]), QByteArray(2048, argv[3][0]));
    if (!saved.ok) {
        std::fprintf(stderr, "%s\n", saved.error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
