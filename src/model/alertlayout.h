// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four alert profiles and the four function-bit alerts, described once: which
// fields of the general block each one uses. The editors and tests walk these tables.

#include "fieldlayout.h"

#include <array>
#include <optional>

namespace rw {

struct AlertProfileFields {
    Field flash;
    Field vibrate;
    Field beep;
    Field type;   // index into the 25-item alert-type list
    Field length; // seconds
};

// Pager alert, power on, low battery, out of range.
inline constexpr std::array<AlertProfileFields, 4> AlertProfileLayout{{
    {Field::PagerAlertFlash, Field::PagerAlertVibr, Field::PagerAlertBeep, Field::PagerAlertType,
     Field::PagerAlertLen},
    {Field::PowerOnFlash, Field::PowerOnVibr, Field::PowerOnBeep, Field::PowerOnAlertType,
     Field::PowerOnAlertLen},
    {Field::LowBatFlash, Field::LowBatVibr, Field::LowBatBeep, Field::LowBatAlertType,
     Field::LowBatAlertLen},
    {Field::OutOfServiceFlash, Field::OutOfServiceVibr, Field::OutOfServiceBeep,
     Field::OutOfServiceAlertType, Field::OutOfServiceAlertLen},
}};

struct FunBitFields {
    Field pattern;
    std::optional<Field> alertLen; // function bit A only flashes: no alert length
    Field flashLen;
};

// Function bits A, B, C, D.
inline constexpr std::array<FunBitFields, 4> FunBitLayout{{
    {Field::FunBitAPat, std::nullopt, Field::FunBitAFlashLen},
    {Field::FunBitBPat, Field::FunBitBAlertLen, Field::FunBitBFlashLen},
    {Field::FunBitCPat, Field::FunBitCAlertLen, Field::FunBitCFlashLen},
    {Field::FunBitDPat, Field::FunBitDAlertLen, Field::FunBitDFlashLen},
}};

} // namespace rw
