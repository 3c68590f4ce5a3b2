// SPDX-License-Identifier: GPL-3.0-or-later
// Compare and the backup before Write, through the real main window against the
// transmitter simulator.

#include "app/reportbox.h"
#include "link/line/commport.h"
#include "simulator.h"
#include "smallfilesystem.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTreeWidget>

using namespace rw;

namespace {

// Points the window at the simulator's port.
void choosePort(TfmMain &w, const QString &device)
{
    w.cboCOM->insertItem(0, device);
    w.cboCOM->setCurrentIndex(0);
}

// The command letter of every request the simulator received, in order ("R" read, "S"
// write).
QString commands(const SimulatorProcess &sim)
{
    QString letters;
    for (const QByteArray &frame : sim.requests())
        letters += frame.size() > 11 ? QChar(frame[11]) : u'?';
    return letters;
}

// An image that differs from `image` in the heartbeat, the system code and the third
// message ("Hi").
QByteArray withThreeChanges(QByteArray image)
{
    image[1772] = 30;                   // HeartBeat
    image.replace(1822, 4, "1234");     // SysCode
    image[2 * 58] = 2;                  // message 3: MsgLen
    image.replace(2 * 58 + 2, 2, "Hi"); // and its text
    return image;
}

} // namespace

class TestCompareBackup : public QObject {
    Q_OBJECT
private slots:
    void compareListsEveryDifferingSettingAndChangesNothing()
    {
        WindowFixture f;
        const QByteArray window = f.table.buildImage();
        SimulatorProcess sim;
        QVERIFY(sim.start({}, withThreeChanges(window)));
        choosePort(f.w(), sim.device());
        const QString sysCodeShown = f.w().edtSysCode->text();

        QTest::keyClick(&f.w(), Qt::Key_F5);

        QCOMPARE(commands(sim), QString(16, u'R'));
        QCOMPARE(f.dialogs.texts(), QStringList{}); // straight to the list
        QCOMPARE(f.dialogs.reports.size(), 1);
        const ReportRequest &r = f.dialogs.reports[0];
        QCOMPARE(r.caption, QString("Compare"));
        // Each setting once, under the label the window shows beside it.
        QCOMPARE(r.summary, "3 settings differ from the transmitter on " + sim.device() + ":");
        QCOMPARE(r.columns, (QStringList{"Setting", "Window", "Transmitter"}));
        QCOMPARE(r.rows, (QList<QStringList>{{"System Code", "0001", "1234"},
                                             {"Msg # 03", "\"\"", "\"Hi\""},
                                             {"Heart beat", "0", "30"}}));
        QCOMPARE(r.plainText, "--- window\n+++ transmitter on " + sim.device() +
                                  "\nSystem Code: 0001 -> 1234\nMsg # 03: \"\" -> \"Hi\"\n"
                                  "Heart beat: 0 -> 30\n");
        // The window's table and controls stay as they were; nothing was edited.
        QCOMPARE(f.table.buildImage(), window);
        QCOMPARE(f.w().edtSysCode->text(), sysCodeShown);
        QVERIFY(!f.w().hasUnsavedEdits());
        QCOMPARE(f.w().StatusPanel1->text(), QString("Ready ......"));
        QVERIFY(!TCommPort::instance().IsOpen());

        // A transmitter that holds the window's settings says so.
        SimulatorProcess same;
        QVERIFY(same.start({}, window));
        choosePort(f.w(), same.device());
        f.dialogs.clear();
        f.w().mnuCompare->trigger();
        QCOMPARE(f.dialogs.reports.size(), 1);
        QCOMPARE(f.dialogs.reports[0].summary, QString("The transmitter holds the same settings."));
        QVERIFY(f.dialogs.reports[0].rows.isEmpty());
    }

    void compareWithASilentTransmitterShowsTheReadFailureAndChangesNothing()
    {
        WindowFixture f;
        const QByteArray window = f.table.buildImage();
        SimulatorProcess sim;
        QVERIFY(sim.start({"--silent-after", "0"}));
        choosePort(f.w(), sim.device());

        f.w().mnuCompare->trigger();

        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Read Error !\n\nThe transmitter on " + sim.device() +
                             " did not answer within 6 s. Check that it is switched on and in "
                             "programming mode, and that the cable is in " +
                             sim.device() + "."});
        QVERIFY(f.dialogs.reports.isEmpty());
        QCOMPARE(f.table.buildImage(), window);
        QCOMPARE(f.w().PB1->value(), 0);
        QCOMPARE(f.w().StatusPanel1->text(), QString("Ready ......"));
        QVERIFY(f.w().centralWidget()->isEnabled());
    }

    void theResultCopiesAsPlainTextWithCtrlC()
    {
        ReportRequest r;
        r.caption = "Compare";
        r.summary = "One setting differs from the transmitter on /dev/ttyUSB0:";
        r.columns = QStringList{"Setting", "Window", "Transmitter"};
        for (int k = 1; k <= 40; ++k)
            r.rows.append(QStringList{QString("message.%1").arg(k), "\"a\"", "\"b\""});
        r.plainText = "--- window\n+++ transmitter on /dev/ttyUSB0\nmessage.1: \"a\" -> \"b\"\n";
        ReportBox box(r);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.list->topLevelItemCount(), 40);
        QCOMPARE(box.list->topLevelItem(39)->text(0), QString("message.40"));
        box.list->setFocus();
        box.list->setCurrentItem(box.list->topLevelItem(2)); // one cell is not the result
        QGuiApplication::clipboard()->clear();

        QTest::keyClick(box.list, Qt::Key_C, Qt::ControlModifier);

        QCOMPARE(QGuiApplication::clipboard()->text(), r.plainText);
    }

    void writeWithBackupsKeepsWhatTheTransmitterHeldThenWrites()
    {
        WindowFixture f;
        const QByteArray earlier = withThreeChanges(f.table.buildImage());
        SimulatorProcess sim;
        QVERIFY(sim.start({}, earlier));
        choosePort(f.w(), sim.device());
        f.w().mnuBackUpBeforeWriting->trigger();
        QVERIFY(f.w().backUpBeforeWriting());
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);

        QTest::keyClick(&f.w(), Qt::Key_F4);

        // Sixteen reads for the backup, then each block written and read back.
        QCOMPARE(commands(sim), QString(16, u'R') + QString("SR").repeated(16));
        QCOMPARE(sim.memory(), f.table.buildImage());
        const QStringList kept = fileNames(f.dir.filePath("backups"));
        QCOMPARE(kept.size(), 1);
        QCOMPARE(contents(f.dir.filePath("backups/" + kept[0])), earlier);
        // One result, naming the backup.
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Write Success !\n\nWhat the transmitter held before is kept in " +
                             QDir::toNativeSeparators(f.dir.filePath("backups/" + kept[0])) + "."});
        // Named after the port (pts_N for /dev/pts/N) and the time.
        // /dev/pts/3 as pts_3, COM10 as it is.
        const QString stem =
            QString(sim.device()).remove(QRegularExpression("^/dev/")).replace('/', '_');
        QVERIFY2(kept[0].startsWith(stem + "-") && kept[0].endsWith(".tbl"), qPrintable(kept[0]));
        const QDateTime at =
            QDateTime::fromString(kept[0].mid(stem.size() + 1, 15), "yyyyMMdd-HHmmss");
        QVERIFY(at.isValid());
        QVERIFY(at >= before.addSecs(-1) && at <= QDateTime::currentDateTime());
    }

    void aBackupThatCannotBeSavedStopsTheWriteBeforeAnyWriteFrame()
    {
        WindowFixture f;
        // A file where the backups folder should be: the folder cannot be made.
        writeFile(f.dir.filePath("backups"), "not a folder");
        SimulatorProcess sim;
        QVERIFY(sim.start({}, withThreeChanges(f.table.buildImage())));
        choosePort(f.w(), sim.device());
        f.w().mnuBackUpBeforeWriting->trigger();

        f.w().mnuWrite->trigger();

        QCOMPARE(commands(sim), QString(16, u'R'));
        QVERIFY(sim.memory().isEmpty()); // nothing was ever written
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"The folder " + QDir::toNativeSeparators(f.dir.filePath("backups")) +
                             " for the backup cannot be made.\nNothing was written to the "
                             "transmitter."});
        QCOMPARE(f.dialogs.boxes[0].icon, BoxIcon::Warning);
        QVERIFY(f.w().centralWidget()->isEnabled());
        QCOMPARE(f.w().StatusPanel1->text(), QString("Ready ......"));
    }

    void aBackupOnAFullDiskStopsTheWriteAndSaysWhy()
    {
        SmallFileSystem fs;
        REQUIRE_MOUNTED(fs);
        SimulatorProcess sim;
        QVERIFY(sim.start({}, SettingsTable().buildImage()));
        auto f = std::make_unique<WindowFixture>([&](const QString &) {
            QDir::setCurrent(fs.path());
            QVERIFY(QDir(fs.path()).mkdir("backups"));
            QVERIFY(fs.fill());
        });
        choosePort(f->w(), sim.device());
        f->w().mnuBackUpBeforeWriting->trigger(); // the settings file cannot take it either

        f->w().mnuWrite->trigger();

        QCOMPARE(commands(sim), QString(16, u'R'));
        QVERIFY(sim.memory().isEmpty());
        // The choice itself could not be kept either: said once, with why.
        QCOMPARE(f->dialogs.texts().size(), 2);
        QCOMPARE(f->dialogs.texts()[0], "The choice cannot be kept in " +
                                            fs.filePath("RW830KT2485E.ini") +
                                            ": No space left on device. It holds until the "
                                            "program ends.");
        const QString told = f->dialogs.texts()[1];
        QVERIFY2(told.startsWith("The backup " + fs.filePath("backups/")) &&
                     told.endsWith(" cannot be saved: No space left on device\n"
                                   "Nothing was written to the transmitter."),
                 qPrintable(told));
        QCOMPARE(fileNames(fs.filePath("backups")), QStringList());
    }

    void aFailedReadForTheBackupWritesNothing()
    {
        WindowFixture f;
        SimulatorProcess sim;
        QVERIFY(sim.start({"--bad-checksum", "3"}));
        choosePort(f.w(), sim.device());
        f.w().mnuBackUpBeforeWriting->trigger();

        f.w().mnuWrite->trigger();

        QCOMPARE(commands(sim), QString(3, u'R'));
        QCOMPARE(
            f.dialogs.texts(),
            (QStringList{"Checksum Error !",
                         "Read Error !\n\nBlock 3 of 16 from the transmitter on " + sim.device() +
                             " arrived with a wrong checksum: the line garbled it. Check "
                             "the cable, then try again.",
                         "The transmitter's settings could not be read for the backup.\n"
                         "Nothing was written to the transmitter."}));
        QVERIFY(!QFileInfo::exists(f.dir.filePath("backups")));
    }

    void theBackupChoiceIsKeptInTheSettingsFileAndOffByDefault()
    {
        WindowFixture f([](const QString &dir) {
            writeFile(dir + "/RW830KT2485E.ini", "; bench 3\r\n[Serial]\r\nExtraPorts=/dev/x\r\n");
        });
        QVERIFY(!f.w().backUpBeforeWriting());
        QVERIFY(!f.w().mnuBackUpBeforeWriting->isChecked());
        QVERIFY(f.w().mnuBackUpBeforeWriting->isCheckable());
        QCOMPARE(f.w().mnuBackUpBeforeWriting->text(), QString("&Back Up Before Writing"));

        f.w().mnuBackUpBeforeWriting->trigger();
        QCOMPARE(contents(f.dir.filePath("RW830KT2485E.ini")),
                 QByteArray("; bench 3\r\n[Serial]\r\nExtraPorts=/dev/x\r\n\r\n"
                            "[Transmitter]\r\nBackupBeforeWrite=1\r\n"));

        // The next start finds it on.
        f.window.reset();
        f.window = std::make_unique<TfmMain>(f.table, f.dialogs);
        QVERIFY(f.w().backUpBeforeWriting());
        QVERIFY(f.w().mnuBackUpBeforeWriting->isChecked());
        f.w().mnuBackUpBeforeWriting->trigger();
        QVERIFY(contents(f.dir.filePath("RW830KT2485E.ini")).endsWith("BackupBeforeWrite=0\r\n"));
    }
};

QTEST_MAIN(TestCompareBackup)
#include "test_compare_backup.moc"
