// SPDX-License-Identifier: GPL-3.0-or-later
// rw830kt-cli: reads, writes, verifies, inspects and edits the transmitter's settings
// without a window, with the same rules and messages as the window.

#include "arguments.h"
#include "base/version.h"
#include "console.h"
#include "exitstatus.h"
#include "sheetverb.h"
#include "verbs.h"

#include <QCoreApplication>

using namespace rw::cli;

namespace {

// The verbs by name; the parser's table says what each takes.
struct VerbRun {
    const char *verb;
    int (*run)(const Arguments &);
};

constexpr VerbRun VerbRuns[] = {
    {"ports", listPorts},         {"read", readTransmitter},
    {"write", writeTransmitters}, {"verify", verifyTransmitter},
    {"dump", dumpTable},          {"diff", diffTables},
    {"set", setFields},           {"build", buildTable},
    {"settings", listSettings},
};

int runCommandLine(int argc, char *argv[], std::optional<SheetJob> &sheet)
{
    QString error;
    std::optional<QStringList> args = decodeArguments(argc, argv, error);
    const std::optional<Arguments> a = args ? parseArguments(*args, error) : std::nullopt;
    if (!a) {
        // The parser has escaped what the arguments brought in; the hint is a line of its own.
        printReport(QString(), error + QStringLiteral("\nTry 'rw830kt-cli --help'."));
        return UsageError;
    }
    if (a->help) {
        printOut(usageText());
        return Success;
    }
    if (a->version) {
        printOut(QStringLiteral("rw830kt-cli %1\n%2").arg(rw::ProgramVersion, rw::LicenceNotice));
        return Success;
    }
    if (a->verb == QLatin1String("sheet"))
        return prepareSheet(*a, sheet);
    for (const VerbRun &v : VerbRuns) {
        if (a->verb == QLatin1String(v.verb))
            return v.run(*a);
    }
    printError(QString(), QStringLiteral("unknown verb %1").arg(a->verb));
    return UsageError;
}

} // namespace

int main(int argc, char *argv[])
{
    prepareConsole();
    // The settings sheet is drawn under an application object of its own, once this one is
    // gone (sheetverb.h).
    std::optional<SheetJob> sheet;
    int status = Success;
    {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("rw830kt-cli"));
        QCoreApplication::setApplicationVersion(rw::ProgramVersion);
        status = runCommandLine(argc, argv, sheet);
    }
    if (sheet)
        status = drawSheet(*sheet);
    return statusAfterOutput(status);
}
