// SPDX-License-Identifier: GPL-3.0-or-later
#include "editrules.h"

#include "generalfields.h"
#include "settingcatalogue.h"
#include "settingstable.h"
#include "textrules.h"

namespace rw {

namespace {

const NumberRange *rangeFor(Field f)
{
    const SettingEntry *e = settingOfField(f);
    return e && e->kind == SettingKind::Number ? &e->range : nullptr;
}

} // namespace

bool isNumericField(Field f)
{
    return rangeFor(f) != nullptr;
}

QString acceptedValuesText(Field f)
{
    const NumberRange *r = rangeFor(f);
    if (!r)
        return {};
    QString text = r->zeroToo ? QStringLiteral("0, or %1 to %2").arg(r->min).arg(r->max)
                              : QStringLiteral("%1 to %2").arg(r->min).arg(r->max);
    if (!r->unit.empty())
        text += u' ' + latin1(r->unit);
    return text;
}

QString storedValueText(Field f, const QString &shown)
{
    const NumberRange *r = rangeFor(f);
    QString text = QStringLiteral("stored: ") + shown;
    if (r && !r->unit.empty())
        text += u' ' + latin1(r->unit);
    return text;
}

EditResult applyNumber(SettingsTable &table, Field f, qint32 v)
{
    const NumberRange *range = rangeFor(f);
    Q_ASSERT(range);
    if (!range || !range->accepts(v))
        return {EditResult::Status::Refused, range ? latin1(range->refusal) : QString()};
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
