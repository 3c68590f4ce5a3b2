// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a screen reader hears it, read through Qt's accessibility interfaces and
// the window's announcements (reads-over-atspi.sh hears the same over the real bus): a
// numeric field's stored value once it has emptied for typing, where the focus parks and
// where Tab goes on, a transfer told from start to end with Stop in reach of Tab, and a
// message that is full.

#include "app/announcer.h"
#include "link/line/commport.h"
#include "simulator.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace rw;

namespace {

QAccessibleInterface *reader(QObject *o)
{
    return QAccessible::queryAccessibleInterface(o);
}

std::function<void(const QString &)> namingPort(const QString &port)
{
    return [port](const QString &dir) {
        writeFile(dir + "/RW830KT2485E.ini",
                  "[Serial]\r\nExtraPorts=" + port.toLocal8Bit() + "\r\n");
    };
}

// Presses a key where the window system sends it: the focus, or else the window.
void press(TfmMain &w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
    QTest::keyClick(target, key, mods);
    QApplication::processEvents();
}

// Every announcement the window makes while it lives; `onWords` runs as each is made, so
// that a test acts on the event itself.
struct Heard {
    explicit Heard(TfmMain &w)
    {
        QObject::connect(&w.announcer(), &Announcer::announced, &w.announcer(),
                         [this](const QString &words) {
                             said << words;
                             if (onWords)
                                 onWords(words);
                         });
    }
    QStringList said;
    std::function<void(const QString &)> onWords;
};

} // namespace

class TestWindowHeard : public QObject {
    Q_OBJECT
private slots:
    void anEmptiedFieldStillTellsTheValueItStores()
    {
        WindowFixture f;
        f.typeAndEnter(f.w().edtFreq, "462025000");
        f.typeAndEnter(f.w().edtSysCode, "7");
        const struct {
            QLineEdit *edit;
            QString described;
        } fields[] = {
            {f.w().edtFreq, "stored: 462025000 Hz; accepts Hertz, up to 9 digits, a multiple of "
                            "12500, 10000, 6250, 5000 or 2500"},
            {f.w().edtSysCode, "stored: 0007; accepts 0 to 2000"},
            {f.w().edtRangeTestDur, "stored: 30 seconds; accepts 0, or 10 to 240 seconds"},
        };
        for (const auto &field : fields) {
            f.clickInto(field.edit);
            QCOMPARE(field.edit->text(), QString());
            QCOMPARE(reader(field.edit)->text(QAccessible::Description), field.described);
        }
        // A new table (a Read, an Open) is told as it is shown.
        f.table.setValue(Field::RangeTestDur, 240);
        f.w().RefreshControls();
        QCOMPARE(reader(f.w().edtRangeTestDur)->text(QAccessible::Description),
                 QString("stored: 240 seconds; accepts 0, or 10 to 240 seconds"));
    }

    void enterParksOnALineThatSaysWhatWasStoredAndTabGoesOnFromTheField()
    {
        WindowFixture f;
        Heard heard(f.w());
        f.typeAndEnter(f.w().edtSysCode, "7");

        QCOMPARE(QApplication::focusWidget(), f.w().edtNull);
        QAccessibleInterface *parked = reader(f.w().edtNull);
        QCOMPARE(parked->text(QAccessible::Name),
                 QString("System Code, stored: 0007. Tab goes to COM Port"));
        QCOMPARE(parked->role(), QAccessible::StaticText);
        press(f.w(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.w().cboCOM);

        // Shift+Tab from the first field never lands on the parking place.
        f.clickInto(f.w().edtFreq);
        press(f.w(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(QApplication::focusWidget() != f.w().edtNull);
        // The window's name carries the unsaved mark, as its title does.
        QCOMPARE(reader(&f.w())->text(QAccessible::Name), "*" + f.w().windowTitle());

        // A value committed by Tab is announced: the focus moves to a control that speaks
        // of itself.
        QVERIFY(heard.said.isEmpty()); // the parking place itself said it
        f.clickInto(f.w().edtRangeTestDur);
        QTest::keyClicks(f.w().edtRangeTestDur, "60");
        press(f.w(), Qt::Key_Tab);
        QCOMPARE(heard.said, QStringList{"Range test duration, stored: 60 seconds"});
    }

    void aWriteIsToldFromStartToEndAndStopIsReachedWithTab()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--baud", "19200"}));
        WindowFixture f(namingPort(sim.device()));
        Heard heard(f.w());
        QWidget *tabbedTo = nullptr;
        // Half-way through, Tab reaches Stop while the rest of the window is disabled;
        // Space presses it.
        heard.onWords = [&](const QString &words) {
            if (words != "Write: 8 of 16 blocks done.")
                return;
            press(f.w(), Qt::Key_Tab);
            tabbedTo = QApplication::focusWidget();
            if (tabbedTo == f.w().btnStop)
                QTest::keyClick(f.w().btnStop, Qt::Key_Space);
        };

        f.w().mnuWrite->trigger();

        QCOMPARE(tabbedTo, f.w().btnStop);
        const QString port = sim.device();
        QCOMPARE(
            heard.said,
            (QStringList{"Write started on " + port + ".", "Write: 4 of 16 blocks done.",
                         "Write: 8 of 16 blocks done.", "Write ended: stopped during block 9."}));
        // Input is back, and so is the focus, where it was.
        QCOMPARE(QApplication::focusWidget(), f.w().edtNull);

        heard.onWords = {};
        f.w().mnuCompare->trigger();
        QCOMPARE(heard.said.last(), QString("Compare ended: read and compared."));
    }

    void aKeyDroppedFromAFullMessageIsToldOnce()
    {
        WindowFixture f;
        Heard heard(f.w());
        f.w().cboMsgPage->setCurrentIndex(1);
        f.w().cboMsgPageClick();
        f.clickInto(f.w().MsgMemos[2]);
        QTest::keyClicks(f.w().MsgMemos[2], QString(50, 'x'));
        QVERIFY(heard.said.isEmpty());
        QTest::keyClicks(f.w().MsgMemos[2], "yz");
        QCOMPARE(f.w().MsgMemos[2]->toPlainText(), QString(50, 'x'));
        QCOMPARE(f.w().StatusPanel1->text(), QString("Message 13 is full: 50 characters"));
        QCOMPARE(heard.said, QStringList{"Message 13 is full: 50 characters"});
    }
};

QTEST_MAIN(TestWindowHeard)
#include "test_window_heard.moc"
