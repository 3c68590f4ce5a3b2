// SPDX-License-Identifier: GPL-3.0-or-later
// The frequency plan: spacing choice, the fields computed from a carrier, the carrier
// shown back from the fields, and the guards against zero divisors and overflow.

#include "synth/frequency.h"

#include <QTest>

using namespace rw;
using F = SynthField;

namespace {

// The state right after a start without a settings file.
SynthState startupState()
{
    SynthState s;
    s.fields[F::RF_FN] = 360;
    s.fields[F::RF_FD] = 1188;
    s.fields[F::ACCESS] = 1;
    s.fields[F::RF_CPG] = 3;
    s.fields[F::MUX] = 9;
    return s;
}

// What the window does after an accepted entry: pack, unpack, show.
QString shownAfterPackAndUnpack(SynthState s)
{
    s.fields = unpackSynthWords(packSynthWords(s.fields));
    return frequencyText(s);
}

struct Expected {
    int rfN, fnLow, fnHigh, fdLow, fdHigh;
};

void checkFrequencyFields(const SynthState &s, Expected e)
{
    QCOMPARE(s.fields[F::RF_N], e.rfN);
    QCOMPARE(s.fields[F::RF_FN], e.fnLow);
    QCOMPARE(s.fields[F::R5_RF_FN], e.fnHigh);
    QCOMPARE(s.fields[F::RF_FD], e.fdLow);
    QCOMPARE(s.fields[F::R5_RF_FD], e.fdHigh);
    QCOMPARE(s.fields[F::RF_R], 1);
}

} // namespace

class TestFrequency : public QObject {
    Q_OBJECT
private slots:
    void startup_fields_give_12500_hz_spacing_and_show_450000000()
    {
        SynthState s = startupState();
        refreshSpacing(s);
        QCOMPARE(s.ChannelSpaceHz, 12500);
        QCOMPARE(s.PrescalerModulus, 8);
        QCOMPARE(frequencyText(s), QString("450000000"));
    }

    void worked_example_462025000_with_modulus_8()
    {
        SynthState s = startupState();
        const FrequencyEntry e = enterFrequency(s, 462025000);
        QVERIFY(e.accepted());
        QCOMPARE(e.spacing.hz, 12500);
        QCOMPARE(e.spacing.code, quint8(4));
        QCOMPARE(s.ChannelSpaceHz, 12500);
        checkFrequencyFields(s, {55, 134, 0, 1188, 0});
        const SynthRegisters w = packSynthWords(s.fields);
        QCOMPARE(w[0], 0x06E10Cu);
        QCOMPARE(w[1], 0x014A43u);
        QCOMPARE(w[5], 0x00000Bu);
        QCOMPARE(shownAfterPackAndUnpack(s), QString("462025000"));
    }

    void worked_example_459997500_needs_the_high_parts_in_r5()
    {
        SynthState s = startupState();
        const FrequencyEntry e = enterFrequency(s, 459997500);
        QVERIFY(e.accepted());
        QCOMPARE(e.spacing.hz, 2500);
        QCOMPARE(e.spacing.code, quint8(0));
        checkFrequencyFields(s, {54, 1703, 1, 1844, 1});
        const SynthRegisters w = packSynthWords(s.fields);
        QCOMPARE(w[0], 0x06CD4Eu);
        QCOMPARE(w[1], 0x017343u);
        QCOMPARE(w[5], 0x00401Bu);
        QCOMPARE(shownAfterPackAndUnpack(s), QString("459997500"));
    }

    void worked_example_462025000_with_modulus_16()
    {
        SynthState s = startupState();
        s.fields[F::RF_P] = 1;
        s.PrescalerModulus = 16;
        QVERIFY(enterFrequency(s, 462025000).accepted());
        QCOMPARE(s.fields[F::RF_N], 31);
        QCOMPARE(shownAfterPackAndUnpack(s), QString("462025000"));
    }

    void the_widest_spacing_that_divides_wins_data()
    {
        QTest::addColumn<int>("hz");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("code");
        QTest::newRow("50000: 12500 before 10000") << 50000 << 12500 << 4;
        QTest::newRow("462030000") << 462030000 << 10000 << 3;
        QTest::newRow("6250") << 456006250 << 6250 << 2;
        QTest::newRow("5000") << 456005000 << 5000 << 1;
        QTest::newRow("2500") << 456002500 << 2500 << 0;
        QTest::newRow("0") << 0 << 12500 << 4;
    }
    void the_widest_spacing_that_divides_wins()
    {
        QFETCH(int, hz);
        QFETCH(int, spacing);
        QFETCH(int, code);
        SynthState s = startupState();
        const FrequencyEntry e = enterFrequency(s, hz);
        QVERIFY(e.accepted());
        QCOMPARE(e.spacing.hz, spacing);
        QCOMPARE(int(e.spacing.code), code);
        QCOMPARE(s.ChannelSpaceHz, spacing);
        QCOMPARE(shownAfterPackAndUnpack(s), QString::number(hz));
    }

    void an_entry_of_zero_gives_zero_fields_and_shows_zero()
    {
        SynthState s = startupState();
        QVERIFY(enterFrequency(s, 0).accepted());
        QCOMPARE(s.fields[F::RF_N], 0);
        QCOMPARE(s.fields[F::RF_FN], 0);
        QCOMPARE(s.fields[F::R5_RF_FN], 0);
        QCOMPARE(shownAfterPackAndUnpack(s), QString("0"));
    }

    void a_refused_frequency_changes_nothing_data()
    {
        QTest::addColumn<int>("hz");
        QTest::addColumn<qint32>("osc");
        QTest::addColumn<qint32>("compare");
        QTest::addColumn<int>("modulus");
        QTest::addColumn<QString>("message");
        const qint32 osc = 14850000;
        QTest::newRow("no spacing divides")
            << 462026000 << osc << osc << 8 << "Channel Spacing Error!";
        QTest::newRow("negative (pasted)")
            << -12500 << osc << osc << 8 << "Please insert a numeric !";
        QTest::newRow("more than nine digits")
            << 1000000000 << osc << osc << 8 << "Frequency Range Error!";
        QTest::newRow("compare frequency 0")
            << 462025000 << 50 << 0 << 8 << "Oscillator Frequency Error!";
        QTest::newRow("reference below the spacing")
            << 462025000 << 10000 << 10000 << 8 << "Oscillator Frequency Error!";
        QTest::newRow("divider above 63") << 462025000 << osc << 12500 << 8 << " 1 < RF_R < 64 !";
        QTest::newRow("divider 0") << 462025000 << 0 << osc << 8 << " 1 < RF_R < 64 !";
        QTest::newRow("count 1024 with modulus 8")
            << 102400000 << 100000 << 100000 << 8 << "Frequency Range Error!";
        QTest::newRow("count 2048 with modulus 16")
            << 204800000 << 100000 << 100000 << 16 << "Frequency Range Error!";
        QTest::newRow("small oscillator, usual carrier")
            << 462025000 << 200000 << 200000 << 16 << "Frequency Range Error!";
    }
    void a_refused_frequency_changes_nothing()
    {
        QFETCH(int, hz);
        QFETCH(qint32, osc);
        QFETCH(qint32, compare);
        QFETCH(int, modulus);
        QFETCH(QString, message);
        SynthState s = startupState();
        s.OSCFreq = osc;
        s.CompareFreq = compare;
        s.PrescalerModulus = modulus;
        s.fields[F::RF_P] = modulus == 16 ? 1 : 0;
        const SynthState before = s;
        const FrequencyEntry e = enterFrequency(s, hz);
        QVERIFY(!e.accepted());
        QCOMPARE(frequencyRefusalMessage(e.refusal), message);
        QVERIFY(s.fields == before.fields);
        QCOMPARE(s.ChannelSpaceHz, before.ChannelSpaceHz);
    }

    void the_largest_count_each_modulus_can_code_is_accepted()
    {
        SynthState s = startupState();
        s.OSCFreq = s.CompareFreq = 100000;
        QVERIFY(enterFrequency(s, 102300000).accepted()); // count 1023
        QCOMPARE(s.fields[F::RF_N], 16 * 127 + 7);
        QCOMPARE(shownAfterPackAndUnpack(s), QString("102300000"));

        s.fields[F::RF_P] = 1;
        s.PrescalerModulus = 16;
        QVERIFY(enterFrequency(s, 204700000).accepted()); // count 2047
        QCOMPARE(s.fields[F::RF_N], 2047);
        QCOMPARE(shownAfterPackAndUnpack(s), QString("204700000"));
    }

    void an_entry_touches_only_the_frequency_fields_and_resets_the_divider()
    {
        SynthState s = startupState();
        s.fields[F::RF_R] = 7; // as a loaded table may hold
        s.fields[F::R0_C] = 1;
        const SynthFields before = s.fields;
        QVERIFY(enterFrequency(s, 459997500).accepted());
        QCOMPARE(s.fields[F::RF_R], 1); // OSCFreq / CompareFreq
        const QList<F> frequencyFields{F::RF_N,  F::RF_FN,    F::R5_RF_FN,
                                       F::RF_FD, F::R5_RF_FD, F::RF_R};
        for (const SynthFieldEntry &entry : synthFieldLayout())
            if (!frequencyFields.contains(entry.field))
                QCOMPARE(s.fields[entry.field], before[entry.field]);
    }

    void a_zero_divider_shows_no_frequency()
    {
        SynthState s = startupState();
        s.fields[F::RF_R] = 0;
        QCOMPARE(frequencyFromFields(s), std::nullopt);
        QCOMPARE(frequencyText(s), QString());
    }

    void a_carrier_of_ten_digits_is_shown_and_one_that_would_wrap_is_not()
    {
        SynthState s = startupState();
        s.ChannelSpaceHz = 12500;
        s.fields[F::RF_FN] = 0;
        // 14850000 * 300 overflows 32 bits and would wrap round to 160032704.
        s.fields[F::RF_P] = 1;
        s.PrescalerModulus = 16;
        s.fields[F::RF_N] = 300;
        QCOMPARE(frequencyText(s), QString());
        // 14850000 * 100 has ten digits and fits 32 bits.
        s.fields[F::RF_N] = 100;
        QCOMPARE(frequencyText(s), QString("1485000000"));
        // The largest sum 32 bits hold: 14850000 * 289 + 1 * 3317295 (FN 809 * 4096 + 3631).
        s.fields[F::RF_N] = 16 * 18 + 1;
        s.ChannelSpaceHz = 1;
        s.fields[F::R5_RF_FN] = 809;
        s.fields[F::RF_FN] = 3631;
        QCOMPARE(frequencyText(s), QString("4294967295"));
        s.fields[F::RF_FN] = 3632;
        QCOMPARE(frequencyText(s), QString());
    }

    void the_refresh_recomputes_prescaler_and_spacing_from_the_fields()
    {
        SynthState s = startupState();
        QVERIFY(enterFrequency(s, 459997500).accepted());
        s.ChannelSpaceHz = 6250;
        s.fields[F::RF_P] = 1;
        refreshSpacing(s);
        QCOMPARE(s.ChannelSpaceHz, 2500);
        QCOMPARE(s.PrescalerModulus, 16);
    }

    void the_refresh_keeps_the_spacing_when_a_divisor_is_zero()
    {
        SynthState s = startupState();
        s.ChannelSpaceHz = 5000;
        s.fields[F::RF_FD] = 0;
        refreshSpacing(s);
        QCOMPARE(s.ChannelSpaceHz, 5000);

        s = startupState();
        s.ChannelSpaceHz = 5000;
        s.fields[F::RF_R] = 0;
        refreshSpacing(s);
        QCOMPARE(s.ChannelSpaceHz, 5000);
        QCOMPARE(s.PrescalerModulus, 8);
    }

    void the_nearest_spacing_prefers_the_one_tried_first_data()
    {
        QTest::addColumn<int>("hz");
        QTest::addColumn<int>("code");
        QTest::newRow("exact 6250") << 6250 << 2;
        QTest::newRow("7000") << 7000 << 2;
        QTest::newRow("tie 11250") << 11250 << 4;
        QTest::newRow("tie 8125") << 8125 << 3;
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("huge") << 99990000 << 4;
        QTest::newRow("negative") << -5 << 0;
    }
    void the_nearest_spacing_prefers_the_one_tried_first()
    {
        QFETCH(int, hz);
        QFETCH(int, code);
        QCOMPARE(int(nearestChannelSpacing(hz).code), code);
    }
};

QTEST_APPLESS_MAIN(TestFrequency)
#include "test_frequency.moc"
