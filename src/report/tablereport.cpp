// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablereport.h"

#include "messages/messagerecord.h"
#include "model/fieldlayout.h"
#include "model/generalfields.h"
#include "model/settingstable.h"
#include "model/textrules.h"
#include "settingvalues.h"

#include <array>

namespace rw {

namespace {

NamedValue fieldValue(const SettingsTable &table, const FieldEntry &e)
{
    if (e.field == Field::SysCode) {
        const QString code = decodeSysCode(table.bytes(e.field));
        return {latin1(e.name), escapedText(code), code};
    }
    if (e.kind == FieldKind::Bytes) {
        const QString hex = QString::fromLatin1(table.bytes(e.field).toHex());
        return {QString::fromLatin1(e.name), hex, hex};
    }
    const uint32_t v = table.value(e.field);
    QString text = QString::number(v);
    if (e.name.size() == 2 && e.name[0] == 'R') // the register words read best in hex
        text += QStringLiteral(" (0x%1)").arg(
            QString::number(v, 16).toUpper().rightJustified(6, QChar('0')));
    return {QString::fromLatin1(e.name), text, static_cast<double>(v)};
}

} // namespace

QList<NamedValue> generalFieldValues(const SettingsTable &table)
{
    QList<NamedValue> values;
    for (const FieldEntry &e : generalBlockLayout())
        values.append(fieldValue(table, e));
    return values;
}

QStringList messageTexts(const SettingsTable &table)
{
    QStringList texts;
    for (int k = 0; k < MessageCount; ++k)
        texts << QString::fromLatin1(storedMessageText(table.messageRecord(k)));
    return texts;
}

namespace {

QString recordHex(const QByteArray &record, int at, int width)
{
    return QString::fromLatin1(record.mid(at, width).toHex());
}

} // namespace

namespace {

// What differs between the two tables, collected line by line.
struct DifferenceList {
    QList<Difference> lines;
    QList<const SettingEntry *> shown; // the settings that have a line
    std::array<bool, MessageCount> messageShown{};

    void raw(const QString &name, const QString &va, const QString &vb)
    {
        if (va != vb)
            lines.append({name, name, va, vb});
    }
};

// One line per differing message, by its number.
void messageLines(const SettingEntry &e, const SettingsTable &a, const SettingsTable &b,
                  const SynthState &synth, DifferenceList &d)
{
    for (int k = 0; k < MessageCount; ++k) {
        const QString va = settingValueText(e, a, synth, k);
        const QString vb = settingValueText(e, b, synth, k);
        if (va == vb)
            continue;
        d.lines.append({QStringLiteral("message.%1").arg(k + 1), messageLabel(k), va, vb});
        d.messageShown[static_cast<std::size_t>(k)] = true;
    }
}

// Every setting a person edits, as the window shows it.
void settingLines(const SettingsTable &a, const SettingsTable &b, const SynthState &synth,
                  DifferenceList &d)
{
    for (const SettingEntry &e : settingCatalogue()) {
        if (e.kind == SettingKind::Message) {
            messageLines(e, a, b, synth, d);
            continue;
        }
        const QString va = settingValueText(e, a, synth);
        const QString vb = settingValueText(e, b, synth);
        if (va != vb) {
            d.lines.append({latin1(e.name), latin1(e.label), va, vb});
            d.shown.append(&e);
        }
    }
}

// The bytes of the message records no line above shows, as stored.
void rawMessageLines(const SettingsTable &a, const SettingsTable &b, DifferenceList &d)
{
    for (int k = 0; k < MessageCount; ++k) {
        const QByteArray ra = a.messageRecord(k);
        const QByteArray rb = b.messageRecord(k);
        const QString prefix = QStringLiteral("message.%1.").arg(k + 1);
        if (!d.messageShown[static_cast<std::size_t>(k)]) {
            d.raw(prefix + "MsgLen", QString::number(uint8_t(ra[MessageRecordLayout::Len])),
                  QString::number(uint8_t(rb[MessageRecordLayout::Len])));
            d.raw(prefix + "MsgText", recordHex(ra, MessageRecordLayout::Text, MessageTextSize),
                  recordHex(rb, MessageRecordLayout::Text, MessageTextSize));
        }
        d.raw(prefix + "MsgFixedByte", QString::number(uint8_t(ra[MessageRecordLayout::FixedByte])),
              QString::number(uint8_t(rb[MessageRecordLayout::FixedByte])));
        constexpr int ReservedSize = MessageRecordSize - MessageRecordLayout::Reserved;
        d.raw(prefix + "MsgReserved", recordHex(ra, MessageRecordLayout::Reserved, ReservedSize),
              recordHex(rb, MessageRecordLayout::Reserved, ReservedSize));
    }
}

// The fields of the general block no setting above covers, by their names.
void rawFieldLines(const SettingsTable &a, const SettingsTable &b, DifferenceList &d)
{
    for (const FieldEntry &f : generalBlockLayout()) {
        if (a.bytes(f.field) == b.bytes(f.field))
            continue;
        bool covered = false;
        for (const SettingEntry *e : d.shown)
            covered = covered || settingCoversField(*e, f.field);
        if (!covered) {
            const NamedValue va = fieldValue(a, f);
            const NamedValue vb = fieldValue(b, f);
            d.lines.append({va.name, va.name, va.text, vb.text});
        }
    }
}

} // namespace

QList<Difference> settingDifferences(const SettingsTable &a, const SettingsTable &b,
                                     const SynthState &synth)
{
    DifferenceList d;
    settingLines(a, b, synth, d);
    rawMessageLines(a, b, d);
    rawFieldLines(a, b, d);
    return d.lines;
}

QString differencesText(const QList<Difference> &d, const QString &aName, const QString &bName,
                        DifferenceNames names)
{
    // The names are file or port names: a control character in one stays text.
    QString out =
        QStringLiteral("--- %1\n+++ %2\n").arg(escapedControls(aName), escapedControls(bName));
    for (const Difference &x : d)
        out += QStringLiteral("%1: %2 -> %3\n")
                   .arg(names == DifferenceNames::Labels ? x.label : x.name, x.a, x.b);
    return out;
}

JsonNode differencesJson(const QList<Difference> &d, const QString &aName, const QString &bName)
{
    JsonNode list = JsonNode::array();
    for (const Difference &x : d)
        list.append(JsonNode::object()
                        .add("name", JsonNode::string(x.name))
                        .add("label", JsonNode::string(x.label))
                        .add("a", JsonNode::string(x.a))
                        .add("b", JsonNode::string(x.b)));
    return JsonNode::object()
        .add("a", JsonNode::string(aName))
        .add("b", JsonNode::string(bName))
        .add("differences", list);
}

} // namespace rw
