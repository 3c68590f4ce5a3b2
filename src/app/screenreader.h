// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window offers a screen reader (AT-SPI on Linux): every control by the name a
// person reads beside it, and nothing the window keeps out of the user's reach: not the
// focus parking place, not the pages whose tabs are hidden.

class QWidget;

namespace rw {

// Installs the window's accessible views of its containers, tab strips and lists; runs
// once per program, before the first window is shown.
void offerToScreenReaders();

// The control is left out of what a screen reader is offered (the focus parking place).
void keepFromScreenReaders(QWidget *control);

// False for a control kept from screen readers and for a page whose tab is hidden.
bool offeredToScreenReaders(const QWidget *control);

} // namespace rw
