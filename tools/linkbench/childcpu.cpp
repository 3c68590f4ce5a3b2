// SPDX-License-Identifier: GPL-3.0-or-later
#include "childcpu.h"

#include <QProcess>
#include <sys/resource.h>

namespace {

// CPU seconds the finished child processes have used so far.
double childrenCpu()
{
    rusage u{};
    ::getrusage(RUSAGE_CHILDREN, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

double cpuOfRun(const QString &program, const QStringList &args)
{
    const double before = childrenCpu();
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    return childrenCpu() - before;
}
