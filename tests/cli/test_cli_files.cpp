// SPDX-License-Identifier: GPL-3.0-or-later
// rw830kt-cli and the files it is told to write: a read from a real simulator is saved
// only into a table file or under a new name, never over a FIFO, a device or a loop of
// symbolic links.

#include "simulator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run cli(const QString &folder, const QStringList &args)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(RW830KT_CLI), args);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace

class TestCliFiles : public QObject {
    Q_OBJECT
private slots:
    void aReadIsNeverSavedOverSomethingThatIsNotATableFile()
    {
        rw::SimulatorProcess sim;
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QDir d(dir.path());
        QCOMPARE(mkfifo(QFile::encodeName(d.filePath("pipe.tbl")).constData(), 0600), 0);
        QVERIFY(QFile::link("/dev/null", d.filePath("null.tbl")));
        QVERIFY(QFile::link("loop.tbl", d.filePath("loop.tbl")));

        const struct {
            const char *name;
            const char *told;
        } cases[] = {
            {"pipe.tbl", "rw830kt-cli: pipe.tbl is a FIFO (named pipe), not a file. Only a file, "
                         "or a name not yet taken, is written; nothing was changed.\n"},
            {"null.tbl", "rw830kt-cli: null.tbl is a symbolic link to a device, not to a file. "
                         "Only a file, or a name not yet taken, is written; nothing was "
                         "changed.\n"},
            {"loop.tbl", "rw830kt-cli: loop.tbl leads round a loop of symbolic links (too many "
                         "levels of symbolic links), not to a file. Only a file, or a name not "
                         "yet taken, is written; nothing was changed.\n"},
        };
        for (const auto &c : cases) {
            const Run r = cli(dir.path(), {"read", "-p", sim.device(), "-o", c.name});
            QCOMPARE(r.status, 3);
            QCOMPARE(r.err, QString(c.told));
            QCOMPARE(r.out, QString());
        }

        struct stat st {};
        QCOMPARE(lstat(QFile::encodeName(d.filePath("pipe.tbl")).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
        QCOMPARE(QFileInfo(d.filePath("null.tbl")).symLinkTarget(), QString("/dev/null"));
        QCOMPARE(QFileInfo(d.filePath("loop.tbl")).symLinkTarget(), d.filePath("loop.tbl"));
        QCOMPARE(d.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                             QDir::Name),
                 QStringList({"loop.tbl", "null.tbl", "pipe.tbl"}));
        QVERIFY(sim.requests().isEmpty()); // refused before a request was sent
    }
};

QTEST_GUILESS_MAIN(TestCliFiles)
#include "test_cli_files.moc"
