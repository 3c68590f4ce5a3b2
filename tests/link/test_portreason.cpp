// SPDX-License-Identifier: GPL-3.0-or-later
// The reason told after "Error opening comm port.": missing, refused and busy ports, made
// of real files, a real group and real pseudo-terminals.

#include "link/commport.h"
#include "link/portopenreason.h"
#include "link/transmittercommands.h"
#include "recordingview.h"

#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

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

// A pseudo-terminal whose device this test opens as another program would.
struct PseudoTerminal {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    PseudoTerminal()
    {
        if (master >= 0 && (grantpt(master) != 0 || unlockpt(master) != 0)) {
            ::close(master);
            master = -1;
        }
    }
    ~PseudoTerminal()
    {
        if (master >= 0)
            ::close(master);
    }
    QString device() const { return master >= 0 ? QString::fromLocal8Bit(ptsname(master)) : ""; }
};

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
                                  "of ports is made when the program starts.");

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
        QSerialPort other(pty.device());
        QVERIFY(other.open(QIODevice::ReadWrite));
        QCOMPARE(openFailureText(pty.device()),
                 OpenFailedText +
                     QString("\n\nThe port %1 is in use by another program: test_portreason "
                             "(process %2). Close that program and try again.")
                         .arg(pty.device())
                         .arg(getpid()));
    }

    void aHolderWithoutALockFileIsFoundAmongTheOpenFiles()
    {
        // A terminal program that takes no lock file; the port's own open then fails with
        // a permission error (the holder asked for exclusive use).
        PseudoTerminal pty;
        QVERIFY(!pty.device().isEmpty());
        const int held = ::open(QFile::encodeName(pty.device()).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(held >= 0);
        const QString reason =
            portOpenReason(pty.device(), ECommError{OpenFailed, QSerialPort::PermissionError, {}});
        ::close(held);
        QCOMPARE(reason, QString("The port %1 is in use by another program: test_portreason "
                                 "(process %2). Close that program and try again.")
                             .arg(pty.device())
                             .arg(getpid()));
        QCOMPARE(
            portOpenReason(pty.device(), ECommError{OpenFailed, QSerialPort::PermissionError, {}}),
            QString("The port %1 is probably in use by another program, such as a terminal "
                    "program or ModemManager. Close it and try again.")
                .arg(pty.device()));
    }
};

QTEST_MAIN(TestPortReason)
#include "test_portreason.moc"
