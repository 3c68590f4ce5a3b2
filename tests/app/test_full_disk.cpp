// SPDX-License-Identifier: GPL-3.0-or-later
// The real window on a program folder whose disk is full: the export button, a table
// save and closing the window each leave every file that was there as it was.

#include "messages/messageexport.h"
#include "smallfilesystem.h"
#include "synth/synthsettings.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace rw;

namespace {
// A window whose program folder is the small file system: `prepare` puts the files there
// that the test needs, and the disk is filled before the window opens.
std::unique_ptr<WindowFixture> windowOnFullDisk(SmallFileSystem &fs,
                                                const std::function<void()> &prepare)
{
    return std::make_unique<WindowFixture>([&](const QString &) {
        QDir::setCurrent(fs.path()); // the program folder is the working folder at creation
        prepare();
        QVERIFY(fs.fill());
    });
}

const QByteArray UserSettings = "[System]\r\nOSCFreq=12800000\r\n\r\n[Reg 0]\r\nRF_FN=100\r\n";
} // namespace

class TestFullDisk : public QObject {
    Q_OBJECT
private slots:
    void the_export_button_keeps_both_older_files_and_says_why_it_failed()
    {
        SmallFileSystem fs;
        REQUIRE_MOUNTED(fs);
        const QString dated = fs.filePath(exportFileName(QDate::currentDate()));
        const QString bak = fs.filePath("CannedMessage.bak");
        const QByteArray earlier = "1\tearlier export of today\r\n";
        auto f = windowOnFullDisk(fs, [&] {
            writeFile(dated, earlier);
            writeFile(bak, "older backup");
        });
        QCOMPARE(f->w().programDirectory(), fs.path());

        f->clickInto(f->w().btnDataExport);
        QCOMPARE(f->dialogs.texts(),
                 QStringList{"Export Failed: can't keep the earlier export as " +
                             QDir::toNativeSeparators(bak) + "\nNo space left on device"});
        QCOMPARE(f->dialogs.boxes[0].caption, QString("RW830KT"));
        QCOMPARE(f->dialogs.boxes[0].icon, BoxIcon::Warning);
        QCOMPARE(contents(bak), QByteArray("older backup"));
        QCOMPARE(contents(dated), earlier);
        QCOMPARE(
            fileNames(fs.path()),
            QStringList({".filler", "CannedMessage.bak",
                         "CannedMessage_" + QDate::currentDate().toString("yyyyMMdd") + ".txt"}));
    }

    void closing_the_window_leaves_the_settings_file_whole_and_says_nothing()
    {
        SmallFileSystem fs;
        REQUIRE_MOUNTED(fs);
        const QString ini = fs.filePath("RW830KT2485E.ini");
        auto f = windowOnFullDisk(fs, [&] { writeFile(ini, UserSettings); });
        QVERIFY(f->dialogs.boxes.isEmpty());
        QCOMPARE(f->w().synthesizer().state().OSCFreq, 12800000);

        f->w().close();
        QVERIFY(f->dialogs.boxes.isEmpty());
        QCOMPARE(contents(ini), UserSettings);
        QCOMPARE(fileNames(fs.path()), QStringList({".filler", "RW830KT2485E.ini"}));
    }

    void a_table_save_is_reported_and_keeps_the_file_that_was_there()
    {
        SmallFileSystem fs;
        REQUIRE_MOUNTED(fs);
        const QString site = fs.filePath("site.tbl");
        auto f = windowOnFullDisk(fs, [&] { writeFile(site, "the saved table"); });

        f->dialogs.nextFileName = site;
        f->w().mnuSaveAs->trigger();
        QCOMPARE(f->dialogs.boxes.size(), 1);
        QCOMPARE(f->dialogs.boxes[0].caption, QString("File Error"));
        QVERIFY(f->dialogs.boxes[0].text.endsWith("No space left on device"));
        QCOMPARE(contents(site), QByteArray("the saved table"));
        QCOMPARE(fileNames(fs.path()), QStringList({".filler", "site.tbl"}));
        QVERIFY(f->w().currentTableFile().isEmpty());
    }
};

QTEST_MAIN(TestFullDisk)
#include "test_full_disk.moc"
