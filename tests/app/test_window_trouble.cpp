// SPDX-License-Identifier: GPL-3.0-or-later
// The window when a transfer goes wrong or has to stop, through the real main window
// against the transmitter simulator: the cause under the box, Stop and Escape, the close
// box and the system's signals during a transfer, the line trace, the port list as ports
// come and go, and a blank transmitter.

#include "app/stopsignals.h"
#include "link/line/commport.h"
#include "portheldelsewhere.h"
#include "simulator.h"
#include "synth/synthsettings.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>

#include <csignal>

using namespace rw;

namespace {

QString settingsFile(const QString &dir)
{
    return dir + "/RW830KT2485E.ini";
}

// The settings file of the program directory, naming `ports` first in the port list.
std::function<void(const QString &)> namingPort(const QString &ports)
{
    return [ports](const QString &dir) {
        writeFile(settingsFile(dir), "[Serial]\r\nExtraPorts=" + ports.toLocal8Bit() + "\r\n");
    };
}

// The controls and the menus take input again, and the Stop button is gone.
bool idleAgain(TfmMain &w)
{
    return w.centralWidget()->isEnabled() && w.menuBar()->isEnabled() && !w.btnStop->isVisible() &&
           w.StatusPanel1->text() == "Ready ......" && w.PB1->value() == 0 &&
           !TCommPort::instance().IsOpen();
}

// An image whose general fields differ from the built-in defaults.
QByteArray transmitterImage()
{
    SettingsTable t;
    t.setBytes(Field::SysCode, "1234");
    t.setValue(Field::HeartBeat, 120);
    return t.buildImage();
}

} // namespace

class TestWindowTrouble : public QObject {
    Q_OBJECT
private slots:
    void aSilentTransmitterIsToldWithItsCauseAndThePort()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--silent-after", "0"}));
        WindowFixture f(namingPort(sim.device()));

        f.w().mnuWrite->trigger();

        const QString port = sim.device();
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Write Error !\n\nThe transmitter on " + port +
                             " did not answer within 3 s. Check that it is switched on and in "
                             "programming mode, and that the cable is in " +
                             port +
                             ". The Write ended at block 1 of 16: the transmitter may hold part "
                             "of the new settings; write it again before use."});
        QVERIFY(idleAgain(f.w()));
    }

    // Unplugged during block 3's read-back: the box says where the Write ended and what the
    // transmitter now holds.
    void aPortPulledDuringAWriteNamesTheBlockAndTellsToWriteAgain()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--hangup-after", "5"}));
        WindowFixture f(namingPort(sim.device()));

        f.w().mnuWrite->trigger();

        QCOMPARE(f.dialogs.texts().size(), 1);
        const QString told = f.dialogs.texts()[0];
        QVERIFY2(told.startsWith("Verify Error !\n\nThe serial port stopped working during the "
                                 "transfer") &&
                     told.endsWith("Check the cable and the serial adapter. The Write ended at "
                                   "block 3 of 16: the transmitter now holds part of the new "
                                   "settings; write it again before use."),
                 qPrintable(told));
        QVERIFY(idleAgain(f.w()));
    }

    void escapeStopsAPacedWriteAtOnceAndTheNextWriteWritesItAll()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--baud", "19200"}));
        WindowFixture f(namingPort(sim.device()));
        f.table.setValue(Field::HeartBeat, 77);
        bool stopOffered = false;
        int blocksDone = -1;
        // Once the simulator has the third block's write: two blocks are done, and the
        // window waits for the third's acknowledgement.
        sim.whenRequests(5, [&] {
            stopOffered =
                f.w().btnStop->isVisible() && f.w().btnStop->accessibleName() == "Stop transfer";
            QVERIFY(f.w().StatusPanel1->text().startsWith("Write: block "));
            blocksDone = f.w().PB1->value() / 128;
            // Where the window system sends the key: the focus, or the active window.
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                          : QApplication::activeWindow();
            QTest::keyClick(target ? target : &f.w(), Qt::Key_Escape);
        });

        f.w().mnuWrite->trigger();

        QVERIFY(stopOffered);
        // The window shows the port thread's reports at its own pace: by the third block's
        // write it shows the first block done, or the second.
        QVERIFY2(blocksDone == 1 || blocksDone == 2, qPrintable(QString::number(blocksDone)));
        // No frame after the stop: at most the third block's read-back.
        QVERIFY(sim.requests().size() <= 6);
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Write stopped during block 3 of 16: the transmitter now holds part "
                             "of the new settings; write it again before use."});
        QVERIFY(idleAgain(f.w()));
        {
            PortHeldElsewhere other(sim.device());
            QVERIFY(other.holding());
        }

        f.dialogs.clear();
        f.w().mnuWrite->trigger();
        QCOMPARE(f.dialogs.texts(), QStringList{"Write Success !"});
        QCOMPARE(sim.memory(), f.table.buildImage());
    }

    void theStopButtonEndsAReadAndTheTableStaysAsItWas()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--baud", "19200"}, transmitterImage()));
        WindowFixture f(namingPort(sim.device()));
        const QByteArray before = f.table.buildImage();
        const QString sysCode = f.w().edtSysCode->text();
        sim.whenRequests(3, [&] { QTest::mouseClick(f.w().btnStop, Qt::LeftButton); });

        f.w().mnuRead->trigger();

        QCOMPARE(f.dialogs.texts().size(), 1);
        QVERIFY2(QRegularExpression("^Read stopped during block \\d+ of 16: nothing was changed.$")
                     .match(f.dialogs.texts()[0])
                     .hasMatch(),
                 qPrintable(f.dialogs.texts()[0]));
        QCOMPARE(f.table.buildImage(), before);
        QCOMPARE(f.w().edtSysCode->text(), sysCode);
        QVERIFY(!f.w().hasUnsavedEdits());
        QVERIFY(idleAgain(f.w()));
    }

    void theCloseBoxAsksAndStopsTheTransferBeforeTheWindowCloses()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--baud", "19200"}, transmitterImage()));
        WindowFixture f(namingPort(sim.device()));
        const QByteArray before = f.table.buildImage();
        bool closedAtOnce = true;

        // Declined: the transfer goes on to its end.
        f.dialogs.nextAnswer = BoxAnswer::No;
        sim.whenRequests(3, [&] { closedAtOnce = f.w().close(); });
        f.w().mnuRead->trigger();
        QVERIFY(!closedAtOnce);
        QCOMPARE(f.dialogs.texts(), (QStringList{TfmMain::StopAndQuitQuestion, "Read Success !"}));
        QVERIFY(f.w().isVisible());

        // Agreed: stopped, nothing read, no box holds the close up, and the window closes.
        const QByteArray read = f.table.buildImage();
        QVERIFY(read != before);
        f.dialogs.clear();
        f.dialogs.nextAnswer = BoxAnswer::Yes;
        sim.whenRequests(16 + 3, [&] { f.w().close(); });
        f.w().mnuRead->trigger();
        QCOMPARE(f.table.buildImage(), read);
        QVERIFY(!TCommPort::instance().IsOpen());
        QTRY_VERIFY(!f.w().isVisible());
        QCOMPARE(f.dialogs.texts(), QStringList{TfmMain::StopAndQuitQuestion});
    }

    void aSignalStopsTheWriteAndTheWindowClosesWithThePortClosed()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--baud", "19200"}));
        WindowFixture f(namingPort(sim.device()));
        onStopSignals(f.w(), [&f](int signal) { f.w().stopForSignal(signal); });
        sim.whenRequests(5, [] { ::kill(::getpid(), SIGTERM); });

        f.w().mnuWrite->trigger();

        QVERIFY(!TCommPort::instance().IsOpen());
        QVERIFY(f.dialogs.texts().isEmpty());
        QVERIFY(sim.requests().size() < 32);
        QTRY_VERIFY(!f.w().isVisible());
        QCOMPARE(f.w().stopSignal(), SIGTERM);
        PortHeldElsewhere other(sim.device());
        QVERIFY(other.holding());
    }

    void aRecordedTraceHoldsEveryFrameOfAWriteInTheCommandLinesFormat()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start());
        WindowFixture f(namingPort(sim.device()));
        QVERIFY(!f.w().mnuRecordLineTrace->isChecked());
        f.w().mnuRecordLineTrace->trigger();
        QVERIFY(contents(settingsFile(f.dir.path())).contains("[Transmitter]\r\nLineTrace=1\r\n"));

        f.w().mnuWrite->trigger();

        const QStringList traces = QDir(f.dir.filePath("traces")).entryList(QDir::Files);
        QCOMPARE(traces.size(), 1);
        const QString path = f.dir.filePath("traces/" + traces[0]);
        QVERIFY2(QRegularExpression("^pts_\\d+-\\d{8}-\\d{6}\\.txt$").match(traces[0]).hasMatch(),
                 qPrintable(traces[0]));
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Write Success !\n\nThe line trace is in " + path + "."});
        const QList<QByteArray> lines = contents(path).split('\n');
        const QRegularExpression frame(
            "^\\d+\\.\\d{6} " + QRegularExpression::escape(sim.device()) + " >> 54 65 61 6C ");
        int frames = 0;
        for (const QByteArray &line : lines)
            frames += frame.match(QString::fromLatin1(line)).hasMatch();
        QCOMPARE(frames, 32);
    }

    void thePortListShowsThePortsPresentNowKeepingTheSelection()
    {
        WindowFixture f;
        QCOMPARE(f.w().cboCOM->findText("/dev/rw830kt-later"), -1);
        writeFile(settingsFile(f.dir.path()), "[Serial]\r\nExtraPorts=/dev/rw830kt-later\r\n");

        const QString chosen = f.w().cboCOM->currentText();

        f.w().mnuRefreshPorts->trigger();
        QCOMPARE(f.w().cboCOM->itemText(0), QString("/dev/rw830kt-later"));
        // The port chosen before is still there (the system's, or the fallback names).
        QCOMPARE(f.w().cboCOM->currentText(), chosen);
        f.w().cboCOM->setCurrentIndex(0);

        // Opened from the keyboard, the list is made again; the chosen port stays chosen.
        writeFile(settingsFile(f.dir.path()),
                  "[Serial]\r\nExtraPorts=/dev/rw830kt-first;/dev/rw830kt-later\r\n");
        f.w().cboCOM->setFocus();
        QTest::keyClick(f.w().cboCOM, Qt::Key_Down, Qt::AltModifier);
        f.w().cboCOM->hidePopup();
        QCOMPARE(f.w().cboCOM->itemText(0), QString("/dev/rw830kt-first"));
        QCOMPARE(f.w().cboCOM->currentText(), QString("/dev/rw830kt-later"));
    }

    // Zeros from a blank transmitter replace neither the table nor the settings file.
    void aBlankReadChangesNothingInTheWindowOrTheSettingsFile()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({}, QByteArray(2048, '\0')));
        QByteArray before;
        {
            WindowFixture f(namingPort(sim.device()));
            f.typeAndEnter(f.w().edtFreq, "460350000");
            QVERIFY(f.w().close());
            before = contents(settingsFile(f.dir.path()));
        }
        WindowFixture f([&](const QString &dir) { writeFile(settingsFile(dir), before); });
        const QByteArray table = f.table.buildImage();
        f.w().mnuRead->trigger();
        QCOMPARE(f.dialogs.texts(), QStringList{"Read Success !\n\nThe transmitter holds no "
                                                "settings. The window keeps its table."});
        QVERIFY(f.table.buildImage() == table);
        QCOMPARE(f.w().edtFreq->text(), QString("460350000"));
        QVERIFY(!f.w().windowTitle().contains('*'));
        QVERIFY(f.w().close());
        QCOMPARE(contents(settingsFile(f.dir.path())), before);
    }

    // An entry the next start refuses is written as entered, and that start names it.
    void aFrequencyTheNextStartRefusesIsWrittenAndNamed()
    {
        QByteArray written;
        {
            WindowFixture f([](const QString &dir) {
                writeFile(settingsFile(dir), "[Reg 1]\r\nRF_P=1\r\n[Reg 0]\r\nRF_N=60\r\n");
            });
            f.typeAndEnter(f.w().edtFreq, "462025000");
            QCOMPARE(f.w().edtFreq->text(), QString("462025000"));
            QVERIFY(f.w().close());
            written = contents(settingsFile(f.dir.path()));
        }
        QVERIFY2(written.contains("[Reg 0]\r\nRF_N=31\r\n"), written.constData());
        WindowFixture again([&](const QString &dir) { writeFile(settingsFile(dir), written); });
        QCOMPARE(again.dialogs.texts().size(), 1);
        QVERIFY2(again.dialogs.texts()[0].startsWith("49 < RF_N < 2046 !\n\nKey RF_N in section "
                                                     "[Reg 0] of "),
                 qPrintable(again.dialogs.texts()[0]));
    }
};

QTEST_MAIN(TestWindowTrouble)
#include "test_window_trouble.moc"
