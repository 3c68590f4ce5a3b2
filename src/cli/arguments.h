// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// rw830kt-cli's command line: a verb, its operands and its options, read by one table of
// verbs and one table of options (arguments.cpp). Adding a verb or an option is one entry
// there; --help and the usage errors follow from the tables.

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace rw::cli {

struct Arguments {
    QString verb;
    QStringList ports;    // -p PORT, as often as the verb allows
    QString output;       // -o FILE
    QString base;         // --base FILE (build)
    QStringList operands; // files, NAME=VALUE pairs
    QString traceFile;    // --trace FILE
    QString backupDir;    // --backup DIR: write keeps what it replaces there
    bool json = false;
    bool pad = false; // --pad: write takes a table file of another length than 2048 bytes
    bool quiet = false;
    bool help = false;
    bool version = false;
    // Every option given, by its long name, with its values in order ("" for a switch).
    QHash<QString, QStringList> options;

    // The value of a single-value option by its long name; empty when not given.
    QString value(const QString &longName) const { return options.value(longName).value(0); }
    bool isSet(const QString &longName) const { return options.contains(longName); }
};

// Reads the arguments after the program name. Pure: no output, no exit, no file looked
// at. Nullopt with `error` set, one line, when the command line is wrong.
std::optional<Arguments> parseArguments(const QStringList &args, QString &error);

// The usage, the verbs and the options, for --help.
QString usageText();

// The program's arguments as text: nullopt, with `error` set, when one of them is not
// valid in the system's encoding (such a file name could only be opened or written under
// another name than the one given).
std::optional<QStringList> decodeArguments(int argc, const char *const *argv, QString &error);

} // namespace rw::cli
