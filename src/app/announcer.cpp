// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcer.h"

#include "screenreader.h"

#include <QAccessible>

namespace rw {

Announcer::Announcer(QWidget *window) : QWidget(window)
{
    setObjectName("announcer");
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    showAsNotification(this);
}

void Announcer::announce(const QString &words)
{
    words_ = words;
    setAccessibleName(words);
    // "Shown" again, so that words said twice in a row are spoken twice.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    emit announced(words);
}

} // namespace rw
