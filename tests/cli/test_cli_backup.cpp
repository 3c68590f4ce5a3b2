// SPDX-License-Identifier: GPL-3.0-or-later
// rw830kt-cli write --backup as a real process against simulators: every port's settings
// are kept before that port is written, and a port whose backup fails is not written.

#include "simulator.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace rw;

namespace {

QByteArray filledImage(char fill)
{
    return QByteArray(1940, fill) + QByteArray(108, '\0');
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The command letters the simulator received ("R" read, "S" write).
QString commands(const SimulatorProcess &sim)
{
    QString letters;
    for (const QByteArray &frame : sim.requests())
        letters += frame.size() > 11 ? QChar(frame[11]) : u'?';
    return letters;
}

} // namespace

class TestCliBackup : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    int cli(const QStringList &args, QString *out = nullptr, QString *err = nullptr)
    {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QStringLiteral(RW830KT_CLI), args);
        if (!p.waitForFinished(90000))
            return -1;
        if (out)
            *out = QString::fromLocal8Bit(p.readAllStandardOutput());
        if (err)
            *err = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    }

    void writeTable(const QString &name, const QByteArray &image)
    {
        QFile t(dir_.filePath(name));
        QVERIFY(t.open(QIODevice::WriteOnly));
        QCOMPARE(t.write(image), image.size());
    }

private slots:
    void everyPortIsBackedUpBeforeItIsWritten()
    {
        SimulatorProcess a, b;
        QVERIFY(a.start({}, filledImage('a')));
        QVERIFY(b.start({"--chunk", "1"}, filledImage('b')));
        writeTable("bench.tbl", filledImage('n'));

        QString out;
        const int status = cli(
            {"write", "-p", a.device(), "-p", b.device(), "--backup", "kept", "bench.tbl"}, &out);

        QCOMPARE(status, 0);
        QCOMPARE(a.memory(), filledImage('n'));
        QCOMPARE(b.memory(), filledImage('n'));
        QCOMPARE(commands(a), QString(16, u'R') + QString("SR").repeated(16));
        const QStringList kept = QDir(dir_.filePath("kept")).entryList(QDir::Files, QDir::Name);
        QCOMPARE(kept.size(), 2);
        for (const SimulatorProcess *sim : {&a, &b}) {
            // /dev/pts/3 as pts_3, COM10 as it is.
            const QString stem =
                QString(sim->device()).remove(QRegularExpression("^/dev/")).replace('/', '_') + "-";
            const auto found = std::find_if(kept.begin(), kept.end(),
                                            [&](const QString &k) { return k.startsWith(stem); });
            QVERIFY2(found != kept.end(), qPrintable(stem));
            const QByteArray earlier = filledImage(sim == &a ? 'a' : 'b');
            QCOMPARE(fileBytes(dir_.filePath("kept/" + *found)), earlier);
            QVERIFY(out.contains(sim->device() + ": settings kept in kept/" + *found + "\n"));
        }
    }

    void aPortWhoseBackupFailsIsNotWrittenAndIsReported()
    {
        SimulatorProcess good, silent;
        QVERIFY(good.start({}, filledImage('g')));
        QVERIFY(silent.start({"--silent-after", "0"}, filledImage('s')));
        writeTable("bench2.tbl", filledImage('n'));

        QString out, err;
        const int status = cli({"write", "-p", good.device(), "-p", silent.device(), "--backup",
                                dir_.filePath("kept2"), "bench2.tbl"},
                               &out, &err);

        QCOMPARE(status, 1);
        QCOMPARE(good.memory(), filledImage('n'));
        QCOMPARE(commands(silent), QString("R"));
        QVERIFY(silent.memory().isEmpty());
        QVERIFY2(err.contains(silent.device() +
                              ": The transmitter's settings could not be read for the backup."),
                 qPrintable(err));
        QVERIFY(err.contains("1 of 2 transmitters written; failed: " + silent.device()));
        QCOMPARE(QDir(dir_.filePath("kept2")).entryList(QDir::Files).size(), 1);
    }

    void backupBelongsToWrite()
    {
        QString err;
        QCOMPARE(cli({"verify", "-p", "/dev/null", "--backup", "x", "a.tbl"}, nullptr, &err), 2);
        QVERIFY(err.contains("verify takes no --backup"));
    }
};

QTEST_GUILESS_MAIN(TestCliBackup)
#include "test_cli_backup.moc"
