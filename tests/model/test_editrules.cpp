// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric fields' rules without a window: what each accepts, where and how it is
// stored in the 2048-byte image, and the exact text of each refusal.

#include "model/editrules.h"
#include "model/settingstable.h"

#include <QTest>

using namespace rw;

Q_DECLARE_METATYPE(rw::Field)

namespace {

// `n` bytes of the image from `offset`.
QByteArray imageBytes(const SettingsTable &t, int offset, int n)
{
    return t.buildImage().mid(offset, n);
}

} // namespace

class TestEditRules : public QObject {
    Q_OBJECT
private slots:
    void an_accepted_number_lands_at_its_offset_and_nothing_else_changes_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("system code, four digits")
            << Field::SysCode << "7" << 1822 << QByteArray("0007");
        QTest::newRow("system code, top")
            << Field::SysCode << " 2000 " << 1822 << QByteArray("2000");
        QTest::newRow("range test off")
            << Field::RangeTestDur << "0" << 1757 << QByteArray("\x00", 1);
        QTest::newRow("range test low")
            << Field::RangeTestDur << "10" << 1757 << QByteArray("\x0A");
        QTest::newRow("range test high")
            << Field::RangeTestDur << "240" << 1757 << QByteArray("\xF0");
        QTest::newRow("heartbeat")
            << Field::HeartBeat << "999" << 1772 << QByteArray("\xE7\x03\x00\x00", 4);
        QTest::newRow("flash length")
            << Field::FlashLen << "+30" << 1912 << QByteArray("\x1E\x00\x00\x00", 4);
        QTest::newRow("pager alert length")
            << Field::PagerAlertLen << "0" << 1832 << QByteArray("\x00\x00\x00\x00", 4);
        QTest::newRow("function bit D flash")
            << Field::FunBitDFlashLen << "256" << 1908 << QByteArray("\x00\x01\x00\x00", 4);
    }
    void an_accepted_number_lands_at_its_offset_and_nothing_else_changes()
    {
        QFETCH(Field, field);
        QFETCH(QString, text);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        SettingsTable table;
        QByteArray expected = table.buildImage();
        expected.replace(offset, bytes.size(), bytes);

        const EditResult r = applyNumberText(table, field, text);
        QVERIFY(r.stored());
        QVERIFY(r.message.isEmpty());
        QCOMPARE(imageBytes(table, offset, bytes.size()), bytes);
        QCOMPARE(table.buildImage(), expected);
    }

    void a_refused_number_leaves_the_table_and_says_why_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("notANumber");
        QTest::addColumn<QString>("message");
        const QString sysCode = "Please insert a number between 0 ~ 2000 !";
        const QString rangeTest = "Please insert a number between 0 or 10 ~ 240 !";
        const QString heartBeat = "Please insert a number between 0 or 30 ~ 999 !";
        const QString seconds = "Please insert a number between 0 ~ 999 !";
        QTest::newRow("system code high") << Field::SysCode << "2001" << false << sysCode;
        QTest::newRow("system code negative") << Field::SysCode << "-1" << false << sysCode;
        QTest::newRow("range test gap") << Field::RangeTestDur << "9" << false << rangeTest;
        QTest::newRow("range test high") << Field::RangeTestDur << "241" << false << rangeTest;
        QTest::newRow("heartbeat gap") << Field::HeartBeat << "29" << false << heartBeat;
        QTest::newRow("heartbeat high") << Field::HeartBeat << "1000" << false << heartBeat;
        QTest::newRow("flash length") << Field::FlashLen << "1000" << false << seconds;
        QTest::newRow("alert length") << Field::OutOfServiceAlertLen << "-5" << false << seconds;
        QTest::newRow("function bit B alert")
            << Field::FunBitBAlertLen << "1000" << false << seconds;
        QTest::newRow("letters, blanks removed")
            << Field::HeartBeat << " 1x " << true << "'1x' is not a valid integer value";
        QTest::newRow("beyond 32 bits") << Field::SysCode << "99999999999" << true
                                        << "'99999999999' is not a valid integer value";
        QTest::newRow("empty") << Field::FlashLen << "" << true
                               << "'' is not a valid integer value";
    }
    void a_refused_number_leaves_the_table_and_says_why()
    {
        QFETCH(Field, field);
        QFETCH(QString, text);
        QFETCH(bool, notANumber);
        QFETCH(QString, message);
        SettingsTable table;
        const QByteArray before = table.buildImage();

        const EditResult r = applyNumberText(table, field, text);
        QVERIFY(!r.stored());
        QCOMPARE(r.status,
                 notANumber ? EditResult::Status::NotANumber : EditResult::Status::Refused);
        QCOMPARE(r.message, message);
        QCOMPARE(table.buildImage(), before);
    }

    void only_the_numeric_fields_have_a_rule()
    {
        for (Field f : {Field::SysCode, Field::RangeTestDur, Field::HeartBeat, Field::FlashLen,
                        Field::LowBatAlertLen, Field::FunBitAFlashLen, Field::FunBitCAlertLen})
            QVERIFY(isNumericField(f));
        for (Field f : {Field::POCBaud, Field::SendTwice, Field::PowLogoLen, Field::R0})
            QVERIFY(!isNumericField(f));
    }
};

QTEST_GUILESS_MAIN(TestEditRules)
#include "test_editrules.moc"
