// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file system of its own, a few kilobytes large (a tmpfs mounted in a temporary
// folder), for trying what the program does when the disk is really full. Mounting needs
// root, as in CI; elsewhere skipReason() says why there is none. Unmounted when the
// object goes.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace rw {

class SmallFileSystem {
public:
    explicit SmallFileSystem(const char *size = "12k")
    {
#ifdef Q_OS_LINUX
        if (geteuid() != 0) {
            reason_ = QStringLiteral("mounting a small tmpfs needs root");
            return;
        }
        if (!folder_.isValid()) {
            reason_ = QStringLiteral("no temporary folder to mount on");
            return;
        }
        const QByteArray options = QByteArray("size=") + size + ",mode=0700";
        if (::mount("tmpfs", QFile::encodeName(folder_.path()).constData(), "tmpfs", 0,
                    options.constData()) != 0) {
            reason_ = QStringLiteral("mounting a tmpfs failed: %1")
                          .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        mounted_ = true;
#else
        (void)size;
        reason_ = QStringLiteral("a small tmpfs can be mounted on Linux only");
#endif
    }
    ~SmallFileSystem()
    {
#ifdef Q_OS_LINUX
        if (!mounted_)
            return;
        const QByteArray at = QFile::encodeName(folder_.path());
        // Detached if something still holds it open, so the folder never stays mounted.
        if (::umount2(at.constData(), 0) != 0)
            ::umount2(at.constData(), MNT_DETACH);
#endif
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool mounted() const
    {
        return mounted_;
    }
    QString skipReason() const
    {
        return reason_;
    }
    QString path() const
    {
        return folder_.path();
    }
    QString filePath(const QString &name) const
    {
        return QDir(path()).filePath(name);
    }

    // Takes every free byte, so that the next file to grow finds no room; true when a
    // new file of one byte can then no longer be written.
    bool fill()
    {
        QFile filler(filePath(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return false;
        const QByteArray page(4096, 'f');
        while (filler.write(page) == page.size()) {
        }
        while (filler.write("f", 1) == 1) {
        }
        filler.close();
        QFile probe(filePath(QStringLiteral(".probe")));
        const bool full =
            probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && probe.write("p", 1) != 1;
        probe.close();
        probe.remove();
        return full;
    }

private:
    QTemporaryDir folder_;
    bool mounted_ = false;
    QString reason_;
};

// Skips the running test when no small file system could be mounted.
#define REQUIRE_MOUNTED(fs)                                                                        \
    do {                                                                                           \
        if (!(fs).mounted())                                                                       \
            QSKIP(qPrintable((fs).skipReason()));                                                  \
    } while (false)

} // namespace rw
