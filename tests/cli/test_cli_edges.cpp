// SPDX-License-Identifier: GPL-3.0-or-later
// rw830kt-cli at its edges, as a real process: every wrong command line, a reader that goes
// away, a full output, names and text the table or the system cannot hold, one port named
// twice, a trace FIFO nobody reads, and the progress of a Read on a terminal.

#include "model/settingstable.h"
#include "simulator.h"
#include "testfiles.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace rw;

namespace {

struct Run {
    int status = -1; // -1: did not end in time; -2: ended by a signal
    QString out;
    QString err;
};

QByteArray patternedImage()
{
    QByteArray image(2048, '\0');
    for (int i = 0; i < 1940; ++i)
        image[i] = static_cast<char>((i * 13 + 5) & 0xFF);
    return image;
}

const QString NoPort = QStringLiteral("/nonexistent/ttyX");

} // namespace

class TestCliEdges : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString path(const QString &name) const { return dir_.filePath(name); }

    // The program with `args`, in the temporary folder; standard output or standard error
    // into a file when given.
    Run cli(const QStringList &args, const QString &outFile = {}, const QString &errFile = {},
            int waitMs = 60000)
    {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        if (!outFile.isEmpty())
            p.setStandardOutputFile(outFile);
        if (!errFile.isEmpty())
            p.setStandardErrorFile(errFile);
        p.start(QStringLiteral(RW830KT_CLI), args);
        return finish(p, waitMs);
    }

    // A bash script run in the temporary folder with the program as $0 and `args` after it.
    Run shell(const QString &script, const QStringList &args = {})
    {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QStringLiteral("bash"),
                QStringList{"-c", script, QStringLiteral(RW830KT_CLI)} + args);
        return finish(p, 60000);
    }

    static Run finish(QProcess &p, int waitMs)
    {
        Run r;
        if (!p.waitForFinished(waitMs)) {
            p.kill();
            p.waitForFinished(5000);
            return r;
        }
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        writeFile(path("site.tbl"), patternedImage());
        writeFile(path("-odd.tbl"), patternedImage());
    }

    void aValueIsTakenInEveryFormAndOptionsGoAnywhere_data()
    {
        QTest::addColumn<QStringList>("args");
        const QString file = QStringLiteral("site.tbl");
        QTest::newRow("-p PORT") << QStringList{"verify", "-p", NoPort, file};
        QTest::newRow("-pPORT") << QStringList{"verify", "-p" + NoPort, file};
        QTest::newRow("--port PORT") << QStringList{"verify", "--port", NoPort, file};
        QTest::newRow("--port=PORT") << QStringList{"verify", "--port=" + NoPort, file};
        QTest::newRow("after the operand") << QStringList{"verify", file, "-p", NoPort};
        QTest::newRow("before the verb") << QStringList{"-p", NoPort, "verify", file};
        QTest::newRow("letters run together") << QStringList{"-qp" + NoPort, "verify", file};
        // After "--" a name that begins with '-' is a file: the table is opened (status
        // 3 if it were not) before the port is tried.
        QTest::newRow("-- ends the options")
            << QStringList{"verify", "-p", NoPort, "--", "-odd.tbl"};
    }
    void aValueIsTakenInEveryFormAndOptionsGoAnywhere()
    {
        QFETCH(QStringList, args);
        const Run r = cli(args);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.startsWith("rw830kt-cli: /nonexistent/ttyX: Error opening comm port."),
                 qPrintable(r.err));
    }

    void everyWrongCommandLineIsAUsageError_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << QStringList{} << "no verb given";
        QTest::newRow("empty first argument")
            << QStringList{"", "dump", "site.tbl"} << "the verb is empty";
        QTest::newRow("unknown verb") << QStringList{"fly"} << "unknown verb fly";
        QTest::newRow("line break in the verb")
            << QStringList{"fly\naway\x01"} << "unknown verb fly\\naway\\x01";
        QTest::newRow("unknown option")
            << QStringList{"dump", "site.tbl", "--bogus"} << "Unknown option 'bogus'";
        QTest::newRow("value for a switch")
            << QStringList{"dump", "--json=yes", "site.tbl"} << "Unexpected value after '--json'";
        QTest::newRow("no port") << QStringList{"read", "-o", "x.tbl"} << "read needs -p PORT";
        QTest::newRow("no output") << QStringList{"read", "-p", NoPort} << "read needs -o FILE";
        QTest::newRow("-p last") << QStringList{"read", "-o", "x.tbl", "-p"}
                                 << "Missing value after '-p'";
        QTest::newRow("-p alone") << QStringList{"read", "-p"} << "Missing value after '-p'";
        QTest::newRow("-p before -o")
            << QStringList{"read", "-p", "-o", "x.tbl"} << "-p needs a value, not the option -o";
        QTest::newRow("--port before --trace")
            << QStringList{"verify", "--port", "--trace", "t.txt", "site.tbl"}
            << "-p needs a value, not the option --trace";
        QTest::newRow("-p ''") << QStringList{"read", "-p", "", "-o", "x.tbl"}
                               << "-p needs a value";
        QTest::newRow("--port=") << QStringList{"read", "--port=", "-o", "x.tbl"}
                                 << "-p needs a value";
        QTest::newRow("-o ''") << QStringList{"read", "-p", NoPort, "-o", ""} << "-o needs a value";
        QTest::newRow("-o twice") << QStringList{"read", "-p", NoPort, "-o", "x.tbl", "-oy.tbl"}
                                  << "read takes one -o";
        QTest::newRow("--trace twice")
            << QStringList{"write", "-p", NoPort, "--trace", "a", "--trace=b", "site.tbl"}
            << "write takes one --trace";
        QTest::newRow("two ports to verify")
            << QStringList{"verify", "-p", NoPort, "-p", "/nonexistent/ttyY", "site.tbl"}
            << "verify takes one -p";
        QTest::newRow("one port twice")
            << QStringList{"write", "-p", NoPort, "--port=" + NoPort, "site.tbl"}
            << "-p /nonexistent/ttyX is given twice";
        QTest::newRow("too few operands")
            << QStringList{"diff", "site.tbl"} << "diff takes A.tbl B.tbl";
        QTest::newRow("too many operands")
            << QStringList{"dump", "site.tbl", "site.tbl"} << "dump takes FILE.tbl";
        QTest::newRow("operands to ports")
            << QStringList{"ports", "x"} << "ports takes no operands";
        QTest::newRow("empty operand") << QStringList{"dump", ""} << "an operand of dump is empty";
        QTest::newRow("port to dump")
            << QStringList{"dump", "site.tbl", "-p", NoPort} << "dump takes no -p";
        QTest::newRow("-o to write")
            << QStringList{"write", "-p", NoPort, "site.tbl", "-o", "x.tbl"} << "write takes no -o";
        QTest::newRow("--json to read")
            << QStringList{"read", "-p", NoPort, "-o", "x.tbl", "--json"} << "read takes no --json";
        QTest::newRow("--trace to set")
            << QStringList{"set", "site.tbl", "system-code=1", "--trace", "t.txt"}
            << "set takes no --trace";
    }
    void everyWrongCommandLineIsAUsageError()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Run r = cli(args);
        QCOMPARE(r.status, 2);
        QCOMPARE(r.err, "rw830kt-cli: " + message + "\nTry 'rw830kt-cli --help'.\n");
        QCOMPARE(r.out, QString());
        // Refused before anything is touched.
        QVERIFY(!QFile::exists(path("x.tbl")));
        QVERIFY(!QFile::exists(path("t.txt")));
        QCOMPARE(contents(path("site.tbl")), patternedImage());
    }

    void helpListsEveryVerbAndOptionAsTheParserTakesThem()
    {
        const Run help = cli({"--help"});
        QCOMPARE(help.status, 0);
        QCOMPARE(cli({"-h"}).out, help.out);
        for (const char *line :
             {"  rw830kt-cli ports\n", "  rw830kt-cli read     -p PORT -o FILE [--trace FILE]\n",
              "  rw830kt-cli write    -p PORT [-p PORT ...] FILE.tbl [--backup DIR] [--trace "
              "FILE] [--pad]\n",
              "  rw830kt-cli verify   -p PORT FILE.tbl [--trace FILE]\n",
              "  rw830kt-cli dump     FILE.tbl [--json]\n",
              "  rw830kt-cli diff     A.tbl B.tbl [--json]\n",
              "  rw830kt-cli set      FILE.tbl NAME=VALUE [NAME=VALUE ...]\n",
              "  rw830kt-cli settings [--json]\n", "  -p, --port PORT ", "  -o, --output FILE ",
              "      --trace FILE ", "      --pad ", "      --json ", "  -q, --quiet ",
              "  -h, --help ", "      --version ", "'--port=PORT'", "'--' ends the options"})
            QVERIFY2(help.out.contains(QLatin1String(line)), line);
        // -q is taken by every verb, before or after its operands.
        const Run quiet = cli({"diff", "-q", "site.tbl", "site.tbl"});
        QCOMPARE(quiet.status, 0);
        QCOMPARE(quiet.err, QString());
    }

    void aClosedPipeNeitherStopsAWriteNorPassesForSuccess()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--latency", "20"}));
        // head leaves after the first line; every later line meets a closed pipe.
        const Run r = shell(R"("$0" write -p "$1" site.tbl | head -n 1; exit "${PIPESTATUS[0]}")",
                            {sim.device()});
        QCOMPARE(r.status, 3);
        QCOMPARE(sim.memory(), patternedImage()); // all sixteen blocks, verified
        QVERIFY2(r.err.contains("rw830kt-cli: cannot write to standard output: Broken pipe"),
                 qPrintable(r.err));
    }

    void outputThatCannotBeWrittenIsAFileError()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start());
        QByteArray other = patternedImage();
        other[1757] = 10; // RangeTestDur
        writeFile(path("other.tbl"), other);
        const QList<QStringList> runs{
            {"ports"},
            {"dump", "site.tbl"},
            {"dump", "site.tbl", "--json"},
            {"diff", "site.tbl", "other.tbl"},
            {"--help"},
            {"--version"},
            {"write", "-p", sim.device(), "site.tbl"},
            {"verify", "-p", sim.device(), "other.tbl"}, // differences found, not shown
            {"read", "-p", sim.device(), "-o", "back.tbl"},
        };
        for (const QStringList &args : runs) {
            const Run r = cli(args, QStringLiteral("/dev/full"));
            QVERIFY2(r.status == 3, qPrintable(args.join(' ') + ": " + QString::number(r.status)));
            QVERIFY2(r.err.endsWith(
                         "rw830kt-cli: cannot write to standard output: No space left on device\n"),
                     qPrintable(r.err));
        }
        // The transfers ran to their end all the same.
        QCOMPARE(sim.memory(), patternedImage());
        QCOMPARE(contents(path("back.tbl")), patternedImage());

        // Standard error full: a refusal or a failure nobody could read.
        QCOMPARE(cli({"set", "site.tbl", "system-code=2001"}, {}, "/dev/full").status, 3);
        QCOMPARE(contents(path("site.tbl")), patternedImage());
        QCOMPARE(cli({"verify", "-p", NoPort, "site.tbl"}, {}, "/dev/full").status, 3);
    }

    void namesNotValidInTheSystemsEncodingAreRefusedBeforeAnythingIsWritten()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({}, patternedImage()));
        const QStringList before = fileNames(dir_.path());
        // "\351t\351.tbl" is Latin-1 for a name that is not UTF-8.
        Run r =
            shell(R"sh(exec "$0" read -p "$1" -o "$(printf '\351t\351.tbl')")sh", {sim.device()});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.startsWith("rw830kt-cli: argument 5 ("), qPrintable(r.err));
        QVERIFY(r.err.contains(") is not valid text in the system's encoding\n"));
        QCOMPARE(fileNames(dir_.path()), before);
        QVERIFY(sim.requests().isEmpty());

        r = shell(R"sh(name="$(printf '\351t\351.tbl')"; cp site.tbl "$name"; "$0" dump "$name";
                     s=$?; rm "$name"; exit $s)sh");
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.contains("is not valid text in the system's encoding"), qPrintable(r.err));
    }

    void textTheTableCannotHoldIsRefused_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("message");
        QTest::newRow("message in Cyrillic")
            << QString::fromUtf8("message.1=\xD0\x9F\xD1\x80\xD0\xB8") // "При"
            << QString::fromUtf8("message.1: The character '\xD0\x9F' (U+041F) cannot be stored "
                                 "in the transmitter; it takes Latin-1 characters only.");
        QTest::newRow("logo with the euro sign")
            << QString::fromUtf8("logo=5\xE2\x82\xAC") // "5€"
            << QString::fromUtf8("logo: The character '\xE2\x82\xAC' (U+20AC) cannot be stored");
        QTest::newRow("message beyond the first plane")
            << QString::fromUtf8("message.30=ok \xF0\x9F\x98\x80")
            << QStringLiteral("(U+1F600) cannot be stored");
    }
    void textTheTableCannotHoldIsRefused()
    {
        QFETCH(QString, setting);
        QFETCH(QString, message);
        writeFile(path("text.tbl"), patternedImage());
        const Run r = cli({"set", "text.tbl", "system-code=12", setting});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(contents(path("text.tbl")), patternedImage());
    }

    void latin1TextIsStoredByteForByte()
    {
        const QByteArray start = SettingsTable().buildImage();
        writeFile(path("latin.tbl"), start);
        const Run r =
            cli({"set", "latin.tbl", QString::fromUtf8("message.2=Caf\xC3\xA9 \xC2\xBD")});
        QCOMPARE(r.status, 0);
        QByteArray expected = start;
        expected[58] = 6; // MsgLen of message 2
        expected.replace(60, 6, "Caf\xE9 \xBD");
        QCOMPARE(contents(path("latin.tbl")), expected);
    }

    void blanksAroundANumberAreIgnoredForEveryName_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("frequency")
            << "frequency= 462025000 " << 1780 << QByteArray("\x0C\xE1\x06\x00\x43\x4A\x01\x00", 8);
        QTest::newRow("system code") << "system-code= 7 " << 1822 << QByteArray("0007");
        QTest::newRow("range test") << "range-test=\t240 " << 1757 << QByteArray("\xF0");
        QTest::newRow("baud") << "baud= 2400" << 1756 << QByteArray("\x02");
        QTest::newRow("send twice") << "send-twice=0 " << 1777 << QByteArray("\x00", 1);
    }
    void blanksAroundANumberAreIgnoredForEveryName()
    {
        QFETCH(QString, setting);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QFile::remove(path("RW830KT2485E.ini"));
        const QByteArray start = SettingsTable().buildImage();
        writeFile(path("blanks.tbl"), start);
        const Run r = cli({"set", "blanks.tbl", setting});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        const QByteArray image = contents(path("blanks.tbl"));
        QCOMPARE(image.mid(offset, bytes.size()), bytes);
    }

    void onePortNamedTwiceByAnotherPathIsRefused()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start());
        const QString dev = sim.device(); // /dev/pts/N
        QVERIFY(dev.startsWith("/dev/"));
        QFile::remove(path("link-to-port"));
        QVERIFY(QFile::link(dev, path("link-to-port")));
        for (const QString &again :
             {"/dev/../dev/" + dev.mid(5), path("link-to-port"), dev.mid(5)}) {
            const Run r = cli({"write", "-p", dev, "-p", again, "site.tbl"});
            QCOMPARE(r.status, 2);
            QCOMPARE(r.err, QStringLiteral("rw830kt-cli: one port is named twice: %1 and %2\n")
                                .arg(dev, again));
        }
        QVERIFY(sim.requests().isEmpty());
        QCOMPARE(sim.memory(), QByteArray());
    }

    void aTraceFifoThatNobodyReadsIsRefusedAtOnce()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start());
        const QString fifo = path("trace.fifo");
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        // Without a reader the open would wait for ever; the bound is only a safety net.
        const Run r =
            cli({"verify", "-p", sim.device(), "--trace", fifo, "site.tbl"}, {}, {}, 30000);
        QCOMPARE(r.status, 3);
        QCOMPARE(r.err,
                 "rw830kt-cli: " + fifo + ": cannot write the trace: a FIFO that nobody reads\n");
        QVERIFY(sim.requests().isEmpty());
    }

    // An empty or cut file would leave the transmitter blank without a word.
    void writeRefusesWhatItCannotDoBeforeThePortOpens()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start());
        writeFile(path("five.tbl"), "ABCDE");
        writeFile(path("long.tbl"), patternedImage() + 'x');
        const Run r = cli({"write", "-p", sim.device(), "five.tbl"});
        QCOMPARE(r.status, 3);
        QCOMPARE(r.err, "rw830kt-cli: five.tbl: The file is 5 bytes long, not 2048: it is not a "
                        "whole table. Nothing was written (--pad writes it as the window opens "
                        "it).\n");
        QVERIFY(cli({"write", "-p", sim.device(), "long.tbl"}).err.contains(": The file is 2049"));
        // A backup folder that is a file is refused before the port is opened too.
        QCOMPARE(cli({"write", "-p", sim.device(), "--backup", "five.tbl", "site.tbl"}).err,
                 "rw830kt-cli: five.tbl is not a folder: no backup can be kept in it. Nothing "
                 "was written.\n");
        QVERIFY(sim.requests().isEmpty());
        QCOMPARE(cli({"write", "--pad", "-p", sim.device(), "five.tbl"}).status, 0);
        QCOMPARE(sim.memory(), QByteArray("ABCDE") + QByteArray(2043, '\0'));
    }

    void aDeviceThatIsNoSerialPortIsToldWithTheSystemsReason()
    {
        const Run r = cli({"verify", "-p", "/dev/null", "site.tbl"});
        QCOMPARE(r.err, "rw830kt-cli: /dev/null: Error opening comm port.\n\n/dev/null did not "
                        "open as a serial port: Inappropriate ioctl for device.\n"
                        "rw830kt-cli: /dev/null: Read Error !\n");
    }

    // ESC, BEL, a line break and CSI (U+009B) in a port's name, an output file's name and a
    // message: standard output, standard error and the trace show each escaped.
    void noControlCharacterFromOutsideReachesAnOutputRaw()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({}, patternedImage()));
        const QString raw = QStringLiteral("\x1b[31m\x07\n") + QChar(0x9B);
        const QString shown = QStringLiteral("\\x1b[31m\\x07\\n\\x9b");
        QVERIFY(QFile::link(sim.device(), path("tty" + raw)));
        const QString port = path("tty" + shown), out = "out" + shown + ".tbl";
        // No control character but line ends, and every line begins as one of `starts`
        // (patterns): a raw line break would begin one with the rest of a name.
        const auto check = [](const QByteArray &bytes, const QStringList &starts) {
            const QString text = QString::fromUtf8(bytes);
            QVERIFY2(
                !text.contains(QRegularExpression("[\\x{0}-\\x{9}\\x{b}-\\x{1f}\\x{7f}-\\x{9f}]")),
                bytes.constData());
            for (const QString &line : text.split('\n', Qt::SkipEmptyParts))
                QVERIFY2(std::any_of(starts.begin(), starts.end(),
                                     [&](const QString &s) {
                                         return QRegularExpression('^' + s).match(line).hasMatch();
                                     }),
                         qPrintable(line));
        };
        const QString portStart = QRegularExpression::escape(port);

        Run r = cli({"read", "-p", path("tty" + raw), "-o", "out" + raw + ".tbl", "--trace", "t"});
        QCOMPARE(r.status, 0);
        check(r.out.toUtf8() + r.err.toUtf8(), {portStart + ": "});
        QVERIFY(r.out.endsWith(port + ": read into " + out + "\n"));
        check(contents(path("t")), {"\\d+\\.\\d{6} " + portStart + " (>>|<<|--) "});
        r = cli({"write", "-p", path("tty" + raw), "out" + raw + ".tbl"});
        check(r.out.toUtf8() + r.err.toUtf8(), {portStart + ": "});
        QVERIFY(r.out.endsWith(port + ": written and verified\n"));
        r = shell(R"(echo '{}' | "$0" build - -o "$1")", {"out" + raw + ".tbl"});
        QCOMPARE(r.out, out + ": built from <stdin>\n");
        // A message takes the line break; CSI is the first character it refuses.
        r = cli({"set", "out" + raw + ".tbl",
                 QStringLiteral("message.1=Hi\n") + QChar(0x9B) + "\x1b\x07"});
        QCOMPARE(r.err, "rw830kt-cli: " + out +
                            ": message.1: The control character \\x9b at position 4 cannot be "
                            "stored; a message takes printable characters, line breaks and tabs "
                            "only. (nothing changed)\n");
        // An opening failure's reason, a report of several lines, names the port escaped.
        const QString gone = QRegularExpression::escape(path("gone" + shown));
        r = cli({"verify", "-p", path("gone" + raw), "site.tbl"});
        check(r.err.toUtf8(), {"rw830kt-cli: " + gone + ": ", "The port " + gone + " has no"});
        writeFile(path("RW830KT2485E.ini"),
                  "[Serial]\nExtraPorts=" + QFile::encodeName(path("x")) + "\x1b\x07\x9b\n");
        r = cli({"ports"});
        QFile::remove(path("RW830KT2485E.ini"));
        QVERIFY2(r.out.startsWith(path("x\\x1b\\x07\\x9b\n")), qPrintable(r.out));
    }

    void aReadsProgressOnATerminalRunsToTheEnd()
    {
        if (QStandardPaths::findExecutable("script").isEmpty())
            QSKIP("script(1) is not installed");
        SimulatorProcess sim;
        QVERIFY(sim.start({"--latency", "200"}, patternedImage()));
        // script gives the program a terminal, so it draws its bars.
        const Run r =
            shell(R"(script -qec "'$0' read -p '$1' -o term.tbl" /dev/null)", {sim.device()});
        QCOMPARE(r.status, 0);
        QCOMPARE(contents(path("term.tbl")), patternedImage());
        // Each block of sixteen is 6.25 % of a Read; with 200 ms a reply, the bar is drawn
        // while the last blocks are still on their way.
        int highest = -1;
        const QRegularExpression bar(QStringLiteral(R"((\d+)% Read)"));
        for (auto m = bar.globalMatch(r.out); m.hasNext();)
            highest = qMax(highest, m.next().captured(1).toInt());
        QVERIFY2(highest >= 87 && highest <= 100, qPrintable(r.out.right(400)));
        QVERIFY(r.out.contains("100% done"));
    }
};

QTEST_GUILESS_MAIN(TestCliEdges)
#include "test_cli_edges.moc"
