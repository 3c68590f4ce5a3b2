// SPDX-License-Identifier: GPL-3.0-or-later
// The general settings editors through the real window: typing, Enter, Tab, clicks.

#include "offerpage.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>

using namespace rw;

class TestGeneralEditors : public QObject {
    Q_OBJECT
private slots:
    void the_window_shows_the_builtin_table()
    {
        WindowFixture f;
        QCOMPARE(f.w().edtSysCode->text(), QString("0001"));
        QCOMPARE(f.w().edtRangeTestDur->text(), QString("30"));
        QCOMPARE(f.w().cboPOCBaud->currentText(), QString("1200 bps"));
        QVERIFY(f.w().chkSendTwice->isChecked());
        QCOMPARE(f.w().edtPowLogo->text(), QString("     CONDOR"));
        QCOMPARE(f.w().edtHeartBeat->text(), QString("0"));
        QCOMPARE(f.w().edtFlashLen->text(), QString("10"));
        QCOMPARE(f.w().cboOutOfServiceTM->currentText(), QString("Disable"));
        QCOMPARE(f.w().cboLowBatTM->currentText(), QString("120 sec"));
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void enter_commits_the_system_code_as_four_digits()
    {
        WindowFixture f;
        f.typeAndEnter(f.w().edtSysCode, "7");
        QCOMPARE(f.table.bytes(Field::SysCode), QByteArray("0007"));
        QCOMPARE(f.w().edtSysCode->text(), QString("0007"));
        QCOMPARE(QApplication::focusWidget(), f.w().edtNull);

        f.typeAndEnter(f.w().edtSysCode, "2000");
        QCOMPARE(f.table.bytes(Field::SysCode), QByteArray("2000"));

        const QByteArray before = f.table.buildImage();
        f.typeAndEnter(f.w().edtSysCode, "2001");
        QCOMPARE(f.dialogs.texts(), QStringList{"Please insert a number between 0 ~ 2000 !"});
        QCOMPARE(f.dialogs.boxes[0].caption, QString("RW830KT"));
        QCOMPARE(f.dialogs.boxes[0].icon, BoxIcon::Warning);
        QCOMPARE(f.table.buildImage(), before);
        QCOMPARE(QApplication::focusWidget(), f.w().edtSysCode);
    }

    void a_letter_is_refused_and_never_reaches_the_text()
    {
        WindowFixture f;
        f.clickInto(f.w().edtSysCode);
        QTest::keyClicks(f.w().edtSysCode, "12");
        for (const char *key : {"a", " ", "-"})
            QTest::keyClicks(f.w().edtSysCode, key);
        QTest::keyClick(f.w().edtSysCode, Qt::Key_Escape);
        QCOMPARE(f.w().edtSysCode->text(), QString("12"));
        QCOMPARE(f.dialogs.texts(), QStringList(4, "Please insert a numeric !"));
        QTest::keyClick(f.w().edtSysCode, Qt::Key_Backspace);
        QCOMPARE(f.w().edtSysCode->text(), QString("1"));
        QCOMPARE(QApplication::focusWidget(), f.w().edtSysCode);
    }

    void delete_and_the_arrows_edit_a_number_without_a_refusal()
    {
        // The keyboard delivers Delete with the character DEL (127) as its text.
        auto pressDelete = [] {
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_Delete,
                                QString(QChar(127)), Qt::NoModifier);
        };
        WindowFixture f;
        f.clickInto(f.w().edtSysCode);
        QTest::keyClicks(QApplication::focusWidget(), "1234");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        pressDelete();
        QCOMPARE(f.w().edtSysCode->text(), QString("234"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        pressDelete();
        QCOMPARE(f.w().edtSysCode->text(), QString("2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClicks(QApplication::focusWidget(), "39");
        QCOMPARE(f.w().edtSysCode->text(), QString("239"));
        QVERIFY(f.dialogs.boxes.isEmpty());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(f.dialogs.texts(), QStringList{"Please insert a numeric !"});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.table.bytes(Field::SysCode), QByteArray("0239"));
    }

    void entering_empties_and_leaving_empty_restores_without_a_change()
    {
        WindowFixture f;
        const QByteArray before = f.table.buildImage();
        f.clickInto(f.w().edtRangeTestDur);
        QCOMPARE(f.w().edtRangeTestDur->text(), QString());
        f.tab();
        QCOMPARE(f.w().edtRangeTestDur->text(), QString("30"));
        QCOMPARE(f.table.buildImage(), before);
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void each_edit_accepts_exactly_its_range()
    {
        struct Case {
            QLineEdit *TfmMain::*edit;
            Field field;
            QList<int> accepted;
            QList<int> refused;
            QString message;
        };
        const QList<Case> cases{
            {&TfmMain::edtRangeTestDur,
             Field::RangeTestDur,
             {10, 240, 0},
             {9, 241},
             "Please insert a number between 0 or 10 ~ 240 !"},
            {&TfmMain::edtHeartBeat,
             Field::HeartBeat,
             {30, 999, 0},
             {29},
             "Please insert a number between 0 or 30 ~ 999 !"},
            {&TfmMain::edtFlashLen, Field::FlashLen, {0, 999, 5}, {}, ""},
        };
        WindowFixture f;
        for (const Case &c : cases) {
            QLineEdit *edit = f.w().*c.edit;
            for (int v : c.accepted) {
                f.typeAndEnter(edit, QString::number(v));
                QCOMPARE(f.table.value(c.field), uint32_t(v));
            }
            for (int v : c.refused) {
                f.dialogs.clear();
                const uint32_t old = f.table.value(c.field);
                f.typeAndEnter(edit, QString::number(v));
                QCOMPARE(f.dialogs.texts(), QStringList{c.message});
                QCOMPARE(f.table.value(c.field), old);
            }
        }
        // Three characters at most: 1000 cannot be typed.
        f.clickInto(f.w().edtHeartBeat);
        QTest::keyClicks(f.w().edtHeartBeat, "1000");
        QCOMPARE(f.w().edtHeartBeat->text(), QString("100"));
    }

    void tab_runs_the_exit_rule_and_a_box_from_it_does_not_run_it_again()
    {
        WindowFixture f;
        // While the box is up another window has the activation, as a real box has; the
        // window gets it back only after the box has gone.
        f.dialogs.onMessage = [&](const MessageBoxRequest &) {
            QWidget other;
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        };
        f.clickInto(f.w().edtSysCode);
        QTest::keyClicks(f.w().edtSysCode, "2500");
        f.tab();
        f.w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.w()));
        QCOMPARE(f.dialogs.texts(), QStringList{"Please insert a number between 0 ~ 2000 !"});
        QCOMPARE(f.table.bytes(Field::SysCode), QByteArray("0001"));

        // The focus is back on the edit, emptied for a fresh value, and its exit rule
        // still runs.
        QCOMPARE(QApplication::focusWidget(), f.w().edtSysCode);
        QCOMPARE(f.w().edtSysCode->text(), QString());
        f.dialogs.onMessage = nullptr;
        QTest::keyClicks(f.w().edtSysCode, "12");
        QTest::keyClick(f.w().edtSysCode, Qt::Key_Return);
        QCOMPARE(f.table.bytes(Field::SysCode), QByteArray("0012"));
        QCOMPARE(f.dialogs.boxes.size(), 1);
    }

    void pasted_text_that_is_no_number_is_reported_and_stores_nothing()
    {
        WindowFixture f;
        const QByteArray before = f.table.buildImage();
        const QStringList pasted{"abc", "1 2", "-5"};
        for (const QString &text : pasted) {
            f.clickInto(f.w().edtSysCode);
            QApplication::clipboard()->setText(text);
            QTest::keyClick(f.w().edtSysCode, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(f.w().edtSysCode->text(), text);
            f.tab();
        }
        QCOMPARE(f.dialogs.texts(), (QStringList{"'abc' is not a valid integer value",
                                                 "'1 2' is not a valid integer value",
                                                 "Please insert a number between 0 ~ 2000 !"}));
        QCOMPARE(f.dialogs.boxes[0].icon, BoxIcon::Error);
        QCOMPARE(f.table.buildImage(), before);

        // Longer than the edit's limit: the paste is refused as a whole.
        f.clickInto(f.w().edtSysCode);
        QApplication::clipboard()->setText("1234567890");
        QTest::keyClick(f.w().edtSysCode, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.w().edtSysCode->text(), QString());
    }

    void lists_and_the_check_box_store_on_the_users_choice_only()
    {
        WindowFixture f;
        f.clickInto(f.w().cboPOCBaud);
        QTest::keyClick(f.w().cboPOCBaud, Qt::Key_Down);
        QCOMPARE(f.table.value(Field::POCBaud), 2u);
        QTest::keyClick(f.w().cboPOCBaud, Qt::Key_Up);
        QTest::keyClick(f.w().cboPOCBaud, Qt::Key_Up);
        QCOMPARE(f.table.value(Field::POCBaud), 0u);

        QTest::mouseClick(f.w().chkSendTwice, Qt::LeftButton, {}, QPoint(6, 10));
        QCOMPARE(f.table.value(Field::SendTwice), 0u);
        QTest::mouseClick(f.w().chkSendTwice, Qt::LeftButton, {}, QPoint(6, 10));
        QCOMPARE(f.table.value(Field::SendTwice), 1u);

        // A refresh shows odd stored values without rewriting them.
        f.table.setValue(Field::POCBaud, 5);
        f.table.setValue(Field::SendTwice, 7);
        f.table.setValue(Field::LowBatTM, 0x01000000);
        const QByteArray before = f.table.buildImage();
        f.w().RefreshControls();
        QCOMPARE(f.w().cboPOCBaud->currentIndex(), -1);
        QVERIFY(f.w().chkSendTwice->isChecked());
        QCOMPARE(f.w().cboLowBatTM->currentIndex(), -1);
        QCOMPARE(f.table.buildImage(), before);
    }

    void the_reminder_time_lists_store_the_chosen_item_at_their_own_offsets()
    {
        // OutOfServiceTM is the 32-bit word at image bytes 1860..1863, LowBatTM the one at
        // 1864..1867; both start as 0 ("Disable") and 1 ("120 sec").
        auto withWord = [](QByteArray image, int offset, char v) {
            image.replace(offset, 4, QByteArray(1, v) + QByteArray(3, '\0'));
            return image;
        };
        WindowFixture f;
        offerPage(f.w(), f.w().TabSheet2);
        struct Step {
            QComboBox *TfmMain::*list;
            Qt::Key key;
            QString shown;
            int offset;
            char stored;
        };
        const QList<Step> steps{
            {&TfmMain::cboOutOfServiceTM, Qt::Key_Down, "60 sec", 1860, 1},
            {&TfmMain::cboOutOfServiceTM, Qt::Key_Down, "120 sec", 1860, 2},
            {&TfmMain::cboOutOfServiceTM, Qt::Key_Down, "5 min", 1860, 3},
            {&TfmMain::cboOutOfServiceTM, Qt::Key_Down, "10 min", 1860, 4},
            {&TfmMain::cboLowBatTM, Qt::Key_Down, "10 min", 1864, 2},
            {&TfmMain::cboLowBatTM, Qt::Key_Down, "60 min", 1864, 3},
            {&TfmMain::cboLowBatTM, Qt::Key_Up, "10 min", 1864, 2},
            {&TfmMain::cboLowBatTM, Qt::Key_Up, "120 sec", 1864, 1},
            {&TfmMain::cboLowBatTM, Qt::Key_Up, "Disable", 1864, 0},
            {&TfmMain::cboOutOfServiceTM, Qt::Key_Up, "5 min", 1860, 3},
        };
        QCOMPARE(f.table.buildImage().mid(1860, 8), QByteArray("\0\0\0\0\x01\0\0\0", 8));
        for (const Step &step : steps) {
            QComboBox *list = f.w().*step.list;
            if (QApplication::focusWidget() != list) {
                list->setFocus(Qt::TabFocusReason);
                QCOMPARE(QApplication::focusWidget(), list);
            }
            const QByteArray before = f.table.buildImage();
            QTest::keyClick(list, step.key);
            QCOMPARE(list->currentText(), step.shown);
            QCOMPARE(f.table.buildImage(), withWord(before, step.offset, step.stored));
        }
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void the_logo_stores_its_blanks_and_characters()
    {
        WindowFixture f;
        f.clickInto(f.w().edtPowLogo);
        QCOMPARE(f.w().edtPowLogo->selectedText(), QString("     CONDOR"));
        QTest::keyClicks(f.w().edtPowLogo, "   AB");
        f.tab();
        QCOMPARE(f.table.value(Field::PowLogoLead), 3u);
        QCOMPARE(f.table.value(Field::PowLogoLen), 2u);
        QCOMPARE(f.table.bytes(Field::PowLogoText).left(6), QByteArray("ABNDOR"));
        f.w().RefreshControls();
        QCOMPARE(f.w().edtPowLogo->text(), QString("   AB"));
    }

    void a_stored_value_wider_than_the_edit_is_shown_whole()
    {
        WindowFixture f;
        f.table.setValue(Field::HeartBeat, 4000000000u);
        f.w().RefreshControls();
        QCOMPARE(f.w().edtHeartBeat->text(), QString("4000000000"));
    }
};

QTEST_MAIN(TestGeneralEditors)
#include "test_general_editors.moc"
