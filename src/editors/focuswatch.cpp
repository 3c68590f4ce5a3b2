// SPDX-License-Identifier: GPL-3.0-or-later
#include "focuswatch.h"

#include <QFocusEvent>
#include <QWidget>

namespace rw {

namespace {
bool isActivationChange(Qt::FocusReason r)
{
    return r == Qt::ActiveWindowFocusReason || r == Qt::PopupFocusReason;
}
} // namespace

FocusWatch::FocusWatch(QWidget *control, std::function<void()> onEnter,
                       std::function<void()> onExit)
    : QObject(control), onEnter_(std::move(onEnter)), onExit_(std::move(onExit))
{
    control->installEventFilter(this);
}

bool FocusWatch::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::FocusIn) {
        // Any arrival counts as entering when the control was not entered: the focus put
        // back while a message box had the window arrives with the window's activation.
        if (!entered_) {
            entered_ = true;
            if (onEnter_)
                onEnter_();
        }
    } else if (e->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(e)->reason();
        // A closed window commits nothing: taking it apart moves the focus out of its
        // controls, and an exit rule run then would work on a window half gone.
        const bool windowShown = static_cast<QWidget *>(watched)->window()->isVisible();
        if (!isActivationChange(reason) && entered_ && windowShown) {
            entered_ = false;
            if (onExit_)
                onExit_();
        }
    }
    return false;
}

} // namespace rw
