// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where Tab and Shift+Tab lead from a control, without moving the focus there first:
// the next (or previous) control of its window that takes the focus from the keyboard,
// is enabled and shows. Null when there is none.

class QWidget;

namespace rw {

QWidget *tabNeighbour(QWidget *from, bool forward);

} // namespace rw
