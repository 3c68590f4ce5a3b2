// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace rw::cli {

void printOut(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void printError(const QString &subject, const QString &text)
{
    QString line = QStringLiteral("rw830kt-cli: ");
    if (!subject.isEmpty())
        line += subject + QStringLiteral(": ");
    line += text;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

bool outputIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stdout));
#else
    return isatty(STDOUT_FILENO) == 1;
#endif
}

} // namespace rw::cli
