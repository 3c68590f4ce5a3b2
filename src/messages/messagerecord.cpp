// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagerecord.h"

#include "model/fieldlayout.h"
#include "model/textrules.h"

namespace rw {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// Every line break as CR LF; a CR LF pair counts as one break.
QString withStoredLineBreaks(const QString &text)
{
    QString r;
    r.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!isLineBreak(c)) {
            r += c;
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        r += QStringLiteral("\r\n");
    }
    return r;
}

} // namespace

QByteArray storedMessageText(const QByteArray &record)
{
    return untilZero(record.mid(MessageRecordLayout::Text, MessageTextSize), MessageTextSize);
}

QString messageForMemo(const QByteArray &record)
{
    QString text = fromTableText(storedMessageText(record));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString withoutZeroCharacters(const QString &text)
{
    QString r = text;
    r.remove(QChar(0));
    return r;
}

QByteArray messageFromMemo(const QString &memoText)
{
    // Line breaks first: a trailing paragraph separator is a blank once it is CR LF.
    return toTableText(trimBlanks(withStoredLineBreaks(withoutZeroCharacters(memoText))));
}

int storedMessageLength(const QString &memoText)
{
    return static_cast<int>(messageFromMemo(memoText).size());
}

bool storeMessage(QByteArray &record, const QString &memoText)
{
    const QByteArray text = messageFromMemo(memoText);
    if (text.size() > MessageTextSize || record.size() < MessageRecordSize)
        return false;
    record[MessageRecordLayout::Len] = static_cast<char>(text.size());
    QByteArray field(MessageTextSize, '\0');
    field.replace(0, text.size(), text);
    record.replace(MessageRecordLayout::Text, MessageTextSize, field);
    return true;
}

QString messageFullText(int number)
{
    return QStringLiteral("Message %1 is full: %2 characters").arg(number).arg(MessageTextSize);
}

} // namespace rw
