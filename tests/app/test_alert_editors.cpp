// The alert profiles and function-bit alerts, driven through the window with their
// pages made reachable the way a later build would offer them.

#include "model/alertlayout.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>

using namespace rw;

namespace {

// Offers the hidden pages, as showing their tabs would.
void offerPage(TfmMain &w, QWidget *page)
{
    const int index = w.PageControl1->indexOf(page);
    w.PageControl1->setTabVisible(index, true);
    w.PageControl1->setCurrentIndex(index);
    QVERIFY(QTest::qWaitFor([page] { return page->isVisible(); }));
    QTest::qWait(20);
}

// What choosing an item in the open list does.
void choose(QComboBox *list, const QString &item)
{
    const int index = list->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// The image with the given fields' bytes replaced by those of `other`.
QByteArray withFieldsFrom(QByteArray image, const QByteArray &other, QList<Field> fields)
{
    for (Field f : fields) {
        const FieldEntry &s = fieldEntry(f);
        image.replace(s.offset, s.width, other.mid(s.offset, s.width));
    }
    return image;
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
            const AlertProfileFields &fields = AlertProfileLayout[i];
            const std::pair<QCheckBox *, Field> switches[] = {
                {c.flash, fields.flash}, {c.vibrate, fields.vibrate}, {c.beep, fields.beep}};
            for (auto [box, field] : switches) {
                const QByteArray before = f.table.buildImage();
                const uint32_t old = f.table.value(field);
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
                QCOMPARE(f.table.value(field), old ? 0u : 1u);
                QCOMPARE(withFieldsFrom(f.table.buildImage(), before, {field}), before);
            }
            const QList<std::pair<QString, uint32_t>> choices{
                {"Silent", 24}, {"Music 16", 23}, {"Tone 1", 0}, {"Music 1", 8}};
            for (const auto &[item, stored] : choices) {
                const QByteArray before = f.table.buildImage();
                choose(c.type, item);
                QCOMPARE(f.table.value(fields.type), stored);
                QCOMPARE(withFieldsFrom(f.table.buildImage(), before, {fields.type}), before);
            }
            for (int length : {999, 0, 42}) {
                const QByteArray before = f.table.buildImage();
                f.typeAndEnter(c.length, QString::number(length));
                QCOMPARE(f.table.value(fields.length), uint32_t(length));
                QCOMPARE(withFieldsFrom(f.table.buildImage(), before, {fields.length}), before);
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
    }

    void function_bit_lists_store_their_index()
    {
        WindowFixture f;
        offerPage(f.w(), f.w().TabSheet1);
        const QList<std::tuple<int, QString, uint32_t>> choices{
            {1, "User 1", 0},   {1, "Tone 1", 4}, {2, "Music 16", 27},
            {3, "Music 1", 12}, {0, "Type 5", 4}, {0, "Type 1", 0}};
        for (const auto &[bit, item, stored] : choices) {
            const QByteArray before = f.table.buildImage();
            choose(f.w().funBits[bit].pattern, item);
            const Field field = FunBitLayout[bit].pattern;
            QCOMPARE(f.table.value(field), stored);
            QCOMPARE(withFieldsFrom(f.table.buildImage(), before, {field}), before);
        }
    }

    void function_bit_lengths_check_only_on_leaving()
    {
        WindowFixture f;
        offerPage(f.w(), f.w().TabSheet1);
        for (int bit = 0; bit < 4; ++bit) {
            const TfmMain::FunBitControls &c = f.w().funBits[bit];
            QList<std::pair<QLineEdit *, Field>> edits{{c.flashLen, FunBitLayout[bit].flashLen}};
            if (c.alertLen)
                edits.append({c.alertLen, *FunBitLayout[bit].alertLen});
            for (auto [edit, field] : edits) {
                for (int v : {999, 0}) {
                    const QByteArray before = f.table.buildImage();
                    f.clickInto(edit);
                    edit->selectAll();
                    QTest::keyClicks(edit, QString::number(v));
                    f.w().parkFocus();
                    QCOMPARE(f.table.value(field), uint32_t(v));
                    QCOMPARE(withFieldsFrom(f.table.buildImage(), before, {field}), before);
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
        f.table.setValue(Field::LowBatAlertType, 25);
        f.table.setValue(Field::LowBatVibr, 9);
        f.table.setValue(Field::FunBitAPat, 5);
        f.table.setValue(Field::FunBitBPat, 28);
        f.table.setValue(Field::OutOfServiceAlertLen, 123456);
        const QByteArray before = f.table.buildImage();
        f.w().RefreshControls();
        QCOMPARE(f.w().alertProfiles[2].type->currentIndex(), -1);
        QVERIFY(f.w().alertProfiles[2].vibrate->isChecked());
        QCOMPARE(f.w().funBits[0].pattern->currentIndex(), -1);
        QCOMPARE(f.w().funBits[1].pattern->currentIndex(), -1);
        QCOMPARE(f.w().alertProfiles[3].length->text(), QString("123456"));
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
