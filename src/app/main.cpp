// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmmain.h"
#include "model/settingstable.h"
#include "programicon.h"
#include "qtdialogs.h"
#include "stopsignals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(rw::programIcon());
    // Ties the window to its desktop entry (its icon and name in task bars).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.rw830kt.rw830kt"));
    rw::QtDialogs dialogs;
    rw::TfmMain fmMain(rw::SettingsTable::instance(), dialogs);
    dialogs.setParentWindow(&fmMain);
    rw::closeOnStopSignals(fmMain);
    fmMain.show();
    return app.exec();
}
