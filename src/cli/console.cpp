// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include "exitstatus.h"
#include "model/textrules.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace rw::cli {

namespace {

// The first failure of each stream, as the system's error text; empty while all went well.
QString stdoutFailure;
QString stderrFailure;

bool write(std::FILE *stream, const QByteArray &bytes, QString &failure)
{
    errno = 0;
    const size_t n = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    const bool ok = n == static_cast<size_t>(bytes.size()) && std::fflush(stream) == 0;
    if (!ok && failure.isEmpty()) {
        const int e = errno != 0 ? errno : EIO;
        failure = QString::fromLocal8Bit(std::strerror(e));
    }
    // A failed stream keeps its error flag; clear it so the next write is tried afresh.
    std::clearerr(stream);
    return ok;
}

} // namespace

void printOut(const QString &text)
{
    write(stdout, consoleText(text), stdoutFailure);
}

bool printBytes(const QByteArray &bytes)
{
    return write(stdout, bytes, stdoutFailure);
}

namespace {

void printErrorLines(const QString &subject, const QString &text, bool keepLineBreaks)
{
    QString line = QStringLiteral("rw830kt-cli: ");
    if (!subject.isEmpty())
        line += escapedControls(subject) + QStringLiteral(": ");
    line += escapedControls(text, keepLineBreaks) + u'\n';
    write(stderr, consoleText(line), stderrFailure);
}

} // namespace

void printError(const QString &subject, const QString &text)
{
    printErrorLines(subject, text, false);
}

void printReport(const QString &subject, const QString &text)
{
    printErrorLines(subject, text, true);
}

bool outputFailed()
{
    return !stdoutFailure.isEmpty() || !stderrFailure.isEmpty();
}

int statusAfterOutput(int status)
{
    write(stdout, {}, stdoutFailure);
    write(stderr, {}, stderrFailure);
    if (!outputFailed())
        return status;
    if (!stdoutFailure.isEmpty())
        printError(QString(),
                   QStringLiteral("cannot write to standard output: %1").arg(stdoutFailure));
    if (status == Success || status == Failed)
        return FileError;
    return status;
}

} // namespace rw::cli
