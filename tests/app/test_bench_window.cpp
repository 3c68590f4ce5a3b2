// SPDX-License-Identifier: GPL-3.0-or-later
// "Write to Several..." through the real main window, against several simulators.

#include "app/announcer.h"
#include "app/benchdialog.h"
#include "app/stopsignals.h"
#include "filledtable.h"
#include "link/line/commport.h"
#include "simulator.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <csignal>

using namespace rw;

namespace {

// The settings file of the program directory: the simulators' ports first in the list,
// and whatever else the test needs.
std::function<void(const QString &)> settings(const QStringList &devices,
                                              const QByteArray &more = {})
{
    return [devices, more](const QString &dir) {
        writeFile(dir + "/RW830KT2485E.ini",
                  "[Serial]\r\nExtraPorts=" + devices.join(';').toLocal8Bit() + "\r\n" + more);
    };
}

bool inputEnabled(TfmMain &w)
{
    return w.centralWidget()->isEnabled() && w.menuBar()->isEnabled() && w.mnuWrite->isEnabled() &&
           w.mnuWriteToSeveral->isEnabled();
}

QStringList column(BenchDialog &d, const QStringList &ports, int which)
{
    QStringList texts;
    for (const QString &p : ports)
        texts << d.row(p)->text(which);
    return texts;
}

// Presses a key where the focus is in the dialog, as a user does.
void press(BenchDialog &d, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &d;
    QTest::keyClick(target, key, mods);
}

} // namespace

class TestBenchWindow : public QObject {
    Q_OBJECT
private slots:
    void aSilentTransmitterNeitherHoldsBackNorSpoilsTheOthers()
    {
        // 100 ms before every reply: a Write takes about 3.2 s. The silent one answers four
        // requests, then its third block's acknowledgement times out after 3 s.
        std::array<SimulatorProcess, 4> sims;
        for (int i = 0; i < 3; ++i)
            QVERIFY(sims[i].start({"--latency", "100"}));
        QVERIFY(sims[3].start({"--latency", "100", "--silent-after", "4"}));
        QStringList devices;
        for (const SimulatorProcess &s : sims)
            devices << s.device();
        WindowFixture f(settings(devices));
        f.table.takeImage(tableOf('\x3A').buildImage());

        const QByteArray image = f.table.buildImage();
        const int selected = f.w().cboCOM->currentIndex();
        bool sampled = false;
        f.dialogs.onDialog = [&](QDialog &dialog) {
            auto &d = static_cast<BenchDialog &>(dialog);
            QCOMPARE(d.accessibleName(), QString("Write to Several"));
            QVERIFY(d.checkedPorts().isEmpty());
            QVERIFY(!d.btnWrite->isEnabled());
            // Space checks the current port; the arrow walks down the list.
            QVERIFY(QApplication::focusWidget() == d.list);
            for (int i = 0; i < 4; ++i) {
                press(d, Qt::Key_Space);
                press(d, Qt::Key_Down);
            }
            QCOMPARE(d.checkedPorts(), devices);
            // Written at once: a moment comes when every port has a block done and none
            // has ended, which one port after another never gives.
            QTimer look;
            look.setInterval(5);
            QObject::connect(&look, &QTimer::timeout, &d, [&] {
                for (const QString &p : devices) {
                    if (d.bar(p)->value() == 0)
                        return;
                }
                look.stop();
                for (const QString &p : devices)
                    QVERIFY(d.bar(p)->value() < d.bar(p)->maximum());
                QVERIFY(!inputEnabled(f.w()));
                QVERIFY(d.btnStop->isEnabled() && !d.btnWrite->isEnabled());
                QCOMPARE(column(d, devices, BenchDialog::BlockColumn).size(), 4);
                sampled = true;
            });
            look.start();
            press(d, Qt::Key_Return); // the default button: Write

            const QString healthy = "Write Success !";
            QCOMPARE(column(d, devices, BenchDialog::ResultColumn),
                     (QStringList{healthy, healthy, healthy,
                                  "Write Error ! The transmitter on " + devices[3] +
                                      " stopped answering at block 3 of 16 (nothing within 3 s). "
                                      "Check the cable and the transmitter's power, then try "
                                      "again. The Write ended at block 3 of 16: the transmitter "
                                      "now holds part of the new settings; write it again before "
                                      "use."}));
            QCOMPARE(column(d, devices, BenchDialog::BlockColumn),
                     (QStringList{"16 of 16", "16 of 16", "16 of 16", "3 of 16"}));
            QVERIFY(d.btnWrite->isEnabled() && !d.btnStop->isEnabled());
        };
        f.w().mnuWriteToSeveral->trigger();

        QCOMPARE(f.dialogs.dialogsShown, 1);
        QVERIFY(sampled);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(sims[i].memory(), memoryOf('\x3A'));
        QCOMPARE(sims[3].requests().size(), 5);
        // Nothing asked, nothing changed in the window; it takes input again.
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.table.buildImage(), image);
        QCOMPARE(f.w().cboCOM->currentIndex(), selected);
        QVERIFY(inputEnabled(f.w()));
        QVERIFY(!TCommPort::instance().IsOpen());
        QVERIFY(contents(f.dir.filePath("RW830KT2485E.ini"))
                    .contains("\r\n[Transmitter]\r\nBenchPorts=" + devices.join(';').toLocal8Bit() +
                              "\r\n"));
    }

    void escapeStopsEveryPortAndTheResultsStayUntilClosed()
    {
        // Both transmitters fall silent in the second block, one at its read-back (the
        // fourth request), one at its write (the third): each port waits for a reply that
        // only its 3 s time-out would end, and the stop comes once both wait.
        SimulatorProcess a, b;
        QVERIFY(a.start({"--silent-after", "3"}));
        QVERIFY(b.start({"--silent-after", "2"}));
        // The ports chosen last time come checked again; one not present stays remembered.
        WindowFixture f(settings({a.device(), b.device()},
                                 "[Transmitter]\r\nBenchPorts=" + b.device().toLocal8Bit() +
                                     ";/dev/gone;" + a.device().toLocal8Bit() + "\r\n"));
        const QByteArray image = f.table.buildImage();
        bool stillOpen = false;
        f.dialogs.onDialog = [&](QDialog &dialog) {
            auto &d = static_cast<BenchDialog &>(dialog);
            QCOMPARE(d.checkedPorts(), (QStringList{a.device(), b.device()}));
            bool escaped = false;
            const auto escapeWhenBothWait = [&] {
                if (!escaped && a.requestsTaken() >= 4 && b.requestsTaken() >= 3) {
                    escaped = true;
                    press(d, Qt::Key_Escape);
                }
            };
            a.whenRequests(4, escapeWhenBothWait);
            b.whenRequests(3, escapeWhenBothWait);
            d.writeClick();
            const QString stopped = "Write stopped during block 2 of 16: the transmitter now "
                                    "holds part of the new settings; write it again before use.";
            QCOMPARE(column(d, {a.device(), b.device()}, BenchDialog::ResultColumn),
                     (QStringList{stopped, stopped}));
            // The results stay, whatever the run's end left queued; a second Escape closes
            // the dialog.
            QCoreApplication::processEvents();
            stillOpen = d.isVisible();
            press(d, Qt::Key_Escape);
            QVERIFY(!d.isVisible());
        };
        f.w().mnuWriteToSeveral->trigger();

        QVERIFY(stillOpen);
        // No frame after the stop.
        QCOMPARE(a.requests().size(), 4);
        QCOMPARE(b.requests().size(), 3);
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.table.buildImage(), image);
        QVERIFY(inputEnabled(f.w()));
        QVERIFY(contents(f.dir.filePath("RW830KT2485E.ini"))
                    .contains("BenchPorts=" + a.device().toLocal8Bit() + ";" +
                              b.device().toLocal8Bit() + ";/dev/gone\r\n"));
    }

    void eachPortKeepsItsBackupAndTraceNamedInItsRowAndCopyTakesTheWholeBench()
    {
        SimulatorProcess a, b;
        QVERIFY(a.start({}, memoryOf('a')));
        QVERIFY(b.start({}, memoryOf('b')));
        WindowFixture f(settings({a.device(), b.device()},
                                 "[Transmitter]\r\nBackupBeforeWrite=1\r\nLineTrace=1\r\n"));
        f.table.takeImage(tableOf('\x77').buildImage());
        QString copied;
        f.dialogs.onDialog = [&](QDialog &dialog) {
            auto &d = static_cast<BenchDialog &>(dialog);
            press(d, Qt::Key_A, Qt::ControlModifier);
            QCOMPARE(d.checkedPorts().mid(0, 2), (QStringList{a.device(), b.device()}));
            // Only the simulators: uncheck whatever else the system lists.
            for (int i = 2; i < d.list->topLevelItemCount(); ++i)
                d.list->topLevelItem(i)->setCheckState(BenchDialog::PortColumn, Qt::Unchecked);
            QVERIFY(!d.btnCopy->isEnabled());
            d.btnWrite->click();
            QApplication::clipboard()->clear();
            press(d, Qt::Key_C, Qt::ControlModifier);
            copied = QApplication::clipboard()->text();
        };
        f.w().mnuWriteToSeveral->trigger();

        const QStringList backups = QDir(f.dir.filePath("backups")).entryList(QDir::Files);
        const QStringList traces = QDir(f.dir.filePath("traces")).entryList(QDir::Files);
        QCOMPARE(backups.size(), 2);
        QCOMPARE(traces.size(), 2);
        QStringList lines;
        for (const SimulatorProcess *s : {&a, &b}) {
            QCOMPARE(s->memory(), memoryOf('\x77'));
            const QString stem = s->device().mid(5).replace('/', '_'); // "pts_N"
            const QStringList kept =
                backups.filter(QRegularExpression("^" + stem + "-\\d{8}-\\d{6}\\.tbl$"));
            QCOMPARE(kept.size(), 1);
            const QString path = f.dir.filePath("backups/" + kept[0]);
            QCOMPARE(contents(path), memoryOf(s == &a ? 'a' : 'b'));
            // The port's own trace: the backup's 16 reads, then the Write's 32 requests.
            const QStringList traced =
                traces.filter(QRegularExpression("^" + stem + "-\\d{8}-\\d{6}\\.txt$"));
            QCOMPARE(traced.size(), 1);
            const QString trace = f.dir.filePath("traces/" + traced[0]);
            const QByteArray sent = " " + s->device().toLocal8Bit() + " >> ";
            QCOMPARE(contents(trace).count(sent), 48);
            QCOMPARE(contents(trace).count(" >> "), 48);
            lines << s->device() + "\tWrite Success !\tbackup: " + path + "; trace: " + trace;
        }
        QCOMPARE(copied, lines.join('\n') + '\n');
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    // The system stops the program during a bench: each port's trace ends with the stop
    // line of the command line, and the dialog and the window close.
    void aSignalStopsTheBenchAndEachTraceSaysSo()
    {
        SimulatorProcess a;
        QVERIFY(a.start({"--latency", "100"}));
        WindowFixture f(settings({a.device()}, "[Transmitter]\r\nLineTrace=1\r\n"));
        onStopSignals(f.w(), [&f](int signal) { f.w().stopForSignal(signal); });
        f.dialogs.onDialog = [&](QDialog &dialog) {
            auto &d = static_cast<BenchDialog &>(dialog);
            for (int i = 0; i < d.list->topLevelItemCount(); ++i)
                d.list->topLevelItem(i)->setCheckState(BenchDialog::PortColumn,
                                                       i == 0 ? Qt::Checked : Qt::Unchecked);
            // The first block through, the signal comes.
            QObject::connect(d.bar(a.device()), &QProgressBar::valueChanged, &d, [](int value) {
                if (value > 0)
                    ::raise(SIGTERM);
            });
            d.writeClick();
        };
        f.w().mnuWriteToSeveral->trigger();

        QTRY_VERIFY(!f.w().isVisible());
        const QStringList traces = QDir(f.dir.filePath("traces")).entryList(QDir::Files);
        QCOMPARE(traces.size(), 1);
        const QByteArray trace = contents(f.dir.filePath("traces/" + traces[0])).trimmed();
        const QByteArray last = trace.mid(trace.lastIndexOf('\n') + 1);
        QVERIFY2(QRegularExpression(" -- run stopped during block \\d+ by SIGTERM$")
                     .match(QString::fromLatin1(last))
                     .hasMatch(),
                 last.constData());
    }

    // A port that cannot be opened has a result of two paragraphs: its row and its copied
    // line hold them as one line, whole in the tooltip and for a screen reader; the
    // dialog's size is kept for the next time.
    void aLongResultIsOneLineWholeInItsTooltipAndTheSizeIsKept()
    {
        SimulatorProcess a;
        QVERIFY(a.start());
        const QString absent = "/dev/rw830kt-absent";
        WindowFixture f(settings({a.device(), absent}));
        QString copied;
        QStringList heard;
        QString result;
        f.dialogs.onDialog = [&](QDialog &dialog) {
            auto &d = static_cast<BenchDialog &>(dialog);
            QCOMPARE(d.size(), QSize(720, 360));
            QObject::connect(d.announcer, &Announcer::announced, &d,
                             [&](const QString &words) { heard << words; });
            for (int i = 0; i < d.list->topLevelItemCount(); ++i) {
                QTreeWidgetItem *row = d.list->topLevelItem(i);
                row->setCheckState(BenchDialog::PortColumn, i < 2 ? Qt::Checked : Qt::Unchecked);
            }
            d.btnWrite->click();
            QTreeWidgetItem *row = d.row(absent);
            result = row->text(BenchDialog::ResultColumn);
            QCOMPARE(row->toolTip(BenchDialog::ResultColumn), result);
            QCOMPARE(row->data(BenchDialog::ResultColumn, Qt::AccessibleDescriptionRole).toString(),
                     result);
            QCOMPARE(d.row(a.device())->data(BenchDialog::ProgressColumn, Qt::AccessibleTextRole),
                     QVariant("100 %"));
            d.copyClick();
            copied = QApplication::clipboard()->text();
            d.resize(800, 500);
        };
        f.w().mnuWriteToSeveral->trigger();

        QVERIFY2(result.startsWith("Write Error ! Error opening comm port. Port already in use? "),
                 qPrintable(result));
        QVERIFY(!result.contains('\n'));
        QCOMPARE(copied.count('\n'), 2);
        QCOMPARE(heard, QStringList{"Write to Several ended: 1 of 2 transmitters written and "
                                    "verified."});
        QVERIFY(contents(f.dir.filePath("RW830KT2485E.ini")).contains("BenchSize=800x500\r\n"));
        f.dialogs.onDialog = [&](QDialog &dialog) { QCOMPARE(dialog.size(), QSize(800, 500)); };
        f.w().mnuWriteToSeveral->trigger();
    }
};

QTEST_MAIN(TestBenchWindow)
#include "test_bench_window.moc"
