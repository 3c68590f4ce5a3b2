// SPDX-License-Identifier: GPL-3.0-or-later
// The frequency entry and the synthesizer settings file, through the real window.

#include "base/profilefile.h"
#include "base/settingsfile.h"
#include "synth/synthfields.h"
#include "synth/synthsettings.h"
#include "synthwords.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QFile>
#include <QTest>

using namespace rw;

namespace {

void writeSettingsFile(const QString &dir, const QByteArray &text)
{
    writeFile(settingsFilePath(dir), text);
}

QByteArray settingsFile(WindowFixture &f)
{
    QFile file(settingsFilePath(f.w().programDirectory()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

const SynthRegisters StartupWords =
    words({0x06C2D0, 0x014A43, 0x83C285, 0x130C87, 0x05C799, 0x00000B, 0x6C004D, 0x00098F});
const SynthRegisters BuiltinWords =
    words({0x06C608, 0x019483, 0x83C285, 0xF90C87, 0x05C719, 0x00000B, 0x6C004D, 0x00098F});

// Clicks into edtFreq (which empties it), puts `text` in as a paste would, presses Enter.
void pasteAndEnter(WindowFixture &f, const QString &text)
{
    f.clickInto(f.w().edtFreq);
    f.w().edtFreq->insert(text);
    QTest::keyClick(f.w().edtFreq, Qt::Key_Return);
    QApplication::processEvents();
}

} // namespace

class TestFrequencyEntry : public QObject {
    Q_OBJECT
private slots:
    void a_start_without_the_file_shows_450000000_and_packs_the_startup_words()
    {
        WindowFixture f;
        QCOMPARE(f.w().edtFreq->text(), QString("450000000"));
        QCOMPARE(synthRegistersOf(f.table), StartupWords);
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(QApplication::focusWidget(), f.w().edtNull);
    }

    void typing_462025000_and_enter_computes_and_packs_the_frequency()
    {
        WindowFixture f;
        const QByteArray image = f.table.buildImage();
        f.typeAndEnter(f.w().edtFreq, "462025000");
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.w().edtFreq->text(), QString("462025000"));
        QCOMPARE(QApplication::focusWidget(), f.w().edtNull);
        SynthRegisters expected = StartupWords;
        expected[0] = 0x06E10C;
        QCOMPARE(synthRegistersOf(f.table), expected);
        QCOMPARE(f.table.value(Field::ChanSpacingCode), 4u);
        QCOMPARE(f.w().synthesizer().state().ChannelSpaceHz, 12500);

        f.typeAndEnter(f.w().edtFreq, "459997500");
        expected =
            words({0x06CD4E, 0x017343, 0x83C285, 0x130C87, 0x05C799, 0x00401B, 0x6C004D, 0x00098F});
        QCOMPARE(synthRegistersOf(f.table), expected);
        QCOMPARE(f.table.value(Field::ChanSpacingCode), 0u);
        QCOMPARE(f.w().edtFreq->text(), QString("459997500"));
        // Nothing but the words and the spacing code changed.
        QByteArray now = f.table.buildImage();
        for (Field field : {Field::R0, Field::R1, Field::R5, Field::ChanSpacingCode}) {
            const FieldEntry &s = fieldEntry(field);
            now.replace(s.offset, s.width, image.mid(s.offset, s.width));
        }
        QCOMPARE(now, image);
    }

    void a_frequency_no_spacing_divides_is_refused_and_the_focus_returns()
    {
        WindowFixture f;
        const QByteArray image = f.table.buildImage();
        f.typeAndEnter(f.w().edtFreq, "462026000");
        QCOMPARE(f.dialogs.texts(), QStringList{"Channel Spacing Error!"});
        QCOMPARE(f.dialogs.boxes[0].caption, QString("RW830KT"));
        QCOMPARE(f.dialogs.boxes[0].icon, BoxIcon::Warning);
        QCOMPARE(QApplication::focusWidget(), f.w().edtFreq);
        QCOMPARE(f.table.buildImage(), image);
        QCOMPARE(f.w().synthesizer().state().ChannelSpaceHz, 12500);

        // Leaving the edit now, without a new number, shows the frequency again.
        f.clickInto(f.w().edtSysCode);
        QCOMPARE(f.w().edtFreq->text(), QString("450000000"));
        QCOMPARE(f.table.buildImage(), image);
        QCOMPARE(f.dialogs.boxes.size(), 1);
    }

    void leaving_the_edit_without_typing_restores_the_frequency()
    {
        WindowFixture f;
        const QByteArray image = f.table.buildImage();
        f.clickInto(f.w().edtFreq);
        QCOMPARE(f.w().edtFreq->text(), QString());
        f.tab();
        QCOMPARE(f.w().edtFreq->text(), QString("450000000"));
        QCOMPARE(f.table.buildImage(), image);
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void pasted_text_that_is_no_frequency_changes_nothing_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("message");
        QTest::addColumn<BoxIcon>("icon");
        QTest::newRow("negative") << "-12500"
                                  << "Please insert a numeric !" << BoxIcon::Warning;
        QTest::newRow("letters") << "4620x5000"
                                 << "'4620x5000' is not a valid integer value" << BoxIcon::Error;
        QTest::newRow("blank in front")
            << " 50000"
            << "' 50000' is not a valid integer value" << BoxIcon::Error;
    }
    void pasted_text_that_is_no_frequency_changes_nothing()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, message);
        QFETCH(BoxIcon, icon);
        WindowFixture f;
        const QByteArray image = f.table.buildImage();
        pasteAndEnter(f, pasted);
        QCOMPARE(f.dialogs.texts(), QStringList{message});
        QCOMPARE(f.dialogs.boxes[0].icon, icon);
        QCOMPARE(f.table.buildImage(), image);
        f.clickInto(f.w().edtSysCode);
        QCOMPARE(f.w().edtFreq->text(), QString("450000000"));
    }

    void an_entry_of_zero_is_accepted()
    {
        WindowFixture f;
        f.typeAndEnter(f.w().edtFreq, "0");
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.w().edtFreq->text(), QString("0"));
        QCOMPARE(f.table.value(Field::R0), 0u);
        QCOMPARE(f.table.value(Field::ChanSpacingCode), 4u);
    }

    void a_loaded_table_with_a_zero_divider_shows_no_frequency_until_one_is_entered()
    {
        WindowFixture f;
        f.table.setValue(Field::R1, 0x004A43); // RF_R 0
        f.w().RefreshControls();
        QCOMPARE(f.w().edtFreq->text(), QString());
        f.typeAndEnter(f.w().edtFreq, "462025000");
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.table.value(Field::R1), 0x014A43u); // the divider follows the file again
        QCOMPARE(f.w().edtFreq->text(), QString("462025000"));
    }

    void a_small_oscillator_refuses_frequencies_it_cannot_code()
    {
        WindowFixture f(
            [](const QString &dir) { writeSettingsFile(dir, "[System]\nOSCFreq=40\n"); });
        QVERIFY(f.dialogs.boxes.isEmpty());
        const QByteArray image = f.table.buildImage();
        f.typeAndEnter(f.w().edtFreq, "462025000");
        QCOMPARE(f.dialogs.texts(), QStringList{"Oscillator Frequency Error!"});
        QCOMPARE(f.table.buildImage(), image);
    }

    void a_settings_file_is_read_at_start()
    {
        WindowFixture f([](const QString &dir) {
            writeSettingsFile(dir, "[System]\r\nOSCFreq=12800000\r\n"
                                   "[Reg 0]\r\nRF_N=54\r\nRF_FN=100\r\n"
                                   "[Reg 1]\r\nRF_FD=1024\r\n");
        });
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.table.value(Field::R0), 0x06C0C8u);
        QCOMPARE(f.w().edtFreq->text(), QString("385250000"));
        f.typeAndEnter(f.w().edtFreq, "385262500");
        QCOMPARE(f.w().edtFreq->text(), QString("385262500"));
    }

    void an_empty_value_stops_the_reading_and_the_start_goes_on()
    {
        WindowFixture f(
            [](const QString &dir) { writeSettingsFile(dir, "[Reg 1]\nRF_R=\nRF_FD=1\n"); });
        QCOMPARE(f.dialogs.texts(), QStringList{"Get RF_R Failed!\nDefault=1"});
        QCOMPARE(f.dialogs.boxes[0].icon, BoxIcon::None);
        QCOMPARE(f.dialogs.boxes[0].caption, ApplicationTitle);
        // RF_FD was not read: it keeps its value from before the file.
        QCOMPARE(f.table.value(Field::R1), 0x019483u);
        QCOMPARE(f.w().edtFreq->text(), QString("447750000"));
        QCOMPARE(QApplication::focusWidget(), f.w().edtNull);
    }

    void a_conversion_error_skips_the_rest_of_the_start()
    {
        WindowFixture f([](const QString &dir) { writeSettingsFile(dir, "[Reg 0]\nRF_N=5x\n"); });
        QCOMPARE(f.dialogs.texts(), QStringList{"'5x' is not a valid integer value"});
        QCOMPARE(f.dialogs.boxes[0].icon, BoxIcon::Error);
        QCOMPARE(synthRegistersOf(f.table), BuiltinWords);
        QCOMPARE(f.w().edtFreq->text(), QString());

        // The window stays usable: an entry rewrites only the frequency words.
        f.dialogs.clear();
        f.clickInto(f.w().edtSysCode);
        f.typeAndEnter(f.w().edtFreq, "462025000");
        QVERIFY(f.dialogs.boxes.isEmpty());
        SynthRegisters expected = BuiltinWords;
        expected[0] = 0x06E10C;
        expected[1] = 0x014A43;
        QCOMPARE(synthRegistersOf(f.table), expected);
        QCOMPARE(f.w().edtFreq->text(), QString("462025000"));
    }

    void an_entry_typed_into_the_edit_that_has_the_focus_at_start_is_committed()
    {
        // Without the parking at the end of the start, the window opens with the focus
        // already in edtFreq.
        WindowFixture f([](const QString &dir) { writeSettingsFile(dir, "[Reg 0]\nRF_N=5x\n"); });
        QCOMPARE(QApplication::focusWidget(), f.w().edtFreq);
        QTest::keyClicks(f.w().edtFreq, "462025000");
        QTest::keyClick(f.w().edtFreq, Qt::Key_Return);
        QApplication::processEvents();
        QCOMPARE(f.table.value(Field::R0), 0x06E10Cu);
    }

    void a_close_writes_the_settings_file()
    {
        WindowFixture f;
        QVERIFY(settingsFile(f).isEmpty());
        f.w().close();
        QCOMPARE(settingsFile(f),
                 QByteArray("[System]\r\nOSCFreq=14850000\r\nChannelSpace=4\r\n"
                            "\r\n[Reg 0]\r\nRF_N=54\r\nRF_FN=360\r\nR0_C=0\r\n"
                            "\r\n[Reg 1]\r\nRF_FD=1188\r\nRF_P=0\r\nRF_PD=0\r\nRF_R=1\r\nR1_C=3\r\n"
                            "\r\n[Reg 2]\r\nIF_N=15400\r\nIF_PD=1\r\nR2_C=5\r\n"
                            "\r\n[Reg 3]\r\nACCESS=1\r\nIF_R=200\r\nRF_CPG=3\r\nR3_C=7\r\n"
                            "\r\n[Reg 4]\r\nATPU=0\r\nDITH=1\r\nFixed1=1\r\nFixed2=0\r\nFM=3\r\n"
                            "IF_CPP=1\r\nIF_P=1\r\nMUX=9\r\nOSC_2X=0\r\nOSC_OUT=0\r\nRF_CPP=1\r\n"
                            "R4_C=9\r\n"
                            "\r\n[Reg 5]\r\nRF_FD=0\r\nRF_FN=0\r\nR5_C=11\r\n"
                            "\r\n[Reg 6]\r\nCSR=1\r\nRF_CPF=11\r\nRF_TOC=4\r\nR6_C=13\r\n"
                            "\r\n[Reg 7]\r\nDIV4=0\r\nFixed1=0\r\nFixed2=9\r\nIF_CPT=0\r\n"
                            "IF_RST=1\r\nRF_CPT=0\r\nRF_RST=0\r\nR7_C=15\r\n"));
    }

    void an_entry_survives_a_restart_and_other_lines_of_the_file_stay()
    {
        const QByteArray mine = "; bench unit 7\n[Serial]\nExtraPorts=/dev/pts/4\n";
        QTemporaryDir keep;
        {
            WindowFixture f([&](const QString &dir) { writeSettingsFile(dir, mine); });
            f.typeAndEnter(f.w().edtFreq, "462030000");
            f.w().close();
            const QByteArray written = settingsFile(f);
            QVERIFY(written.startsWith(mine));
            QVERIFY(written.contains("\nChannelSpace=3\n"));
            QVERIFY(written.contains("\nRF_N=55\n"));
            QFile::copy(settingsFilePath(f.w().programDirectory()), settingsFilePath(keep.path()));
        }
        WindowFixture again([&](const QString &dir) {
            QFile::copy(settingsFilePath(keep.path()), settingsFilePath(dir));
        });
        QVERIFY(again.dialogs.boxes.isEmpty());
        QCOMPARE(again.w().edtFreq->text(), QString("462030000"));
    }

    void a_carrier_of_ten_digits_is_shown_in_full_and_one_that_would_wrap_is_not()
    {
        WindowFixture ten(
            [](const QString &dir) { writeSettingsFile(dir, "[Reg 0]\nRF_N=200\n"); });
        QCOMPARE(ten.w().edtFreq->text(), QString("1548900000"));

        WindowFixture wrap([](const QString &dir) {
            writeSettingsFile(dir, "[Reg 0]\nRF_N=2045\n[Reg 1]\nRF_P=1\n");
        });
        QVERIFY(wrap.dialogs.boxes.isEmpty());
        QCOMPARE(wrap.w().edtFreq->text(), QString());
    }

    void a_reading_ended_by_a_bad_value_leaves_the_users_later_lines_at_close()
    {
        WindowFixture f([](const QString &dir) {
            writeSettingsFile(dir, "[Reg 0]\r\nRF_N=5x\r\nRF_FN=360\r\n"
                                   "\r\n[Reg 1]\r\nRF_FD=1188\r\n"
                                   "\r\n[Reg 2]\r\nIF_N=20000\r\n");
        });
        QCOMPARE(f.dialogs.texts(), QStringList{"'5x' is not a valid integer value"});
        f.w().close();
        // OSCFreq, ChannelSpace and RF_P were read (as their default texts) and are
        // written; RF_N and every key after it were never read: their lines stay and none
        // is added. The control bits and fixed fields are written as always.
        QCOMPARE(settingsFile(f),
                 QByteArray("[Reg 0]\r\nRF_N=5x\r\nRF_FN=360\r\nR0_C=0\r\n"
                            "\r\n[Reg 1]\r\nRF_FD=1188\r\nRF_P=0\r\nR1_C=3\r\n"
                            "\r\n[Reg 2]\r\nIF_N=20000\r\nR2_C=5\r\n"
                            "\r\n[System]\r\nOSCFreq=14850000\r\nChannelSpace=0\r\n"
                            "\r\n[Reg 3]\r\nR3_C=7\r\n"
                            "\r\n[Reg 4]\r\nFixed1=1\r\nFixed2=0\r\nR4_C=9\r\n"
                            "\r\n[Reg 5]\r\nR5_C=11\r\n"
                            "\r\n[Reg 6]\r\nR6_C=13\r\n"
                            "\r\n[Reg 7]\r\nFixed1=0\r\nFixed2=9\r\nR7_C=15\r\n"));
    }

    void an_entry_after_a_reading_error_keeps_every_field_it_does_not_compute()
    {
        const auto prepare = [](const QString &dir) {
            writeSettingsFile(dir, "[Reg 2]\r\nIF_N=20000\r\n[Reg 3]\r\nIF_R=abc\r\n");
        };
        WindowFixture f(prepare);
        QCOMPARE(f.dialogs.texts(), QStringList{"'abc' is not a valid integer value"});
        f.dialogs.clear();
        // The start stopped before parking the focus: it is still in edtFreq.
        QCOMPARE(QApplication::focusWidget(), f.w().edtFreq);
        QTest::keyClicks(f.w().edtFreq, "462025000");
        QTest::keyClick(f.w().edtFreq, Qt::Key_Return);
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.table.value(Field::R0), 0x06E10Cu);
        QCOMPARE(f.table.value(Field::R2), 0x83C285u); // the table's own words stay
        QCOMPARE(f.table.value(Field::R3), 0xF90C87u);
        f.w().close();

        const ProfileFile file(settingsFilePath(f.w().programDirectory()));
        // Read before the error: written as read (ACCESS and RF_CPG as their default texts).
        QCOMPARE(file.read("Reg 2", "IF_N", "-"), QString("20000"));
        QCOMPARE(file.read("Reg 3", "ACCESS", "-"), QString("1"));
        QCOMPARE(file.read("Reg 3", "RF_CPG", "-"), QString("3"));
        // The value that ended the reading stays, a later key stays missing.
        QCOMPARE(file.read("Reg 3", "IF_R", "-"), QString("abc"));
        QCOMPARE(file.read("Reg 4", "DITH", "-"), QString("-"));
        // What the entry computed is the run's own.
        QCOMPARE(file.read("Reg 0", "RF_N", "-"), QString("55"));
        QCOMPARE(file.read("Reg 0", "RF_FN", "-"), QString("134"));
        QCOMPARE(file.read("Reg 1", "RF_FD", "-"), QString("1188"));
        QCOMPARE(file.read("Reg 1", "RF_R", "-"), QString("1"));
        QCOMPARE(file.read("Reg 5", "RF_FD", "-"), QString("0"));
        QCOMPARE(file.read("Reg 5", "RF_FN", "-"), QString("0"));
        QCOMPARE(file.read("System", "ChannelSpace", "-"), QString("4"));

        // A refresh first (leaving the system code empty re-shows every control from the
        // table's built-in words) does not lose the values read either.
        WindowFixture again(prepare);
        again.clickInto(again.w().edtSysCode);
        again.typeAndEnter(again.w().edtFreq, "462025000");
        again.w().close();
        const ProfileFile after(settingsFilePath(again.w().programDirectory()));
        QCOMPARE(after.read("Reg 2", "IF_N", "-"), QString("20000"));
        QCOMPARE(after.read("Reg 3", "ACCESS", "-"), QString("-")); // still its default text
        QCOMPARE(after.read("Reg 3", "IF_R", "-"), QString("abc"));
        QCOMPARE(after.read("Reg 0", "RF_N", "-"), QString("55"));
    }

    void after_a_reading_error_an_opened_table_is_what_the_close_writes()
    {
        WindowFixture f([](const QString &dir) {
            writeSettingsFile(dir,
                              "[Reg 0]\r\nRF_N=5x\r\nRF_FN=360\r\n\r\n[Reg 2]\r\nIF_N=20000\r\n");
        });
        SettingsTable site;
        site.setValue(Field::R2, 0x803095); // IF_PD 1, IF_N 777, R2_C 5
        const QString tbl = QDir(f.dir.path()).filePath("site.tbl");
        QFile out(tbl);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(site.buildImage());
        out.close();
        f.dialogs.nextFileName = tbl;
        f.w().mnuOpen->trigger();
        f.w().close();

        const ProfileFile file(settingsFilePath(f.w().programDirectory()));
        QCOMPARE(file.read("Reg 0", "RF_N", "-"), QString("54"));
        QCOMPARE(file.read("Reg 0", "RF_FN", "-"), QString("772"));
        QCOMPARE(file.read("Reg 2", "IF_N", "-"), QString("777"));
        QCOMPARE(file.read("Reg 4", "DITH", "-"), QString("1"));
        QCOMPARE(file.read("Reg 6", "RF_TOC", "-"), QString("4"));
    }

    void a_settings_file_too_large_to_read_is_reported_once_and_never_rewritten()
    {
        QByteArray huge = "[Reg 0]\r\nRF_N=60\r\n";
        huge += QByteArray(1 << 20, ';');
        WindowFixture f([&](const QString &dir) { writeSettingsFile(dir, huge); });
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"RW830KT2485E.ini was not read: it is larger than 1048576 bytes, "
                             "too large for a settings file.\nThe built-in values are used, and "
                             "the file is left as it is."});
        QCOMPARE(f.dialogs.boxes[0].caption, ApplicationTitle);
        QCOMPARE(f.dialogs.boxes[0].icon, BoxIcon::None);
        QCOMPARE(f.dialogs.boxes[0].buttons, BoxButtons::Ok);
        QCOMPARE(f.w().edtFreq->text(), QString("450000000"));
        f.w().close();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(settingsFile(f), huge);
    }
};

QTEST_MAIN(TestFrequencyEntry)
#include "test_frequency_entry.moc"
