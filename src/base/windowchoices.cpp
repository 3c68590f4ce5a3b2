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

bool writeTransmitterChoice(const QString &settingsPath, const QString &key, bool on)
{
    ProfileFile file(settingsPath);
    file.write(TransmitterSection, key, on ? QStringLiteral("1") : QStringLiteral("0"));
    return file.save();
}

bool readBackupBeforeWrite(const QString &settingsPath)
{
    return readTransmitterChoice(settingsPath, BackupBeforeWriteKey);
}

bool writeBackupBeforeWrite(const QString &settingsPath, bool on)
{
    return writeTransmitterChoice(settingsPath, BackupBeforeWriteKey, on);
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

bool writeRecentFiles(const QString &settingsPath, const QStringList &files)
{
    QStringList kept;
    for (const QString &f : files) {
        if (const auto stored = storedName(f); stored && kept.size() < RecentFileCount)
            kept << *stored;
    }
    ProfileFile file(settingsPath);
    for (int n = 1; n <= RecentFileCount; ++n)
        file.write(RecentFilesSection, recentKey(n), n <= kept.size() ? kept[n - 1] : QString());
    return file.save();
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
