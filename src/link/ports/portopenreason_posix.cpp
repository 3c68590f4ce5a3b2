// SPDX-License-Identifier: GPL-3.0-or-later
// Why a port did not open on Linux: the device file, its permissions and groups, and the
// lock files and processes that hold it.
#include "portopenreason.h"

#include "link/line/commport.h"
#include "link/line/networkportname.h"
#include "model/textrules.h"

#include <QSerialPort>
#include <QStringList>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rw {

namespace {

// The device file that opening the port by this name uses: a bare name lives in /dev.
QString serialDevicePath(const QString &portName)
{
    // Qt opens a path as it is and a bare name under /dev.
    if (portName.startsWith(QLatin1Char('/')) || portName.startsWith(QLatin1String("./")) ||
        portName.startsWith(QLatin1String("../")))
        return portName;
    return QStringLiteral("/dev/") + portName;
}

QString processName(pid_t pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

bool processRuns(pid_t pid)
{
    return pid > 0 && QFile::exists(QStringLiteral("/proc/%1").arg(pid));
}

// The process number at the start of a lock file; 0 when there is none. Lock folders such
// as /tmp may be written by anyone: only a regular file is read (a FIFO there would wait for
// a writer for ever, a device may do anything when opened), opened without waiting and
// without following a link, and only its first few bytes.
pid_t lockFilePid(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (lstat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    const int fd =
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char start[32];
    ssize_t got = -1;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        got = ::read(fd, start, sizeof start);
    ::close(fd);
    if (got <= 0)
        return 0;
    // The number in decimal text, padded with blanks, on the first line.
    const QByteArray text = QByteArray(start, static_cast<qsizetype>(got));
    bool ok = false;
    const int pid = text.left(text.indexOf('\n')).trimmed().toInt(&ok);
    return ok && pid > 0 ? static_cast<pid_t>(pid) : 0;
}

// Serial programs (Qt's among them) take a lock file named after the device, holding
// their process number: it names the holder even where its open files are hidden from us.
// A lock whose process has ended is stale and names nobody; nor does one of this program's
// own, which is not "another program".
pid_t lockHolder(const QString &path)
{
    QString name = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char *folder : {"/var/lock", "/run/lock", "/etc/locks", "/var/spool/locks",
                               "/var/spool/uucp", "/tmp", "/var/tmp"}) {
        const pid_t pid = lockFilePid(QLatin1String(folder) + QLatin1String("/LCK..") + name);
        if (pid != getpid() && processRuns(pid))
            return pid;
    }
    return 0;
}

// The other processes with the device open, as far as the system lets us see their files.
std::vector<pid_t> processesHolding(dev_t device)
{
    std::vector<pid_t> holders;
    DIR *proc = opendir("/proc");
    if (!proc)
        return holders;
    while (const dirent *entry = readdir(proc)) {
        char *end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || pid == getpid())
            continue;
        const QByteArray fdFolder = "/proc/" + QByteArray(entry->d_name) + "/fd";
        DIR *fds = opendir(fdFolder.constData());
        if (!fds)
            continue; // another user's process
        while (const dirent *fd = readdir(fds)) {
            struct stat st {};
            if (fd->d_name[0] != '.' && fstatat(dirfd(fds), fd->d_name, &st, 0) == 0 &&
                S_ISCHR(st.st_mode) && st.st_rdev == device) {
                holders.push_back(static_cast<pid_t>(pid));
                break;
            }
        }
        closedir(fds);
    }
    closedir(proc);
    return holders;
}

QString describeProcesses(const std::vector<pid_t> &pids)
{
    QStringList names;
    for (pid_t pid : pids)
        names << QStringLiteral("%1 (process %2)").arg(processName(pid)).arg(pid);
    return names.join(QStringLiteral(", "));
}

QString groupName(gid_t gid)
{
    const group *g = getgrgid(gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}

QString userName(uid_t uid)
{
    const passwd *p = getpwuid(uid);
    return p ? QString::fromLocal8Bit(p->pw_name) : QString::number(uid);
}

bool sessionHasGroup(gid_t gid)
{
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? count : 0);
    if (count > 0 && getgroups(count, groups.data()) < 0)
        return false;
    return getegid() == gid || std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// Whether the user's account lists the group, which a session only takes up at login.
bool accountHasGroup(gid_t gid)
{
    const passwd *p = getpwuid(getuid());
    if (!p)
        return false;
    int count = 64;
    std::vector<gid_t> groups(count);
    if (getgrouplist(p->pw_name, p->pw_gid, groups.data(), &count) < 0) {
        groups.resize(count);
        if (getgrouplist(p->pw_name, p->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    groups.resize(count);
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

QString permissionReason(const QString &path, const struct stat *st)
{
    // Joining the device's group helps only where the group may read and write it, is
    // not root's, and the user is not in it already.
    constexpr mode_t GroupReadWrite = S_IRGRP | S_IWGRP;
    if (!st || st->st_gid == 0 || (st->st_mode & GroupReadWrite) != GroupReadWrite ||
        sessionHasGroup(st->st_gid)) {
        QString owner;
        if (st)
            owner = QStringLiteral(" (owner %1, group %2)")
                        .arg(userName(st->st_uid), groupName(st->st_gid));
        return QStringLiteral("You may not open %1%2. Ask the administrator of this computer "
                              "for access to it.")
            .arg(path, owner);
    }
    const QString group = groupName(st->st_gid);
    if (accountHasGroup(st->st_gid))
        return QStringLiteral("You may not open %1 yet: it belongs to the group %2, which you "
                              "joined after logging in. Log out and log in again.")
            .arg(path, group);
    return QStringLiteral("You may not open %1: it belongs to the group %2. Join that group "
                          "with\n    sudo usermod -aG %2 $USER\nthen log out and log in again.")
        .arg(path, group);
}

// The system's own words where nothing above tells more: never "Error opening comm port."
// alone. The port's name is shown escaped, as every name from outside.
QString systemReason(const QString &path, const QString &reason)
{
    if (reason.isEmpty())
        return QStringLiteral("%1 did not open as a serial port.").arg(path);
    return QStringLiteral("%1 did not open as a serial port: %2.")
        .arg(path, escapedControls(reason));
}

QString missingReason(const QString &path)
{
    return QStringLiteral("The port %1 has no device behind it: the adapter is unplugged, or "
                          "the system has given it another name. Plug it in and choose the "
                          "port again; the list of ports shows the ports present each time it "
                          "opens.")
        .arg(path);
}

} // namespace

QString portOpenReason(const QString &portName, const ECommError &failure)
{
    // A line on the network knows its own reason when it fails to open.
    if (isNetworkPortName(portName))
        return escapedControls(failure.Detail);
    const QString device = serialDevicePath(portName);
    const QByteArray file = device.toLocal8Bit();
    // The name as the user reads it in the reasons below.
    const QString path = escapedControls(device);
    struct stat st {};
    if (stat(file.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return missingReason(path);
        if (errno == EACCES)
            return permissionReason(path, nullptr);
        return systemReason(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (access(file.constData(), R_OK | W_OK) != 0 && errno == EACCES)
        return permissionReason(path, &st);
    if (!S_ISCHR(st.st_mode))
        return QStringLiteral("%1 is not a serial port. Choose the port of the adapter.").arg(path);

    // The device is there and ours to open: Qt's own error tells missing from busy.
    const auto error = static_cast<QSerialPort::SerialPortError>(failure.SystemError);
    if (error == QSerialPort::DeviceNotFoundError || error == QSerialPort::ResourceError)
        return missingReason(path);
    if (error != QSerialPort::PermissionError)
        return systemReason(path, failure.Detail);
    std::vector<pid_t> holders;
    if (const pid_t locker = lockHolder(device))
        holders.push_back(locker);
    else
        holders = processesHolding(st.st_rdev);
    if (!holders.empty())
        return QStringLiteral("The port %1 is in use by another program: %2. Close that program "
                              "and try again.")
            .arg(path, describeProcesses(holders));
    return QStringLiteral("The port %1 is probably in use by another program, such as a terminal "
                          "program or ModemManager. Close it and try again.")
        .arg(path);
}

} // namespace rw
