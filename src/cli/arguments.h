// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// rw830kt-cli's command line: a verb, its operands and the common options.

#include <QString>
#include <QStringList>
#include <optional>

namespace rw::cli {

struct Arguments {
    QString verb;
    QStringList ports;    // -p PORT, as often as given
    QString output;       // -o FILE
    QStringList operands; // files, NAME=VALUE pairs
    QString traceFile;    // --trace FILE
    bool json = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// The arguments after the program name; nullopt with `error` set for a wrong command line.
std::optional<Arguments> parseArguments(const QStringList &args, QString &error);

// The verbs with their operands, for --help and usage errors.
QString usageText();

} // namespace rw::cli
