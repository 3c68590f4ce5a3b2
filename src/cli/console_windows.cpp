// SPDX-License-Identifier: GPL-3.0-or-later
// The console of Windows: UTF-8 text, every standard stream in binary mode (a table written
// to standard output arrives byte for byte, no LF turned into CR LF), and the arguments as
// the command line gave them, in Unicode, whatever the console's code page.
#include "arguments.h"
#include "console.h"

#include <QCoreApplication>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace rw::cli {

void prepareConsole()
{
    ::SetConsoleOutputCP(CP_UTF8);
    for (std::FILE *stream : {stdin, stdout, stderr})
        ::_setmode(::_fileno(stream), _O_BINARY);
}

QByteArray consoleText(const QString &text)
{
    return text.toUtf8();
}

bool outputIsTerminal()
{
    return ::_isatty(::_fileno(stdout));
}

// Qt reads them from the system's wide command line; every argument is valid text there.
std::optional<QStringList> decodeArguments(int, const char *const *, QString &)
{
    return QCoreApplication::arguments().mid(1);
}

} // namespace rw::cli
