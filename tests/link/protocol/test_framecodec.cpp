// SPDX-License-Identifier: GPL-3.0-or-later
// The frames of the programming protocol, checked byte for byte.

#include "link/protocol/framecodec.h"

#include <QTest>

using namespace rw;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

} // namespace

class TestFrameCodec : public QObject {
    Q_OBJECT
private slots:
    void readRequestAt0x1000IsTheKnownEighteenBytes()
    {
        const QByteArray f = frame::readRequest(0x1000, 128);
        QCOMPARE(f, QByteArray("TealCondor") + hex("3252031000800117"));
    }

    void writeRequestOfZerosAt0x1000IsTheKnownFrame()
    {
        const QByteArray f = frame::writeRequest(0x1000, QByteArray(128, '\0'));
        QCOMPARE(f.size(), 145);
        QCOMPARE(f.left(15), QByteArray("TealCondor") + hex("3253821000"));
        QCOMPARE(f.mid(15, 128), QByteArray(128, '\0'));
        QCOMPARE(f.right(2), hex("0117"));
    }

    void writeRequestChecksumCoversAddressAndDataButNotHeader()
    {
        // 0x32 + 0x53 + 0x04 + 0x17 + 0x80 + 0xFF + 0xFF = 0x031E
        const QByteArray f = frame::writeRequest(0x1780, hex("FFFF"));
        QCOMPARE(f, QByteArray("TealCondor") + hex("325304"
                                                   "1780"
                                                   "FFFF"
                                                   "031E"));
    }

    void sumIsTakenModulo65536()
    {
        // 300 x 0xFF = 76500 = 0x12AD4
        QCOMPARE(frame::byteSum(QByteArray(300, '\xFF')), uint16_t(0x2AD4));
        // The fullest write frame stays just below the wrap: 0x32 + 0x53 + 0xFF + 0xFF +
        // 0xFF + 253 x 0xFF = 0xFF85.
        const QByteArray f = frame::writeRequest(0xFFFF, QByteArray(253, '\xFF'));
        QCOMPARE(f.right(2), hex("FF85"));
    }

    void acknowledgementIsTheFixedSixteenBytes()
    {
        QCOMPARE(frame::writeAcknowledgement(), QByteArray("TealCondor") + hex("325301"
                                                                               "06"
                                                                               "008C"));
    }

    void readReplyIsJudgedByItsChecksumAlone()
    {
        QByteArray data(128, '\0');
        for (int i = 0; i < data.size(); ++i)
            data[i] = static_cast<char>(i * 7);
        const QByteArray reply = frame::readReply(data);
        QCOMPARE(reply.size(), 143);
        QVERIFY(frame::readReplyIntact(reply, 128));
        QCOMPARE(frame::readReplyData(reply, 128).toByteArray(), data);

        // Header, command and length count for nothing but the checksum.
        QByteArray oddHeader = reply;
        oddHeader[0] = 'X';
        QVERIFY(frame::readReplyIntact(oddHeader, 128));
        QByteArray oddFields = reply;
        oddFields[11] = static_cast<char>(oddFields[11] + 1); // command up ...
        oddFields[12] = static_cast<char>(oddFields[12] - 1); // ... length down: same sum
        QVERIFY(frame::readReplyIntact(oddFields, 128));

        QByteArray spoiled = reply;
        spoiled[20] = static_cast<char>(spoiled[20] ^ 0x10);
        QVERIFY(!frame::readReplyIntact(spoiled, 128));
        QVERIFY(!frame::readReplyIntact(reply.left(142), 128));
    }

    void takeFrameSkipsNoiseAndWaitsForTheWholeFrame()
    {
        const QByteArray request = frame::readRequest(0x1080, 128);
        QByteArray line = QByteArray("\x00\x01Teal", 6) + request.left(10);
        QVERIFY(!frame::takeFrame(line).has_value());
        line += request.mid(10);
        line += request.left(3); // the start of the next frame stays behind
        const auto f = frame::takeFrame(line);
        QVERIFY(f.has_value());
        QCOMPARE(f->command, frame::ReadCommand);
        QCOMPARE(f->body, hex("108080"));
        QVERIFY(f->checksumOk);
        QCOMPARE(f->raw, request);
        QCOMPARE(line, request.left(3));
    }

    void takeFrameReportsADamagedChecksum()
    {
        QByteArray line = frame::writeRequest(0x1000, QByteArray(4, 'a'));
        line[line.size() - 1] = static_cast<char>(line[line.size() - 1] + 1);
        const auto f = frame::takeFrame(line);
        QVERIFY(f.has_value());
        QVERIFY(!f->checksumOk);
        QVERIFY(line.isEmpty());
    }

    void takeFrameKeepsOnlyWhatCouldStartAHeader()
    {
        QByteArray line(5000, 'x');
        line += "TealCon";
        QVERIFY(!frame::takeFrame(line).has_value());
        QVERIFY(line.size() <= frame::HeaderSize - 1);
        QVERIFY(line.endsWith("TealCon"));
    }
};

QTEST_APPLESS_MAIN(TestFrameCodec)
#include "test_framecodec.moc"
