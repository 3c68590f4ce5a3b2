// SPDX-License-Identifier: GPL-3.0-or-later
#include "fittedlabel.h"

#include <QEvent>
#include <algorithm>

namespace rw {

FittedLabel::FittedLabel(const QString &text, QStringList texts, int minimumWidth, QWidget *parent)
    : QLabel(text, parent), texts_(std::move(texts)), minimumWidth_(minimumWidth)
{
    fit();
}

void FittedLabel::changeEvent(QEvent *e)
{
    QLabel::changeEvent(e); // forgets the size hint of the old font first
    if (e->type() == QEvent::FontChange)
        fit();
}

void FittedLabel::fit()
{
    const QFontMetrics metrics = fontMetrics();
    int widest = metrics.horizontalAdvance(text());
    for (const QString &t : texts_)
        widest = std::max(widest, metrics.horizontalAdvance(t));
    const QMargins margins = contentsMargins();
    const int room = margins.left() + margins.right() + 2 * margin() + metrics.averageCharWidth();
    setFixedSize(std::max({minimumWidth_, widest + room, room_}), sizeHint().height());
}

void FittedLabel::setRoom(int width)
{
    if (width == room_)
        return;
    room_ = width;
    fit();
}

} // namespace rw
