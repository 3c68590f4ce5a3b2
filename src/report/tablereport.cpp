// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablereport.h"

#include "messages/messagerecord.h"
#include "model/fieldlayout.h"
#include "model/generalfields.h"
#include "model/settingstable.h"
#include "synth/frequency.h"
#include "synth/synthtable.h"

#include <QJsonArray>

namespace rw {

namespace {

NamedValue fieldValue(const SettingsTable &table, const FieldEntry &e)
{
    if (e.field == Field::SysCode) {
        const QString code = decodeSysCode(table.bytes(e.field));
        return {QString::fromLatin1(e.name), code, code};
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

QString quoted(const QString &text)
{
    QString q = text;
    q.replace('\\', QStringLiteral("\\\\"));
    q.replace('\r', QStringLiteral("\\r"));
    q.replace('\n', QStringLiteral("\\n"));
    q.replace('\t', QStringLiteral("\\t"));
    return '"' + q + '"';
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

QList<NamedValue> messageRecordValues(const SettingsTable &table, int k)
{
    const QByteArray record = table.messageRecord(k);
    const QString prefix = QStringLiteral("message.%1.").arg(k + 1);
    const auto len = static_cast<uint8_t>(record[MessageRecordLayout::Len]);
    const auto fixed = static_cast<uint8_t>(record[MessageRecordLayout::FixedByte]);
    const QString reserved = QString::fromLatin1(
        record.mid(MessageRecordLayout::Reserved, MessageRecordSize - MessageRecordLayout::Reserved)
            .toHex());
    return {{prefix + "MsgLen", QString::number(len), len},
            {prefix + "MsgFixedByte", QString::number(fixed), fixed},
            {prefix + "MsgReserved", reserved, reserved}};
}

QList<Difference> tableDifferences(const SettingsTable &a, const SettingsTable &b)
{
    QList<Difference> d;
    const QStringList textA = messageTexts(a);
    const QStringList textB = messageTexts(b);
    for (int k = 0; k < MessageCount; ++k) {
        const QByteArray fullA = a.messageRecord(k).mid(MessageRecordLayout::Text, MessageTextSize);
        const QByteArray fullB = b.messageRecord(k).mid(MessageRecordLayout::Text, MessageTextSize);
        if (fullA != fullB) {
            // Bytes after the first zero byte differ only where the text reads the same.
            if (textA[k] != textB[k])
                d.append(
                    {QStringLiteral("message.%1").arg(k + 1), quoted(textA[k]), quoted(textB[k])});
            else
                d.append({QStringLiteral("message.%1.MsgText").arg(k + 1),
                          QString::fromLatin1(fullA.toHex()), QString::fromLatin1(fullB.toHex())});
        }
        const QList<NamedValue> restA = messageRecordValues(a, k);
        const QList<NamedValue> restB = messageRecordValues(b, k);
        for (qsizetype i = 0; i < restA.size(); ++i) {
            if (restA[i].text != restB[i].text)
                d.append({restA[i].name, restA[i].text, restB[i].text});
        }
    }
    const QList<NamedValue> fieldsA = generalFieldValues(a);
    const QList<NamedValue> fieldsB = generalFieldValues(b);
    for (qsizetype i = 0; i < fieldsA.size(); ++i) {
        const Field f = generalBlockLayout()[static_cast<std::size_t>(i)].field;
        if (a.bytes(f) != b.bytes(f))
            d.append({fieldsA[i].name, fieldsA[i].text, fieldsB[i].text});
    }
    return d;
}

QList<Difference> settingDifferences(const SettingsTable &a, const SettingsTable &b,
                                     const SynthState &synth)
{
    // Each table's carrier as the window would show it after opening that table.
    auto carrier = [&synth](const SettingsTable &t) {
        SynthState s = synth;
        refreshSynthFromTable(s, t);
        const QString hz = frequencyText(s);
        return hz.isEmpty() ? QStringLiteral("(none)") : hz + QStringLiteral(" Hz");
    };
    QList<Difference> d;
    const QString carrierA = carrier(a);
    const QString carrierB = carrier(b);
    if (carrierA != carrierB)
        d.append({QStringLiteral("frequency"), carrierA, carrierB});
    const QString logoA = powLogoText(a);
    const QString logoB = powLogoText(b);
    if (logoA != logoB)
        d.append({QStringLiteral("logo"), quoted(logoA), quoted(logoB)});
    return d + tableDifferences(a, b);
}

QString differencesText(const QList<Difference> &d, const QString &aName, const QString &bName)
{
    QString out = QStringLiteral("--- %1\n+++ %2\n").arg(aName, bName);
    for (const Difference &x : d)
        out += QStringLiteral("%1: %2 -> %3\n").arg(x.name, x.a, x.b);
    return out;
}

QJsonObject differencesJson(const QList<Difference> &d, const QString &aName, const QString &bName)
{
    QJsonArray list;
    for (const Difference &x : d)
        list.append(QJsonObject{{"name", x.name}, {"a", x.a}, {"b", x.b}});
    return {{"a", aName}, {"b", bName}, {"differences", list}};
}

} // namespace rw
