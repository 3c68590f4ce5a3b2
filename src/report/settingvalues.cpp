// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingvalues.h"

#include "messages/messagerecord.h"
#include "model/editrules.h"
#include "model/generalfields.h"
#include "model/settingstable.h"
#include "model/textrules.h"
#include "synth/frequency.h"
#include "synth/synthtable.h"

#include <QStringList>

namespace rw {

QString acceptsText(const SettingEntry &e)
{
    switch (e.kind) {
    case SettingKind::Frequency:
        return acceptedFrequencyText();
    case SettingKind::Number:
        return acceptedValuesText(e.field);
    case SettingKind::List: {
        QStringList choices;
        for (const std::string_view w : e.words.empty() ? e.items : e.words)
            choices << latin1(w);
        if (!e.words.empty())
            return QStringLiteral("one of ") + choices.join(QStringLiteral(", "));
        return QStringLiteral("an item's position, 0 to %1 (%2)")
            .arg(choices.size() - 1)
            .arg(choices.join(QStringLiteral(", ")));
    }
    case SettingKind::Flag:
        return QStringLiteral("one of 0, 1");
    case SettingKind::Logo:
        return QStringLiteral("a text of at most %1 Latin-1 characters, no control characters")
            .arg(e.editLength);
    case SettingKind::Message:
        return QStringLiteral("message.1 to message.%1: a text of at most %2 Latin-1 characters; "
                              "line breaks and tabs, no other control characters")
            .arg(MessageCount)
            .arg(e.editLength);
    }
    return {};
}

QString quotedText(const QString &text)
{
    return u'"' + escapedText(text) + u'"';
}

QString settingValueText(const SettingEntry &e, const SettingsTable &table, const SynthState &synth,
                         int message)
{
    switch (e.kind) {
    case SettingKind::Frequency: {
        // The carrier as the window shows it after opening this table.
        SynthState s = synth;
        refreshSynthFromTable(s, table);
        const QString hz = frequencyText(s);
        return hz.isEmpty() ? QStringLiteral("(none)") : hz + QStringLiteral(" Hz");
    }
    case SettingKind::Number:
        if (e.field == Field::SysCode)
            return escapedText(decodeSysCode(table.bytes(e.field)));
        return QString::number(table.value(e.field));
    case SettingKind::List: {
        const uint32_t v = table.value(e.field);
        if (v >= e.items.size())
            return QStringLiteral("%1 (no item)").arg(v);
        // A list set takes by word shows the word; one build takes by position, both.
        if (!e.words.empty())
            return latin1(e.words[v]);
        return QStringLiteral("%1 (%2)").arg(v).arg(latin1(e.items[v]));
    }
    case SettingKind::Flag:
        return QString::number(table.value(e.field));
    case SettingKind::Logo:
        return quotedText(powLogoText(table));
    case SettingKind::Message:
        return quotedText(QString::fromLatin1(storedMessageText(table.messageRecord(message))));
    }
    return {};
}

} // namespace rw
