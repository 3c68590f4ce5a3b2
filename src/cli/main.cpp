// SPDX-License-Identifier: GPL-3.0-or-later
// rw830kt-cli: reads, writes, verifies, inspects and edits the transmitter's settings
// without a window, with the same rules and messages as the window.

#include "arguments.h"
#include "base/version.h"
#include "console.h"
#include "exitstatus.h"
#include "verbs.h"

#include <QCoreApplication>

using namespace rw::cli;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("rw830kt-cli"));
    QCoreApplication::setApplicationVersion(rw::ProgramVersion);

    QString error;
    const std::optional<Arguments> a = parseArguments(app.arguments().mid(1), error);
    if (!a) {
        printError(QString(), error);
        printOut(QString());
        std::fputs("Try 'rw830kt-cli --help'.\n", stderr);
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
    const QString &v = a->verb;
    if (v == "ports")
        return listPorts(*a);
    if (v == "read")
        return readTransmitter(*a);
    if (v == "write")
        return writeTransmitters(*a);
    if (v == "verify")
        return verifyTransmitter(*a);
    if (v == "dump")
        return dumpTable(*a);
    if (v == "diff")
        return diffTables(*a);
    return setFields(*a);
}
