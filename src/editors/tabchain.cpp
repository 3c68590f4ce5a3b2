// SPDX-License-Identifier: GPL-3.0-or-later
#include "tabchain.h"

#include <QWidget>

namespace rw {

namespace {

bool takesTab(const QWidget *w, const QWidget *window)
{
    // A control with a focus proxy is reached as its proxy.
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy() &&
           w->isEnabled() && w->isVisibleTo(window) && w->window() == window;
}

} // namespace

QWidget *tabNeighbour(QWidget *from, bool forward)
{
    if (!from)
        return nullptr;
    const QWidget *window = from->window();
    const auto step = [forward](QWidget *w) {
        return forward ? w->nextInFocusChain() : w->previousInFocusChain();
    };
    for (QWidget *w = step(from); w && w != from; w = step(w)) {
        if (takesTab(w, window))
            return w;
    }
    return nullptr;
}

} // namespace rw
