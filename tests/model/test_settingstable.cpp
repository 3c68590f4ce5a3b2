// SPDX-License-Identifier: GPL-3.0-or-later
// The settings image: built-in contents, image round trips and field encodings.

#include "model/generalfields.h"
#include "model/settingcatalogue.h"
#include "model/settingstable.h"
#include "model/textrules.h"

#include <QTest>

using namespace rw;

class TestSettingsTable : public QObject {
    Q_OBJECT
private slots:
    void a_new_table_holds_the_builtin_image()
    {
        const QByteArray img = SettingsTable().buildImage();
        QCOMPARE(img.size(), 2048);
        for (int k = 0; k < 30; ++k) {
            QByteArray expected(58, '\0');
            expected[1] = 2;
            QCOMPARE(img.mid(58 * k, 58), expected);
        }
        const QByteArray general =
            QByteArray::fromHex("0A100A14010805001038020001" // Opaque1
                                "04"
                                "0000"
                                "01"
                                "1E"
                                "4800" // spacing code, opaque, baud, range test, opaque
                                "3435343530303000"
                                "01010000"
                                "00000000"
                                "04"
                                "01"
                                "0000" // ... send twice
                                "08C60600"
                                "83940100"
                                "85C28300"
                                "870CF900"
                                "19C70500"
                                "0B000000"
                                "4D006C00"
                                "8F090000" // R0..R7
                                "01010000640000000100"
                                "30303031"
                                "01" // opaque, "0001", opaque
                                "01010001"
                                "00"
                                "0F000000" // pager alert
                                "01010001"
                                "03000000" // power on
                                "01000106"
                                "08000000" // low battery
                                "01010102"
                                "08000000" // out of range
                                "00000000"
                                "01000000" // reminder times
                                "01000000"
                                "1E000000" // fun bit A
                                "01000000"
                                "0F000000"
                                "1E000000" // fun bit B
                                "01000000"
                                "0F000000"
                                "1E000000" // fun bit C
                                "01000000"
                                "0F000000"
                                "1E000000" // fun bit D
                                "0A000000"
                                "05"
                                "06" // flash length, logo lead and length
                                "434F4E444F52"
                                "2020202020202020202020"
                                "14000000"
                                "00");
        QCOMPARE(general.size(), 200);
        QCOMPARE(img.mid(1740, 200).toHex(' '), general.toHex(' '));
        QCOMPARE(img.mid(1940), QByteArray(108, '\0'));
    }

    void taking_then_building_keeps_every_data_byte_and_zeroes_the_tail()
    {
        QByteArray in(2048, '\0');
        for (int i = 0; i < in.size(); ++i)
            in[i] = static_cast<char>((i * 7 + 3) & 0xFF);
        SettingsTable t;
        t.takeImage(in);
        const QByteArray out = t.buildImage();
        QCOMPARE(out.left(1940), in.left(1940));
        QCOMPARE(out.mid(1940), QByteArray(108, '\0'));

        // A short buffer reads as if padded with zero bytes.
        t.takeImage(in.left(100));
        QCOMPARE(t.buildImage().left(100), in.left(100));
        QCOMPARE(t.buildImage().mid(100), QByteArray(1948, '\0'));
    }

    void fields_are_little_endian_and_never_touch_their_neighbours()
    {
        SettingsTable t;
        const QByteArray before = t.buildImage();
        t.setValue(Field::HeartBeat, 0x12345678);
        QByteArray after = t.buildImage();
        QCOMPARE(after.mid(1772, 4), QByteArray::fromHex("78563412"));
        after.replace(1772, 4, before.mid(1772, 4));
        QCOMPARE(after, before);
        QCOMPARE(t.value(Field::HeartBeat), 0x12345678u);

        // A one-byte field takes the low byte only.
        t.setValue(Field::POCBaud, 0x1FF);
        QCOMPARE(t.value(Field::POCBaud), 0xFFu);
        QCOMPARE(t.value(Field::RangeTestDur), 30u);
    }

    void system_code_is_four_digits_without_terminator()
    {
        QCOMPARE(encodeSysCode(7), QByteArray("0007"));
        QCOMPARE(encodeSysCode(0), QByteArray("0000"));
        QCOMPARE(encodeSysCode(2000), QByteArray("2000"));
        QCOMPARE(decodeSysCode(QByteArray("12\0\0", 4)), QString("12"));
    }

    void power_up_logo_keeps_leading_blanks_and_old_bytes()
    {
        SettingsTable t;
        QCOMPARE(powLogoText(t), QString("     CONDOR"));
        storePowLogo(t, "  HELLO  ");
        QCOMPARE(t.value(Field::PowLogoLead), 2u);
        QCOMPARE(t.value(Field::PowLogoLen), 5u);
        QCOMPARE(t.bytes(Field::PowLogoText).left(7), QByteArray("HELLOR "));
        QCOMPARE(powLogoText(t), QString("  HELLO"));

        // Blank or empty: lead 0, length 1, the text untouched.
        storePowLogo(t, "   ");
        QCOMPARE(t.value(Field::PowLogoLead), 0u);
        QCOMPARE(t.value(Field::PowLogoLen), 1u);
        QCOMPARE(powLogoText(t), QString("H"));

        // Only the low four bits of the lead show; a zero byte ends the text early.
        t.setValue(Field::PowLogoLead, 0x12);
        t.setValue(Field::PowLogoLen, 21);
        t.setBytes(Field::PowLogoText, QByteArray("AB\0", 3));
        QCOMPARE(powLogoText(t), QString("  AB"));
    }

    void numbers_convert_only_from_plain_decimal_text()
    {
        QCOMPARE(parseInt32("0"), std::optional<qint32>(0));
        QCOMPARE(parseInt32("-12500"), std::optional<qint32>(-12500));
        QCOMPARE(parseInt32("2147483647"), std::optional<qint32>(INT32_MAX));
        QCOMPARE(parseInt32("-2147483648"), std::optional<qint32>(INT32_MIN));
        for (const char *bad :
             {"", "-", "2147483648", "12a", " 1", "0x10", "$10", "1.5", "99999999999999999999"})
            QVERIFY2(!parseInt32(bad), bad);
        QCOMPARE(trimBlanks(QString("\t\r\n x y \x01")), QString("x y"));
    }

    void a_value_a_message_repeats_is_cut_to_forty_characters()
    {
        const QString forty = QStringLiteral("1234567890123456789012345678901234567890");
        QCOMPARE(shownInMessage(forty), forty);
        QCOMPARE(notAnIntegerMessage(forty + "1"),
                 QStringLiteral("'1234567890123456789012345678901234567...' is not a valid "
                                "integer value"));
    }

    void c1_controls_are_refused_in_the_logo_and_messages_by_position()
    {
        const SettingEntry &logo = *settingOfField(Field::PowLogoText);
        QCOMPARE(textCharacterRefusal(logo, QStringLiteral("AB") + QChar(0x9F)),
                 std::optional<QString>(QStringLiteral(
                     "The control character \\x9f at position 3 cannot be stored; the logo takes "
                     "printable characters only.")));
        QVERIFY(textCharacterRefusal(logo, QChar(0x80))->contains("\\x80 at position 1"));
        // The no-break space just after the C1 block is text.
        QVERIFY(!textCharacterRefusal(logo, QString(QChar(0xA0)) + QChar(0xFF)));
    }

    void only_text_of_single_bytes_is_table_text()
    {
        // Every Latin-1 character has its byte, the last one included.
        QVERIFY(!tableTextRefusal(QString::fromUtf8("Caf\xC3\xA9 \xC3\xBF\r\n")));
        QVERIFY(!tableTextRefusal(QString()));
        const auto first = tableTextRefusal(QString::fromUtf8("ab\xC4\x80\xE2\x82\xAC"));
        QVERIFY(first);
        QCOMPARE(*first, QString::fromUtf8("The character '\xC4\x80' (U+0100) cannot be stored in "
                                           "the transmitter; it takes Latin-1 characters only."));
        // A character beyond the first plane is named whole, not by half of it.
        const auto emoji = tableTextRefusal(QString::fromUtf8("\xF0\x9F\x93\x9F"));
        QVERIFY(emoji && emoji->contains(QString::fromUtf8("'\xF0\x9F\x93\x9F' (U+1F4DF)")));
    }
};

QTEST_GUILESS_MAIN(TestSettingsTable)
#include "test_settingstable.moc"
