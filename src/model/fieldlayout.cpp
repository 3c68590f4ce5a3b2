// SPDX-License-Identifier: GPL-3.0-or-later
#include "fieldlayout.h"

#include <array>

namespace rw {
namespace {

// A byte string literal with its length, embedded zero bytes included.
template <std::size_t N> constexpr std::string_view B(const char (&s)[N])
{
    return {s, N - 1};
}

using K = FieldKind;
constexpr int G = GeneralBlockOffset;

// clang-format off
constexpr std::array<FieldEntry, static_cast<int>(Field::Count)> Layout{{
    {Field::Opaque1,               "Opaque1",               G + 0,   13, K::Bytes,  B("\x0A\x10\x0A\x14\x01\x08\x05\x00\x10\x38\x02\x00\x01")},
    {Field::ChanSpacingCode,       "ChanSpacingCode",       G + 13,  1,  K::UInt8,  B("\x04")},
    {Field::Opaque2,               "Opaque2",               G + 14,  2,  K::Bytes,  B("\x00\x00")},
    {Field::POCBaud,               "POCBaud",               G + 16,  1,  K::UInt8,  B("\x01")},
    {Field::RangeTestDur,          "RangeTestDur",          G + 17,  1,  K::UInt8,  B("\x1E")},
    {Field::Opaque3,               "Opaque3",               G + 18,  2,  K::Bytes,  B("\x48\x00")},
    {Field::OpaqueText,            "OpaqueText",            G + 20,  8,  K::Bytes,  B("4545000\x00")},
    {Field::Opaque4,               "Opaque4",               G + 28,  4,  K::Bytes,  B("\x01\x01\x00\x00")},
    {Field::HeartBeat,             "HeartBeat",             G + 32,  4,  K::UInt32, B("\x00\x00\x00\x00")},
    {Field::Opaque5,               "Opaque5",               G + 36,  1,  K::Bytes,  B("\x04")},
    {Field::SendTwice,             "SendTwice",             G + 37,  1,  K::UInt8,  B("\x01")},
    {Field::Opaque6,               "Opaque6",               G + 38,  2,  K::Bytes,  B("\x00\x00")},
    // The register words as packed from the synthesizer fields' initial values, so a
    // table saved or written before any packing never carries undefined words.
    {Field::R0,                    "R0",                    G + 40,  4,  K::UInt32, B("\x08\xC6\x06\x00")},
    {Field::R1,                    "R1",                    G + 44,  4,  K::UInt32, B("\x83\x94\x01\x00")},
    {Field::R2,                    "R2",                    G + 48,  4,  K::UInt32, B("\x85\xC2\x83\x00")},
    {Field::R3,                    "R3",                    G + 52,  4,  K::UInt32, B("\x87\x0C\xF9\x00")},
    {Field::R4,                    "R4",                    G + 56,  4,  K::UInt32, B("\x19\xC7\x05\x00")},
    {Field::R5,                    "R5",                    G + 60,  4,  K::UInt32, B("\x0B\x00\x00\x00")},
    {Field::R6,                    "R6",                    G + 64,  4,  K::UInt32, B("\x4D\x00\x6C\x00")},
    {Field::R7,                    "R7",                    G + 68,  4,  K::UInt32, B("\x8F\x09\x00\x00")},
    {Field::Opaque7,               "Opaque7",               G + 72,  10, K::Bytes,  B("\x01\x01\x00\x00\x64\x00\x00\x00\x01\x00")},
    {Field::SysCode,               "SysCode",               G + 82,  4,  K::Bytes,  B("0001")},
    {Field::Opaque8,               "Opaque8",               G + 86,  1,  K::Bytes,  B("\x01")},
    {Field::PagerAlertFlash,       "PagerAlertFlash",       G + 87,  1,  K::UInt8,  B("\x01")},
    {Field::PagerAlertVibr,        "PagerAlertVibr",        G + 88,  1,  K::UInt8,  B("\x01")},
    {Field::PagerAlertBeep,        "PagerAlertBeep",        G + 89,  1,  K::UInt8,  B("\x00")},
    {Field::PagerAlertType,        "PagerAlertType",        G + 90,  1,  K::UInt8,  B("\x01")},
    {Field::Reserved91,            "Reserved91",            G + 91,  1,  K::Bytes,  B("\x00")},
    {Field::PagerAlertLen,         "PagerAlertLen",         G + 92,  4,  K::UInt32, B("\x0F\x00\x00\x00")},
    {Field::PowerOnFlash,          "PowerOnFlash",          G + 96,  1,  K::UInt8,  B("\x01")},
    {Field::PowerOnVibr,           "PowerOnVibr",           G + 97,  1,  K::UInt8,  B("\x01")},
    {Field::PowerOnBeep,           "PowerOnBeep",           G + 98,  1,  K::UInt8,  B("\x00")},
    {Field::PowerOnAlertType,      "PowerOnAlertType",      G + 99,  1,  K::UInt8,  B("\x01")},
    {Field::PowerOnAlertLen,       "PowerOnAlertLen",       G + 100, 4,  K::UInt32, B("\x03\x00\x00\x00")},
    {Field::LowBatFlash,           "LowBatFlash",           G + 104, 1,  K::UInt8,  B("\x01")},
    {Field::LowBatVibr,            "LowBatVibr",            G + 105, 1,  K::UInt8,  B("\x00")},
    {Field::LowBatBeep,            "LowBatBeep",            G + 106, 1,  K::UInt8,  B("\x01")},
    {Field::LowBatAlertType,       "LowBatAlertType",       G + 107, 1,  K::UInt8,  B("\x06")},
    {Field::LowBatAlertLen,        "LowBatAlertLen",        G + 108, 4,  K::UInt32, B("\x08\x00\x00\x00")},
    {Field::OutOfServiceFlash,     "OutOfServiceFlash",     G + 112, 1,  K::UInt8,  B("\x01")},
    {Field::OutOfServiceVibr,      "OutOfServiceVibr",      G + 113, 1,  K::UInt8,  B("\x01")},
    {Field::OutOfServiceBeep,      "OutOfServiceBeep",      G + 114, 1,  K::UInt8,  B("\x01")},
    {Field::OutOfServiceAlertType, "OutOfServiceAlertType", G + 115, 1,  K::UInt8,  B("\x02")},
    {Field::OutOfServiceAlertLen,  "OutOfServiceAlertLen",  G + 116, 4,  K::UInt32, B("\x08\x00\x00\x00")},
    {Field::OutOfServiceTM,        "OutOfServiceTM",        G + 120, 4,  K::UInt32, B("\x00\x00\x00\x00")},
    {Field::LowBatTM,              "LowBatTM",              G + 124, 4,  K::UInt32, B("\x01\x00\x00\x00")},
    {Field::FunBitAPat,            "FunBitAPat",            G + 128, 1,  K::UInt8,  B("\x01")},
    {Field::Reserved129,           "Reserved129",           G + 129, 3,  K::Bytes,  B("\x00\x00\x00")},
    {Field::FunBitAFlashLen,       "FunBitAFlashLen",       G + 132, 4,  K::UInt32, B("\x1E\x00\x00\x00")},
    {Field::FunBitBPat,            "FunBitBPat",            G + 136, 1,  K::UInt8,  B("\x01")},
    {Field::Reserved137,           "Reserved137",           G + 137, 3,  K::Bytes,  B("\x00\x00\x00")},
    {Field::FunBitBAlertLen,       "FunBitBAlertLen",       G + 140, 4,  K::UInt32, B("\x0F\x00\x00\x00")},
    {Field::FunBitBFlashLen,       "FunBitBFlashLen",       G + 144, 4,  K::UInt32, B("\x1E\x00\x00\x00")},
    {Field::FunBitCPat,            "FunBitCPat",            G + 148, 1,  K::UInt8,  B("\x01")},
    {Field::Reserved149,           "Reserved149",           G + 149, 3,  K::Bytes,  B("\x00\x00\x00")},
    {Field::FunBitCAlertLen,       "FunBitCAlertLen",       G + 152, 4,  K::UInt32, B("\x0F\x00\x00\x00")},
    {Field::FunBitCFlashLen,       "FunBitCFlashLen",       G + 156, 4,  K::UInt32, B("\x1E\x00\x00\x00")},
    {Field::FunBitDPat,            "FunBitDPat",            G + 160, 1,  K::UInt8,  B("\x01")},
    {Field::Reserved161,           "Reserved161",           G + 161, 3,  K::Bytes,  B("\x00\x00\x00")},
    {Field::FunBitDAlertLen,       "FunBitDAlertLen",       G + 164, 4,  K::UInt32, B("\x0F\x00\x00\x00")},
    {Field::FunBitDFlashLen,       "FunBitDFlashLen",       G + 168, 4,  K::UInt32, B("\x1E\x00\x00\x00")},
    {Field::FlashLen,              "FlashLen",              G + 172, 4,  K::UInt32, B("\x0A\x00\x00\x00")},
    {Field::PowLogoLead,           "PowLogoLead",           G + 176, 1,  K::UInt8,  B("\x05")},
    {Field::PowLogoLen,            "PowLogoLen",            G + 177, 1,  K::UInt8,  B("\x06")},
    {Field::PowLogoText,           "PowLogoText",           G + 178, 21, K::Bytes,  B("CONDOR           \x14\x00\x00\x00")},
    {Field::Reserved199,           "Reserved199",           G + 199, 1,  K::Bytes,  B("\x00")},
}};
// clang-format on

constexpr bool layoutIsConsistent()
{
    int next = GeneralBlockOffset;
    for (std::size_t i = 0; i < Layout.size(); ++i) {
        const FieldEntry &s = Layout[i];
        if (static_cast<std::size_t>(s.field) != i || s.offset != next ||
            static_cast<int>(s.defaults.size()) != s.width)
            return false;
        if (s.kind == K::UInt8 && s.width != 1)
            return false;
        if (s.kind == K::UInt32 && s.width != 4)
            return false;
        next += s.width;
    }
    return next == DataSize;
}
static_assert(layoutIsConsistent(), "the general block must be tiled by its fields, in order");

} // namespace

std::span<const FieldEntry> generalBlockLayout()
{
    return Layout;
}

const FieldEntry &fieldEntry(Field f)
{
    return Layout[static_cast<std::size_t>(f)];
}

} // namespace rw
