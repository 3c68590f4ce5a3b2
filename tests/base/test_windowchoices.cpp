// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own keys in the settings file, and the names backups and traces are kept
// under.

#include "base/windowchoices.h"
#include "link/run/tracefile.h"
#include "link/run/transmitterbackup.h"
#include "testfiles.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>

using namespace rw;

class TestWindowChoices : public QObject {
    Q_OBJECT
private slots:
    void recentFilesKeepBlanksAndLettersBeyondLatin1AndEveryOtherLine()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("RW830KT2485E.ini");
        writeFile(ini, "[System]\r\nOSCFreq=12800000\r\n; note\r\n");
        const QStringList files{" /t/lead blank.tbl", "/t/Übung ölig.tbl", "/t/b.tbl"};
        QVERIFY(writeRecentFiles(ini, files));
        QCOMPARE(readRecentFiles(ini), files);
        QCOMPARE(contents(ini), QByteArray("[System]\r\nOSCFreq=12800000\r\n; note\r\n\r\n"
                                           "[Recent Files]\r\nFile1=\" /t/lead blank.tbl\"\r\n"
                                           "File2=\"/t/\xC3\x9C"
                                           "bung \xC3\xB6lig.tbl\"\r\n"
                                           "File3=\"/t/b.tbl\"\r\nFile4=\r\n"));
        // A shorter list empties the keys it no longer needs.
        QVERIFY(writeRecentFiles(ini, {"/t/b.tbl"}));
        QCOMPARE(readRecentFiles(ini), QStringList{"/t/b.tbl"});
        QVERIFY(contents(ini).endsWith("File1=\"/t/b.tbl\"\r\nFile2=\r\nFile3=\r\nFile4=\r\n"));
    }

    void aNameTooLongForTheFileIsNotKept()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("x.ini");
        const QString tooLong = "/" + QString(259, 'a');
        const QString longest = "/" + QString(258, 'a');
        QVERIFY(writeRecentFiles(ini, {tooLong, longest, "/a\nb.tbl"}));
        QCOMPARE(readRecentFiles(ini), QStringList{longest});
    }

    void benchPortsComeBackInTheirOrderAndOnlyWholeNamesAreKept()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("x.ini");
        QCOMPARE(readBenchPorts(ini), QStringList());
        writeFile(ini, "[Serial]\r\nExtraPorts=/dev/pts/9\r\n");
        QVERIFY(writeBenchPorts(ini, {"/dev/ttyUSB3", "semi;colon", "/dev/ttyUSB1", "a\nb"}));
        QCOMPARE(contents(ini),
                 QByteArray("[Serial]\r\nExtraPorts=/dev/pts/9\r\n\r\n"
                            "[Transmitter]\r\nBenchPorts=/dev/ttyUSB3;/dev/ttyUSB1\r\n"));
        QCOMPARE(readBenchPorts(ini), (QStringList{"/dev/ttyUSB3", "/dev/ttyUSB1"}));
        // A value holds 259 characters: the port that would pass that is left out whole.
        const QString long1 = "/" + QString(199, 'a');
        QVERIFY(writeBenchPorts(ini, {long1, "/" + QString(59, 'b'), "/c"}));
        QCOMPARE(readBenchPorts(ini), QStringList{long1});
        QVERIFY(writeBenchPorts(ini, {}));
        QCOMPARE(readBenchPorts(ini), QStringList());

        // A port unchecked now is forgotten; one not listed now is kept for its return.
        QCOMPARE(benchPortsToKeep({"A", "B", "C"}, {"A", "B", "D"}, {"D", "A"}),
                 (QStringList{"D", "A", "C"}));
    }

    void theListPutsTheFileUsedLastFirstAndHoldsFour()
    {
        QCOMPARE(withRecentFile({"a", "b", "c", "d"}, "e"), (QStringList{"e", "a", "b", "c"}));
        QCOMPARE(withRecentFile({"a", "b", "c", "d"}, "c"), (QStringList{"c", "a", "b", "d"}));
        QCOMPARE(withRecentFile({}, "a"), QStringList{"a"});
    }

    void backupBeforeWriteIsOnOnlyForOne()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("x.ini");
        QVERIFY(!readBackupBeforeWrite(ini));
        writeFile(ini, "[transmitter]\r\nbackupbeforewrite = 1 \r\n");
        QVERIFY(readBackupBeforeWrite(ini));
        writeFile(ini, "[Transmitter]\r\nBackupBeforeWrite=yes\r\n");
        QVERIFY(!readBackupBeforeWrite(ini));
    }

    void backupNamesCarryASafePortNameAndNeverReplaceAnEarlierOne()
    {
        QCOMPARE(portFileStem("/dev/ttyUSB0"), QString("ttyUSB0"));
        QCOMPARE(portFileStem("/dev/serial/by-id/usb-FTDI:A1 x"),
                 QString("serial_by-id_usb-FTDI_A1_x"));
        QCOMPARE(portFileStem("COM3"), QString("COM3"));
        QCOMPARE(portFileStem("\\\\.\\COM12"), QString("COM12"));
        QCOMPARE(portFileStem("../up"), QString("_._up"));
        QCOMPARE(portFileStem(""), QString("port"));

        QTemporaryDir dir;
        const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
        const QString first = backupFilePath(dir.path(), "/dev/ttyUSB0", when);
        QCOMPARE(first, dir.filePath("ttyUSB0-20260304-050607.tbl"));
        writeFile(first, "earlier");
        QCOMPARE(backupFilePath(dir.path(), "/dev/ttyUSB0", when),
                 dir.filePath("ttyUSB0-20260304-050607-2.tbl"));
        // Traces go by the same rule, as text files.
        QCOMPARE(traceFilePath(dir.path(), "/dev/serial/by-id/x:1", when),
                 dir.filePath("serial_by-id_x_1-20260304-050607.txt"));
    }
};

QTEST_GUILESS_MAIN(TestWindowChoices)
#include "test_windowchoices.moc"
