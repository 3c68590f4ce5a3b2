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
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

QByteArray toTableText(const QString &s)
{
    return s.toLatin1();
}

QString fromTableText(const QByteArray &b)
{
    return QString::fromLatin1(b);
}

QByteArray untilZero(const QByteArray &b, int maxLen)
{
    QByteArray r = b.left(maxLen);
    const auto zero = r.indexOf('\0');
    return zero < 0 ? r : r.left(zero);
}

} // namespace rw
