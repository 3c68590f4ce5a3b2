// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingnames.h"

#include "messages/messagerecord.h"
#include "model/editrules.h"
#include "model/generalfields.h"
#include "model/settingstable.h"
#include "model/textrules.h"
#include "synth/synthesizer.h"

#include <QStringList>

namespace rw {

namespace {

std::optional<int> messageNumber(const QString &name)
{
    if (!name.startsWith(QLatin1String("message.")))
        return std::nullopt;
    bool ok = false;
    const int n = name.mid(8).toInt(&ok);
    if (!ok || n < 1 || n > MessageCount)
        return std::nullopt;
    return n;
}

std::optional<QString> refusal(const EditResult &r)
{
    return r.stored() ? std::nullopt : std::optional<QString>(r.message);
}

} // namespace

bool isSettingName(const QString &name)
{
    static const QStringList names{"frequency",  "system-code", "baud",
                                   "range-test", "logo",        "send-twice"};
    return names.contains(name) || messageNumber(name).has_value();
}

// Blanks around a number are ignored for every numeric name, as the window's number edits
// ignore them; the logo and the messages take their text as given (their own rules handle
// blanks).
std::optional<QString> applySetting(SettingsTable &table, Synthesizer &synth, const QString &name,
                                    const QString &value)
{
    const QString number = trimBlanks(value);
    if (name == QLatin1String("frequency"))
        return refusal(synth.enterFrequency(number));
    if (name == QLatin1String("system-code"))
        return refusal(applyNumberText(table, Field::SysCode, number));
    if (name == QLatin1String("range-test"))
        return refusal(applyNumberText(table, Field::RangeTestDur, number));
    if (name == QLatin1String("baud")) {
        static const QStringList rates{"512", "1200", "2400"}; // the list's items, in order
        const qsizetype index = rates.indexOf(number);
        if (index < 0)
            return QStringLiteral("The baud rate is 512, 1200 or 2400.");
        table.setValue(Field::POCBaud, static_cast<uint32_t>(index));
        return std::nullopt;
    }
    if (name == QLatin1String("send-twice")) {
        if (number != QLatin1String("0") && number != QLatin1String("1"))
            return QStringLiteral("send-twice is 0 or 1.");
        table.setValue(Field::SendTwice, number == QLatin1String("1") ? 1 : 0);
        return std::nullopt;
    }
    if (name == QLatin1String("logo")) {
        constexpr int LogoLimit = 21; // what the window's logo edit takes
        if (value.size() > LogoLimit)
            return QStringLiteral("The logo takes at most %1 characters.").arg(LogoLimit);
        if (const auto refused = tableTextRefusal(value))
            return refused;
        storePowLogo(table, value);
        return std::nullopt;
    }
    if (const auto n = messageNumber(name)) {
        // Line and paragraph separators are stored as line breaks, not as characters.
        QString plain = value;
        plain.replace(QChar::LineSeparator, u'\n').replace(QChar::ParagraphSeparator, u'\n');
        if (const auto refused = tableTextRefusal(plain))
            return refused;
        QByteArray record = table.messageRecord(*n - 1);
        if (!storeMessage(record, value))
            return MessageTooLongText;
        table.setMessageRecord(*n - 1, record);
        return std::nullopt;
    }
    return QStringLiteral("unknown name");
}

} // namespace rw
