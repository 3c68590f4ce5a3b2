// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QLibrary>
#include <mutex>

namespace rw {

QString loadProgramModule(const QString &name)
{
    static std::mutex loading;
    static QHash<QString, QString> tried; // each module's load error, empty when loaded
    const std::lock_guard lock(loading);
    if (const auto it = tried.constFind(name); it != tried.constEnd())
        return *it;
    // Every program lies one folder below lib/, in the build folder (bin/, tools/) as
    // installed (/usr/bin beside /usr/lib/rw830kt).
    QLibrary module(QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                    QStringLiteral("/../lib/rw830kt/") + name));
    const QString error = module.load() ? QString() : module.errorString();
    tried.insert(name, error);
    return error;
}

} // namespace rw
