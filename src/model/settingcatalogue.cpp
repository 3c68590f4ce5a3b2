// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingcatalogue.h"

#include "textrules.h"

#include <array>

namespace rw {

namespace {

using namespace std::literals;

constexpr std::array BaudItems{"512 bps"sv, "1200 bps"sv, "2400 bps"sv};
constexpr std::array BaudWords{"512"sv, "1200"sv, "2400"sv};
constexpr std::array OutOfRangeItems{"Disable"sv, "60 sec"sv, "120 sec"sv, "5 min"sv, "10 min"sv};
constexpr std::array LowBatteryItems{"Disable"sv, "120 sec"sv, "10 min"sv, "60 min"sv};
constexpr std::array AlertToneItems{
    "Tone 1"sv,   "Tone 2"sv,   "Tone 3"sv,   "Tone 4"sv,   "Tone 5"sv,
    "Tone 6"sv,   "Tone 7"sv,   "Tone 8"sv,   "Music 1"sv,  "Music 2"sv,
    "Music 3"sv,  "Music 4"sv,  "Music 5"sv,  "Music 6"sv,  "Music 7"sv,
    "Music 8"sv,  "Music 9"sv,  "Music 10"sv, "Music 11"sv, "Music 12"sv,
    "Music 13"sv, "Music 14"sv, "Music 15"sv, "Music 16"sv, "Silent"sv};
constexpr std::array FunBitAItems{"Type 1"sv, "Type 2"sv, "Type 3"sv, "Type 4"sv, "Type 5"sv};
constexpr std::array FunBitMelodyItems{
    "User 1"sv,   "User 2"sv,   "User 3"sv,   "User 4"sv,   "Tone 1"sv,   "Tone 2"sv,
    "Tone 3"sv,   "Tone 4"sv,   "Tone 5"sv,   "Tone 6"sv,   "Tone 7"sv,   "Tone 8"sv,
    "Music 1"sv,  "Music 2"sv,  "Music 3"sv,  "Music 4"sv,  "Music 5"sv,  "Music 6"sv,
    "Music 7"sv,  "Music 8"sv,  "Music 9"sv,  "Music 10"sv, "Music 11"sv, "Music 12"sv,
    "Music 13"sv, "Music 14"sv, "Music 15"sv, "Music 16"sv};

constexpr NumberRange SysCodeRange{0, 2000, false, "Please insert a number between 0 ~ 2000 !", ""};
constexpr NumberRange RangeTestRange{10, 240, true,
                                     "Please insert a number between 0 or 10 ~ 240 !", "seconds"};
constexpr NumberRange HeartBeatRange{30, 999, true,
                                     "Please insert a number between 0 or 30 ~ 999 !", ""};
// Lengths in seconds of the flash and alert settings.
constexpr NumberRange SecondsRange{0, 999, false, "Please insert a number between 0 ~ 999 !",
                                   "seconds"};

constexpr SettingEntry number(std::string_view name, std::string_view label, Field f,
                              int editLength, NumberRange r, bool offered = false)
{
    return {name, label, SettingKind::Number, f, editLength, r, {}, {}, offered};
}

constexpr SettingEntry list(std::string_view name, std::string_view label, Field f,
                            std::span<const std::string_view> items)
{
    return {name, label, SettingKind::List, f, 0, {}, items, {}, false};
}

constexpr SettingEntry flag(std::string_view name, std::string_view label, Field f)
{
    return {name, label, SettingKind::Flag, f, 0, {}, {}, {}, false};
}

const SettingEntry Catalogue[] = {
    {"frequency", "Frequency", SettingKind::Frequency, Field::Count, 9, {}, {}, {}, true},
    number("system-code", "System Code", Field::SysCode, 9, SysCodeRange, true),
    number("range-test", "Range test duration", Field::RangeTestDur, 3, RangeTestRange, true),
    {"baud", "POCSAG_Baud", SettingKind::List, Field::POCBaud, 0, {}, BaudItems, BaudWords, true},
    {"logo", "Power Up Logo", SettingKind::Logo, Field::PowLogoText, 21, {}, {}, {}, true},
    {"send-twice", "Send Twice Enable", SettingKind::Flag, Field::SendTwice, 0, {}, {}, {}, true},
    {"message.N", "Msg #", SettingKind::Message, Field::Count, MessageTextSize, {}, {}, {}, true},

    number("HeartBeat", "Heart beat", Field::HeartBeat, 3, HeartBeatRange),
    number("FlashLen", "Flash Length", Field::FlashLen, 3, SecondsRange),
    list("OutOfServiceTM", "Out Of Range", Field::OutOfServiceTM, OutOfRangeItems),
    list("LowBatTM", "Low Battery Reminider Time", Field::LowBatTM, LowBatteryItems),

    flag("PagerAlertFlash", "Pager Alert Type: Flash", Field::PagerAlertFlash),
    flag("PagerAlertVibr", "Pager Alert Type: Vibrate", Field::PagerAlertVibr),
    flag("PagerAlertBeep", "Pager Alert Type: Beep", Field::PagerAlertBeep),
    list("PagerAlertType", "Pager Alert Type", Field::PagerAlertType, AlertToneItems),
    number("PagerAlertLen", "Pager Alert Type: Alert Lengths", Field::PagerAlertLen, 3,
           SecondsRange),
    flag("PowerOnFlash", "Power On Alert Type: Flash", Field::PowerOnFlash),
    flag("PowerOnVibr", "Power On Alert Type: Vibrate", Field::PowerOnVibr),
    flag("PowerOnBeep", "Power On Alert Type: Beep", Field::PowerOnBeep),
    list("PowerOnAlertType", "Power On Alert Type", Field::PowerOnAlertType, AlertToneItems),
    number("PowerOnAlertLen", "Power On Alert Type: Alert Lengths", Field::PowerOnAlertLen, 3,
           SecondsRange),
    flag("LowBatFlash", "Low Battery Alert Type: Flash", Field::LowBatFlash),
    flag("LowBatVibr", "Low Battery Alert Type: Vibrate", Field::LowBatVibr),
    flag("LowBatBeep", "Low Battery Alert Type: Beep", Field::LowBatBeep),
    list("LowBatAlertType", "Low Battery Alert Type", Field::LowBatAlertType, AlertToneItems),
    number("LowBatAlertLen", "Low Battery Alert Type: Alert Lengths", Field::LowBatAlertLen, 3,
           SecondsRange),
    flag("OutOfServiceFlash", "Out Of Range Alert Type: Flash", Field::OutOfServiceFlash),
    flag("OutOfServiceVibr", "Out Of Range Alert Type: Vibrate", Field::OutOfServiceVibr),
    flag("OutOfServiceBeep", "Out Of Range Alert Type: Beep", Field::OutOfServiceBeep),
    list("OutOfServiceAlertType", "Out Of Range Alert Type", Field::OutOfServiceAlertType,
         AlertToneItems),
    number("OutOfServiceAlertLen", "Out Of Range Alert Type: Alert Lengths",
           Field::OutOfServiceAlertLen, 3, SecondsRange),

    list("FunBitAPat", "Fun. Bit A: Alert Pattern", Field::FunBitAPat, FunBitAItems),
    number("FunBitAFlashLen", "Fun. Bit A: Flash Length", Field::FunBitAFlashLen, 0, SecondsRange),
    list("FunBitBPat", "Fun. Bit B: Alert Pattern", Field::FunBitBPat, FunBitMelodyItems),
    number("FunBitBAlertLen", "Fun. Bit B: Alert Length", Field::FunBitBAlertLen, 0, SecondsRange),
    number("FunBitBFlashLen", "Fun. Bit B: Flash Length", Field::FunBitBFlashLen, 0, SecondsRange),
    list("FunBitCPat", "Fun. Bit C: Alert Pattern", Field::FunBitCPat, FunBitMelodyItems),
    number("FunBitCAlertLen", "Fun. Bit C: Alert Length", Field::FunBitCAlertLen, 0, SecondsRange),
    number("FunBitCFlashLen", "Fun. Bit C: Flash Length", Field::FunBitCFlashLen, 0, SecondsRange),
    list("FunBitDPat", "Fun. Bit D: Alert Pattern", Field::FunBitDPat, FunBitMelodyItems),
    number("FunBitDAlertLen", "Fun. Bit D: Alert Length", Field::FunBitDAlertLen, 0, SecondsRange),
    number("FunBitDFlashLen", "Fun. Bit D: Flash Length", Field::FunBitDFlashLen, 0, SecondsRange),
};

} // namespace

std::span<const SettingEntry> settingCatalogue()
{
    return Catalogue;
}

std::optional<int> messageNumber(QStringView name)
{
    if (!name.startsWith(QLatin1String("message.")))
        return std::nullopt;
    const QStringView digits = name.mid(8);
    bool ok = false;
    const int n = digits.toInt(&ok);
    if (!ok || n < 1 || n > MessageCount || digits != QString::number(n))
        return std::nullopt;
    return n;
}

QString messageLabel(int k)
{
    const SettingEntry &e = *settingNamed(u"message.1");
    return QStringLiteral("%1 %2").arg(latin1(e.label)).arg(k + 1, 2, 10, QLatin1Char('0'));
}

bool settingCoversField(const SettingEntry &e, Field f)
{
    switch (e.kind) {
    case SettingKind::Frequency:
        return f == Field::R0 || f == Field::R1 || f == Field::R5 || f == Field::ChanSpacingCode;
    case SettingKind::Logo:
        return f == Field::PowLogoLead || f == Field::PowLogoLen || f == Field::PowLogoText;
    case SettingKind::Message:
        return false;
    default:
        return f == e.field;
    }
}

const SettingEntry *settingNamed(QStringView name)
{
    for (const SettingEntry &e : Catalogue) {
        if (!e.offered)
            continue;
        if (e.kind == SettingKind::Message ? messageNumber(name).has_value()
                                           : name == latin1(e.name))
            return &e;
    }
    return nullptr;
}

const SettingEntry *settingOfField(Field f)
{
    for (const SettingEntry &e : Catalogue) {
        if (e.field == f)
            return &e;
    }
    return nullptr;
}

std::optional<QString> textCharacterRefusal(const SettingEntry &e, const QString &text)
{
    const bool breaksToo = e.kind == SettingKind::Message;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (breaksToo && (c == u'\r' || c == u'\n' || c == u'\t'))
            continue;
        // C1 controls (U+0080 to U+009F, CSI among them) act on a terminal as C0 ones do.
        if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0))
            continue;
        return QStringLiteral("The control character %1 at position %2 cannot be stored; %3 "
                              "takes printable characters%4 only.")
            .arg(escapedText(QString(text[i])))
            .arg(i + 1)
            .arg(e.kind == SettingKind::Message ? QStringLiteral("a message")
                                                : QStringLiteral("the logo"))
            .arg(breaksToo ? QStringLiteral(", line breaks and tabs") : QString());
    }
    return std::nullopt;
}

} // namespace rw
