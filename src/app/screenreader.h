// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window offers a screen reader (AT-SPI on Linux): every control by the name a
// person reads beside it, and nothing the window keeps out of the user's reach: not the
// pages whose tabs are hidden, and the focus parking place only while it holds the focus.

class QWidget;

namespace rw {

// Installs the window's accessible views of its containers, tab strips and lists; runs
// once per program, before the first window is shown.
void offerToScreenReaders();

// The control is left out of what a screen reader is offered while it does not hold the
// focus (the focus parking place); holding it, it is a line of text read by its
// accessible name, so the user hears where the focus is.
void keepFromScreenReaders(QWidget *control);

// The control is a notification: screen readers speak its accessible name each time it
// shows (the Announcer).
void showAsNotification(QWidget *control);

// False for a page whose tab is hidden, and for a control kept from screen readers while
// it does not hold the focus.
bool offeredToScreenReaders(const QWidget *control);

} // namespace rw
