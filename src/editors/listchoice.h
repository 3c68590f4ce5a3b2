// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Showing and storing the choice of a drop-down list.

#include <QComboBox>
#include <cstdint>

namespace rw {

// A list shows its stored index; a value outside the list leaves it without a selection.
inline void showListChoice(QComboBox *list, uint32_t value)
{
    list->setCurrentIndex(value < static_cast<uint32_t>(list->count()) ? static_cast<int>(value)
                                                                       : -1);
}

} // namespace rw
