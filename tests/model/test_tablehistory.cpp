// SPDX-License-Identifier: GPL-3.0-or-later
// The history of the settings table: each step named after what it changed (undo and redo
// are tested through the window), and the table's fingerprint.

#include "model/fingerprint.h"
#include "model/settingstable.h"
#include "model/tablehistory.h"

#include <QTest>

using namespace rw;

class TestTableHistory : public QObject {
    Q_OBJECT
private slots:
    void eachStepIsNamedAfterTheSettingItChanged()
    {
        SettingsTable t;
        TableHistory h(t);
        const auto step = [&](int offset, const QByteArray &bytes) {
            QByteArray image = t.buildImage();
            image.replace(offset, bytes.size(), bytes);
            t.takeImage(image);
            h.record();
            return h.undoName();
        };
        QCOMPARE(step(1822, "0007"), QString("System Code"));
        // A frequency changes a register word and the spacing code: one setting.
        QCOMPARE(step(1780, "\x11"), QString("Frequency"));
        QCOMPARE(step(1753, "\x01"), QString("Frequency"));
        QCOMPARE(step(1917, "\x02"), QString("Power Up Logo"));
        QCOMPARE(step(58 * 4 + 2, "Gate"), QString("Msg # 05"));
        QCOMPARE(step(1745, "\x09"), QString("Settings")); // an opaque byte
        QByteArray both = t.buildImage();
        both[1756] = 2;
        both[1757] = 60;
        t.takeImage(both);
        h.record();
        QCOMPARE(h.undoName(), QString("2 settings"));
        // A name given wins; a table as the present step holds it records nothing.
        t.setValue(Field::SendTwice, 0);
        QVERIFY(h.record("Read"));
        QCOMPARE(h.undoName(), QString("Read"));
        QVERIFY(!h.record("Again"));
    }

    void theFingerprintIsTheCrc32OfTheImage()
    {
        QCOMPARE(crc32("123456789"), 0xCBF43926u); // the check value of CRC-32
        SettingsTable zeros;
        zeros.takeImage(QByteArray(2048, '\0'));
        QCOMPARE(tableFingerprint(zeros), QString("F1E8BA9E"));
    }
};

QTEST_GUILESS_MAIN(TestTableHistory)
#include "test_tablehistory.moc"
