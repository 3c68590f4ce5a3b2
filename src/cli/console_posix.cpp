// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal of a POSIX system: the system's encoding for text and arguments, SIGPIPE
// ignored so that a closed pipe fails a write instead of ending the program.
#include "arguments.h"
#include "console.h"
#include "model/textrules.h"

#include <csignal>
#include <unistd.h>

namespace rw::cli {

void prepareConsole()
{
    // The writes to a closed pipe fail instead, and the exit status says so at the end.
    std::signal(SIGPIPE, SIG_IGN);
}

QByteArray consoleText(const QString &text)
{
    return text.toLocal8Bit();
}

bool outputIsTerminal()
{
    return isatty(STDOUT_FILENO) == 1;
}

std::optional<QStringList> decodeArguments(int argc, const char *const *argv, QString &error)
{
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        const QString text = QString::fromLocal8Bit(raw);
        if (text.toLocal8Bit() != raw) {
            error = QStringLiteral("argument %1 (%2) is not valid text in the system's encoding")
                        .arg(i)
                        .arg(escapedControls(text));
            return std::nullopt;
        }
        args << text;
    }
    return args;
}

} // namespace rw::cli
