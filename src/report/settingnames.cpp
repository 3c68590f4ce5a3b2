// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingnames.h"

#include "messages/messagerecord.h"
#include "model/editrules.h"
#include "model/generalfields.h"
#include "model/settingcatalogue.h"
#include "model/settingstable.h"
#include "model/textrules.h"
#include "settingvalues.h"
#include "synth/synthesizer.h"

namespace rw {

namespace {

std::optional<QString> refusal(const EditResult &r)
{
    return r.stored() ? std::nullopt : std::optional<QString>(r.message);
}

std::optional<QString> applyChoice(SettingsTable &table, const SettingEntry &e,
                                   const QString &value)
{
    const auto choices = e.words.empty() ? e.items : e.words;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (value == latin1(choices[i])) {
            table.setValue(e.field, static_cast<uint32_t>(i));
            return std::nullopt;
        }
    }
    return QStringLiteral("%1 is %2.").arg(latin1(e.name), acceptsText(e));
}

// What the logo and the messages take as text, besides their own length rules.
std::optional<QString> textRefusal(const SettingEntry &e, const QString &text)
{
    if (const auto refused = textCharacterRefusal(e, text))
        return refused;
    return tableTextRefusal(text);
}

} // namespace

bool isSettingName(const QString &name)
{
    return settingNamed(name) != nullptr;
}

// Blanks around a number are ignored for every numeric name, as the window's number edits
// ignore them; the logo and the messages take their text as given (their own rules handle
// blanks).
std::optional<QString> applySetting(SettingsTable &table, Synthesizer &synth, const QString &name,
                                    const QString &value)
{
    const SettingEntry *e = settingNamed(name);
    if (!e)
        return QStringLiteral("unknown name");
    const QString number = trimBlanks(value);
    switch (e->kind) {
    case SettingKind::Frequency:
        return refusal(synth.enterFrequency(number));
    case SettingKind::Number:
        return refusal(applyNumberText(table, e->field, number));
    case SettingKind::List:
        return applyChoice(table, *e, number);
    case SettingKind::Flag:
        if (number != QLatin1String("0") && number != QLatin1String("1"))
            return QStringLiteral("%1 is 0 or 1.").arg(name);
        table.setValue(e->field, number == QLatin1String("1") ? 1 : 0);
        return std::nullopt;
    case SettingKind::Logo:
        if (value.size() > e->editLength)
            return QStringLiteral("The logo takes at most %1 characters.").arg(e->editLength);
        if (const auto refused = textRefusal(*e, value))
            return refused;
        storePowLogo(table, value);
        return std::nullopt;
    case SettingKind::Message: {
        // Line and paragraph separators are stored as line breaks, not as characters.
        QString plain = value;
        plain.replace(QChar::LineSeparator, u'\n').replace(QChar::ParagraphSeparator, u'\n');
        if (const auto refused = textRefusal(*e, plain))
            return refused;
        const int k = *messageNumber(name) - 1;
        QByteArray record = table.messageRecord(k);
        if (!storeMessage(record, value))
            return MessageTooLongText;
        table.setMessageRecord(k, record);
        return std::nullopt;
    }
    }
    return QStringLiteral("unknown name");
}

} // namespace rw
