// SPDX-License-Identifier: GPL-3.0-or-later
#include "textrules.h"

namespace rw {

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

QString trimBlanks(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

QString trimTrailingBlanks(const QString &s)
{
    qsizetype end = s.size();
    while (end > 0 && isBlank(s[end - 1]))
        --end;
    return s.left(end);
}

std::optional<qint32> parseInt32(const QString &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c - u'0');
        if (v > qint64(1) << 31)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return std::nullopt;
    return static_cast<qint32>(v);
}

QString notAnIntegerMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(shownInMessage(text));
}

QString shownInMessage(const QString &text)
{
    constexpr qsizetype Longest = 40;
    if (text.size() <= Longest)
        return text;
    return text.left(Longest - 3) + QStringLiteral("...");
}

QByteArray toTableText(const QString &s)
{
    return s.toLatin1();
}

std::optional<QString> tableTextRefusal(const QString &s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].unicode() <= 0xFF)
            continue;
        // A character beyond the first plane is one pair of UTF-16 units: show it whole.
        const qsizetype n = s[i].isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
        return QStringLiteral("The character '%1' (U+%2) cannot be stored in the transmitter; "
                              "it takes Latin-1 characters only.")
            .arg(s.mid(i, n))
            .arg(QString::number(n == 2 ? QChar::surrogateToUcs4(s[i], s[i + 1]) : s[i].unicode(),
                                 16)
                     .toUpper()
                     .rightJustified(4, u'0'));
    }
    return std::nullopt;
}

QString fromTableText(const QByteArray &b)
{
    return QString::fromLatin1(b);
}

namespace {

QString escaped(const QString &s, bool doubleBackslash, bool keepLineBreaks)
{
    QString r;
    r.reserve(s.size());
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'\\' && doubleBackslash)
            r += QStringLiteral("\\\\");
        else if (u == u'\n')
            r += keepLineBreaks ? QStringLiteral("\n") : QStringLiteral("\\n");
        else if (u == u'\r')
            r += QStringLiteral("\\r");
        else if (u == u'\t')
            r += QStringLiteral("\\t");
        else if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            r += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            r += c;
    }
    return r;
}

} // namespace

QString escapedText(const QString &s)
{
    return escaped(s, true, false);
}

QString escapedControls(const QString &s, bool keepLineBreaks)
{
    return escaped(s, false, keepLineBreaks);
}

QByteArray untilZero(const QByteArray &b, int maxLen)
{
    QByteArray r = b.left(maxLen);
    const auto zero = r.indexOf('\0');
    return zero < 0 ? r : r.left(zero);
}

} // namespace rw
