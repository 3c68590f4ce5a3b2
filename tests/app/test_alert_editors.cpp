// SPDX-License-Identifier: GPL-3.0-or-later
// The alert profiles and function-bit alerts, driven through the window with their
// pages made reachable the way a later build would offer them.

#include "offerpage.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>

using namespace rw;

namespace {

// Image offsets of the four profiles, written out from the transmitter's layout: three
// switch bytes, the type byte, a reserved byte after the pager alert's type, and a 32-bit
// little-endian length.
struct ProfileOffsets {
    int flash, vibrate, beep, type, length;
};
constexpr ProfileOffsets Profiles[4] = {{1827, 1828, 1829, 1830, 1832},  // pager alert
                                        {1836, 1837, 1838, 1839, 1840},  // power on
                                        {1844, 1845, 1846, 1847, 1848},  // low battery
                                        {1852, 1853, 1854, 1855, 1856}}; // out of range

// Function bits A..D: pattern byte (padded to four), alert length (not for A), flash length.
struct FunBitOffsets {
    int pattern, alertLen, flashLen;
};
constexpr FunBitOffsets FunBits[4] = {
    {1868, -1, 1872}, {1876, 1880, 1884}, {1888, 1892, 1896}, {1900, 1904, 1908}};

QByteArray withByte(QByteArray image, int offset, int value)
{
    image[offset] = char(value);
    return image;
}

QByteArray withInt32(QByteArray image, int offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        image[offset + i] = char((v >> (8 * i)) & 0xFF);
    return image;
}

// What choosing an item in the open list does.
void choose(QComboBox *list, const QString &item)
{
    const int index = list->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

} // namespace

class TestAlertEditors : public QObject {
    Q_OBJECT
private slots:
    void every_profile_control_writes_its_own_field_only()
    {
        WindowFixture f;
        offerPage(f.w(), f.w().TabSheet2);
        for (int i = 0; i < 4; ++i) {
            const TfmMain::AlertProfileControls &c = f.w().alertProfiles[i];
            const ProfileOffsets &at = Profiles[i];
            const std::pair<QCheckBox *, int> switches[] = {
                {c.flash, at.flash}, {c.vibrate, at.vibrate}, {c.beep, at.beep}};
            for (auto [box, offset] : switches) {
                for (int click = 0; click < 2; ++click) {
                    const QByteArray before = f.table.buildImage();
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
                    QCOMPARE(f.table.buildImage(),
                             withByte(before, offset, before[offset] ? 0 : 1));
                }
            }
            const QList<std::pair<QString, int>> choices{
                {"Silent", 24}, {"Music 16", 23}, {"Tone 1", 0}, {"Music 1", 8}};
            for (const auto &[item, stored] : choices) {
                const QByteArray before = f.table.buildImage();
                choose(c.type, item);
                QCOMPARE(f.table.buildImage(), withByte(before, at.type, stored));
            }
            for (int length : {999, 0, 42}) {
                const QByteArray before = f.table.buildImage();
                f.typeAndEnter(c.length, QString::number(length));
                QCOMPARE(f.table.buildImage(), withInt32(before, at.length, length));
            }
        }
        QVERIFY(f.dialogs.boxes.isEmpty());
        // Choosing "Silent" leaves the Beep box alone.
        QCOMPARE(f.w().alertProfiles[3].beep->isEnabled(), true);
    }

    void a_profile_length_left_empty_reshows_only_its_own_profile()
    {
        WindowFixture f;
        offerPage(f.w(), f.w().TabSheet2);
        f.w().alertProfiles[1].length->setText("77");
        f.w().alertProfiles[2].flash->setChecked(false); // shown differently from the table
        f.clickInto(f.w().alertProfiles[2].length);
        QCOMPARE(f.w().alertProfiles[2].length->text(), QString());
        f.w().parkFocus();
        QCOMPARE(f.w().alertProfiles[2].length->text(), QString("8"));
        QVERIFY(f.w().alertProfiles[2].flash->isChecked());
        QCOMPARE(f.w().alertProfiles[1].length->text(), QString("77"));
    }

    void profile_lengths_refuse_letters_as_typed_and_numbers_over_999()
    {
        WindowFixture f;
        offerPage(f.w(), f.w().TabSheet2);
        QLineEdit *edit = f.w().alertProfiles[0].length;
        f.clickInto(edit);
        QTest::keyClicks(edit, "1x");
        QCOMPARE(edit->text(), QString("1"));
        QCOMPARE(f.dialogs.texts(), QStringList{"Please insert a numeric !"});

        f.w().parkFocus();
        QCOMPARE(f.table.buildImage().mid(1832, 4), QByteArray("\x01\0\0\0", 4));

        // 1000 cannot be entered: the fourth digit goes nowhere, and what stays is 100.
        const QByteArray before = f.table.buildImage();
        f.typeAndEnter(edit, "1000");
        QCOMPARE(f.dialogs.texts(), QStringList{"Please insert a numeric !"});
        QCOMPARE(f.table.buildImage(), withInt32(before, 1832, 100));
        // Nor can it be pasted.
        f.clickInto(edit);
        QApplication::clipboard()->setText("1000");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        f.w().parkFocus();
        QCOMPARE(f.table.buildImage(), withInt32(before, 1832, 100));
        QCOMPARE(f.dialogs.texts(), QStringList{"Please insert a numeric !"});
    }

    void function_bit_lists_store_their_index()
    {
        WindowFixture f;
        offerPage(f.w(), f.w().TabSheet1);
        const QList<std::tuple<int, QString, int>> choices{{1, "User 1", 0},    {1, "Tone 1", 4},
                                                           {2, "Music 16", 27}, {3, "Music 1", 12},
                                                           {0, "Type 5", 4},    {0, "Type 1", 0}};
        for (const auto &[bit, item, stored] : choices) {
            const QByteArray before = f.table.buildImage();
            choose(f.w().funBits[bit].pattern, item);
            QCOMPARE(f.table.buildImage(), withByte(before, FunBits[bit].pattern, stored));
        }
    }

    void function_bit_lengths_check_only_on_leaving()
    {
        WindowFixture f;
        offerPage(f.w(), f.w().TabSheet1);
        for (int bit = 0; bit < 4; ++bit) {
            const TfmMain::FunBitControls &c = f.w().funBits[bit];
            QList<std::pair<QLineEdit *, int>> edits{{c.flashLen, FunBits[bit].flashLen}};
            if (c.alertLen)
                edits.append({c.alertLen, FunBits[bit].alertLen});
            QCOMPARE(c.alertLen == nullptr, FunBits[bit].alertLen < 0);
            for (auto [edit, offset] : edits) {
                for (int v : {999, 0}) {
                    const QByteArray before = f.table.buildImage();
                    f.clickInto(edit);
                    edit->selectAll();
                    QTest::keyClicks(edit, QString::number(v));
                    f.w().parkFocus();
                    QCOMPARE(f.table.buildImage(), withInt32(before, offset, v));
                }
            }
        }
        QVERIFY(f.dialogs.boxes.isEmpty());

        // No key filter and no emptying on entry: letters are typed, then refused.
        QLineEdit *edit = f.w().funBits[1].alertLen;
        const QByteArray before = f.table.buildImage();
        f.clickInto(edit);
        QCOMPARE(edit->text(), QString("0")); // what the loop above left
        edit->selectAll();
        QTest::keyClicks(edit, "1000");
        f.w().parkFocus();
        f.clickInto(edit);
        edit->end(false);
        QTest::keyClicks(edit, "x");
        QCOMPARE(edit->text(), QString("1000x"));
        f.w().parkFocus();
        QCOMPARE(f.dialogs.texts(), (QStringList{"Please insert a number between 0 ~ 999 !",
                                                 "'1000x' is not a valid integer value"}));
        QCOMPARE(f.table.buildImage(), before);
    }

    void a_function_bit_edit_left_empty_reshows_all_eleven_controls()
    {
        WindowFixture f;
        offerPage(f.w(), f.w().TabSheet1);
        f.w().funBits[3].flashLen->setText("junk");
        f.w().funBits[0].pattern->setCurrentIndex(3);
        f.clickInto(f.w().funBits[2].alertLen);
        f.w().funBits[2].alertLen->clear();
        f.w().parkFocus();
        QCOMPARE(f.w().funBits[2].alertLen->text(), QString("15"));
        QCOMPARE(f.w().funBits[3].flashLen->text(), QString("30"));
        QCOMPARE(f.w().funBits[0].pattern->currentIndex(), 1);
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void a_refresh_shows_odd_stored_values_and_keeps_them()
    {
        WindowFixture f;
        QByteArray image = f.table.buildImage();
        image = withByte(image, 1847, 25);           // LowBatAlertType
        image = withByte(image, 1845, 9);            // LowBatVibr
        image = withByte(image, 1868, 5);            // FunBitAPat
        image = withByte(image, 1876, 28);           // FunBitBPat
        image = withInt32(image, 1856, 123456);      // OutOfServiceAlertLen
        image = withInt32(image, 1840, 0x01020304);  // PowerOnAlertLen
        image = withInt32(image, 1896, 4294967295u); // FunBitCFlashLen
        image = withByte(image, 1836, 0);            // PowerOnFlash
        image = withByte(image, 1838, 1);            // PowerOnBeep
        f.table.takeImage(image);
        const QByteArray before = f.table.buildImage();
        f.w().RefreshControls();
        QCOMPARE(f.w().alertProfiles[2].type->currentIndex(), -1);
        QVERIFY(f.w().alertProfiles[2].vibrate->isChecked());
        QCOMPARE(f.w().funBits[0].pattern->currentIndex(), -1);
        QCOMPARE(f.w().funBits[1].pattern->currentIndex(), -1);
        QCOMPARE(f.w().alertProfiles[3].length->text(), QString("123456"));
        QCOMPARE(f.w().alertProfiles[1].length->text(), QString("16909060"));
        QCOMPARE(f.w().funBits[2].flashLen->text(), QString("4294967295"));
        QVERIFY(!f.w().alertProfiles[1].flash->isChecked());
        QVERIFY(f.w().alertProfiles[1].beep->isChecked());
        QCOMPARE(f.table.buildImage(), before);
    }

    void the_pages_carry_their_designed_captions_and_lists()
    {
        WindowFixture f;
        const QStringList captions{"Pager Alert Type", "Power On  Alert Type",
                                   "Low Battery Alert Type", "Out Of Range Alert Type"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(f.w().alertProfiles[i].group->title(), captions[i]);
            QCOMPARE(f.w().alertProfiles[i].type->count(), 25);
            QCOMPARE(f.w().funBits[i].group->title(), QString("Fun. Bit %1").arg(QChar('A' + i)));
            QCOMPARE(f.w().funBits[i].pattern->count(), i == 0 ? 5 : 28);
        }
        QCOMPARE(f.w().alertProfiles[0].type->currentText(), QString("Tone 2"));
        QCOMPARE(f.w().alertProfiles[2].type->currentText(), QString("Tone 7"));
        QCOMPARE(f.w().funBits[1].pattern->currentText(), QString("User 2"));
    }
};

QTEST_MAIN(TestAlertEditors)
#include "test_alert_editors.moc"
