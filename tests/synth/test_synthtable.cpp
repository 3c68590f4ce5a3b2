// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesizer and the settings table: the frequency entry as one call, the start-up
// pack and the refresh, and which keys of the settings file each of them makes the run's.

#include "base/profilefile.h"
#include "model/settingstable.h"
#include "synth/synthesizer.h"
#include "synth/synthtable.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace rw;
using F = SynthField;

namespace {
// The built-in table's words R0..R7.
const SynthRegisters BuiltinWords{0x06C608, 0x019483, 0x83C285, 0xF90C87,
                                  0x05C719, 0x00000B, 0x6C004D, 0x00098F};

QList<F> keptFields(const SynthState &s)
{
    QList<F> out;
    for (const SynthFieldEntry &e : synthFieldLayout())
        if (s.keptLines.field(e.field))
            out.append(e.field);
    return out;
}

// As after a start whose reading ended at RF_N of "Reg 0": every register key but RF_P
// kept, and a value read before it.
SynthState readUpToRfN()
{
    SynthState s;
    s.fields[F::RF_P] = 0;
    for (F f : {F::RF_N, F::RF_FN,    F::RF_PD,    F::RF_R,    F::RF_FD,  F::IF_PD,
                F::IF_P, F::IF_N,     F::ACCESS,   F::RF_CPG,  F::IF_R,   F::ATPU,
                F::DITH, F::FM,       F::OSC_2X,   F::OSC_OUT, F::IF_CPP, F::RF_CPP,
                F::MUX,  F::R5_RF_FD, F::R5_RF_FN, F::CSR,     F::RF_CPF, F::RF_TOC,
                F::DIV4, F::IF_RST,   F::RF_RST,   F::IF_CPT,  F::RF_CPT})
        s.keptLines.setField(f, true);
    return s;
}
} // namespace

class TestSynthTable : public QObject {
    Q_OBJECT
private slots:
    void an_entry_rewrites_r0_r1_r5_and_the_spacing_code_and_keeps_every_other_field()
    {
        // The fields as a start that stopped at a conversion error leaves them: read from
        // the file, never packed into the table, which holds its built-in words.
        SettingsTable table;
        SynthState s;
        s.fields[F::IF_N] = 20000;
        s.fields[F::ACCESS] = 1;
        s.fields[F::RF_CPG] = 3;
        const FrequencyEntry entry = applyFrequency(table, s, 462025000);
        QVERIFY(entry.accepted());
        QVERIFY(entry.message().isEmpty());

        SynthRegisters expected = BuiltinWords;
        expected[0] = 0x06E10C;
        expected[1] = 0x014A43;
        QCOMPARE(synthRegistersOf(table), expected);
        QCOMPARE(table.value(Field::ChanSpacingCode), 4u);
        QCOMPARE(s.fields[F::RF_N], 55);
        QCOMPARE(s.fields[F::RF_FN], 134);
        QCOMPARE(s.fields[F::RF_FD], 1188);
        QCOMPARE(s.fields[F::RF_R], 1);
        QCOMPARE(s.fields[F::IF_N], 20000);
        QCOMPARE(s.fields[F::ACCESS], 1);
        QCOMPARE(s.fields[F::RF_CPG], 3);
        QCOMPARE(s.fields[F::IF_R], 200);
        QCOMPARE(s.ChannelSpaceHz, 12500);
    }

    void the_start_up_pack_and_refresh_set_nothing_an_entry_sets_the_frequency_keys()
    {
        SettingsTable table;
        SynthState s = readUpToRfN();
        s.keptLines.ChannelSpace = true;
        s.keptLines.OSCFreq = true;
        packSynthIntoTable(s, table);
        refreshSynthFromTable(s, table);
        QCOMPARE(keptFields(s).size(), 29);
        QVERIFY(s.keptLines.ChannelSpace && s.keptLines.OSCFreq);

        QVERIFY(applyFrequency(table, s, 459997500).accepted());
        const QList<F> stillUnread = keptFields(s);
        for (F f : {F::RF_N, F::RF_FN, F::R5_RF_FN, F::RF_FD, F::R5_RF_FD, F::RF_R})
            QVERIFY(!stillUnread.contains(f));
        QCOMPARE(stillUnread.size(), 29 - 6);
        QVERIFY(stillUnread.contains(F::RF_PD));
        QVERIFY(stillUnread.contains(F::IF_N));
        QVERIFY(!s.keptLines.ChannelSpace);
        QVERIFY(s.keptLines.OSCFreq);

        // Refreshes that follow an edit of another field set nothing either.
        refreshSynthFromTable(s, table);
        QCOMPARE(keptFields(s).size(), 29 - 6);
    }

    void a_refresh_that_replaces_a_value_never_packed_keeps_its_line()
    {
        // A start that stopped at a conversion error after reading IF_N and RF_P: the
        // table still holds its built-in words.
        SettingsTable table;
        SynthState s;
        s.fields[F::IF_N] = 20000;
        s.fields[F::RF_P] = 0;
        refreshSynthFromTable(s, table);
        QCOMPARE(s.fields[F::IF_N], 15400);
        // RF_N 54, RF_FN 772, RF_FD 2376 and the rest: the built-in words hold the start
        // values, so nothing else changed.
        QCOMPARE(keptFields(s), QList<F>{F::IF_N});
        QVERIFY(!s.keptLines.ChannelSpace);
    }

    void high_parts_read_beyond_ten_bits_are_written_back_as_the_run_holds_them()
    {
        // Read in full, packed, refreshed and closed, as a start and a close of the window
        // do it: the ten-bit fields of "Reg 5" hold 4095 as 1023 and 2000 as 976.
        QTemporaryDir dir;
        const QString ini = QDir(dir.path()).filePath("RW830KT2485E.ini");
        writeFile(ini, "[Reg 5]\r\nRF_FD=4095\r\nRF_FN=2000\r\n");
        SettingsTable table;
        Synthesizer synth(table);
        QCOMPARE(synth.readSettings(dir.path()).outcome, SynthLoadResult::Outcome::Complete);
        synth.packIntoTable();
        synth.followTable();
        QVERIFY(synth.writeSettings(dir.path()));

        const ProfileFile written(ini);
        QCOMPARE(written.read("Reg 5", "RF_FD", "missing"), QString("1023"));
        QCOMPARE(written.read("Reg 5", "RF_FN", "missing"), QString("976"));
        QCOMPARE(written.read("Reg 5", "R5_C", "missing"), QString("11"));
        // The twelve-bit low parts in "Reg 0" and "Reg 1" are their defaults.
        QCOMPARE(written.read("Reg 1", "RF_FD", "missing"), QString("1188"));
        QCOMPARE(written.read("Reg 0", "RF_FN", "missing"), QString("360"));
    }

    void a_loaded_table_sets_every_register_key_and_the_spacing_but_not_the_oscillator()
    {
        SettingsTable table;
        SynthState s = readUpToRfN();
        s.keptLines.ChannelSpace = true;
        s.keptLines.OSCFreq = true;
        QByteArray image = table.buildImage();
        table.takeImage(image);
        refreshSynthFromTable(s, table);
        QVERIFY(keptFields(s).isEmpty());
        QVERIFY(!s.keptLines.ChannelSpace);
        QVERIFY(s.keptLines.OSCFreq);
        QCOMPARE(s.fields[F::IF_N], 15400); // from the table's R2 0x83C285
        QCOMPARE(s.fields[F::ACCESS], 15);  // from R3 0xF90C87
    }

    void the_synthesizer_takes_a_typed_frequency_or_says_why_not()
    {
        SettingsTable table;
        Synthesizer synth(table);
        synth.packIntoTable();
        const QByteArray before = table.buildImage();

        EditResult r = synth.enterFrequency("46202500x");
        QCOMPARE(r.status, EditResult::Status::NotANumber);
        QCOMPARE(r.message, QString("'46202500x' is not a valid integer value"));
        r = synth.enterFrequency("1000000000");
        QCOMPARE(r.status, EditResult::Status::Refused);
        QCOMPARE(r.message, QString("Frequency Range Error!"));
        QCOMPARE(table.buildImage(), before);

        r = synth.enterFrequency("462025000");
        QVERIFY(r.stored());
        QCOMPARE(synth.frequencyText(), QString("462025000"));
        QCOMPARE(table.value(Field::R0), 0x06E10Cu);
        QCOMPARE(table.value(Field::ChanSpacingCode), 4u); // 12500 Hz
    }
};

QTEST_APPLESS_MAIN(TestSynthTable)
#include "test_synthtable.moc"
