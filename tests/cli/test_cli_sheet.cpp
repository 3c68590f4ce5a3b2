// SPDX-License-Identifier: GPL-3.0-or-later
// rw830kt-cli sheet: the settings sheet as a PDF of one page, holding what dump prints,
// drawn by a module that no other verb loads.

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

} // namespace

class TestCliSheet : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // `program` in the test's folder, with NAME=VALUE added to its environment.
    Run run(const QString &program, const QStringList &args, const QString &env = {},
            const QByteArray &input = {})
    {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        if (!env.isEmpty())
            e.insert(env.section('=', 0, 0), env.section('=', 1));
        p.setProcessEnvironment(e);
        p.start(program, args);
        p.write(input);
        p.closeWriteChannel();
        Run r;
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
            r = {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                 QString::fromLocal8Bit(p.readAllStandardError())};
        return r;
    }
    Run cli(const QStringList &args, const QString &env = {}, const QByteArray &input = {})
    {
        return run(QStringLiteral(RW830KT_CLI), args, env, input);
    }

private slots:
    void initTestCase()
    {
        // A site of thirty messages, each its own, and a frequency and code to find.
        QByteArray doc = R"({"frequency": 462025000, "system-code": 7, "messages": [)";
        for (int n = 1; n <= 30; ++n)
            doc += QByteArray(n > 1 ? ", " : "") + "\"Site call " + QByteArray::number(n * 7) +
                   (n == 3 ? " caf\xC3\xA9\"" : "\"");
        doc += "]}";
        QCOMPARE(cli({"build", "-", "-o", "site.tbl"}, {}, doc).status, 0);
    }

    void theSheetIsOnePageHoldingWhatDumpPrints()
    {
        const QString crc = QRegularExpression("\nCRC-32 +([0-9A-F]{8})\n")
                                .match(cli({"dump", "site.tbl"}).out)
                                .captured(1);
        QVERIFY(!crc.isEmpty());

        const Run sheet = cli({"sheet", "site.tbl", "-o", "site.pdf"}, "LC_ALL=de_DE.UTF-8");
        QCOMPARE(sheet.status, 0);
        QCOMPARE(sheet.err, QString());
        QCOMPARE(sheet.out, QString());
        const QString info = run("pdfinfo", {"site.pdf"}).out;
        QVERIFY2(info.contains(QRegularExpression("Pages: +1\n")), qPrintable(info));
        QVERIFY(info.contains("595 x 842 pts (A4)"));
        const QString text = run("pdftotext", {"-layout", "site.pdf", "-"}).out;
        QVERIFY2(text.contains(QRegularExpression("Frequency +462025000 Hz")), qPrintable(text));
        QVERIFY(text.contains(QRegularExpression("System Code +0007 ")));
        for (int n = 1; n <= 30; ++n)
            QVERIFY2(text.contains(QRegularExpression(
                         QStringLiteral("\n%1 +Site call %2%3\n")
                             .arg(n, 2, 10, QChar('0'))
                             .arg(n * 7)
                             .arg(n == 3 ? QString::fromUtf8(" caf\xC3\xA9") : QString()))),
                     qPrintable(QString::number(n)));
        QVERIFY(text.contains(
            QRegularExpression("Fingerprint \\(CRC-32 of the 2048-byte table\\) +" + crc + "\n")));

        // Letter where the system's locale uses it.
        QCOMPARE(cli({"sheet", "site.tbl", "-o", "letter.pdf"}, "LC_ALL=en_US.UTF-8").status, 0);
        QVERIFY(run("pdfinfo", {"letter.pdf"}).out.contains("612 x 792 pts (letter)"));
    }

    void onlySheetLoadsQtGuiAndItsModule()
    {
        const auto loaded = [&](const QStringList &args) {
            return cli(args, "LD_DEBUG=files").err; // the C library's loader names each file
        };
        const QString dump = loaded({"dump", "site.tbl"});
        QVERIFY2(dump.contains("libQt6Core"), qPrintable(dump.left(2000)));
        QVERIFY(!dump.contains("libQt6Gui"));
        QVERIFY(!dump.contains("librw830kt-sheet"));
        const QString sheet = loaded({"sheet", "site.tbl", "-o", "loaded.pdf"});
        QVERIFY(sheet.contains("librw830kt-sheet.so"));
        QVERIFY(sheet.contains("libQt6Gui"));
    }
};

QTEST_GUILESS_MAIN(TestCliSheet)
#include "test_cli_sheet.moc"
