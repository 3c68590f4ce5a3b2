// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The telnet side of a serial line offered over TCP with the COM-PORT-OPTION (RFC 2217),
// as bytes alone: what to send to set the line up, how data goes out (every 0xFF doubled)
// and what comes back (data with the doubling undone, option requests answered, the
// server's confirmations of the line settings noted). No I/O: the network line feeds it.

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>

namespace rw::telnet {

constexpr uint8_t IAC = 255;
constexpr uint8_t DONT = 254;
constexpr uint8_t DO = 253;
constexpr uint8_t WONT = 252;
constexpr uint8_t WILL = 251;
constexpr uint8_t SB = 250;
constexpr uint8_t SE = 240;

constexpr uint8_t OptionBinary = 0;
constexpr uint8_t OptionSuppressGoAhead = 3;
constexpr uint8_t OptionComPort = 44;

// COM-PORT-OPTION commands from the client; the server answers each with the same
// command plus 100.
enum ComPortCommand : uint8_t {
    SetBaudRate = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
};
constexpr uint8_t ServerReply = 100;

// The longest subnegotiation a server may send: the COM-PORT-OPTION's longest (a baud rate,
// its 0xFF doubled) is a dozen bytes, a signature text a few dozen. A longer one is a server
// that never ends it, and would otherwise be kept in full.
constexpr int MaxSubnegotiation = 256;

// Values of SetControl.
constexpr uint8_t ControlNoFlowControl = 1;
constexpr uint8_t ControlDtrOn = 8;
constexpr uint8_t ControlRtsOn = 11;

struct SerialSettings {
    uint32_t baudRate = 19200;
    uint8_t dataBits = 8;
    uint8_t parity = 1;   // 1 none, 2 odd, 3 even
    uint8_t stopBits = 1; // 1 one, 2 two
};

// The data bytes as they go on the wire: every 0xFF doubled.
QByteArray escapeData(QByteArrayView data);

// One COM-PORT-OPTION subnegotiation, with 0xFF in the value doubled.
QByteArray comPortCommand(uint8_t command, QByteArrayView value);

// The line settings and the modem lines, one subnegotiation each: baud rate, data size,
// parity, stop size, no flow control, DTR on, RTS on.
QByteArray lineSetup(const SerialSettings &settings);

class Codec {
public:
    // What a client sends first: it will and wants binary transmission both ways, and
    // it will use the COM-PORT-OPTION.
    QByteArray start();

    // Takes bytes from the server, in pieces of any size (a command may be split between
    // two pieces). Returns the data bytes among them; answers to the server's option
    // requests gather for takeReplies().
    QByteArray feed(QByteArrayView bytes);
    // What must be sent back to the server now; empty when nothing.
    QByteArray takeReplies();

    // The server agreed to the COM-PORT-OPTION (DO 44), or refused it (DONT 44).
    bool comPortAccepted() const { return comPortAccepted_; }
    bool comPortRefused() const { return comPortRefused_; }
    // True once the server confirmed every line setting (baud, data size, parity, stop
    // size).
    bool lineConfirmed() const;
    // The value the server confirmed for a command; -1 when it has not.
    int64_t confirmed(ComPortCommand command) const;
    // Forgets the confirmations so far: only answers to the next requests count.
    void forgetConfirmations() { confirmed_.fill(-1); }
    // True once the server answered any option request at all.
    bool serverSpoke() const { return serverSpoke_; }
    // True once the server sent a subnegotiation longer than MaxSubnegotiation; from then
    // on nothing more is taken (feed returns no data), and the connection must end.
    bool endless() const { return endless_; }

private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    void onOption(uint8_t verb, uint8_t option);
    void onSubnegotiation();
    void keepInSubnegotiation(char c);
    void reply(uint8_t verb, uint8_t option);

    State state_ = State::Data;
    uint8_t verb_ = 0;
    QByteArray sub_;
    QByteArray replies_;
    // Per option: we asked to enable it on our side (WILL) or on the server's (DO), and
    // whether each side has it enabled now.
    std::array<bool, 256> askedWill_{};
    std::array<bool, 256> askedDo_{};
    std::array<bool, 256> localOn_{};
    std::array<bool, 256> remoteOn_{};
    std::array<int64_t, 8> confirmed_{-1, -1, -1, -1, -1, -1, -1, -1};
    bool comPortAccepted_ = false;
    bool comPortRefused_ = false;
    bool serverSpoke_ = false;
    bool endless_ = false;
};

} // namespace rw::telnet
