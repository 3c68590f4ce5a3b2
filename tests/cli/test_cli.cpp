// SPDX-License-Identifier: GPL-3.0-or-later
// rw830kt-cli as a real process: against simulators on pseudo-terminals and real table
// files in a temporary folder.

#include "model/settingstable.h"
#include "simulator.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace rw;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

QByteArray patternedImage()
{
    QByteArray image(2048, '\0');
    for (int i = 0; i < 1940; ++i)
        image[i] = static_cast<char>((i * 31 + 7) & 0xFF);
    return image;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    Run cli(const QStringList &args)
    {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QStringLiteral(RW830KT_CLI), args);
        Run r;
        if (!p.waitForFinished(60000))
            return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
    QString path(const QString &name) const { return dir_.filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    QByteArray contents(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void writeThenReadRoundTripsAndVerifyFindsChangedFields()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--chunk", "1"}));
        writeFile("site.tbl", patternedImage());
        Run r = cli({"write", "-p", sim.device(), "site.tbl"});
        QCOMPARE(r.status, 0);
        QCOMPARE(sim.memory(), patternedImage());

        r = cli({"read", "-p", sim.device(), "-o", "back.tbl", "--trace", "trace.txt"});
        QCOMPARE(r.status, 0);
        QCOMPARE(contents("back.tbl"), patternedImage());
        // Sixteen requests out, and the first begins as the protocol says.
        const QList<QByteArray> trace = contents("trace.txt").split('\n');
        QVERIFY(
            trace.first().contains(sim.device().toLocal8Bit() +
                                   " >> 54 65 61 6C 43 6F 6E 64 6F 72 32 52 03 10 00 80 01 17"));
        int sent = 0;
        for (const QByteArray &line : trace)
            sent += line.contains(" >> ");
        QCOMPARE(sent, 16);

        r = cli({"verify", "-p", sim.device(), "site.tbl"});
        QCOMPARE(r.status, 0);
        // Byte 1756 is POCBaud, byte 0 the first message's MsgLen.
        QByteArray changed = patternedImage();
        changed[1756] = 1;
        changed[0] = 3;
        writeFile("changed.tbl", changed);
        r = cli({"verify", "-p", sim.device(), "changed.tbl"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.contains("POCBaud: 1 -> 171"), qPrintable(r.out));
        QVERIFY(r.out.contains("message.1.MsgLen: 3 -> 7"));
        QCOMPARE(r.out.count('\n'), 4); // the two names under the file and port lines
    }

    void aFaultOnOneOfThreePortsFailsThatPortAlone()
    {
        SimulatorProcess a, b, c;
        QVERIFY(a.start());
        QVERIFY(b.start({"--bad-ack", "5"}));
        QVERIFY(c.start({"--chunk", "1"}));
        writeFile("bench.tbl", patternedImage());
        const Run r =
            cli({"write", "-p", a.device(), "-p", b.device(), "-p", c.device(), "bench.tbl"});
        QCOMPARE(r.status, 1);
        QCOMPARE(a.memory(), patternedImage());
        QCOMPARE(c.memory(), patternedImage());
        QVERIFY(r.err.contains(b.device() + ": Write Error !"));
        QVERIFY2(r.err.contains("2 of 3 transmitters written; failed: " + b.device()),
                 qPrintable(r.err));
        QVERIFY(r.out.contains(a.device() + ": written and verified"));
        QVERIFY(!r.out.contains(b.device() + ": written"));
    }

    void setAppliesTheWindowsRulesAllOrNothing_data()
    {
        QTest::addColumn<QString>("accepted");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("message");
        QTest::newRow("system code")
            << "system-code=7" << 1822 << QByteArray("0007") << "system-code=2001"
            << "Please insert a number between 0 ~ 2000 !";
        QTest::newRow("range test")
            << "range-test=240" << 1757 << QByteArray("\xF0") << "range-test=9"
            << "Please insert a number between 0 or 10 ~ 240 !";
        QTest::newRow("baud") << "baud=2400" << 1756 << QByteArray("\x02") << "baud=9600"
                              << "The baud rate is 512, 1200 or 2400.";
        QTest::newRow("send twice")
            << "send-twice=0" << 1777 << QByteArray("\x00", 1) << "send-twice=2"
            << "send-twice is 0 or 1.";
        QTest::newRow("logo") << "logo=  HELLO  " << 1916 << QByteArray("\x02\x05HELLO")
                              << "logo=" + QString(22, 'x')
                              << "The logo takes at most 21 characters.";
        QTest::newRow("message") << "message.30=Call 5" << 1682
                                 << QByteArray("\x06\x02"
                                               "Call 5\0",
                                               9)
                                 << "message.2=" + QString(51, 'x') << "More then 50 Characters!";
        QTest::newRow("frequency")
            << "frequency=462025000" << 1780 << QByteArray("\x0C\xE1\x06\x00\x43\x4A\x01\x00", 8)
            << "frequency=462026000"
            << "Channel Spacing Error!";
        QTest::newRow("not a number")
            << "range-test=0" << 1757 << QByteArray("\x00", 1) << "range-test=1x"
            << "'1x' is not a valid integer value";
    }
    void setAppliesTheWindowsRulesAllOrNothing()
    {
        QFETCH(QString, accepted);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refused);
        QFETCH(QString, message);
        const QByteArray start = SettingsTable().buildImage();
        writeFile("edit.tbl", start);
        QFile::remove(path("edit.BAK"));
        Run r = cli({"set", "edit.tbl", accepted});
        QCOMPARE(r.status, 0);
        QByteArray expected = start;
        expected.replace(offset, bytes.size(), bytes);
        if (accepted.startsWith("frequency")) // the entry also stores the spacing's code
            expected[1753] = 4;
        QCOMPARE(contents("edit.tbl"), expected);
        QCOMPARE(contents("edit.BAK"), start); // the save that the window makes

        // A refused value, even after an accepted one, leaves the file as it was.
        r = cli({"set", "edit.tbl", "system-code=12", refused});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(contents("edit.tbl"), expected);
    }

    void dumpJsonShowsTheBuiltInTable()
    {
        writeFile("default.tbl", SettingsTable().buildImage());
        QFile::remove(path("RW830KT2485E.ini"));
        const Run r = cli({"dump", "default.tbl", "--json"});
        QCOMPARE(r.status, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        const QJsonObject f = o["fields"].toObject();
        QCOMPARE(f["SysCode"].toString(), QStringLiteral("0001"));
        QCOMPARE(f["POCBaud"].toInt(), 1);
        QCOMPARE(f["RangeTestDur"].toInt(), 30);
        QCOMPARE(f["SendTwice"].toInt(), 1);
        QCOMPARE(f["FlashLen"].toInt(), 10);
        QCOMPARE(f["LowBatTM"].toInt(), 1);
        QCOMPARE(f["LowBatAlertType"].toInt(), 6);
        QCOMPARE(f["R0"].toDouble(), 0x06C608);
        QCOMPARE(f["R2"].toDouble(), 0x83C285);
        QCOMPARE(f["Opaque1"].toString(), QStringLiteral("0a100a14010805001038020001"));
        QCOMPARE(f["PowLogoText"].toString(),
                 QStringLiteral("434f4e444f52") + QString("20").repeated(11) + "14000000");
        QCOMPARE(f.size(), 66);
        // The built-in words: N 30, FN 772, FD 2376 (6250 Hz steps) on 14.85 MHz.
        QCOMPARE(o["frequency_hz"].toDouble(), 14850000.0 * 30 + 6250.0 * 772);
        QCOMPARE(o["logo"].toString(), QStringLiteral("     CONDOR"));
        QCOMPARE(o["messages"].toArray().size(), 30);
        QCOMPARE(o["messages"].toArray()[29].toString(), QString());
    }

    void diffNamesTheFieldsThatDiffer()
    {
        QByteArray a = SettingsTable().buildImage();
        QByteArray b = a;
        b[1772] = 30;               // HeartBeat, low byte
        b.replace(2 + 58, 2, "Hi"); // the text of message 2
        b[1 + 58] = 2;              // its MsgFixedByte stays: no difference there
        writeFile("a.tbl", a);
        writeFile("b.tbl", b);
        Run r = cli({"diff", "a.tbl", "b.tbl", "--json"});
        QCOMPARE(r.status, 1);
        const QJsonArray d =
            QJsonDocument::fromJson(r.out.toUtf8()).object()["differences"].toArray();
        QCOMPARE(d.size(), 2);
        QCOMPARE(d[0].toObject()["name"].toString(), QStringLiteral("message.2"));
        QCOMPARE(d[0].toObject()["b"].toString(), QStringLiteral("\"Hi\""));
        QCOMPARE(d[1].toObject()["name"].toString(), QStringLiteral("HeartBeat"));
        QCOMPARE(d[1].toObject()["a"].toString(), QStringLiteral("0"));
        QCOMPARE(d[1].toObject()["b"].toString(), QStringLiteral("30"));
        r = cli({"diff", "a.tbl", "a.tbl"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QString());
    }

    void wrongCommandLinesAndFilesHaveTheirOwnStatus()
    {
        QCOMPARE(cli({}).status, 2);
        QCOMPARE(cli({"fly"}).status, 2);
        QCOMPARE(cli({"read", "-o", "x.tbl"}).status, 2); // no port
        QCOMPARE(cli({"dump", "a.tbl", "--bogus"}).status, 2);
        QCOMPARE(cli({"set", "a.tbl", "colour=red"}).status, 2);
        const Run missing = cli({"dump", "no-such.tbl"});
        QCOMPARE(missing.status, 3);
        QVERIFY(missing.err.contains("no-such.tbl"));
        QVERIFY(cli({"--help"}).out.contains("rw830kt-cli verify -p PORT FILE.tbl"));
        QCOMPARE(cli({"--version"}).out,
                 QStringLiteral("rw830kt-cli 1.0.7\n"
                                "License GPL-3.0-or-later: GNU General Public License, version 3 "
                                "or later.\n"
                                "This is free software: you are free to change and pass it on.\n"
                                "There is NO WARRANTY, to the extent permitted by law.\n"));
    }

    void the_simulator_gives_its_version_without_opening_a_line()
    {
        QProcess simulator;
        simulator.start(QStringLiteral(RW830KT_SIMULATOR), {"--version"});
        QVERIFY(simulator.waitForFinished(20000));
        QCOMPARE(simulator.exitCode(), 0);
        // Only the version and the licence: no device path, so no pseudo-terminal.
        QCOMPARE(simulator.readAllStandardOutput(),
                 QByteArray("rw830kt-simulator 1.0.7\n"
                            "License GPL-3.0-or-later: GNU General Public License, version 3 or "
                            "later.\n"
                            "This is free software: you are free to change and pass it on.\n"
                            "There is NO WARRANTY, to the extent permitted by law.\n"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
