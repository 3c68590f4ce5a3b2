// SPDX-License-Identifier: GPL-3.0-or-later
#include "safefile.h"

#include "filesystemcalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace rw {

namespace {

std::atomic<WriteStepObserver> stepObserver{nullptr};
std::atomic<SyncCall> syncCall{nullptr};

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

int syncDescriptor(int descriptor)
{
    const SyncCall call = syncCall.load();
    return call ? call(descriptor) : systemSync(descriptor);
}

void observeWriteSteps(WriteStepObserver observer)
{
    stepObserver.store(observer);
}

void replaceSyncCall(SyncCall call)
{
    syncCall.store(call);
}

void reportWriteStep(WriteStep step)
{
    if (const WriteStepObserver observer = stepObserver.load())
        observer(step);
}

SafeFileWriter::SafeFileWriter(const QString &target) : target_(target), file_(target)
{
    if (const auto refusal = replaceRefusal(target))
        fail(*refusal);
    else if (!file_.open(QIODevice::WriteOnly))
        fail();
}

bool SafeFileWriter::fail()
{
    return fail(file_.errorString());
}

bool SafeFileWriter::fail(const QString &reason)
{
    if (!failed_) {
        failed_ = true;
        error_ = reason;
    }
    // The temporary file is removed when file_ goes; cancelling here would replace the
    // reason in errorString().
    return false;
}

bool SafeFileWriter::write(const QByteArray &bytes)
{
    if (failed_)
        return false;
    synced_ = false;
    return file_.write(bytes) == bytes.size() || fail();
}

bool SafeFileWriter::stage()
{
    if (failed_)
        return false;
    if (synced_)
        return true;
    if (!file_.flush())
        return fail();
    // A file system that allots blocks late reports a full disk only here.
    if (syncDescriptor(file_.handle()) != 0 && !syncNotSupported(errno))
        return fail(systemError(errno));
    synced_ = true;
    reportWriteStep(WriteStep::ContentSynced);
    return true;
}

bool SafeFileWriter::commit()
{
    if (!stage())
        return false;
    // What is at the name now, not only what was there when the write began.
    if (const auto refusal = replaceRefusal(target_))
        return fail(*refusal);
    if (!file_.commit())
        return fail();
    reportWriteStep(WriteStep::Replaced);
    syncFolderOf(resolvedTarget(target_));
    reportWriteStep(WriteStep::FolderSynced);
    return true;
}

WriteOutcome writeFileSafely(const QString &path, const QByteArray &data)
{
    SafeFileWriter file(path);
    const bool ok = file.write(data) && file.commit();
    return {ok, ok ? QString() : file.errorString()};
}

WriteOutcome copyFileSafely(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return {false, in.errorString()};
    SafeFileWriter out(target);
    // In pieces: the source may be any size.
    constexpr qint64 Chunk = 64 * 1024;
    while (!in.atEnd()) {
        const QByteArray piece = in.read(Chunk);
        if (piece.isEmpty() && in.error() != QFileDevice::NoError)
            return {false, in.errorString()};
        if (!out.write(piece))
            return {false, out.errorString()};
    }
    if (!out.commit())
        return {false, out.errorString()};
    return {true, {}};
}

WriteOutcome keepFileAs(const QString &source, const QString &keep)
{
    const QFileInfo kept(keep);
    if (kept.exists() || kept.isSymLink())
        return {false, QStringLiteral("%1 is there already").arg(QDir::toNativeSeparators(keep))};
    QString error;
    switch (makeSecondName(source, keep, error)) {
    case SecondName::Made:
        syncFolderOf(keep);
        return {true, {}};
    case SecondName::Refused:
        return {false, error};
    case SecondName::NotPossible:
        // A file system without second names (or a source that may not have more): a copy.
        break;
    }
    return copyFileSafely(source, keep);
}

QString resolvedTarget(const QString &path)
{
    QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A link to a file that is not there yet: follow the links one by one, as far as
    // they go (a loop of links ends after as many steps as the system would take).
    for (int step = 0; step < 40 && info.isSymLink(); ++step)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

std::optional<QString> replaceRefusal(const QString &path)
{
    const PathKind at = pathKind(path);
    const QString shown = QDir::toNativeSeparators(path);
    QString kind;
    switch (at.kind) {
    case PathKind::NotThere: // or not to be looked at: left to the write to report
    case PathKind::File:
        return std::nullopt;
    case PathKind::LinkLoop:
        // A loop of links leads to no file: renaming over it would put a file in the link's
        // place, where the user meant the file it should lead to.
        return QStringLiteral("%1 leads round a loop of symbolic links (too many levels of "
                              "symbolic links), not to a file. Only a file, or a name not yet "
                              "taken, is written; nothing was changed.")
            .arg(shown);
    case PathKind::Folder:
        kind = QStringLiteral("a folder");
        break;
    case PathKind::Device:
        kind = QStringLiteral("a device");
        break;
    case PathKind::Fifo:
        kind = QStringLiteral("a FIFO (named pipe)");
        break;
    case PathKind::Socket:
        kind = QStringLiteral("a socket");
        break;
    case PathKind::ReparsePoint:
        kind = QStringLiteral("a link (a reparse point)");
        break;
    case PathKind::Other:
        kind = QStringLiteral("something other than a file");
        break;
    }
    if (at.viaLink)
        return QStringLiteral("%1 is a symbolic link to %2, not to a file. Only a file, or a "
                              "name not yet taken, is written; nothing was changed.")
            .arg(shown, kind);
    return QStringLiteral("%1 is %2, not a file. Only a file, or a name not yet taken, is "
                          "written; nothing was changed.")
        .arg(shown, kind);
}

} // namespace rw
