// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingnames.h"

#include "messages/messagerecord.h"
#include "model/editrules.h"
#include "model/generalfields.h"
#include "model/settingstable.h"
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

std::optional<QString> unstorableTextRefusal(const QString &text)
{
    for (const QChar c : text) {
        // Line and paragraph separators are stored as line breaks.
        if (c.unicode() > 0xFF && c.unicode() != 0x2028 && c.unicode() != 0x2029)
            return QStringLiteral("'%1' cannot be stored: the table holds Latin-1 characters "
                                  "only")
                .arg(c);
    }
    return std::nullopt;
}

std::optional<QString> applySetting(SettingsTable &table, Synthesizer &synth, const QString &name,
                                    const QString &value)
{
    if (name == QLatin1String("frequency"))
        return refusal(synth.enterFrequency(value));
    if (name == QLatin1String("system-code"))
        return refusal(applyNumberText(table, Field::SysCode, value));
    if (name == QLatin1String("range-test"))
        return refusal(applyNumberText(table, Field::RangeTestDur, value));
    if (name == QLatin1String("baud")) {
        static const QStringList rates{"512", "1200", "2400"}; // the list's items, in order
        const qsizetype index = rates.indexOf(value.trimmed());
        if (index < 0)
            return QStringLiteral("The baud rate is 512, 1200 or 2400.");
        table.setValue(Field::POCBaud, static_cast<uint32_t>(index));
        return std::nullopt;
    }
    if (name == QLatin1String("send-twice")) {
        if (value != QLatin1String("0") && value != QLatin1String("1"))
            return QStringLiteral("send-twice is 0 or 1.");
        table.setValue(Field::SendTwice, value == QLatin1String("1") ? 1 : 0);
        return std::nullopt;
    }
    if (name == QLatin1String("logo")) {
        constexpr int LogoLimit = 21; // what the window's logo edit takes
        if (value.size() > LogoLimit)
            return QStringLiteral("The logo takes at most %1 characters.").arg(LogoLimit);
        if (const auto r = unstorableTextRefusal(value))
            return r;
        storePowLogo(table, value);
        return std::nullopt;
    }
    if (const auto n = messageNumber(name)) {
        QByteArray record = table.messageRecord(*n - 1);
        if (!storeMessage(record, value))
            return MessageTooLongText;
        if (const auto r = unstorableTextRefusal(value))
            return r;
        table.setMessageRecord(*n - 1, record);
        return std::nullopt;
    }
    return QStringLiteral("unknown name");
}

} // namespace rw
