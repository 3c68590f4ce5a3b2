// SPDX-License-Identifier: GPL-3.0-or-later
// The initialization-file reader and writer: lookups, defaults, rewriting in place, and
// files that are empty, binary, huge or otherwise not what a settings file should be.

#include "base/profilefile.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace rw;

namespace {

QString writeBytes(const QTemporaryDir &dir, const QByteArray &bytes,
                   const QString &name = "test.ini")
{
    const QString path = dir.filePath(name);
    writeFile(path, bytes);
    return path;
}

// Rewrites one value and returns the file's new bytes.
QByteArray afterWriting(const QByteArray &before, const QString &section, const QString &key,
                        const QString &value)
{
    QTemporaryDir dir;
    const QString path = writeBytes(dir, before);
    ProfileFile p(path);
    p.write(section, key, value);
    if (!p.save())
        return "<not saved>";
    return contents(path);
}

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT
private slots:
    void missing_file_section_or_key_reads_as_the_default()
    {
        QTemporaryDir dir;
        QCOMPARE(ProfileFile(dir.filePath("none.ini")).read("System", "OSCFreq", "14850000"),
                 QString("14850000"));
        const QString path = writeBytes(dir, "[System]\r\nOSCFreq=1\r\n");
        const ProfileFile p(path);
        QCOMPARE(p.read("Reg 0", "RF_N", "54"), QString("54"));
        QCOMPARE(p.read("System", "ChannelSpace", "0"), QString("0"));
        QCOMPARE(p.read("System", "OSCFreq", "x"), QString("1"));
        QCOMPARE(p.read("System", "Missing", QString(300, 'd')), QString(259, 'd'));
    }

    void names_match_without_regard_to_letter_case()
    {
        QTemporaryDir dir;
        const ProfileFile p(writeBytes(dir, "[reg 0]\nrf_n=60\n[SYSTEM]\nOscFreq=2\n"));
        QCOMPARE(p.read("Reg 0", "RF_N", ""), QString("60"));
        QCOMPARE(p.read("system", "OSCFREQ", ""), QString("2"));
    }

    void values_read_without_surrounding_blanks_and_quotes_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("value");
        QTest::newRow("nothing after =") << QByteArray("K=") << QString("");
        QTest::newRow("only blanks after =") << QByteArray("K=  \t ") << QString("");
        QTest::newRow("blanks around") << QByteArray("  K  =  54  ") << QString("54");
        QTest::newRow("quoted") << QByteArray("K=\" 5 \"") << QString(" 5 ");
        QTest::newRow("empty quotes") << QByteArray("K=\"\"") << QString("");
        QTest::newRow("unbalanced quote") << QByteArray("K=\"5") << QString("\"5");
        QTest::newRow("second = belongs to the value") << QByteArray("K=a=b") << QString("a=b");
        QTest::newRow("thousands of characters")
            << QByteArray("K=" + QByteArray(5000, '7')) << QString(259, '7');
        QTest::newRow("Latin-1 bytes") << QByteArray("K=\xE9\xFF") << QString("\u00E9\u00FF");
    }
    void values_read_without_surrounding_blanks_and_quotes()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, value);
        QTemporaryDir dir;
        for (const QByteArray &eol : {QByteArray("\r\n"), QByteArray("\n"), QByteArray()}) {
            const ProfileFile p(writeBytes(dir, "[S]" + QByteArray("\n") + line + eol));
            QCOMPARE(p.read("S", "K", "default"), value);
        }
    }

    void lines_without_equals_and_keys_outside_their_section_are_not_keys()
    {
        QTemporaryDir dir;
        const ProfileFile p(writeBytes(dir, "K=before any section\n"
                                            "[S]\n"
                                            "K\n"
                                            ";K=commented\n"
                                            "=5\n"
                                            "[T]\n"
                                            "K=in T\n"));
        QCOMPARE(p.read("S", "K", "default"), QString("default"));
        QCOMPARE(p.read("S", ";K", "default"), QString("commented"));
        QCOMPARE(p.read("T", "K", "default"), QString("in T"));
    }

    void the_first_of_duplicate_keys_and_sections_counts()
    {
        const QByteArray before = "[S]\nK=1\nK=2\n[S]\nK=3\nL=4\n";
        QTemporaryDir dir;
        const ProfileFile p(writeBytes(dir, before));
        QCOMPARE(p.read("S", "K", ""), QString("1"));
        QCOMPARE(p.read("S", "L", "none"), QString("none"));
        QCOMPARE(afterWriting(before, "S", "K", "9"), QByteArray("[S]\nK=9\nK=2\n[S]\nK=3\nL=4\n"));
    }

    void writing_replaces_one_value_and_leaves_every_other_byte_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("CRLF") << QByteArray("; c\r\n[S]\r\nK = 1 ; x\r\nL=2\r\n")
                              << QByteArray("; c\r\n[S]\r\nK =7\r\nL=2\r\n");
        QTest::newRow("LF") << QByteArray("[S]\nK=1\nL=2\n") << QByteArray("[S]\nK=7\nL=2\n");
        QTest::newRow("mixed line ends stay as they are")
            << QByteArray("[S]\r\nA=0\nK=1\r\nB=\t\n") << QByteArray("[S]\r\nA=0\nK=7\r\nB=\t\n");
        QTest::newRow("no line end after the last line")
            << QByteArray("[S]\nK=1") << QByteArray("[S]\nK=7");
        QTest::newRow("the key keeps its spelling")
            << QByteArray("[s]\r\n  k=1\r\n") << QByteArray("[s]\r\n  k=7\r\n");
        QTest::newRow("a lone CR ends a line")
            << QByteArray("[S]\rK=1\rL=2\r") << QByteArray("[S]\rK=7\rL=2\r");
    }
    void writing_replaces_one_value_and_leaves_every_other_byte()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QCOMPARE(afterWriting(before, "S", "K", "7"), after);
    }

    void a_new_key_goes_at_the_end_of_its_section_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("before the next section")
            << QByteArray("[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n")
            << QByteArray("[S]\r\nA=1\r\nK=7\r\n\r\n[T]\r\nB=2\r\n");
        QTest::newRow("last section, no final line end")
            << QByteArray("[T]\nB=2\n[S]\nA=1") << QByteArray("[T]\nB=2\n[S]\nA=1\nK=7\n");
        QTest::newRow("empty section") << QByteArray("[S]\n[T]\n") << QByteArray("[S]\nK=7\n[T]\n");
        // The last line keeps its lone CR; the new one takes the file's CR LF.
        QTest::newRow("last line ended by a lone CR")
            << QByteArray("[S]\r\nA=1\r") << QByteArray("[S]\r\nA=1\rK=7\r\n");
    }
    void a_new_key_goes_at_the_end_of_its_section()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QCOMPARE(afterWriting(before, "S", "K", "7"), after);
    }

    void a_new_section_goes_at_the_end_of_the_file()
    {
        QCOMPARE(afterWriting("[T]\nB=2\n", "S", "K", "7"), QByteArray("[T]\nB=2\n\n[S]\nK=7\n"));
        QCOMPARE(afterWriting("[T]\r\nB=2", "S", "K", "7"),
                 QByteArray("[T]\r\nB=2\r\n\r\n[S]\r\nK=7\r\n"));
        QCOMPARE(afterWriting("[T]\nB=2\n\n", "S", "K", "7"), QByteArray("[T]\nB=2\n\n[S]\nK=7\n"));
    }

    void a_new_file_holds_the_keys_in_writing_order()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("new.ini");
        ProfileFile p(path);
        p.write("A", "x", "1");
        p.write("B", "y", "2");
        p.write("A", "z", "3");
        p.write("a", "X", "4");
        QVERIFY(p.save());
        QCOMPARE(contents(path), QByteArray("[A]\r\nx=4\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"));
    }

    void an_empty_file_reads_as_defaults_and_takes_new_keys()
    {
        QTemporaryDir dir;
        const QString path = writeBytes(dir, "");
        ProfileFile p(path);
        QCOMPARE(p.read("S", "K", "d"), QString("d"));
        p.write("S", "K", "1");
        QVERIFY(p.save());
        QCOMPARE(contents(path), QByteArray("[S]\r\nK=1\r\n"));
    }

    void a_value_written_with_a_line_break_cannot_split_its_line()
    {
        QCOMPARE(afterWriting("[S]\nK=1\n", "S", "K", "5\n[Evil]\nX=1"), QByteArray("[S]\nK=5\n"));
        QCOMPARE(afterWriting("[S]\nK=1\n", "S", "K", "6\r7"), QByteArray("[S]\nK=6\n"));
    }

    void a_byte_order_mark_does_not_hide_the_first_section()
    {
        const QByteArray before = "\xEF\xBB\xBF[System]\r\nOSCFreq=1\r\n";
        QTemporaryDir dir;
        QCOMPARE(ProfileFile(writeBytes(dir, before)).read("System", "OSCFreq", ""), QString("1"));
        QCOMPARE(afterWriting(before, "System", "OSCFreq", "2"),
                 QByteArray("\xEF\xBB\xBF[System]\r\nOSCFreq=2\r\n"));
    }

    void a_binary_file_is_read_without_harm_and_kept_byte_for_byte()
    {
        QRandomGenerator rng(2485);
        QByteArray junk(64 * 1024, '\0');
        for (char &c : junk) {
            // plenty of the characters the parser looks at
            static const char oddBytes[] = "[]=\r\n\0 \"";
            c = rng.bounded(4) == 0 ? oddBytes[rng.bounded(int(sizeof oddBytes))]
                                    : char(rng.bounded(256));
        }
        QTemporaryDir dir;
        const QString path = writeBytes(dir, junk);
        ProfileFile p(path);
        for (const char *key : {"OSCFreq", "RF_N", "K", ""})
            QVERIFY(p.read("System", key, "d").size() <= ProfileFile::MaxValueLength);
        p.write("System", "OSCFreq", "14850000");
        QVERIFY(p.save());
        const QByteArray after = contents(path);
        QVERIFY(after.size() > junk.size());
        QCOMPARE(ProfileFile(path).read("System", "OSCFreq", "d"), QString("14850000"));
        // Every byte of the junk survives; at most a line end is added after its last line.
        QVERIFY(after.startsWith(junk));
    }

    void a_huge_file_reads_as_missing_and_is_never_rewritten()
    {
        QTemporaryDir dir;
        QByteArray huge = "[System]\nOSCFreq=1\n";
        huge += QByteArray(ProfileFile::MaxFileSize, 'x');
        const QString path = writeBytes(dir, huge);
        ProfileFile p(path);
        QVERIFY(p.tooLarge());
        QCOMPARE(p.read("System", "OSCFreq", "d"), QString("d"));
        p.write("System", "OSCFreq", "2");
        QVERIFY(!p.save());
        QCOMPARE(contents(path).size(), huge.size());
    }

    void a_file_just_under_the_limit_with_many_lines_is_handled()
    {
        QByteArray big;
        while (big.size() < ProfileFile::MaxFileSize - 64)
            big += "[s]\nk=v\n";
        big += "[System]\nOSCFreq=5\n";
        QTemporaryDir dir;
        const QString path = writeBytes(dir, big);
        ProfileFile p(path);
        QVERIFY(!p.tooLarge());
        QCOMPARE(p.read("System", "OSCFreq", "d"), QString("5"));
        for (int i = 0; i < 44; ++i)
            p.write("Reg 9", QString("K%1").arg(i), "1");
        QVERIFY(p.save());
        QVERIFY(contents(path).startsWith(big));
    }

    void a_folder_in_place_of_the_file_is_left_alone()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder.ini"));
        ProfileFile p(dir.filePath("folder.ini"));
        QCOMPARE(p.read("S", "K", "d"), QString("d"));
        p.write("S", "K", "1");
        QVERIFY(!p.save());
        QVERIFY(QFileInfo(dir.filePath("folder.ini")).isDir());
    }

    void an_unreadable_file_is_not_replaced()
    {
        QTemporaryDir dir;
        const QString path = writeBytes(dir, "[S]\nK=1\nOther=keep\n");
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        if (QFileInfo(path).isReadable())
            QSKIP("permissions do not apply to this user");
        ProfileFile p(path);
        p.write("S", "K", "2");
        QVERIFY(!p.save());
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(contents(path), QByteArray("[S]\nK=1\nOther=keep\n"));
    }

    void the_port_list_reads_its_extra_ports()
    {
        QTemporaryDir dir;
        const QString path = writeBytes(dir, "[System]\r\nOSCFreq=1\r\n[Serial]\r\n"
                                             "ExtraPorts=/dev/pts/3;ttyUSB0\r\n");
        QCOMPARE(ProfileFile(path).read("Serial", "ExtraPorts", ""), QString("/dev/pts/3;ttyUSB0"));
        QCOMPARE(ProfileFile(dir.filePath("none.ini")).read("Serial", "ExtraPorts", ""), QString());
    }
};

QTEST_APPLESS_MAIN(TestProfileFile)
#include "test_profilefile.moc"
