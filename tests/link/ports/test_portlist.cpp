// SPDX-License-Identifier: GPL-3.0-or-later
// The port lists: the Windows device-record rules and the list of other systems.

#include "link/ports/portlist.h"
#include "link/ports/portrecords.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace rw;

namespace {

std::vector<std::string> fallbackCom()
{
    std::vector<std::string> names;
    for (int i = 1; i <= 16; ++i)
        names.push_back("COM" + std::to_string(i));
    return names;
}

using Names = std::vector<std::string>;

} // namespace

class TestPortList : public QObject {
    Q_OBJECT
private slots:
    void windowsListsQualifyingPortsOnceInPortOrder()
    {
        const WindowsPortList l = windowsPortNames({
            {"USB Serial Port (COM10)", "Ser2pl"},
            {"Communications Port (COM3)", "Serial"},
            {"Prolific USB-to-Serial Comm Port (COM4)", "Ser2pl64"},
            {"Another adapter (COM4)", "Serial"}, // same number: the later one stays
            {"Printer Port (LPT1)", "Parport"},
        });
        QCOMPARE(l.names, (Names{"COM3", "COM4", "COM10"}));
        QCOMPARE(l.count, 4);
    }

    void windowsOtherServicesAndNamesWithoutComDoNotQualify()
    {
        // Case matters in both tests; other adapter drivers are not listed.
        const WindowsPortList l = windowsPortNames({
            {"USB Serial Device (COM5)", "usbser"},
            {"Modem (com6)", "Serial"},
            {"Bluetooth link (COM7)", "BTHMODEM"},
        });
        QCOMPARE(l.names, fallbackCom());
        QCOMPARE(l.count, 16);
        QCOMPARE(windowsPortNames({}).names, fallbackCom());
    }

    void windowsQualifyingDeviceWithoutClosingBracketIsCountedNotListed()
    {
        const WindowsPortList l = windowsPortNames({{"Odd port COM9", "Serial"}});
        QVERIFY(l.names.empty()); // counted, so no fallback either
        QCOMPARE(l.count, 1);
    }

    void windowsOddNumbersNeverLeaveTheTable()
    {
        const WindowsPortList l = windowsPortNames({
            {"Port (COM0)", "Serial"},
            {"Port (COM257)", "Serial"},
            {"Port (COM99999999999999999999)", "Serial"},
            {"Port (COMx)", "Serial"},
            {"Port (COM)", "Serial"},
            {"Port (COM-3)", "Serial"},
            {"Port (COM256)", "Serial"},
            {"Port (COM007)", "Serial"},
        });
        QCOMPARE(l.names, (Names{"COM007", "COM256"}));
        QCOMPARE(l.count, 8);
    }

    void windowsFindsTheNameAfterAnotherCom()
    {
        const WindowsPortList l = windowsPortNames({{"USB COMPOSITE Port (COM5)", "Serial"}});
        QCOMPARE(l.names, (Names{"COM5"}));
    }

    void windowsStopsAfterTwoHundredFiftyEightQualifyingDevices()
    {
        std::vector<PortDeviceRecord> records;
        for (int i = 0; i < 300; ++i)
            records.push_back({"Port (COM" + std::to_string(i % 256 + 1) + ")", "Serial"});
        records.push_back({"Late port (COM1)", "Serial"});
        const WindowsPortList l = windowsPortNames(records);
        QCOMPARE(l.count, 258);
        QCOMPARE(l.names.size(), std::size_t(256));
        QCOMPARE(l.names.front(), std::string("COM1"));
    }

    void naturalOrderComparesNumbersAsNumbers()
    {
        QVERIFY(naturalLess("ttyS2", "ttyS10"));
        QVERIFY(!naturalLess("ttyS10", "ttyS2"));
        QVERIFY(naturalLess("ttyS9", "ttyUSB0"));
        QVERIFY(naturalLess("ttyUSB1", "ttyUSB1a"));
        QVERIFY(naturalLess("ttyACM0", "ttyS0"));
        QVERIFY(!naturalLess("ttyS3", "ttyS3"));
        // Leading zeros: equal as numbers, still a strict order.
        QVERIFY(naturalLess("ttyS02", "ttyS2") != naturalLess("ttyS2", "ttyS02"));
    }

    void namedPortsComeFirstThenFoundPortsInNaturalOrderEachDeviceOnce()
    {
        const QStringList l =
            unixPortNames({{"/dev/pts/4", "/dev/pts/4"}, {"ttyUSB0", "/dev/ttyUSB0"}},
                          {{"ttyS10", "/dev/ttyS10"},
                           {"ttyUSB0", "/dev/ttyUSB0"},
                           {"ttyS2", "/dev/ttyS2"},
                           {"ttyACM0", "/dev/ttyACM0"}});
        QCOMPARE(l, (QStringList{"/dev/pts/4", "ttyUSB0", "ttyACM0", "ttyS2", "ttyS10"}));
    }

    void emptyListsFallBackToSixteenTtyS()
    {
        const QStringList l = unixPortNames({}, {});
        QCOMPARE(l.size(), 16);
        QCOMPARE(l.first(), QString("ttyS0"));
        QCOMPARE(l.last(), QString("ttyS15"));
        QCOMPARE(unixPortNames({{"/dev/pts/9", "/dev/pts/9"}}, {}), QStringList{"/dev/pts/9"});
    }

    void listNeverHoldsMoreThan256Names()
    {
        QList<FoundPort> found;
        for (int i = 0; i < 300; ++i)
            found.append({QString("ttyX%1").arg(i), QString("/dev/ttyX%1").arg(i)});
        QCOMPARE(unixPortNames({}, found).size(), MaxListedPorts);
    }

    void extraPortsAreReadFromTheSerialSection()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("RW830KT2485E.ini");
        QCOMPARE(extraPortNames(ini), QStringList()); // no file
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            "[System]\r\nOSCFreq=12800000\r\n[serial]\r\nExtraPorts= /dev/pts/7 ;;ttyUSB3 ;\r\n");
        f.close();
        QCOMPARE(extraPortNames(ini), (QStringList{"/dev/pts/7", "ttyUSB3"}));
        // ... and come first in the system's list.
        QCOMPARE(systemPortNames(ini).mid(0, 2), (QStringList{"/dev/pts/7", "ttyUSB3"}));
    }
};

QTEST_GUILESS_MAIN(TestPortList)
#include "test_portlist.moc"
