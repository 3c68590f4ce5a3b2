#include "frmmain.h"
#include "model/settingstable.h"
#include "qtdialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    rw::QtDialogs dialogs;
    rw::TfmMain fmMain(rw::SettingsTable::instance(), dialogs);
    dialogs.setParentWindow(&fmMain);
    fmMain.show();
    return app.exec();
}
