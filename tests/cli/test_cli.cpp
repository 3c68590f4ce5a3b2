// SPDX-License-Identifier: GPL-3.0-or-later
// rw830kt-cli as a real process: against simulators on pseudo-terminals and real table
// files in a temporary folder.

#include "model/settingstable.h"
#include "serialserver.h"
#include "simulator.h"
#include "waitsonapipe.h"

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
    QByteArray bytes; // standard output as it came
};

QByteArray patternedImage()
{
    QByteArray image(2048, '\0');
    for (int i = 0; i < 1940; ++i)
        image[i] = static_cast<char>((i * 31 + 7) & 0xFF);
    return image;
}

// The table the window starts with in a folder without a settings file: the built-in
// table with the eight register words of the settings file's built-in fields (450 MHz).
QByteArray startingImage()
{
    QByteArray image = SettingsTable().buildImage();
    image.replace(1780, 32,
                  QByteArray::fromHex("d0c20600434a010085c28300870c130099c705000b0000004d006c00"
                                      "8f090000"));
    return image;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    Run cli(const QStringList &args, const QByteArray &input = {},
            const QString &program = QStringLiteral(RW830KT_CLI))
    {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(program, args);
        p.write(input);
        p.closeWriteChannel();
        Run r;
        if (!p.waitForFinished(60000))
            return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.bytes = p.readAllStandardOutput();
        r.out = QString::fromLocal8Bit(r.bytes);
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
        // Opened, purged at once, then the first request.
        QVERIFY(trace.first().contains(sim.device().toLocal8Bit() + " -- open at 19200 baud"));
        QVERIFY(trace[1].contains(sim.device().toLocal8Bit() + " -- purge dropped nothing"));
        QVERIFY(trace[2].contains(sim.device().toLocal8Bit() +
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
        // Quiet: the differences alone, without the progress lines of a read that lasts.
        r = cli({"verify", "-q", "-p", sim.device(), "changed.tbl"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.contains("baud: 1200 -> 171 (no item)"), qPrintable(r.out));
        QVERIFY(r.out.contains("message.1.MsgLen: 3 -> 7"));
        QCOMPARE(r.out.count('\n'), 4); // the two names under the file and port lines
    }

    void aTraceKeepsEveryLineWrittenBeforeTheProgramIsKilled()
    {
        // Two replies, then silence: the third block waits out its 6 s budget, and the
        // program is killed while it waits, with no chance to close anything.
        SimulatorProcess sim;
        QVERIFY(sim.start({"--silent-after", "2"}));
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QStringLiteral(RW830KT_CLI),
                {"read", "-p", sim.device(), "-o", "killed.tbl", "--trace", "killed.txt"});
        QVERIFY(p.waitForStarted(10000));
        const auto count = [this](const QByteArray &mark) {
            return contents("killed.txt").count(" " + mark + " ");
        };
        QTRY_VERIFY_WITH_TIMEOUT(count(">>") == 3, 20000);
        p.kill();
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        const QByteArray trace = contents("killed.txt");
        QVERIFY2(trace.startsWith("0.") && trace.endsWith('\n'), trace.constData());
        // The open and the purge after it; neither time-out nor close came.
        QCOMPARE(count("--"), 2);
        QVERIFY(trace.contains(" -- purge dropped nothing\n"));
        // Both replies, whole: 143 bytes each, in runs of however many the line handed over.
        qsizetype received = 0;
        for (const QByteArray &line : trace.split('\n')) {
            const qsizetype from = line.indexOf(" << "), to = line.indexOf(" (");
            if (from > 0 && to > from)
                received += line.mid(from + 4, to - from - 4).count(' ') + 1;
        }
        QCOMPARE(received, 2 * 143);
        // The third request, for the block at 0x1100, went out before the silence.
        QVERIFY(trace.contains(" >> 54 65 61 6C 43 6F 6E 64 6F 72 32 52 03 11 00 80 01 18\n"));
        QVERIFY(!QFile::exists(path("killed.tbl")));
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
        // Followed by the cause the window shows below its box.
        QVERIFY2(r.err.contains(b.device() + ": The transmitter on " + b.device() +
                                " did not accept block 5 of 16: its reply was not the "
                                "acknowledgement expected."),
                 qPrintable(r.err));
        QVERIFY2(r.err.contains("2 of 3 transmitters written; failed: " + b.device()),
                 qPrintable(r.err));
        QVERIFY(r.out.contains(a.device() + ": written and verified"));
        QVERIFY(!r.out.contains(b.device() + ": written"));
    }

    void transmittersBehindSerialServersAreProgrammedBesideALocalOne()
    {
        if (SerialServer::program().isEmpty())
            QSKIP("ser2net is not installed (scripts/install-deps.sh network)");
        SimulatorProcess a, b, c;
        SerialServer serverA, serverB;
        QVERIFY(a.start());
        QVERIFY(b.start());
        QVERIFY(c.start());
        QVERIFY(serverA.start(a.device()));
        QVERIFY(serverB.start(b.device()));
        QByteArray image(2048, '\0');
        image.replace(0, 1940, QByteArray(1940, '\xFF'));
        writeFile("ff.tbl", image);
        Run r = cli(
            {"write", "-p", serverA.rfc2217(), "-p", serverB.raw(), "-p", c.device(), "ff.tbl"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(a.memory(), image);
        QCOMPARE(b.memory(), image);
        QCOMPARE(c.memory(), image);
        QVERIFY2(r.out.contains(serverA.rfc2217() + ": written and verified"), qPrintable(r.out));
        QVERIFY(r.out.contains(serverB.raw() + ": written and verified"));

        // The trace holds the transmitter's bytes, not the telnet line's doubled 0xFF.
        r = cli({"read", "-p", serverA.rfc2217(), "-o", "back.tbl", "--trace", "net.txt"});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(contents("back.tbl"), image);
        const QByteArray trace = contents("net.txt");
        QVERIFY(trace.contains(serverA.rfc2217().toLocal8Bit() + " >> 54 65 61 6C"));
        QVERIFY(trace.contains(" FF FF FF "));
        QVERIFY(!trace.contains("FF FA 2C"));

        // The settings file's extra ports are listed as they are written.
        QFile ini(path("RW830KT2485E.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Serial]\r\nExtraPorts=" + serverA.rfc2217().toLatin1() + ";" +
                  serverB.raw().toLatin1() + "\r\n");
        ini.close();
        r = cli({"ports"});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split('\n');
        QVERIFY2(lines.value(0).startsWith(serverA.rfc2217()), qPrintable(r.out));
        QVERIFY(lines.value(1).startsWith(serverB.raw()));
        QVERIFY(QFile::remove(path("RW830KT2485E.ini")));
    }

    void aServerThatRefusesTheConnectionIsToldWithTheReason()
    {
        const quint16 closed = freeLoopbackPort();
        writeFile("any.tbl", patternedImage());
        const Run r =
            cli({"write", "-p", QStringLiteral("socket://127.0.0.1:%1").arg(closed), "any.tbl"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QStringLiteral("127.0.0.1 refuses the connection: no serial server "
                                               "listens on port %1 there.")
                                    .arg(closed)),
                 qPrintable(r.err));
        QVERIFY(r.err.contains("Write Error !"));

        // The network lines are a module beside the program, in ../lib/rw830kt: a program
        // without it says so, where a serial port needs no module.
        QVERIFY(QDir(dir_.path()).mkpath("alone/bin"));
        const QString alone = path("alone/bin/rw830kt-cli");
        QVERIFY(QFile::copy(QStringLiteral(RW830KT_CLI), alone));
        const Run without =
            cli({"write", "-p", QStringLiteral("socket://127.0.0.1:%1").arg(closed), "any.tbl"}, {},
                alone);
        QCOMPARE(without.status, 1);
        QVERIFY2(without.err.contains("Network ports need the program's network module, which "
                                      "could not be loaded: ") &&
                     without.err.contains(path("alone/lib/rw830kt/librw830kt-network.so")),
                 qPrintable(without.err));
        SimulatorProcess sim;
        QVERIFY(sim.start());
        QCOMPARE(cli({"write", "-q", "-p", sim.device(), "any.tbl"}, {}, alone).status, 0);
        QCOMPARE(sim.memory(), patternedImage());
    }

    void onlyANetworkPortLoadsQtNetwork()
    {
        // Qt Network's libraries cost every start a good part of its CPU: a run on serial
        // ports never loads them, a network port does (with the network lines' module).
        const auto librariesLoaded = [&](const QStringList &args) {
            QProcess p;
            p.setWorkingDirectory(dir_.path());
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("LD_DEBUG", "files"); // the C library's loader names every file
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(RW830KT_CLI), args);
            return p.waitForFinished(60000) ? QString::fromLocal8Bit(p.readAllStandardError())
                                            : QString();
        };
        writeFile("serial.tbl", patternedImage());
        SimulatorProcess sim;
        QVERIFY(sim.start());
        const QString serial = librariesLoaded({"write", "-q", "-p", sim.device(), "serial.tbl"});
        QVERIFY2(serial.contains("libQt6SerialPort"), qPrintable(serial.left(2000)));
        QVERIFY(!serial.contains("libQt6Network"));
        QCOMPARE(sim.memory(), patternedImage());

        const QString network = librariesLoaded(
            {"write", "-p", QStringLiteral("socket://127.0.0.1:%1").arg(freeLoopbackPort()),
             "serial.tbl"});
        QVERIFY(network.contains("librw830kt-network.so"));
        QVERIFY(network.contains("libQt6Network"));
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
                              << "baud is one of 512, 1200, 2400.";
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
        // Text the table's Latin-1 cannot hold is refused, never stored as '?'.
        QTest::newRow("latin-1 text")
            << QString::fromUtf8("logo=\xC3\x9Cn\xC3\xAF") << 1916
            << QByteArray("\x00\x03\xDC\x6E\xEF", 5) << QString::fromUtf8("logo=\xE2\x98\x8E")
            << QString::fromUtf8("'\xE2\x98\x8E' (U+260E) cannot be stored");
        QTest::newRow("not a number")
            << "range-test=0" << 1757 << QByteArray("\x00", 1) << "range-test=1x"
            << "'1x' is not a valid integer value";
        // An escape sequence in a value reaches the terminal as text, never as a command.
        QTest::newRow("control character")
            << "range-test=0" << 1757 << QByteArray("\x00", 1) << "range-test=1\x1B[31m"
            << "'1\\x1b[31m' is not a valid integer value";
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
        QVERIFY(!r.err.contains(QChar(0x1B)));
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

        // A file name is shown, never obeyed: its escape sequence stays text.
        writeFile("b\x1B[2J.tbl", b);
        r = cli({"diff", "a.tbl", "b\x1B[2J.tbl"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.out.startsWith("--- a.tbl\n+++ b\\x1b[2J.tbl\n"), qPrintable(r.out));
    }

    void fiveEditsDiffAsFiveLinesUnderTheNamesSettingsLists()
    {
        QFile::remove(path("RW830KT2485E.ini"));
        Run r = cli({"build", "-", "-o", "start.tbl"}, "{}");
        QCOMPARE(r.status, 0);
        QFile::remove(path("edited.tbl"));
        QVERIFY(QFile::copy(path("start.tbl"), path("edited.tbl")));
        r = cli({"set", "edited.tbl", "frequency=462025000", "system-code=7", "baud=2400",
                 "logo=HELLO", "message.1=Call 5"});
        QCOMPARE(r.status, 0);
        r = cli({"diff", "start.tbl", "edited.tbl"});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, QStringLiteral("--- start.tbl\n+++ edited.tbl\n"
                                       "frequency: 450000000 Hz -> 462025000 Hz\n"
                                       "system-code: 0001 -> 0007\n"
                                       "baud: 1200 -> 2400\n"
                                       "logo: \"     CONDOR\" -> \"HELLO\"\n"
                                       "message.1: \"\" -> \"Call 5\"\n"));

        // The listing names every setting set takes, before the hidden pages' ones.
        r = cli({"settings"});
        QCOMPARE(r.status, 0);
        QStringList named;
        for (const QString &line : r.out.split('\n')) {
            if (line.isEmpty())
                break;
            named << line.section('\t', 0, 0);
        }
        QCOMPARE(named, (QStringList{"frequency", "system-code", "range-test", "baud", "logo",
                                     "send-twice", "message.N"}));
        QVERIFY2(r.out.contains("baud\tPOCSAG_Baud\tone of 512, 1200, 2400\t1200\n"),
                 qPrintable(r.out));
        QVERIFY(r.out.contains("\nHeartBeat\tHeart beat\t0, or 30 to 999\t0\n"));
        r = cli({"settings", "--json"});
        const QJsonArray listed =
            QJsonDocument::fromJson(r.out.toUtf8()).object()["settings"].toArray();
        QCOMPARE(listed[0].toObject()["default"].toString(), QStringLiteral("450000000 Hz"));
        QCOMPARE(listed[3].toObject()["items"].toArray().size(), 3);
        QCOMPARE(listed[3].toObject()["set"].toBool(), true);
    }

    void controlCharactersAreRefusedAndShownEscaped()
    {
        const QByteArray plain = SettingsTable().buildImage();
        writeFile("plain.tbl", plain);
        Run r = cli({"set", "plain.tbl", "logo=A\x1b[31mB"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("logo: The control character \\x1b at position 2 cannot be "
                                "stored"),
                 qPrintable(r.err));
        r = cli({"set", "plain.tbl", "message.3=Ring\x07"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("\\x07 at position 5"));
        r = cli({"build", "-", "-o", "nul.tbl"}, "{\"messages\": {\"1\": \"A\\u0000B\"}}");
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("\\x00 at position 2"), qPrintable(r.err));
        QCOMPARE(contents("plain.tbl"), plain);
        QVERIFY(!QFile::exists(path("nul.tbl")));

        // What a table already holds is shown escaped, never raw.
        QByteArray held = plain;
        held.replace(0, 8, QByteArray::fromHex("0602") + "Hi\x1b[2J");
        held.replace(1916, 5,
                     QByteArray::fromHex("0003") + "A\x1b"
                                                   "c");
        writeFile("held.tbl", held);
        r = cli({"dump", "held.tbl"});
        QVERIFY(!r.bytes.contains('\x1b'));
        QVERIFY2(r.out.contains("Logo       \"A\\x1bc\"") && r.out.contains("  1  Hi\\x1b[2J"),
                 qPrintable(r.out));
        r = cli({"diff", "plain.tbl", "held.tbl"});
        QVERIFY(!r.bytes.contains('\x1b'));
        QVERIFY2(r.out.contains("logo: \"     CONDOR\" -> \"A\\x1bc\"\n") &&
                     r.out.contains("message.1: \"\" -> \"Hi\\x1b[2J\"\n"),
                 qPrintable(r.out));
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
        QVERIFY(cli({"--help"}).out.contains("rw830kt-cli verify   -p PORT FILE.tbl"));
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

    void buildAppliesASiteDocumentOverTheBase()
    {
        // The company's base table: message 3 and a heart beat the site file leaves alone.
        QByteArray base = SettingsTable().buildImage();
        base.replace(116, 9, QByteArray::fromHex("0502") + "Depot" + QByteArray(2, '\0'));
        base[1772] = 60;
        writeFile("company.tbl", base);
        writeFile("north.json",
                  "{\"frequency\": 462025000, \"system-code\": 7, \"logo\": \"NORTH\",\n"
                  " \"messages\": {\"1\": \"Call reception\", \"2\": \"Fire drill\"},\n"
                  " \"PagerAlertLen\": 20, \"OutOfServiceAlertType\": 24}\n");
        writeFile("north.tbl", "old");
        Run r = cli({"build", "north.json", "-o", "north.tbl", "--base", "company.tbl"});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
        QByteArray expected = base;
        expected.replace(0, 16, QByteArray::fromHex("0e02") + "Call reception");
        expected.replace(58, 12, QByteArray::fromHex("0a02") + "Fire drill");
        expected[1753] = 4; // 12500 Hz steps
        expected.replace(1780, 8, QByteArray::fromHex("0ce10600434a0100"));
        expected.replace(1822, 4, "0007");
        expected.replace(1832, 4, QByteArray::fromHex("14000000"));
        expected[1855] = 24;
        expected.replace(1916, 7, QByteArray::fromHex("0005") + "NORTH"); // "R" of CONDOR stays
        QCOMPARE(contents("north.tbl"), expected);
        QCOMPARE(contents("north.BAK"), QByteArray("old")); // the save that the window makes

        // Without --base, the table the window starts with here; -o - writes the image to
        // standard output.
        r = cli({"build", "-", "-o", "-"}, "{\"HeartBeat\": 30}");
        QCOMPARE(r.status, 0);
        expected = startingImage();
        expected[1772] = 30;
        QCOMPARE(r.bytes, expected);
    }

    void buildAcceptsValuesAtTheirEdges()
    {
        const QByteArray doc =
            "{\"HeartBeat\": 30, \"range-test\": 10, \"system-code\": 2000,\n"
            " \"PagerAlertLen\": 999, \"FunBitBPat\": 27, \"LowBatAlertType\": 24,\n"
            " \"logo\": \"ABCDEFGHIJKLMNOPQRSTU\", \"baud\": 2400, \"send-twice\": 0,\n"
            " \"messages\": {\"30\": \"" +
            QByteArray(50, 'm') + "\"}, \"FunBitAPat\": 0}";
        const Run r = cli({"build", "-", "-o", "edges.tbl"}, doc);
        QCOMPARE(r.status, 0);
        QByteArray expected = startingImage();
        expected.replace(1772, 4, QByteArray::fromHex("1e000000"));
        expected[1757] = 10;
        expected.replace(1822, 4, "2000");
        expected.replace(1832, 4, QByteArray::fromHex("e7030000"));
        expected[1876] = 27;
        expected[1847] = 24;
        expected.replace(1916, 23, QByteArray::fromHex("0015") + "ABCDEFGHIJKLMNOPQRSTU");
        expected[1756] = 2;
        expected[1777] = 0;
        expected.replace(1682, 52, QByteArray::fromHex("3202") + QByteArray(50, 'm'));
        expected[1868] = 0;
        QCOMPARE(contents("edges.tbl"), expected);
    }

    void buildRefusesAndWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        // The first line of every document, "FlashLen": 999, would be accepted alone.
        QTest::newRow("range test") << QByteArray("\"range-test\": 241") << 1
                                    << "site.json:2:16: range-test: Please insert a number "
                                       "between 0 or 10 ~ 240 !";
        QTest::newRow("heart beat") << QByteArray("\"HeartBeat\": 29") << 1
                                    << "site.json:2:15: HeartBeat: Please insert a number between "
                                       "0 or 30 ~ 999 !";
        QTest::newRow("system code") << QByteArray("\"system-code\": 2001") << 1
                                     << "site.json:2:17: system-code: Please insert a number "
                                        "between 0 ~ 2000 !";
        QTest::newRow("alert length") << QByteArray("\"PagerAlertLen\": 1000") << 1
                                      << "site.json:2:19: PagerAlertLen: Please insert a number "
                                         "between 0 ~ 999 !";
        QTest::newRow("melody") << QByteArray("\"FunBitBPat\": 28") << 1
                                << "site.json:2:16: FunBitBPat: is an item of a list of 28: 0 to "
                                   "27, not 28";
        QTest::newRow("logo") << QByteArray("\"logo\": \"ABCDEFGHIJKLMNOPQRSTUV\"") << 1
                              << "site.json:2:10: logo: The logo takes at most 21 characters.";
        QTest::newRow("message") << "\"messages\": {\"2\": \"" + QByteArray(51, 'x') + "\"}" << 1
                                 << "site.json:2:20: messages.2: More then 50 Characters!";
        QTest::newRow("frequency") << QByteArray("\"frequency\": 462026000") << 1
                                   << "site.json:2:15: frequency: Channel Spacing Error!";
        QTest::newRow("baud") << QByteArray("\"baud\": 9600") << 1
                              << "site.json:2:10: baud: baud is one of 512, 1200, 2400.";
        QTest::newRow("send twice") << QByteArray("\"send-twice\": 2") << 1
                                    << "site.json:2:16: send-twice: send-twice is 0 or 1.";
        QTest::newRow("frequency and words")
            << QByteArray("\"R1\": 84547, \"frequency\": 462025000") << 1
            << "site.json:2:28: frequency: contradicts the register word \"R1\" at line 2, "
               "column 2: give the frequency or the register words, not both";
        QTest::newRow("unknown name")
            << QByteArray("\"HeartBeet\": 30") << 2 << "site.json:2:2: unknown name \"HeartBeet\"";
        QTest::newRow("duplicate key") << QByteArray("\"FlashLen\": 5") << 2
                                       << "site.json:2:2: \"FlashLen\" is given twice (first at "
                                          "line 1, column 2)";
        QTest::newRow("wrong type") << QByteArray("\"HeartBeat\": \"30\"") << 2
                                    << "site.json:2:15: HeartBeat takes a number, not a text";
        QTest::newRow("malformed") << QByteArray("\"x\": [1,") << 2
                                   << "site.json:2:10: unexpected '}' where a value should be";
    }
    void buildRefusesAndWritesNothing()
    {
        QFETCH(QByteArray, second);
        QFETCH(int, status);
        QFETCH(QString, message);
        writeFile("site.json", "{\"FlashLen\": 999,\n " + second + "}");
        writeFile("site.tbl", "before");
        QFile::remove(path("site.BAK"));
        const Run r = cli({"build", "site.json", "-o", "site.tbl"});
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains("rw830kt-cli: " + message + "\n"), qPrintable(r.err));
        QVERIFY(r.err.contains("rw830kt-cli: site.json: nothing written"));
        QCOMPARE(contents("site.tbl"), QByteArray("before"));
        QVERIFY(!QFile::exists(path("site.BAK")));
    }

    void aDocumentPipedInTwoPiecesWithAPauseBetweenIsReadWhole()
    {
        writeFile("paced.tbl", patternedImage());
        const Run dumped = cli({"dump", "paced.tbl", "--json"});
        QCOMPARE(dumped.status, 0);
        QVERIFY(dumped.bytes.size() > 3000);
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QStringLiteral(RW830KT_CLI), {"build", "-", "-o", "paced-copy.tbl"});
        QVERIFY(p.waitForStarted());
        // The first piece stops mid-document: read short, it would be refused as malformed.
        p.write(dumped.bytes.left(3000));
        QVERIFY(p.waitForBytesWritten());
        QTRY_VERIFY_WITH_TIMEOUT(waitsOnAPipe(p.processId()), 60000);
        p.write(dumped.bytes.mid(3000));
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QCOMPARE(contents("paced-copy.tbl"), contents("paced.tbl"));
    }

    void dumpThenBuildGivesTheSameBytes()
    {
        auto roundTrip = [&](const QString &file) {
            const Run dumped = cli({"dump", file, "--json"});
            QCOMPARE(dumped.status, 0);
            const Run built = cli({"build", "-", "-o", "copy.tbl"}, dumped.bytes);
            QVERIFY2(built.status == 0, qPrintable(file + ": " + built.err));
            QCOMPARE(contents("copy.tbl"), contents(file));
        };
        QFile::remove(path("RW830KT2485E.ini"));
        writeFile("builtin.tbl", SettingsTable().buildImage());
        roundTrip("builtin.tbl");

        const QStringList settings{"frequency=459997500", "system-code=7", "baud=512",
                                   "range-test=240",      "logo= HI",      "send-twice=0",
                                   "message.5=One\nTwo"};
        for (const QString &setting : settings) {
            writeFile("named.tbl", SettingsTable().buildImage());
            QCOMPARE(cli({"set", "named.tbl", setting}).status, 0);
            QVERIFY(contents("named.tbl") != SettingsTable().buildImage());
            roundTrip("named.tbl");
        }

        // Odd bytes where no editor writes them: a lone CR and a lone LF in messages, bytes
        // after a message's zero byte, reserved bytes, a logo of any bytes.
        QByteArray odd = patternedImage();
        odd.replace(0, 8, QByteArray::fromHex("060241") + QByteArray("\rB\nC\0", 5));
        odd.replace(1916, 23,
                    QByteArray::fromHex("f3ff000102030405060708090a0b0c0d0e0f1011121314"));
        writeFile("odd.tbl", odd);
        roundTrip("odd.tbl");

        // A table as a transmitter gives it.
        SimulatorProcess sim;
        QVERIFY(sim.start({}, odd));
        QCOMPARE(cli({"read", "-p", sim.device(), "-o", "fromtx.tbl"}).status, 0);
        QCOMPARE(contents("fromtx.tbl"), odd);
        roundTrip("fromtx.tbl");
    }

    void aCompleteDocumentCanBeEditedButNotContradicted()
    {
        QFile::remove(path("RW830KT2485E.ini"));
        writeFile("whole.tbl", SettingsTable().buildImage());
        const QByteArray dumped = cli({"dump", "whole.tbl", "--json"}).bytes;
        QVERIFY(dumped.contains("\"frequency_hz\": 450325000"));

        // A changed message text is stored by the window's rule over its record.
        QByteArray edited = dumped;
        edited.replace("\"messages\": [\n    \"\"", "\"messages\": [\n    \" Hello \"");
        QVERIFY(edited != dumped);
        Run r = cli({"build", "-", "-o", "edited.tbl"}, edited);
        QCOMPARE(r.status, 0);
        QByteArray expected = SettingsTable().buildImage();
        expected.replace(0, 7, QByteArray::fromHex("0502") + "Hello");
        QCOMPARE(contents("edited.tbl"), expected);

        // The shown frequency is not a way to set one: the words would contradict it.
        edited = dumped;
        edited.replace("\"frequency_hz\": 450325000", "\"frequency_hz\": 462025000");
        r = cli({"build", "-", "-o", "edited2.tbl"}, edited);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("<stdin>:2:19: frequency_hz: the register words give 450325000, "
                                "not 462025000"),
                 qPrintable(r.err));
        QVERIFY(!QFile::exists(path("edited2.tbl")));
    }

    void buildReportsFilesItCannotReadOrWrite()
    {
        writeFile("ok.json", "{}");
        Run r = cli({"build", "missing.json", "-o", "x.tbl"});
        QCOMPARE(r.status, 3);
        QVERIFY(r.err.contains("missing.json"));
        r = cli({"build", "ok.json", "-o", "x.tbl", "--base", "nobase.tbl"});
        QCOMPARE(r.status, 3);
        QVERIFY(r.err.contains("nobase.tbl"));
        r = cli({"build", "ok.json", "-o", "no-such-folder/x.tbl"});
        QCOMPARE(r.status, 3);
        QVERIFY(r.err.contains("no-such-folder/x.tbl"));
        QVERIFY(!QFile::exists(path("x.tbl")));
        QCOMPARE(cli({"build", "ok.json"}).status, 2); // no -o
        QCOMPARE(cli({"dump", "ok.json", "--base", "b.tbl"}).status, 2);
        QVERIFY(
            cli({"--help"}).out.contains("rw830kt-cli build    -o FILE SITE.json [--base FILE]"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
