// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "base/version.h"
#include "frmmain.h"

#include <QFileInfo>
#include <QTimer>

namespace rw {

WindowCommandLine parseWindowArguments(const QStringList &args)
{
    WindowCommandLine c;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    bool folderGiven = false;
    bool folderNext = false;
    QStringList files;
    const QLatin1String folderOption("--program-folder");
    for (const QString &arg : args) {
        if (folderNext) {
            c.programFolder = arg;
            folderNext = false;
        } else if (optionsEnded || arg == QLatin1String("-") || !arg.startsWith(u'-')) {
            files.append(arg);
        } else if (arg == folderOption) {
            folderGiven = folderNext = true;
        } else if (arg.startsWith(folderOption + u'=')) {
            folderGiven = true;
            c.programFolder = arg.mid(folderOption.size() + 1);
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            help = true;
        } else if (arg == QLatin1String("--version")) {
            version = true;
        } else if (c.error.isEmpty()) {
            c.error = QStringLiteral("unknown option %1").arg(arg);
        }
    }
    if (c.error.isEmpty() && files.size() > 1)
        c.error = QStringLiteral("one table file at most, not %1").arg(files.size());
    if (c.error.isEmpty() && folderGiven && c.programFolder.isEmpty())
        c.error = QStringLiteral("--program-folder needs a folder");
    if (help)
        c.action = WindowCommandLine::Action::Help;
    else if (version)
        c.action = WindowCommandLine::Action::Version;
    else if (!c.error.isEmpty())
        c.action = WindowCommandLine::Action::UsageError;
    else if (!files.isEmpty())
        // The window's program directory is where it starts, but the name given is
        // meant from the folder the user typed it in; the caption shows it in full.
        c.tableFile = QFileInfo(files.first()).absoluteFilePath();
    return c;
}

QString windowUsageText()
{
    return QStringLiteral(
        "Usage: rw830kt [--program-folder DIR] [FILE.tbl]\n"
        "Programs the RW830KT paging transmitter in a window. A table file given is opened\n"
        "as File, Open opens it. The current folder is the program directory: the settings\n"
        "file, default.tbl and the message exports are kept there.\n"
        "\n"
        "  --program-folder DIR  makes DIR the program directory instead (a desktop that\n"
        "                        opens table files with the window starts it so)\n"
        "  -h, --help            shows this text\n"
        "  --version             shows the version and the licence\n");
}

QString windowVersionText()
{
    return QStringLiteral("rw830kt %1\n%2").arg(ProgramVersion, LicenceNotice);
}

void openWhenShown(TfmMain &window, const QString &tableFile)
{
    if (tableFile.isEmpty())
        return;
    QTimer::singleShot(0, &window, [&window, tableFile] { window.openNamedTableFile(tableFile); });
}

} // namespace rw
