// SPDX-License-Identifier: GPL-3.0-or-later
// The window shell: controls and menus, status bar, focus parking, shortcuts, re-layout.

#include "app/frmabout.h"
#include "app/relayout.h"
#include "windowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

using namespace rw;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void the_window_opens_maximized_with_its_caption_and_every_named_control()
    {
        SettingsTable table;
        RecordingDialogs dialogs;
        TfmMain fresh(table, dialogs);
        QVERIFY(fresh.windowState() & Qt::WindowMaximized);
        QCOMPARE(fresh.windowTitle(), QString("RW830KT  V1.0.7"));

        for (const char *name : {"grpFreq",
                                 "edtFreq",
                                 "edtSysCode",
                                 "GroupBox2",
                                 "cboCOM",
                                 "PageControl1",
                                 "tabTXPager",
                                 "TabSheet1",
                                 "TabSheet2",
                                 "edtNull",
                                 "StatusBar1",
                                 "PB1",
                                 "edtRangeTestDur",
                                 "cboPOCBaud",
                                 "edtPowLogo",
                                 "chkSendTwice",
                                 "cboMsgPage",
                                 "btnDataExport",
                                 "lblMsg0",
                                 "lblMsg9",
                                 "memMsg0",
                                 "memMsg9",
                                 "edtHeartBeat",
                                 "edtFlashLen",
                                 "cboOutOfServiceTM",
                                 "cboLowBatTM",
                                 "chkPagerAlertFlash",
                                 "chkPowerOnVibr",
                                 "chkLowBatBeep",
                                 "cboOutOfServiceAlertType",
                                 "cboPagerAlertType",
                                 "edtPagerAlertLen",
                                 "edtOutOfServiceAlertLen",
                                 "cboFunBitAPat",
                                 "cboFunBitDPat",
                                 "edtFunBitAFlashLen",
                                 "edtFunBitBAlertLen",
                                 "edtFunBitDFlashLen"})
            QVERIFY2(fresh.findChild<QWidget *>(name), name);
        QVERIFY(!fresh.findChild<QWidget *>("edtFunBitAAlertLen"));

        // Only the first page's tab is offered; "&&" shows as one ampersand.
        QCOMPARE(fresh.PageControl1->tabText(0), QString("TX && Canned Message"));
        QVERIFY(fresh.PageControl1->isTabVisible(0));
        QVERIFY(!fresh.PageControl1->isTabVisible(1));
        QVERIFY(!fresh.PageControl1->isTabVisible(2));
        QCOMPARE(fresh.edtNull->width(), 0);

        // The message rows are filed by their tags.
        for (int k = 0; k < 10; ++k) {
            QCOMPARE(fresh.MsgLabels[k]->objectName(), QString("lblMsg%1").arg(k));
            QCOMPARE(fresh.MsgMemos[k]->objectName(), QString("memMsg%1").arg(k));
        }
    }

    void menus_carry_their_shortcuts_and_about_shows_the_about_box()
    {
        WindowFixture f;
        QCOMPARE(f.w().mnuOpen->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(f.w().mnuSave->shortcut(), QKeySequence("Ctrl+S"));
        QVERIFY(f.w().mnuSaveAs->shortcut().isEmpty());
        QCOMPARE(f.w().mnuExit->shortcut(), QKeySequence("Ctrl+X"));
        QCOMPARE(f.w().mnuRead->shortcut(), QKeySequence("F3"));
        QCOMPARE(f.w().mnuWrite->shortcut(), QKeySequence("F4"));
        QCOMPARE(f.w().mnuCompareWithFile->shortcut(), QKeySequence("Ctrl+D"));
        QCOMPARE(f.w().mnuPrintSheet->shortcut(), QKeySequence("Ctrl+P"));
        QCOMPARE(f.w().mnuUndo->shortcut(), QKeySequence("Ctrl+Z"));
        QCOMPARE(f.w().mnuRedo->shortcuts(),
                 (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
        f.w().mnuAbout->trigger();
        QCOMPARE(f.dialogs.aboutShown, 1);
    }

    void every_menu_title_and_item_has_a_mnemonic_and_reads_as_designed()
    {
        WindowFixture f;
        const QList<QAction *> titles = f.w().menuBar()->actions();
        QCOMPARE(titles.size(), 4);
        const QStringList designed{"File", "Edit", "Transmitter", "About"};
        const QList<QStringList> items{
            {"Open", "Save", "Save As", "Revert", "", "Compare with File...",
             "Import Canned Message...", "", "Print Settings Sheet...", "Export Settings Sheet...",
             "", "Exit"},
            {"Undo", "Redo"},
            {"Read", "Write", "Compare", "Write to Several...", "", "Back Up Before Writing",
             "Record Line Trace", "", "Refresh Ports"}};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(QString(titles[i]->text()).remove('&'), designed[i]);
            QVERIFY2(!QKeySequence::mnemonic(titles[i]->text()).isEmpty(), qPrintable(designed[i]));
        }
        for (int i = 0; i < 3; ++i) {
            const QList<QAction *> actions = titles[i]->menu()->actions();
            QCOMPARE(actions.size(), items[i].size());
            QSet<QKeySequence> mnemonics;
            for (int k = 0; k < actions.size(); ++k) {
                QCOMPARE(QString(actions[k]->text()).remove('&'), items[i][k]);
                if (actions[k]->isSeparator())
                    continue;
                const QKeySequence m = QKeySequence::mnemonic(actions[k]->text());
                QVERIFY2(!m.isEmpty(), qPrintable(items[i][k]));
                mnemonics.insert(m);
            }
            // Each item its own letter.
            QCOMPARE(mnemonics.size(), items[i].size() - items[i].count(QString()));
        }
    }

    void alt_letters_and_f10_reach_save_as_and_about_from_the_keyboard()
    {
        WindowFixture f;
        f.clickInto(f.w().edtPowLogo);

        // Alt+F opens the File menu, A chooses Save As.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QMenu *file = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(file);
        QCOMPARE(file->title().remove('&'), QString("File"));
        QTest::keyClick(file, Qt::Key_A);
        QTRY_COMPARE(f.dialogs.fileDialogs.size(), 1);
        QVERIFY(!QApplication::activePopupWidget());

        // Alt+A is the About command itself.
        f.w().activateWindow(); // a closed menu leaves the offscreen window inactive
        QVERIFY(QTest::qWaitForWindowActive(&f.w()));
        f.clickInto(f.w().edtPowLogo);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(f.dialogs.aboutShown, 1);

        // F10 opens the first menu; the arrows walk through the menus, Enter runs an item.
        f.w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.w()));
        f.clickInto(f.w().edtPowLogo);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QCOMPARE(qobject_cast<QMenu *>(QApplication::activePopupWidget())->title().remove('&'),
                 QString("File"));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
        QTRY_COMPARE(qobject_cast<QMenu *>(QApplication::activePopupWidget())->title().remove('&'),
                     QString("Edit"));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
        QTRY_COMPARE(qobject_cast<QMenu *>(QApplication::activePopupWidget())->title().remove('&'),
                     QString("Transmitter"));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Left);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Left);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        // Export Settings Sheet, two up from the bottom: its save dialog.
        QTRY_COMPARE(f.dialogs.fileDialogs.size(), 2);
        QCOMPARE(f.dialogs.fileDialogs[1].defaultSuffix, QString("pdf"));
        f.w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.w()));

        // Alt alone takes the keyboard to the menu titles; Right walks on to About. An event
        // the X server delivers late (the activation above) cancels a pressed Alt, as it
        // would a person's, so a busy machine may need the key a second time.
        for (int tries = 0; tries < 3 && QApplication::focusWidget() != f.w().menuBar(); ++tries) {
            QApplication::processEvents();
            f.clickInto(f.w().edtPowLogo);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
        }
        QCOMPARE(QApplication::focusWidget(), f.w().menuBar());
        QTest::keyClick(f.w().menuBar(), Qt::Key_Right);
        QTest::keyClick(f.w().menuBar(), Qt::Key_Right);
        QTest::keyClick(f.w().menuBar(), Qt::Key_Right);
        QCOMPARE(f.w().menuBar()->activeAction(), f.w().mnuAbout);
        QTest::keyClick(f.w().menuBar(), Qt::Key_Return);
        QTRY_COMPARE(f.dialogs.aboutShown, 2);
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void the_about_box_names_the_product_and_closes_with_ok()
    {
        TfmAbout about;
        QCOMPARE(about.windowTitle(), QString("About"));
        QVERIFY(about.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
        QCOMPARE(about.findChild<QLabel *>("lblProduct")->text(), QString("RW830KT"));
        QVERIFY(about.findChild<QLabel *>("lblProduct")->font().bold());
        QCOMPARE(about.findChild<QLabel *>("lblVersion")->text(),
                 QString("Version 1.0.7 (2015.2.6)"));
        QCOMPARE(about.findChild<QLabel *>("lblLicence")->text(),
                 QString("License: GNU GPL, version 3 or later"));
        auto *ok = about.findChild<QPushButton *>("btnOK");
        QVERIFY(ok->isDefault());
        about.show();
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void the_status_bar_holds_the_progress_bar_and_the_ready_text()
    {
        WindowFixture f;
        QCOMPARE(f.w().PB1->parentWidget(), f.w().statusBar());
        QCOMPARE(f.w().PB1->width(), 260);
        QCOMPARE(f.w().PB1->value(), 0);
        QVERIFY(f.w().PB1->isVisible());
        QCOMPARE(f.w().StatusPanel1->text(), QString(" Ready"));

        // The text panel keeps at least its designed 100 pixels and fits every status text.
        // So it does after the desktop's font grows while the window is open.
        QLabel *panel = f.w().StatusPanel1;
        QVERIFY(panel->width() >= 100);
        const QFont before = QApplication::font();
        QFont larger = before;
        larger.setPointSizeF(before.pointSizeF() * 2);
        for (const QFont &font : {before, larger}) {
            QApplication::setFont(font); // reaches the widgets as a posted event
            QCoreApplication::sendPostedEvents();
            for (const char *text : {" Ready", "Write RW830KT ......", "Write ......",
                                     "Read RW830KT ......", "Ready ......"}) {
                panel->setText(text);
                QVERIFY2(panel->sizeHint().width() <= panel->width(), text);
                QVERIFY2(panel->sizeHint().height() <= panel->height(), text);
                QVERIFY2(panel->fontMetrics().horizontalAdvance(text) <=
                             panel->contentsRect().width(),
                         text);
            }
        }
        QApplication::setFont(before);
        QCoreApplication::sendPostedEvents();
    }

    void showing_parks_the_focus_and_mouse_moves_over_the_backgrounds_park_it()
    {
        WindowFixture f;
        QCOMPARE(QApplication::focusWidget(), f.w().edtNull);

        f.clickInto(f.w().edtSysCode);
        QCOMPARE(QApplication::focusWidget(), f.w().edtSysCode);
        QTest::mouseMove(f.w().grpFreq, QPoint(f.w().grpFreq->width() - 3, 3));
        QTRY_COMPARE(QApplication::focusWidget(), f.w().edtNull);

        f.clickInto(f.w().edtRangeTestDur);
        QTabBar *strip = f.w().PageControl1->tabBar();
        QTest::mouseMove(strip, strip->rect().center());
        QTRY_COMPARE(QApplication::focusWidget(), f.w().edtNull);
    }

    void ctrl_x_cuts_typed_text_and_exits_only_from_the_parking_place()
    {
        WindowFixture f;
        f.clickInto(f.w().edtSysCode);
        QTest::keyClicks(f.w().edtSysCode, "123");
        f.w().edtSysCode->selectAll();
        QTest::keyClick(f.w().edtSysCode, Qt::Key_X, Qt::ControlModifier);
        QApplication::processEvents();
        QVERIFY(f.w().isVisible());
        QCOMPARE(f.w().edtSysCode->text(), QString());
        QVERIFY(f.dialogs.boxes.isEmpty());

        f.clickInto(f.w().edtPowLogo);
        QTest::keyClick(f.w().edtPowLogo, Qt::Key_X, Qt::ControlModifier);
        QApplication::processEvents();
        QVERIFY(f.w().isVisible());

        f.clickInto(f.w().MsgMemos[0]);
        QTest::keyClicks(f.w().MsgMemos[0], "HELLO");
        f.w().MsgMemos[0]->selectAll();
        QTest::keyClick(f.w().MsgMemos[0], Qt::Key_X, Qt::ControlModifier);
        QApplication::processEvents();
        QVERIFY(f.w().isVisible());
        QCOMPARE(f.w().MsgMemos[0]->toPlainText(), QString());

        f.w().parkFocus();
        QTest::keyClick(f.w().edtNull, Qt::Key_X, Qt::ControlModifier);
        QApplication::processEvents();
        QVERIFY(!f.w().isVisible());
    }

    void half_the_designed_width_halves_lefts_widths_and_fonts()
    {
        WindowFixture f;
        const Relayout &layout = f.w().layoutRecord();
        QVERIFY(layout.entries().size() > 100);
        f.w().resize(TfmMain::DesignWidth / 2, TfmMain::DesignHeight);
        QApplication::processEvents();
        const double rx = double(TfmMain::DesignWidth / 2) / TfmMain::DesignWidth;
        for (const Relayout::Entry &e : layout.entries()) {
            const QRect g = e.widget->geometry();
            const QString name = e.widget->objectName();
            QCOMPARE(g.x(), int(e.geometry.x() * rx));
            QCOMPARE(g.width(), int(e.geometry.width() * rx));
            QVERIFY2(g.y() == e.geometry.y() && g.height() == e.geometry.height(),
                     qPrintable(name));
            if (e.pointSize > 0)
                QVERIFY2(e.widget->font().pointSize() == int(e.pointSize * rx), qPrintable(name));
        }
        QCOMPARE(f.w().PB1->width(), 260); // the status bar's panels are not scaled

        f.w().resize(TfmMain::DesignWidth, TfmMain::DesignHeight);
        QApplication::processEvents();
        for (const Relayout::Entry &e : layout.entries())
            QCOMPARE(e.widget->geometry(), e.geometry);
    }

    void scaling_truncates_toward_zero_and_skips_fonts_that_vanish()
    {
        QCOMPARE(scaleRect(QRect(7, 9, 11, 13), 0.5, 1.5), QRect(3, 13, 5, 19));
        QCOMPARE(scaleFontSize(9, 0.5, 1.0), 4);
        QCOMPARE(scaleFontSize(9, 0.1, 1.0), 0);
        QCOMPARE(scaleFontSize(0, 2.0, 2.0), 0);
    }

    void closing_ends_the_program_without_asking()
    {
        WindowFixture f;
        f.w().close();
        QVERIFY(!f.w().isVisible());
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void a_long_working_directory_is_the_program_directory()
    {
        QTemporaryDir base;
        QString deep = base.path();
        while (deep.size() < 320)
            deep += "/a_rather_long_folder_name";
        QVERIFY(QDir().mkpath(deep));
        const QString old = QDir::currentPath();
        QDir::setCurrent(deep);
        SettingsTable table;
        RecordingDialogs dialogs;
        TfmMain w(table, dialogs);
        QDir::setCurrent(old);
        QCOMPARE(w.programDirectory(), QDir(deep).absolutePath());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
