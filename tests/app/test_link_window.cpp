// SPDX-License-Identifier: GPL-3.0-or-later
// Read and Write through the real main window, against the transmitter simulator.

#include "link/line/commport.h"
#include "missingport.h"
#include "portheldelsewhere.h"
#include "serialserver.h"
#include "simulator.h"
#include "windowfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace rw;

namespace {

// The settings file of the program directory, naming the simulator's port.
std::function<void(const QString &)> namingPort(const QString &device)
{
    return [device](const QString &dir) {
        QFile ini(dir + "/RW830KT2485E.ini");
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Serial]\r\nExtraPorts=" + device.toLocal8Bit() + "\r\n");
    };
}

// A transmitter image whose general fields differ from the built-in defaults.
QByteArray transmitterImage()
{
    SettingsTable t;
    t.setBytes(Field::SysCode, "1234");
    t.setValue(Field::RangeTestDur, 60);
    t.setValue(Field::HeartBeat, 120);
    t.setValue(Field::FlashLen, 7);
    t.setValue(Field::SendTwice, 1);
    return t.buildImage();
}

// Everything the window shows in its edits, lists and check boxes.
QStringList controlsShown(TfmMain &w)
{
    QStringList shown;
    for (QLineEdit *e : w.findChildren<QLineEdit *>())
        shown << e->objectName() + "=" + e->text();
    for (QComboBox *c : w.findChildren<QComboBox *>())
        shown << c->objectName() + "=" + QString::number(c->currentIndex());
    for (QCheckBox *c : w.findChildren<QCheckBox *>())
        shown << c->objectName() + "=" + QString::number(c->isChecked());
    return shown;
}

// The number of ports the window lists when its first frame is painted.
class PortsAtFirstFrame : public QObject {
public:
    PortsAtFirstFrame() { QCoreApplication::instance()->installEventFilter(this); }
    ~PortsAtFirstFrame() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (auto *w = qobject_cast<TfmMain *>(watched);
            w && e->type() == QEvent::Paint && count < 0)
            count = w->cboCOM->count();
        return false;
    }
    int count = -1;
};

// The controls and the menus take input (the status bar is never disabled).
bool inputEnabled(TfmMain &w)
{
    return w.centralWidget()->isEnabled() && w.menuBar()->isEnabled();
}

} // namespace

class TestLinkWindow : public QObject {
    Q_OBJECT
private slots:
    void namedPortIsListedFirstAndSelected()
    {
        WindowFixture f(namingPort("/dev/pts/rw830kt-test"));
        QCOMPARE(f.w().cboCOM->itemText(0), QString("/dev/pts/rw830kt-test"));
        QCOMPARE(f.w().cboCOM->currentIndex(), 0);
    }

    void theWindowIsPaintedBeforeItListsThePorts()
    {
        PortsAtFirstFrame probe;
        WindowFixture f(namingPort("/dev/rw830kt-first;/dev/rw830kt-second"));
        QCOMPARE(probe.count, 0);
        QCOMPARE(f.w().cboCOM->itemText(0), QString("/dev/rw830kt-first"));
        QCOMPARE(f.w().cboCOM->itemText(1), QString("/dev/rw830kt-second"));
        QCOMPARE(f.w().cboCOM->currentIndex(), 0);
    }

    void aTransmitterBehindASerialServerIsListedAndProgrammed()
    {
        if (SerialServer::program().isEmpty())
            QSKIP("ser2net is not installed (scripts/install-deps.sh network)");
        SimulatorProcess sim;
        SerialServer server;
        QVERIFY(sim.start({}, transmitterImage()));
        QVERIFY(server.start(sim.device()));
        WindowFixture f(namingPort(server.rfc2217() + ";" + sim.device()));
        QCOMPARE(f.w().cboCOM->itemText(0), server.rfc2217());
        QCOMPARE(f.w().cboCOM->itemText(1), sim.device());
        QCOMPARE(f.w().cboCOM->currentIndex(), 0);

        f.w().mnuRead->trigger();
        QCOMPARE(f.dialogs.texts(), QStringList{"Read Success !"});
        QCOMPARE(f.table.buildImage(), transmitterImage());
        QCOMPARE(f.w().edtSysCode->text(), QString("1234"));

        // Every data byte 0xFF: each must cross the telnet line doubled and come back single.
        f.table.takeImage(QByteArray(1940, '\xFF'));
        f.w().mnuWrite->trigger();
        QCOMPARE(f.dialogs.texts(), (QStringList{"Read Success !", "Write Success !"}));
        QByteArray expected(2048, '\0');
        expected.replace(0, 1940, QByteArray(1940, '\xFF'));
        QCOMPARE(sim.memory(), expected);
        QCOMPARE(f.w().StatusPanel1->text(), QString("Ready ......"));
        QVERIFY(inputEnabled(f.w()));
        QVERIFY(!TCommPort::instance().IsOpen());
    }

    void readReplacesTheTableAndRefreshesEveryControl()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({}, transmitterImage()));
        WindowFixture f(namingPort(sim.device()));
        QVERIFY(f.w().edtSysCode->text() != "1234");

        f.w().mnuRead->trigger();

        QCOMPARE(f.dialogs.texts(), QStringList{"Read Success !"});
        QCOMPARE(f.dialogs.boxes[0].caption, QString("RW830KT"));
        QCOMPARE(f.dialogs.boxes[0].icon, BoxIcon::Warning);
        QCOMPARE(f.table.buildImage(), transmitterImage());
        QCOMPARE(f.w().edtSysCode->text(), QString("1234"));
        QCOMPARE(f.w().edtRangeTestDur->text(), QString("60"));
        QCOMPARE(f.w().edtHeartBeat->text(), QString("120"));
        QVERIFY(f.w().chkSendTwice->isChecked());
        QCOMPARE(f.w().StatusPanel1->text(), QString("Ready ......"));
        QCOMPARE(f.w().PB1->value(), 0);
        QVERIFY(inputEnabled(f.w()));
        QVERIFY(!TCommPort::instance().IsOpen());
    }

    void failedReadLeavesTableAndControlsAsTheyWere()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--bad-checksum", "16"}, transmitterImage()));
        WindowFixture f(namingPort(sim.device()));
        const QByteArray table = f.table.buildImage();
        const QStringList shown = controlsShown(f.w());
        bool disabledWhileTelling = true;
        f.dialogs.onMessage = [&](const MessageBoxRequest &) {
            disabledWhileTelling = disabledWhileTelling && !inputEnabled(f.w());
        };

        f.w().mnuRead->trigger();

        QCOMPARE(
            f.dialogs.texts(),
            (QStringList{"Checksum Error !",
                         "Read Error !\n\nBlock 16 of 16 from the transmitter on " + sim.device() +
                             " arrived with a wrong checksum: the line garbled it. Check "
                             "the cable, then try again."}));
        QVERIFY(disabledWhileTelling);
        QCOMPARE(f.table.buildImage(), table);
        QCOMPARE(controlsShown(f.w()), shown);
        QCOMPARE(f.w().StatusPanel1->text(), QString("Ready ......"));
        QCOMPARE(f.w().PB1->value(), 0);
        QVERIFY(inputEnabled(f.w()));
        QVERIFY(!TCommPort::instance().IsOpen());
    }

    void writeSendsTheTableAndTheBarShowsFullPastItsMaximum()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--verify-mismatch", "14"}));
        WindowFixture f(namingPort(sim.device()));
        int barAtError = -1;
        bool portOpenAtError = false;
        f.dialogs.onMessage = [&](const MessageBoxRequest &) {
            barAtError = f.w().PB1->value();
            // A failed Write tells first and closes the port once the box is answered.
            const PortHeldElsewhere other(sim.device());
            portOpenAtError = !other.holding();
        };

        f.w().mnuWrite->trigger();

        // Thirteen blocks went through: position 1664 is past the maximum of 1600.
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Verify Error !\n\nBlock 14 of 16 read back from the transmitter on " +
                             sim.device() +
                             " differs from what was written: the transmitter did not keep it. "
                             "Write again; when it fails at the same block again, the "
                             "transmitter needs service. The Write ended at block 14 of 16: the "
                             "transmitter now holds part of the new settings; write it again "
                             "before use."});
        QCOMPARE(f.w().PB1->maximum(), 1600);
        QCOMPARE(barAtError, 1600);
        QVERIFY(portOpenAtError);
        QCOMPARE(f.w().PB1->value(), 0);
        QCOMPARE(sim.memory().left(13 * 128), f.table.buildImage().left(13 * 128));

        // Written again without the fault, every block arrives.
        SimulatorProcess good;
        QVERIFY(good.start());
        f.w().cboCOM->addItem(good.device());
        f.w().cboCOM->setCurrentIndex(f.w().cboCOM->count() - 1);
        f.dialogs.clear();
        f.w().mnuWrite->trigger();
        QCOMPARE(f.dialogs.texts(), QStringList{"Write Success !"});
        QCOMPARE(good.memory(), f.table.buildImage());
    }

    void duringATransferTheStatusStaysReadableAndNoKeyStartsAnything()
    {
        SimulatorProcess sim;
        QVERIFY(sim.start({"--baud", "19200"}, transmitterImage()));
        WindowFixture f(namingPort(sim.device()));
        const QList<QAction *> actions{f.w().mnuOpen, f.w().mnuSave, f.w().mnuSaveAs,
                                       f.w().mnuExit, f.w().mnuRead, f.w().mnuWrite,
                                       f.w().mnuAbout};
        QList<std::shared_ptr<QSignalSpy>> spies;
        for (QAction *a : actions)
            spies.append(std::make_shared<QSignalSpy>(a, &QAction::triggered));

        bool sampled = false;
        // During the third block's read.
        sim.whenRequests(3, [&] {
            TfmMain &w = f.w();
            QVERIFY(w.btnStop->isVisible());
            QVERIFY2(w.StatusPanel1->text().startsWith("Read: block "),
                     qPrintable(w.StatusPanel1->text()));
            QVERIFY(w.StatusPanel1->isEnabled());
            QVERIFY(w.PB1->isEnabled());
            QVERIFY(w.PB1->value() > 0);
            QVERIFY(!inputEnabled(w));
            QVERIFY(!w.edtFreq->isEnabled() && !w.MsgMemos[0]->isEnabled());
            const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
                {Qt::Key_F3, Qt::NoModifier},     {Qt::Key_F4, Qt::NoModifier},
                {Qt::Key_O, Qt::ControlModifier}, {Qt::Key_S, Qt::ControlModifier},
                {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_F10, Qt::NoModifier},
                {Qt::Key_F, Qt::AltModifier},     {Qt::Key_A, Qt::AltModifier},
                {Qt::Key_Alt, Qt::NoModifier}};
            for (auto [key, mods] : keys) {
                QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
                QTest::keyClick(target, key, mods);
                QVERIFY(!QApplication::activePopupWidget());
            }
            for (QAction *title : w.menuBar()->actions()) {
                QTest::mouseClick(w.menuBar(), Qt::LeftButton, {},
                                  w.menuBar()->actionGeometry(title).center());
                QVERIFY(!QApplication::activePopupWidget());
            }
            sampled = true;
        });
        f.w().mnuRead->trigger();

        QVERIFY(sampled);
        QCOMPARE(f.dialogs.texts(), QStringList{"Read Success !"});
        QVERIFY(f.dialogs.fileDialogs.isEmpty());
        QCOMPARE(f.dialogs.aboutShown, 0);
        QVERIFY(f.w().isVisible());
        for (int i = 0; i < actions.size(); ++i)
            QVERIFY2(spies[i]->isEmpty() == (actions[i] != f.w().mnuRead),
                     qPrintable(actions[i]->text()));

        // Afterwards the menus and their keys work again.
        QVERIFY(inputEnabled(f.w()));
        QTest::keyClick(&f.w(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.dialogs.fileDialogs.size(), 1);
    }

    void portThatCannotBeOpenedIsToldInAPlainBox()
    {
        WindowFixture f(namingPort("/dev/rw830kt-no-such-port"));
        f.w().mnuWrite->trigger();
        QCOMPARE(f.dialogs.texts(),
                 (QStringList{"Error opening comm port. Port already in use?\n\n" +
                                  missingPortReason("/dev/rw830kt-no-such-port"),
                              "Write Error !"}));
        QCOMPARE(f.dialogs.boxes[0].icon, BoxIcon::None);
        QCOMPARE(f.dialogs.boxes[1].icon, BoxIcon::Warning);
        QVERIFY(inputEnabled(f.w()));
    }
};

QTEST_MAIN(TestLinkWindow)
#include "test_link_window.moc"
