// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tables whose every settings byte is one value, for transfers whose result must be told
// apart at a glance (and a transmitter memory of the same, zero past byte 1939).

#include "model/settingstable.h"

#include <QByteArray>

namespace rw {

inline SettingsTable tableOf(char fill)
{
    SettingsTable t;
    t.takeImage(QByteArray(1940, fill));
    return t;
}

inline QByteArray memoryOf(char fill)
{
    QByteArray m(2048, '\0');
    m.replace(0, 1940, QByteArray(1940, fill));
    return m;
}

} // namespace rw
