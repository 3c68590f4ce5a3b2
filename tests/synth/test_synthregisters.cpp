// SPDX-License-Identifier: GPL-3.0-or-later
// The register words R0..R7 and the fields they carry: packing, unpacking, widths.

#include "model/settingstable.h"
#include "synth/synthfields.h"
#include "synthwords.h"

#include <QRandomGenerator>
#include <QTest>

using namespace rw;
using F = SynthField;

Q_DECLARE_METATYPE(rw::SynthField)

class TestSynthRegisters : public QObject {
    Q_OBJECT
private slots:
    void the_builtin_table_carries_the_words_of_the_initial_fields()
    {
        const SynthRegisters expected =
            words({0x06C608, 0x019483, 0x83C285, 0xF90C87, 0x05C719, 0x00000B, 0x6C004D, 0x00098F});
        QCOMPARE(packSynthWords(SynthFields()), expected);
        QCOMPARE(synthRegistersOf(SettingsTable()), expected);
    }

    void fields_with_the_settings_file_defaults_pack_to_the_startup_words()
    {
        SynthFields f;
        f[F::RF_FN] = 360;
        f[F::RF_FD] = 1188;
        f[F::ACCESS] = 1;
        f[F::RF_CPG] = 3;
        f[F::MUX] = 9;
        QCOMPARE(packSynthWords(f), words({0x06C2D0, 0x014A43, 0x83C285, 0x130C87, 0x05C799,
                                           0x00000B, 0x6C004D, 0x00098F}));
    }

    void r4_unpacks_field_by_field_and_packs_back()
    {
        SynthRegisters w{};
        w[4] = 0x05C719;
        const SynthFields f = unpackSynthWords(w);
        const QList<QPair<F, int>> expected{{F::ATPU, 0},    {F::R4_Fixed1, 1}, {F::DITH, 1},
                                            {F::FM, 3},      {F::R4_Fixed2, 0}, {F::OSC_2X, 0},
                                            {F::OSC_OUT, 0}, {F::IF_CPP, 1},    {F::RF_CPP, 1},
                                            {F::IF_P, 1},    {F::MUX, 1},       {F::R4_C, 9}};
        for (const auto &[field, value] : expected)
            QCOMPARE(f[field], value);
        QCOMPARE(packSynthWord(f, 4), 0x05C719u);
    }

    void each_field_at_its_largest_sets_exactly_its_own_bits_data()
    {
        QTest::addColumn<SynthField>("field");
        QTest::addColumn<int>("word");
        QTest::addColumn<uint>("bits");
        // word, bits as the register layout places them (bit 23 first)
        const QList<std::tuple<F, const char *, int, uint>> rows{
            {F::RF_N, "RF_N", 0, 0xFFE000},
            {F::RF_FN, "RF_FN", 0, 0x001FFE},
            {F::R0_C, "R0_C", 0, 0x000001},
            {F::RF_PD, "RF_PD", 1, 0x800000},
            {F::RF_P, "RF_P", 1, 0x400000},
            {F::RF_R, "RF_R", 1, 0x3F0000},
            {F::RF_FD, "RF_FD", 1, 0x00FFF0},
            {F::R1_C, "R1_C", 1, 0x00000F},
            {F::IF_PD, "IF_PD", 2, 0x800000},
            {F::IF_N, "IF_N", 2, 0x7FFFF0},
            {F::R2_C, "R2_C", 2, 0x00000F},
            {F::ACCESS, "ACCESS", 3, 0xF00000},
            {F::RF_CPG, "RF_CPG", 3, 0x0F0000},
            {F::IF_R, "IF_R", 3, 0x00FFF0},
            {F::R3_C, "R3_C", 3, 0x00000F},
            {F::ATPU, "ATPU", 4, 0x800000},
            {F::R4_Fixed1, "R4 Fixed1", 4, 0x7C0000},
            {F::DITH, "DITH", 4, 0x030000},
            {F::FM, "FM", 4, 0x00C000},
            {F::R4_Fixed2, "R4 Fixed2", 4, 0x002000},
            {F::OSC_2X, "OSC_2X", 4, 0x001000},
            {F::OSC_OUT, "OSC_OUT", 4, 0x000800},
            {F::IF_CPP, "IF_CPP", 4, 0x000400},
            {F::RF_CPP, "RF_CPP", 4, 0x000200},
            {F::IF_P, "IF_P", 4, 0x000100},
            {F::MUX, "MUX", 4, 0x0000F0},
            {F::R4_C, "R4_C", 4, 0x00000F},
            {F::R5_RF_FD, "R5 RF_FD", 5, 0xFFC000},
            {F::R5_RF_FN, "R5 RF_FN", 5, 0x003FF0},
            {F::R5_C, "R5_C", 5, 0x00000F},
            {F::CSR, "CSR", 6, 0xC00000},
            {F::RF_CPF, "RF_CPF", 6, 0x3C0000},
            {F::RF_TOC, "RF_TOC", 6, 0x03FFF0},
            {F::R6_C, "R6_C", 6, 0x00000F},
            {F::R7_Fixed1, "R7 Fixed1", 7, 0xFFC000},
            {F::DIV4, "DIV4", 7, 0x002000},
            {F::R7_Fixed2, "R7 Fixed2", 7, 0x001F00},
            {F::IF_RST, "IF_RST", 7, 0x000080},
            {F::RF_RST, "RF_RST", 7, 0x000040},
            {F::IF_CPT, "IF_CPT", 7, 0x000020},
            {F::RF_CPT, "RF_CPT", 7, 0x000010},
            {F::R7_C, "R7_C", 7, 0x00000F}};
        QCOMPARE(rows.size(), 42);
        for (const auto &[field, name, word, bits] : rows)
            QTest::newRow(name) << field << word << bits;
    }
    void each_field_at_its_largest_sets_exactly_its_own_bits()
    {
        QFETCH(SynthField, field);
        QFETCH(int, word);
        QFETCH(uint, bits);
        SynthFields zero;
        zero.values.fill(0);
        SynthFields f = zero;
        f[field] = synthFieldEntry(field).maxValue();
        SynthRegisters expected{};
        expected[word] = bits;
        QCOMPARE(packSynthWords(f), expected);
        QCOMPARE(unpackSynthWords(expected), f);
    }

    void a_value_wider_than_its_field_keeps_its_low_bits_and_spills_nowhere()
    {
        SynthFields f;
        f[F::R5_RF_FD] = 4095; // the settings file accepts this for a 10-bit field
        f[F::R5_RF_FN] = 4095;
        f[F::R5_C] = 0;
        QCOMPARE(packSynthWord(f, 5), 0xFFFFF0u);
        f[F::R5_RF_FD] = 1024; // only bit 10 set: nothing of it fits
        f[F::R5_RF_FN] = 0;
        QCOMPARE(packSynthWord(f, 5), 0u);

        SynthFields n;
        n.values.fill(0);
        n[F::RF_FN] = -1; // every bit set
        QCOMPARE(packSynthWord(n, 0), 0x001FFEu);
        n.values.fill(-1);
        for (uint32_t w : packSynthWords(n))
            QCOMPARE(w, SynthWordMask);
    }

    void bits_31_to_24_of_a_stored_word_are_ignored()
    {
        SynthRegisters plain = packSynthWords(SynthFields());
        SynthRegisters dirty = plain;
        for (uint32_t &w : dirty)
            w |= 0xA5000000;
        QCOMPARE(unpackSynthWords(dirty), unpackSynthWords(plain));
    }

    void an_all_zero_table_unpacks_to_all_zero_fields()
    {
        const SynthFields f = unpackSynthWords(SynthRegisters{});
        for (qint32 v : f.values)
            QCOMPARE(v, 0);
    }

    void fields_within_their_widths_survive_a_pack_and_unpack()
    {
        QRandomGenerator rng(830);
        for (int round = 0; round < 200; ++round) {
            SynthFields f;
            for (const SynthFieldEntry &s : synthFieldLayout())
                f[s.field] = static_cast<qint32>(rng.bounded(quint32(s.maxValue()) + 1));
            QCOMPARE(unpackSynthWords(packSynthWords(f)), f);
        }
    }

    void the_table_holds_the_words_little_endian()
    {
        SettingsTable t;
        SynthRegisters w{};
        for (int r = 0; r < SynthRegisterCount; ++r)
            w[r] = 0x010203u * (r + 1);
        storeSynthRegisters(t, w);
        QCOMPARE(t.bytes(Field::R1), QByteArray::fromHex("06040200"));
        QCOMPARE(synthRegistersOf(t), w);
    }
};

QTEST_APPLESS_MAIN(TestSynthRegisters)
#include "test_synthregisters.moc"
