// SPDX-License-Identifier: GPL-3.0-or-later
#include "portlist.h"

#include "base/profilefile.h"
#include "base/settingsfile.h"
#include "portrecords.h"

#include <QSet>
#include <algorithm>

namespace rw {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The run of digits, or of other characters, that starts at `from`.
QStringView runAt(QStringView s, qsizetype from)
{
    const bool digits = isDigit(s[from]);
    qsizetype end = from;
    while (end < s.size() && isDigit(s[end]) == digits)
        ++end;
    return s.sliced(from, end - from);
}

QStringView withoutLeadingZeros(QStringView digits)
{
    while (digits.size() > 1 && digits[0] == u'0')
        digits = digits.sliced(1);
    return digits;
}

} // namespace

bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        QStringView ra = runAt(a, i), rb = runAt(b, j);
        i += ra.size();
        j += rb.size();
        if (isDigit(ra[0]) && isDigit(rb[0])) {
            ra = withoutLeadingZeros(ra);
            rb = withoutLeadingZeros(rb);
            if (ra.size() != rb.size())
                return ra.size() < rb.size();
        }
        if (const int c = ra.compare(rb); c != 0)
            return c < 0;
    }
    if ((i < a.size()) != (j < b.size()))
        return i == a.size(); // the one that ran out first
    return a < b;             // equal as numbers ("ttyS02", "ttyS2"): any fixed order
}

QStringList unixPortNames(const QList<FoundPort> &named, QList<FoundPort> found)
{
    std::stable_sort(found.begin(), found.end(), [](const FoundPort &a, const FoundPort &b) {
        return naturalLess(a.name, b.name);
    });
    QStringList names;
    QSet<QString> devices;
    auto add = [&](const FoundPort &port) {
        if (port.name.isEmpty() || names.size() >= MaxListedPorts || devices.contains(port.device))
            return;
        devices.insert(port.device);
        names.append(port.name);
    };
    for (const FoundPort &port : named)
        add(port);
    for (const FoundPort &port : found)
        add(port);
    if (names.isEmpty()) {
        for (int i = 0; i < FallbackPortCount; ++i)
            names.append(QStringLiteral("ttyS%1").arg(i));
    }
    return names;
}

QStringList extraPortNames(const QString &settingsFile)
{
    const QString value = ProfileFile(settingsFile).read(SerialSection, ExtraPortsKey, "");
    QStringList names;
    for (const QString &part : value.split(u';')) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

} // namespace rw
