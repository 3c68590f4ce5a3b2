// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/stopsignalnames.h"
#include "commandline.h"
#include "frmmain.h"
#include "model/settingstable.h"
#include "programicon.h"
#include "qtdialogs.h"
#include "stopsignals.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace {

// Help and version need no display: answered from the raw arguments before Qt opens one.
// Qt's own options (-platform, -style, ...) may stand among them; they only matter later.
int answerWithoutWindow(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const rw::WindowCommandLine c = rw::parseWindowArguments(args);
    QString text;
    if (c.action == rw::WindowCommandLine::Action::Help)
        text = rw::windowUsageText();
    else if (c.action == rw::WindowCommandLine::Action::Version)
        text = rw::windowVersionText();
    else
        return -1;
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const int answered = answerWithoutWindow(argc, argv); answered >= 0)
        return answered;
    QApplication app(argc, argv);
    // QApplication has taken its own options out of the arguments by now.
    const rw::WindowCommandLine c = rw::parseWindowArguments(app.arguments().mid(1));
    if (c.action == rw::WindowCommandLine::Action::UsageError) {
        std::fprintf(stderr, "rw830kt: %s\nTry 'rw830kt --help'.\n", qPrintable(c.error));
        return 2;
    }
    // The program directory is the current folder when the window is made.
    if (!c.programFolder.isEmpty() && !QDir::setCurrent(c.programFolder)) {
        std::fprintf(stderr, "rw830kt: cannot use %s as the program folder\n",
                     qPrintable(c.programFolder));
        return 2;
    }
    QApplication::setWindowIcon(rw::programIcon());
    // Ties the window to its desktop entry (its icon and name in task bars).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.rw830kt.rw830kt"));
    rw::QtDialogs dialogs;
    rw::TfmMain fmMain(rw::SettingsTable::instance(), dialogs);
    dialogs.setParentWindow(&fmMain);
    // The system wants the program gone: no box and no question about unsaved edits holds
    // it up, and the exit status says which signal it was, as the command line's does.
    rw::onStopSignals(fmMain, [&fmMain](int signal) { fmMain.stopForSignal(signal); });
    fmMain.show();
    rw::openWhenShown(fmMain, c.tableFile);
    // A signal may have closed the window already, while a box of its start was up.
    const int status = fmMain.isVisible() ? app.exec() : 0;
    return fmMain.stopSignal() != 0 ? rw::stoppedExitStatus(fmMain.stopSignal()) : status;
}
