// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frames of the transmitter's programming protocol, built and judged without any I/O.
//
// Every frame is: the ten characters "TealCondor", the protocol byte '2', a command
// ('S' write, 'R' read), a length L, L body bytes, and a 16-bit sum of everything after
// the header (protocol byte through the last body byte), high byte first.

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

namespace rw::frame {

inline constexpr char Header[] = "TealCondor";
constexpr int HeaderSize = 10;
constexpr uint8_t ProtocolByte = 0x32;
constexpr uint8_t WriteCommand = 'S';
constexpr uint8_t ReadCommand = 'R';
constexpr int LengthOffset = 12;
constexpr int BodyOffset = 13;
constexpr int Overhead = 15;      // header, protocol, command, length, checksum
constexpr uint8_t AckByte = 0x06; // the body of the write acknowledgement

// What one request can carry: L = n + 2 must fit in a byte for a write.
constexpr int MaxWriteData = 253;
constexpr int MaxReadData = 255;

constexpr int AckSize = 16;
constexpr int ReadRequestSize = 18;
constexpr int writeRequestSize(int n)
{
    return n + 17;
}
constexpr int readReplySize(int n)
{
    return n + Overhead;
}

// The 16-bit sum, modulo 65536, of the given bytes.
uint16_t byteSum(QByteArrayView bytes);

// Any frame: header, protocol byte, command, body length, body, checksum.
QByteArray buildFrame(uint8_t command, QByteArrayView body);

// Requests from the PC. The data or count must lie within the limits above.
QByteArray writeRequest(uint16_t address, QByteArrayView data);
QByteArray readRequest(uint16_t address, int count);

// The transmitter's one fixed answer to a write: "TealCondor" '2' 'S' 01 06 00 8C.
const QByteArray &writeAcknowledgement();

// A read reply carrying n data bytes is judged only by its checksum: the sum of its bytes
// 10 .. 12 + n against the two bytes after them. Header, command and length are not
// looked at. False when the reply is shorter than n + 15 bytes.
bool readReplyIntact(QByteArrayView reply, int n);
// The n data bytes of a read reply (from byte 13).
QByteArrayView readReplyData(QByteArrayView reply, int n);

// The transmitter's answer to a read request.
QByteArray readReply(QByteArrayView data);

// A complete frame taken off the line, as the transmitter sees requests.
struct Frame {
    uint8_t command = 0;
    QByteArray body;
    bool checksumOk = false;
    QByteArray raw; // the whole frame as it came
};
// Takes the first complete frame off the front of `pending`, dropping whatever comes
// before its header. Returns nothing while no complete frame is there; bytes that may
// still grow into one stay in `pending`.
std::optional<Frame> takeFrame(QByteArray &pending);

} // namespace rw::frame
