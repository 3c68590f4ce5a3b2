// SPDX-License-Identifier: GPL-3.0-or-later
// The reason told after "Error opening comm port.": missing, refused and busy ports, made
// of real files, a real group and real pseudo-terminals.

#include "link/line/commport.h"
#include "link/ports/portopenreason.h"
#include "link/protocol/transmittercommands.h"
#include "portheldelsewhere.h"
#include "pseudoterminal.h"
#include "recordingview.h"

#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rw;

namespace {

const QString OpenFailedText = QStringLiteral("Error opening comm port. Port already in use?");

// What the user reads when the window or the command line cannot open this port.
QString openFailureText(const QString &portName)
{
    TCommPort port;
    RecordingView view(port, portName);
    OpenSelectedPort(port, view);
    return view.messages.value(0);
}

// A program that is not this one with `device` open (by a shell redirection, so without a
// lock file), for as long as the object lives.
struct OtherHolder {
    QProcess sleeper;
    explicit OtherHolder(const QString &device)
    {
        sleeper.start("sh", {"-c", "exec sleep 300 <>\"$0\"", device});
        sleeper.waitForStarted(10000);
    }
    ~OtherHolder()
    {
        sleeper.kill();
        sleeper.waitForFinished(10000);
    }
    pid_t pid() const { return static_cast<pid_t>(sleeper.processId()); }
    // True once the shell has opened the device and become "sleep".
    bool holding() const
    {
        for (int i = 0; i < 1000; ++i) {
            QFile comm(QString("/proc/%1/comm").arg(pid()));
            if (comm.open(QIODevice::ReadOnly) && comm.readAll() == "sleep\n")
                return true;
            QTest::qWait(10);
        }
        return false;
    }
};

// A lock file in /tmp, the one lock folder every user may write, for `device`; removed when
// the object goes.
struct TmpLock {
    QString path;
    explicit TmpLock(const QString &device) : path("/tmp/LCK.." + device.mid(5).replace('/', '_'))
    {
        QFile::remove(path);
    }
    ~TmpLock() { QFile::remove(path); }
    void holdPid(qint64 pid) const
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray::number(pid).rightJustified(10, ' ') + '\n');
    }
};

// The reason, computed in a child process that is killed when it has not answered within a
// minute: a check that hangs fails the test instead of stopping it.
QString reasonWithinAMinute(const QString &device)
{
    int out[2];
    if (pipe(out) != 0)
        return "<no pipe>";
    const pid_t child = fork();
    if (child == 0) {
        ::close(out[0]);
        const QByteArray text =
            portOpenReason(device, ECommError{OpenFailed, QSerialPort::PermissionError, {}})
                .toUtf8();
        const bool written = write(out[1], text.constData(), text.size()) == text.size();
        _exit(written ? 0 : 3);
    }
    ::close(out[1]);
    int status = 0;
    bool ended = false;
    for (int i = 0; i < 6000 && !ended; ++i) {
        ended = waitpid(child, &status, WNOHANG) == child;
        if (!ended)
            usleep(10000);
    }
    if (!ended) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        ::close(out[0]);
        return "<no answer>";
    }
    QByteArray told;
    char buffer[512];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        told.append(buffer, n);
    ::close(out[0]);
    return QString::fromUtf8(told);
}

QString probablyInUse(const QString &device)
{
    return QString("The port %1 is probably in use by another program, such as a terminal "
                   "program or ModemManager. Close it and try again.")
        .arg(device);
}

} // namespace

class TestPortReason : public QObject {
    Q_OBJECT
private slots:
    void aPortThatIsNotThereIsToldAsUnpluggedOrRenamed()
    {
        QCOMPARE(openFailureText("rw830kt-no-such-port"),
                 OpenFailedText + "\n\nThe port /dev/rw830kt-no-such-port has no device behind "
                                  "it: the adapter is unplugged, or the system has given it "
                                  "another name. Plug it in and choose the port again; the list "
                                  "of ports shows the ports present each time it opens.");

        QTemporaryDir dir;
        QFile plain(dir.filePath("notes.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        // The file opens but refuses the line settings.
        QCOMPARE(openFailureText(plain.fileName()),
                 "Error opening comm port.\n\n" + plain.fileName() +
                     " is not a serial port. Choose the port of the adapter.");
    }

    void aPortTheUserMayNotOpenNamesTheGroupToJoin()
    {
        // Root opens every file; so the refused user is "nobody", in a child process.
        if (geteuid() != 0)
            QSKIP("needs root, to give a port to the dialout group and open it as nobody");
        const group *dialout = getgrnam("dialout");
        if (!dialout)
            QSKIP("this system has no dialout group");
        QTemporaryDir dir;
        QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        const QString device = dir.filePath("ttyRW0");
        QFile node(device);
        QVERIFY(node.open(QIODevice::WriteOnly));
        node.close();
        const QByteArray path = QFile::encodeName(device);
        QVERIFY(chown(path.constData(), 0, dialout->gr_gid) == 0);
        QVERIFY(chmod(path.constData(), 0660) == 0);

        int out[2];
        QVERIFY(pipe(out) == 0);
        const pid_t child = fork();
        if (child == 0) {
            ::close(out[0]);
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                _exit(2);
            const QByteArray text = openFailureText(device).toUtf8();
            const bool written = write(out[1], text.constData(), text.size()) == text.size();
            _exit(written ? 0 : 3);
        }
        ::close(out[1]);
        QByteArray told;
        char buffer[512];
        for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
            told.append(buffer, n);
        ::close(out[0]);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QCOMPARE(QString::fromUtf8(told),
                 OpenFailedText + "\n\nYou may not open " + device +
                     ": it belongs to the group dialout. Join that group with\n"
                     "    sudo usermod -aG dialout $USER\n"
                     "then log out and log in again.");
    }

    void aPortAnotherProgramHoldsNamesThatProgram()
    {
        PseudoTerminal pty;
        QVERIFY(!pty.device().isEmpty());
        QString told;
        pid_t other = 0;
        {
            PortHeldElsewhere held(pty.device());
            QVERIFY(held.holding());
            other = held.pid();
            told = openFailureText(pty.device());
        }
        QCOMPARE(told, OpenFailedText +
                           QString("\n\nThe port %1 is in use by another program: test_portreason "
                                   "(process %2). Close that program and try again.")
                               .arg(pty.device())
                               .arg(other));

        // This program holding the port itself is not "another program".
        QSerialPort own(pty.device());
        QVERIFY(own.open(QIODevice::ReadWrite));
        QCOMPARE(openFailureText(pty.device()),
                 OpenFailedText + "\n\n" + probablyInUse(pty.device()));
    }

    void aHolderWithoutALockFileIsFoundAmongTheOpenFiles()
    {
        // A terminal program that takes no lock file; the port's own open then fails with
        // a permission error (the holder asked for exclusive use).
        PseudoTerminal pty;
        QVERIFY(!pty.device().isEmpty());
        // This program has it open too, and is left out.
        const int own = ::open(QFile::encodeName(pty.device()).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(own >= 0);
        QString reason;
        pid_t holder = 0;
        {
            OtherHolder other(pty.device());
            QVERIFY(other.holding());
            holder = other.pid();
            reason = portOpenReason(pty.device(),
                                    ECommError{OpenFailed, QSerialPort::PermissionError, {}});
        }
        QCOMPARE(reason, QString("The port %1 is in use by another program: sleep (process %2). "
                                 "Close that program and try again.")
                             .arg(pty.device())
                             .arg(holder));
        QCOMPARE(
            portOpenReason(pty.device(), ECommError{OpenFailed, QSerialPort::PermissionError, {}}),
            probablyInUse(pty.device()));
        ::close(own);
    }

    void aLockFileNamesItsProcessOnlyWhileThatOtherProcessRuns()
    {
        PseudoTerminal pty;
        QVERIFY(!pty.device().isEmpty());
        TmpLock lock(pty.device());

        // A living process that is not this one: the lock names it.
        QProcess sleeper;
        sleeper.start("sleep", {"300"});
        QVERIFY(sleeper.waitForStarted(10000));
        lock.holdPid(sleeper.processId());
        QCOMPARE(reasonWithinAMinute(pty.device()),
                 QString("The port %1 is in use by another program: sleep (process %2). Close "
                         "that program and try again.")
                     .arg(pty.device())
                     .arg(sleeper.processId()));

        // The same process ended: the lock is stale and names nobody.
        sleeper.kill();
        QVERIFY(sleeper.waitForFinished(10000));
        QCOMPARE(reasonWithinAMinute(pty.device()), probablyInUse(pty.device()));

        // A lock of this program's own (asked here, not in a child process).
        lock.holdPid(getpid());
        QCOMPARE(
            portOpenReason(pty.device(), ECommError{OpenFailed, QSerialPort::PermissionError, {}}),
            probablyInUse(pty.device()));
    }

    void aLockNameThatIsNotAFileIsPassedOverWithoutWaiting()
    {
        PseudoTerminal pty;
        QVERIFY(!pty.device().isEmpty());
        TmpLock lock(pty.device());
        // Anyone may make a FIFO of the lock's name in /tmp; opening it to read would wait
        // for a writer for ever.
        QCOMPARE(mkfifo(QFile::encodeName(lock.path).constData(), 0600), 0);
        QCOMPARE(reasonWithinAMinute(pty.device()), probablyInUse(pty.device()));
    }
};

QTEST_MAIN(TestPortReason)
#include "test_portreason.moc"
