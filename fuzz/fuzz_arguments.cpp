// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for rw830kt-cli's argument parser: the input is split into arguments at
// NUL bytes and parsed. The parser must return a result or a one-line error for any
// command line, never crash, and keep what it returns consistent with what it was given.

#include "cli/arguments.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList args;
    const char *begin = reinterpret_cast<const char *>(data);
    const char *end = begin + size;
    const char *from = begin;
    for (const char *p = begin; p <= end; ++p) {
        if (p == end || *p == '\0') {
            args << QString::fromUtf8(from, p - from);
            from = p + 1;
        }
    }

    QString error;
    const std::optional<rw::cli::Arguments> a = rw::cli::parseArguments(args, error);
    if (!a) {
        // A usage error is told in one line.
        if (error.isEmpty() || error.contains(u'\n'))
            std::abort();
        return 0;
    }
    if (a->help || a->version)
        return 0;
    // A parsed command line has a verb, and every option value it hands on was given.
    if (a->verb.isEmpty() || a->operands.contains(QString()))
        std::abort();
    for (const QString &port : a->ports) {
        if (port.isEmpty())
            std::abort();
    }
    if (a->ports.size() != a->options.value(QStringLiteral("port")).size())
        std::abort();
    return 0;
}
