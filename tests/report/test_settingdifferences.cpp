// SPDX-License-Identifier: GPL-3.0-or-later
// The differences a technician reads: each changed setting once, by its name, then only
// the bytes no setting shows.

#include "model/generalfields.h"
#include "model/settingstable.h"
#include "report/tablereport.h"
#include "synth/synthstate.h"

#include <QTest>

using namespace rw;

class TestSettingDifferences : public QObject {
    Q_OBJECT
private slots:
    void theCarrierAndTheLogoComeFirstByName()
    {
        const SettingsTable a;
        SettingsTable b;
        // The words the frequency entry stores for 462025000 Hz on a 14.85 MHz oscillator.
        b.setValue(Field::R0, 0x0006E10C);
        b.setValue(Field::R1, 0x00014A43);
        b.setValue(Field::ChanSpacingCode, 4);
        storePowLogo(b, "HELLO");
        const SynthState synth; // a 14.85 MHz oscillator

        const QList<Difference> d = settingDifferences(a, b, synth);

        // The words and the logo bytes are shown by the two settings, not again as fields.
        QCOMPARE(d.size(), 2);
        QCOMPARE(d[0].name, QString("frequency"));
        QCOMPARE(d[0].label, QString("Frequency"));
        QCOMPARE(d[0].a, QString("450325000 Hz"));
        QCOMPARE(d[0].b, QString("462025000 Hz"));
        QCOMPARE(d[1].name, QString("logo"));
        QCOMPARE(d[1].label, QString("Power Up Logo"));
        QCOMPARE(d[1].a, QString("\"     CONDOR\""));
        QCOMPARE(d[1].b, QString("\"HELLO\""));

        // A word the frequency does not show, and logo bytes the logo does not show, are
        // told as the fields they are.
        SettingsTable c = b;
        c.setValue(Field::R3, 0x00123456);
        QByteArray logo = c.bytes(Field::PowLogoText);
        logo[20] = 'x';
        c.setBytes(Field::PowLogoText, logo);
        const QList<Difference> e = settingDifferences(b, c, synth);
        QCOMPARE(e.size(), 2);
        QCOMPARE(e[0].name, QString("R3"));
        QCOMPARE(e[1].name, QString("PowLogoText"));
    }

    void equalTablesHaveNoDifferencesAndTheSynthesizerIsNotTouched()
    {
        SettingsTable a;
        a.setValue(Field::HeartBeat, 9);
        const SettingsTable b = a;
        SynthState synth;
        synth.OSCFreq = 12800000;
        QVERIFY(settingDifferences(a, b, synth).isEmpty());
        QCOMPARE(synth.OSCFreq, 12800000);

        // Only the heartbeat: the carrier and the logo read the same.
        SettingsTable c = a;
        c.setValue(Field::HeartBeat, 10);
        const QList<Difference> d = settingDifferences(a, c, synth);
        QCOMPARE(d.size(), 1);
        QCOMPARE(d[0].name, QString("HeartBeat"));
        QCOMPARE(d[0].a, QString("9"));
        QCOMPARE(d[0].b, QString("10"));
    }

    void aCopiedTableDoesNotTellTheOriginalsListener()
    {
        SettingsTable watched;
        int told = 0;
        watched.setChangeListener([&told] { ++told; });
        watched.setValue(Field::HeartBeat, 3);
        watched.setMessageRecord(0, QByteArray(58, 'x'));
        watched.takeImage(QByteArray(2048, '\0'));
        QCOMPARE(told, 3);
        SettingsTable copy = watched;
        copy.setValue(Field::HeartBeat, 4);
        QCOMPARE(told, 3);
    }
};

QTEST_GUILESS_MAIN(TestSettingDifferences)
#include "test_settingdifferences.moc"
