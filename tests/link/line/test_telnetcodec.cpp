// SPDX-License-Identifier: GPL-3.0-or-later
// The telnet side of a network serial line, bytes in and bytes out.

#include "link/line/telnetcodec.h"

#include <QTest>

using namespace rw::telnet;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// A codec that has sent its opening requests, as the line does.
Codec started()
{
    Codec c;
    c.start();
    return c;
}

} // namespace

class TestTelnetCodec : public QObject {
    Q_OBJECT
private slots:
    void dataGoingOutHasEvery0xFFDoubled()
    {
        QCOMPARE(escapeData(bytes({0x54, 0xFF, 0x00, 0xFF, 0xFF, 0x0D, 0x0A})),
                 bytes({0x54, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x0D, 0x0A}));
        QCOMPARE(escapeData(QByteArray(128, '\xFF')).size(), 256);
        QCOMPARE(escapeData(bytes({0x10, 0xFE, 0xF0})), bytes({0x10, 0xFE, 0xF0}));
    }

    void doubled0xFFComingInIsOneDataByteEvenWhenSplitBetweenPieces()
    {
        Codec c = started();
        QCOMPARE(c.feed(bytes({0x41, 0xFF})), bytes({0x41}));
        QCOMPARE(c.feed(bytes({0xFF, 0x42, 0xFF, 0xFF, 0xFF})), bytes({0xFF, 0x42, 0xFF}));
        QCOMPARE(c.feed(bytes({0xFF, 0x0D, 0x00})), bytes({0xFF, 0x0D, 0x00}));
        QVERIFY(c.takeReplies().isEmpty());
    }

    void theOpeningAsksForBinaryBothWaysAndOffersTheComPortOption()
    {
        Codec c;
        QCOMPARE(c.start(), bytes({0xFF, 0xFB, 0x00, 0xFF, 0xFD, 0x00, 0xFF, 0xFB, 0x2C}));
    }

    void lineSetupIs19200EightNoneOneWithoutFlowControlAndDtrRtsOn()
    {
        const QByteArray expected = bytes({
            0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0x4B, 0x00, 0xFF, 0xF0, // 19200 baud
            0xFF, 0xFA, 0x2C, 0x02, 0x08, 0xFF, 0xF0,                   // 8 data bits
            0xFF, 0xFA, 0x2C, 0x03, 0x01, 0xFF, 0xF0,                   // no parity
            0xFF, 0xFA, 0x2C, 0x04, 0x01, 0xFF, 0xF0,                   // one stop bit
            0xFF, 0xFA, 0x2C, 0x05, 0x01, 0xFF, 0xF0,                   // no flow control
            0xFF, 0xFA, 0x2C, 0x05, 0x08, 0xFF, 0xF0,                   // DTR on
            0xFF, 0xFA, 0x2C, 0x05, 0x0B, 0xFF, 0xF0,                   // RTS on
        });
        QCOMPARE(lineSetup(SerialSettings{}), expected);
    }

    void a0xFFInsideASubnegotiationValueIsDoubled()
    {
        // 255 baud: the value's last byte is 0xFF.
        QCOMPARE(comPortCommand(SetBaudRate, bytes({0x00, 0x00, 0x00, 0xFF})),
                 bytes({0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xF0}));
    }

    void theServersOpeningIsAnsweredAndNoDataComesOfIt()
    {
        // What a serial server sends on a new connection: WILL SGA, DO SGA, WILL ECHO,
        // DONT ECHO, DO BINARY, WILL BINARY, DO COM-PORT, a modem-state notification.
        Codec c = started();
        const QByteArray data = c.feed(bytes(
            {0xFF, 0xFB, 0x03, 0xFF, 0xFD, 0x03, 0xFF, 0xFB, 0x01, 0xFF, 0xFE, 0x01, 0xFF, 0xFD,
             0x00, 0xFF, 0xFB, 0x00, 0xFF, 0xFD, 0x2C, 0xFF, 0xFA, 0x2C, 0x6B, 0x00, 0xFF, 0xF0}));
        QVERIFY(data.isEmpty());
        // SGA accepted both ways, echo refused; binary and the COM-PORT-OPTION were our
        // own requests, so their acceptance needs no answer.
        QCOMPARE(c.takeReplies(), bytes({0xFF, 0xFD, 0x03, 0xFF, 0xFB, 0x03, 0xFF, 0xFE, 0x01}));
        QVERIFY(c.comPortAccepted());
        QVERIFY(!c.comPortRefused());
        QVERIFY(!c.lineConfirmed());
    }

    void unknownOptionsAreRefusedOnceAndConfirmationsAreNotAnsweredAgain()
    {
        Codec c = started();
        c.feed(bytes({0xFF, 0xFD, 0x18, 0xFF, 0xFB, 0x1F})); // DO TERMINAL-TYPE, WILL NAWS
        QCOMPARE(c.takeReplies(), bytes({0xFF, 0xFC, 0x18, 0xFF, 0xFE, 0x1F}));
        c.feed(bytes({0xFF, 0xFB, 0x03}));
        QCOMPARE(c.takeReplies(), bytes({0xFF, 0xFD, 0x03}));
        // The same WILL again changes nothing: no reply, so no endless exchange.
        c.feed(bytes({0xFF, 0xFB, 0x03}));
        QVERIFY(c.takeReplies().isEmpty());
        // The server ends it: acknowledged once.
        c.feed(bytes({0xFF, 0xFC, 0x03, 0xFF, 0xFC, 0x03}));
        QCOMPARE(c.takeReplies(), bytes({0xFF, 0xFE, 0x03}));
    }

    void aServerThatRefusesTheComPortOptionIsNoted()
    {
        Codec c = started();
        c.feed(bytes({0xFF, 0xFE, 0x2C}));
        QVERIFY(c.comPortRefused());
        QVERIFY(!c.comPortAccepted());
        QVERIFY(c.takeReplies().isEmpty()); // a refusal of our request is not answered
    }

    void theServersConfirmationsOfTheLineSettingsAreRead()
    {
        Codec c = started();
        c.feed(bytes({0xFF, 0xFD, 0x2C}));
        const QByteArray data =
            c.feed(bytes({0xFF, 0xFA, 0x2C, 0x65, 0x00, 0x00, 0x4B, 0x00, 0xFF, 0xF0, 0x31,
                          0xFF, 0xFA, 0x2C, 0x66, 0x08, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x67}));
        QCOMPARE(data, bytes({0x31}));
        QVERIFY(!c.lineConfirmed());
        c.feed(bytes({0x01, 0xFF, 0xF0, 0xFF, 0xFA, 0x2C, 0x68, 0x01, 0xFF, 0xF0}));
        QVERIFY(c.lineConfirmed());
        QCOMPARE(c.confirmed(SetBaudRate), 19200);
        QCOMPARE(c.confirmed(SetDataSize), 8);
        QCOMPARE(c.confirmed(SetParity), 1);
        QCOMPARE(c.confirmed(SetStopSize), 1);
        // The modem lines were never confirmed.
        QCOMPARE(c.confirmed(SetControl), -1);
    }

    void aConfirmedBaudRateHoldingA0xFFByteIsReadWhole()
    {
        Codec c = started();
        // 65535 baud = 00 00 FF FF, each 0xFF doubled by the server.
        c.feed(bytes({0xFF, 0xFA, 0x2C, 0x65, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0}));
        QCOMPARE(c.confirmed(SetBaudRate), 65535);
    }
};

QTEST_GUILESS_MAIN(TestTelnetCodec)
#include "test_telnetcodec.moc"
