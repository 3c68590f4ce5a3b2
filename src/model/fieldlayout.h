// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where every setting lies in the transmitter's 2048-byte settings image.
// This is the one table of offsets, widths and built-in values: the default image,
// every accessor and the tests all read it.

#include <cstdint>
#include <span>
#include <string_view>

namespace rw {

constexpr int ImageSize = 2048;       // what travels to files and the transmitter
constexpr int DataSize = 1940;        // bytes that carry data; the rest is always zero
constexpr int MessageAreaSize = 1740; // 30 canned-message records
constexpr int GeneralBlockOffset = 1740;
constexpr int MessageCount = 30;
constexpr int MessageRecordSize = 58;
constexpr int MessageTextSize = 50;
constexpr uint16_t TransmitterBaseAddress = 0x1000; // image byte n lies at 0x1000 + n

// Fields of the general block, in image order. Reserved bytes are listed too, so the
// table covers every byte from 1740 to 1939.
enum class Field {
    Opaque1,
    ChanSpacingCode,
    Opaque2,
    POCBaud,
    RangeTestDur,
    Opaque3,
    OpaqueText,
    Opaque4,
    HeartBeat,
    Opaque5,
    SendTwice,
    Opaque6,
    R0,
    R1,
    R2,
    R3,
    R4,
    R5,
    R6,
    R7,
    Opaque7,
    SysCode,
    Opaque8,
    PagerAlertFlash,
    PagerAlertVibr,
    PagerAlertBeep,
    PagerAlertType,
    Reserved91,
    PagerAlertLen,
    PowerOnFlash,
    PowerOnVibr,
    PowerOnBeep,
    PowerOnAlertType,
    PowerOnAlertLen,
    LowBatFlash,
    LowBatVibr,
    LowBatBeep,
    LowBatAlertType,
    LowBatAlertLen,
    OutOfServiceFlash,
    OutOfServiceVibr,
    OutOfServiceBeep,
    OutOfServiceAlertType,
    OutOfServiceAlertLen,
    OutOfServiceTM,
    LowBatTM,
    FunBitAPat,
    Reserved129,
    FunBitAFlashLen,
    FunBitBPat,
    Reserved137,
    FunBitBAlertLen,
    FunBitBFlashLen,
    FunBitCPat,
    Reserved149,
    FunBitCAlertLen,
    FunBitCFlashLen,
    FunBitDPat,
    Reserved161,
    FunBitDAlertLen,
    FunBitDFlashLen,
    FlashLen,
    PowLogoLead,
    PowLogoLen,
    PowLogoText,
    Reserved199,
    Count
};

enum class FieldKind {
    Bytes,  // opaque, reserved or text: kept byte for byte
    UInt8,  // one unsigned byte
    UInt32, // four bytes, little-endian
};

struct FieldEntry {
    Field field;
    std::string_view name;
    int offset; // within the 2048-byte image
    int width;  // bytes
    FieldKind kind;
    std::string_view defaults; // built-in bytes, exactly `width` of them
};

// The whole general block, in image order.
std::span<const FieldEntry> generalBlockLayout();
const FieldEntry &fieldEntry(Field f);

// Layout of one canned-message record (record k starts at image byte 58 k).
struct MessageRecordLayout {
    static constexpr int Len = 0;       // MsgLen: characters in MsgText, 0..50
    static constexpr int FixedByte = 1; // MsgFixedByte: opaque, 2 in a new record
    static constexpr int Text = 2;      // MsgText: 50 bytes, zero after the text
    static constexpr int Reserved = 52; // MsgReserved: 6 opaque bytes
    static constexpr uint8_t DefaultFixedByte = 2;
};

constexpr int messageRecordOffset(int k)
{
    return k * MessageRecordSize;
}

} // namespace rw
