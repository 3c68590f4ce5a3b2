// SPDX-License-Identifier: GPL-3.0-or-later
#include "editrules.h"

#include "generalfields.h"
#include "settingstable.h"
#include "textrules.h"

namespace rw {

namespace {

struct NumericRule {
    bool (*accepts)(qint32 v);
    const char *refusal;
    const char *accepted; // what the field takes, in words a person reads
};

constexpr NumericRule SysCodeRule{[](qint32 v) { return v >= 0 && v <= 2000; },
                                  "Please insert a number between 0 ~ 2000 !", "0 to 2000"};
constexpr NumericRule RangeTestRule{[](qint32 v) { return v == 0 || (v >= 10 && v <= 240); },
                                    "Please insert a number between 0 or 10 ~ 240 !",
                                    "0, or 10 to 240 seconds"};
constexpr NumericRule HeartBeatRule{[](qint32 v) { return v == 0 || (v >= 30 && v <= 999); },
                                    "Please insert a number between 0 or 30 ~ 999 !",
                                    "0, or 30 to 999"};
// Lengths in seconds of the flash and alert settings.
constexpr NumericRule SecondsRule{[](qint32 v) { return v >= 0 && v <= 999; },
                                  "Please insert a number between 0 ~ 999 !", "0 to 999 seconds"};

const NumericRule *ruleFor(Field f)
{
    switch (f) {
    case Field::SysCode:
        return &SysCodeRule;
    case Field::RangeTestDur:
        return &RangeTestRule;
    case Field::HeartBeat:
        return &HeartBeatRule;
    case Field::FlashLen:
    case Field::PagerAlertLen:
    case Field::PowerOnAlertLen:
    case Field::LowBatAlertLen:
    case Field::OutOfServiceAlertLen:
    case Field::FunBitAFlashLen:
    case Field::FunBitBAlertLen:
    case Field::FunBitBFlashLen:
    case Field::FunBitCAlertLen:
    case Field::FunBitCFlashLen:
    case Field::FunBitDAlertLen:
    case Field::FunBitDFlashLen:
        return &SecondsRule;
    default:
        return nullptr;
    }
}

} // namespace

bool isNumericField(Field f)
{
    return ruleFor(f) != nullptr;
}

QString acceptedValuesText(Field f)
{
    const NumericRule *rule = ruleFor(f);
    return rule ? QString::fromLatin1(rule->accepted) : QString();
}

EditResult applyNumber(SettingsTable &table, Field f, qint32 v)
{
    const NumericRule *rule = ruleFor(f);
    Q_ASSERT(rule);
    if (!rule || !rule->accepts(v))
        return {EditResult::Status::Refused, QString::fromLatin1(rule ? rule->refusal : "")};
    if (f == Field::SysCode)
        table.setBytes(f, encodeSysCode(v));
    else
        table.setValue(f, static_cast<uint32_t>(v));
    return {};
}

EditResult applyNumberText(SettingsTable &table, Field f, const QString &text)
{
    const QString trimmed = trimBlanks(text);
    const std::optional<qint32> v = parseInt32(trimmed);
    if (!v)
        return {EditResult::Status::NotANumber, notAnIntegerMessage(trimmed)};
    return applyNumber(table, f, *v);
}

} // namespace rw
