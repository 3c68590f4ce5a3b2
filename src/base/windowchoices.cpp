// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowchoices.h"

#include "profilefile.h"

#include <optional>

namespace rw {

namespace {

QString recentKey(int n)
{
    return QStringLiteral("File%1").arg(n);
}

// The file holds single-byte text: a file name is kept as its UTF-8 bytes, one character
// per byte, in quotes so that blanks at either end survive.
std::optional<QString> storedName(const QString &file)
{
    const QByteArray bytes = file.toUtf8();
    if (bytes.size() > ProfileFile::MaxValueLength || bytes.contains('\n') || bytes.contains('\r'))
        return std::nullopt;
    return u'"' + QString::fromLatin1(bytes) + u'"';
}

QString nameFromStored(const QString &value)
{
    return QString::fromUtf8(value.toLatin1());
}

} // namespace

bool readTransmitterChoice(const QString &settingsPath, const QString &key)
{
    return ProfileFile(settingsPath).read(TransmitterSection, key, {}) == QStringLiteral("1");
}

bool writeTransmitterChoice(const QString &settingsPath, const QString &key, bool on, QString *why)
{
    ProfileFile file(settingsPath);
    file.write(TransmitterSection, key, on ? QStringLiteral("1") : QStringLiteral("0"));
    return file.save(why);
}

bool readBackupBeforeWrite(const QString &settingsPath)
{
    return readTransmitterChoice(settingsPath, BackupBeforeWriteKey);
}

bool writeBackupBeforeWrite(const QString &settingsPath, bool on, QString *why)
{
    return writeTransmitterChoice(settingsPath, BackupBeforeWriteKey, on, why);
}

QStringList readBenchPorts(const QString &settingsPath)
{
    const QString value =
        nameFromStored(ProfileFile(settingsPath).read(TransmitterSection, BenchPortsKey, {}));
    QStringList ports;
    for (const QString &port : value.split(u';', Qt::SkipEmptyParts)) {
        if (!ports.contains(port))
            ports << port;
    }
    return ports;
}

bool writeBenchPorts(const QString &settingsPath, const QStringList &ports, QString *why)
{
    QString value;
    for (const QString &port : ports) {
        const QByteArray bytes = port.toUtf8();
        if (port.isEmpty() || port.contains(u';') || bytes.contains('\n') || bytes.contains('\r'))
            continue;
        const QString stored = QString::fromLatin1(bytes);
        const QString longer = value.isEmpty() ? stored : value + u';' + stored;
        if (longer.size() > ProfileFile::MaxValueLength)
            break;
        value = longer;
    }
    ProfileFile file(settingsPath);
    file.write(TransmitterSection, BenchPortsKey, value);
    return file.save(why);
}

QStringList benchPortsToKeep(const QStringList &before, const QStringList &listed,
                             const QStringList &checked)
{
    QStringList kept = checked;
    for (const QString &port : before) {
        if (!listed.contains(port) && !kept.contains(port))
            kept << port;
    }
    return kept;
}

QSize readBenchSize(const QString &settingsPath)
{
    const QStringList parts =
        ProfileFile(settingsPath).read(TransmitterSection, BenchSizeKey, {}).split(u'x');
    bool wide = false;
    bool high = false;
    const QSize size =
        parts.size() == 2 ? QSize(parts[0].toInt(&wide), parts[1].toInt(&high)) : QSize();
    return wide && high && size.width() > 0 && size.height() > 0 ? size : QSize();
}

bool writeBenchSize(const QString &settingsPath, QSize size, QString *why)
{
    ProfileFile file(settingsPath);
    file.write(TransmitterSection, BenchSizeKey,
               QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
    return file.save(why);
}

QStringList readRecentFiles(const QString &settingsPath)
{
    const ProfileFile file(settingsPath);
    QStringList files;
    for (int n = 1; n <= RecentFileCount; ++n) {
        const QString name = nameFromStored(file.read(RecentFilesSection, recentKey(n), {}));
        if (!name.isEmpty() && !files.contains(name))
            files << name;
    }
    return files;
}

bool writeRecentFiles(const QString &settingsPath, const QStringList &files, QString *why)
{
    QStringList kept;
    for (const QString &f : files) {
        if (const auto stored = storedName(f); stored && kept.size() < RecentFileCount)
            kept << *stored;
    }
    ProfileFile file(settingsPath);
    for (int n = 1; n <= RecentFileCount; ++n)
        file.write(RecentFilesSection, recentKey(n), n <= kept.size() ? kept[n - 1] : QString());
    return file.save(why);
}

QStringList withRecentFile(const QStringList &files, const QString &file)
{
    QStringList list{file};
    for (const QString &f : files) {
        if (f != file && list.size() < RecentFileCount)
            list << f;
    }
    return list;
}

} // namespace rw
