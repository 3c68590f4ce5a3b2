// SPDX-License-Identifier: GPL-3.0-or-later
// The safe write's file-system calls on Windows: FlushFileBuffers through the C run-time's
// _commit, hard links, and the attributes and reserved device names of a name. The new
// content then takes the target's name with MoveFileExW and MOVEFILE_REPLACE_EXISTING (Qt's
// QSaveFile does that), one step that never leaves the name without a file.
#include "filesystemcalls.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <io.h>
#include <windows.h>

namespace rw {

namespace {

std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// Names that Windows gives to devices in every folder, with any extension (NUL, COM3.tbl).
bool isReservedDeviceName(const QString &path)
{
    if (path.startsWith(QLatin1String("\\\\.\\")) || path.startsWith(QLatin1String("//./")))
        return true;
    const QString base = QFileInfo(path).fileName().section(u'.', 0, 0).trimmed().toUpper();
    static const QStringList fixed{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    if (fixed.contains(base))
        return true;
    return base.size() == 4 &&
           (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           base[3] >= u'1' && base[3] <= u'9';
}

} // namespace

int systemSync(int descriptor)
{
    return ::_commit(descriptor);
}

bool syncNotSupported(int)
{
    return false;
}

// Windows makes a rename last with the file system's own journal; a folder cannot be
// flushed by a program without administrator rights.
void syncFolderOf(const QString &) {}

SecondName makeSecondName(const QString &file, const QString &name, QString &error)
{
    if (::CreateHardLinkW(native(name).c_str(), native(file).c_str(), nullptr))
        return SecondName::Made;
    if (::GetLastError() != ERROR_ALREADY_EXISTS && ::GetLastError() != ERROR_FILE_EXISTS)
        return SecondName::NotPossible; // FAT, a network share: a copy will do
    error = QStringLiteral("%1 is there already").arg(QDir::toNativeSeparators(name));
    return SecondName::Refused;
}

PathKind pathKind(const QString &path)
{
    if (isReservedDeviceName(path))
        return {PathKind::Device, false};
    const DWORD attributes = ::GetFileAttributesW(native(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {PathKind::NotThere, false};
    // A symbolic link or junction is refused whatever it leads to: replacing it would put a
    // file in its place.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return {PathKind::ReparsePoint, false};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return {PathKind::Folder, false};
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return {PathKind::Device, false};
    return {PathKind::File, false};
}

} // namespace rw
