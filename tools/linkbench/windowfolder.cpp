// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowfolder.h"

#include "base/profilefile.h"
#include "base/settingsfile.h"

#include <QDir>

WindowFolder::WindowFolder(const QStringList &ports) : before_(QDir::currentPath())
{
    rw::ProfileFile ini(rw::settingsFilePath(folder_.path()));
    ini.write(rw::SerialSection, rw::ExtraPortsKey, ports.join(u';'));
    ok_ = folder_.isValid() && ini.save() && QDir::setCurrent(folder_.path());
}

WindowFolder::~WindowFolder()
{
    QDir::setCurrent(before_);
}
