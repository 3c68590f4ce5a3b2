// SPDX-License-Identifier: GPL-3.0-or-later
#include "messageimport.h"

#include "messagerecord.h"
#include "model/fieldlayout.h"
#include "model/settingcatalogue.h"
#include "model/settingstable.h"
#include "model/textrules.h"

#include <QList>
#include <QStringDecoder>
#include <QStringList>

namespace rw {

namespace {

struct ListedMessage {
    int line = 0; // where it begins, from 1
    QString text;
};

struct ReadList {
    QList<ListedMessage> messages;
    QString refusal;
};

// Lines without their ends (LF or CR LF); the empty lines that end the file are dropped.
QStringList linesOf(const QString &text)
{
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The message number at the start of an export line ("12<TAB>..."); 0 when there is none.
int exportNumber(const QString &line, qsizetype &textStart)
{
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 1 || tab > 4)
        return 0;
    const std::optional<qint32> n = parseInt32(line.left(tab));
    if (!n || *n < 1 || line[0] < u'0' || line[0] > u'9')
        return 0;
    textStart = tab + 1;
    return *n;
}

QString lineRefusal(int line, const QString &why)
{
    return QStringLiteral("Line %1: %2").arg(line).arg(why);
}

ReadList readExport(const QStringList &lines)
{
    ReadList list;
    for (int i = 0; i < lines.size(); ++i) {
        const int line = i + 1;
        qsizetype textStart = 0;
        const int n = exportNumber(lines[i], textStart);
        if (n == 0) {
            // A line break stored inside the message above, as the export wrote it.
            list.messages.last().text += QStringLiteral("\r\n") + lines[i];
            continue;
        }
        const int expected = static_cast<int>(list.messages.size()) + 1;
        if (n > MessageCount) {
            list.refusal = lineRefusal(line, QStringLiteral("a table holds %1 messages; this is "
                                                            "message %2.")
                                                 .arg(MessageCount)
                                                 .arg(n));
            return list;
        }
        if (n != expected) {
            list.refusal = lineRefusal(
                line,
                QStringLiteral("message %1 where message %2 was expected.").arg(n).arg(expected));
            return list;
        }
        list.messages.append({line, lines[i].mid(textStart)});
    }
    return list;
}

ReadList readTypedList(const QStringList &lines)
{
    ReadList list;
    for (int i = 0; i < lines.size(); ++i) {
        if (i == MessageCount) {
            list.refusal = lineRefusal(i + 1, QStringLiteral("a table holds %1 messages; the "
                                                             "list has more.")
                                                  .arg(MessageCount));
            return list;
        }
        list.messages.append({i + 1, lines[i]});
    }
    return list;
}

// A typed list comes from an editor that may have saved it as UTF-8; anything else is
// Latin-1, byte for byte.
QString typedListText(QByteArray content)
{
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(content);
    return utf8.hasError() ? QString::fromLatin1(content) : text;
}

} // namespace

MessageImport importMessages(SettingsTable &table, const QByteArray &content)
{
    const bool isExport = content.startsWith("1\t");
    const QStringList lines =
        linesOf(isExport ? QString::fromLatin1(content) : typedListText(content));
    const ReadList list = isExport ? readExport(lines) : readTypedList(lines);
    if (!list.refusal.isEmpty())
        return {false, 0, list.refusal};
    if (list.messages.isEmpty())
        return {false, 0, QStringLiteral("The file holds no messages.")};

    SettingsTable result = table;
    const SettingEntry &entry = *settingNamed(u"message.1");
    for (int k = 0; k < list.messages.size(); ++k) {
        const ListedMessage &m = list.messages[k];
        const auto refused = [&](const QString &why) {
            return MessageImport{
                false, 0,
                QStringLiteral("Line %1, message %2: %3").arg(m.line).arg(k + 1).arg(why)};
        };
        QByteArray record = result.messageRecord(k);
        if (m.text == fromTableText(storedMessageText(record)))
            continue;
        if (const auto why = textCharacterRefusal(entry, m.text))
            return refused(*why);
        if (const auto why = tableTextRefusal(m.text))
            return refused(*why);
        if (!storeMessage(record, m.text))
            return refused(MessageTooLongText);
        result.setMessageRecord(k, record);
    }
    for (int k = 0; k < list.messages.size(); ++k) {
        if (table.messageRecord(k) != result.messageRecord(k))
            table.setMessageRecord(k, result.messageRecord(k));
    }
    return {true, static_cast<int>(list.messages.size()), {}};
}

} // namespace rw
