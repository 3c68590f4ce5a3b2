// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Entry and exit rules of a control. The exit rule runs when the focus moves from the
// control to another control of the same window (Tab, a click, focus parking); it does
// not run when the window merely loses activation, e.g. while a message box is up, so a
// box shown from an exit rule never re-runs the rule.

#include <QObject>
#include <functional>

class QWidget;

namespace rw {

class FocusWatch : public QObject {
public:
    FocusWatch(QWidget *control, std::function<void()> onEnter, std::function<void()> onExit);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    std::function<void()> onEnter_;
    std::function<void()> onExit_;
    // Set while the user is inside the control: leaving the window and coming back is
    // not a new entry, and a control that never received the focus has no exit to run.
    bool entered_ = false;
};

} // namespace rw
