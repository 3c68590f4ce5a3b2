// SPDX-License-Identifier: GPL-3.0-or-later
#include "telnetcodec.h"

namespace rw::telnet {

namespace {

// The options this side takes up: binary transmission both ways, no go-aheads, and on
// our side the COM-PORT-OPTION. Everything else (echo, terminal type, ...) is refused:
// the line carries the transmitter's bytes and nothing may change them.
bool acceptLocal(uint8_t option)
{
    return option == OptionBinary || option == OptionSuppressGoAhead || option == OptionComPort;
}

bool acceptRemote(uint8_t option)
{
    return option == OptionBinary || option == OptionSuppressGoAhead;
}

} // namespace

QByteArray escapeData(QByteArrayView data)
{
    QByteArray out;
    out.reserve(data.size() + 8);
    for (char c : data) {
        out.append(c);
        if (static_cast<uint8_t>(c) == IAC)
            out.append(c);
    }
    return out;
}

QByteArray comPortCommand(uint8_t command, QByteArrayView value)
{
    QByteArray out;
    out.append(char(IAC)).append(char(SB)).append(char(OptionComPort)).append(char(command));
    out.append(escapeData(value));
    out.append(char(IAC)).append(char(SE));
    return out;
}

QByteArray lineSetup(const SerialSettings &s)
{
    const char baud[4] = {char(s.baudRate >> 24), char(s.baudRate >> 16), char(s.baudRate >> 8),
                          char(s.baudRate)};
    const auto one = [](uint8_t v) { return QByteArray(1, char(v)); };
    return comPortCommand(SetBaudRate, QByteArrayView(baud, 4)) +
           comPortCommand(SetDataSize, one(s.dataBits)) + comPortCommand(SetParity, one(s.parity)) +
           comPortCommand(SetStopSize, one(s.stopBits)) +
           comPortCommand(SetControl, one(ControlNoFlowControl)) +
           comPortCommand(SetControl, one(ControlDtrOn)) +
           comPortCommand(SetControl, one(ControlRtsOn));
}

QByteArray Codec::start()
{
    askedWill_[OptionBinary] = true;
    askedDo_[OptionBinary] = true;
    askedWill_[OptionComPort] = true;
    const char out[] = {char(IAC), char(WILL), char(OptionBinary),
                        char(IAC), char(DO),   char(OptionBinary),
                        char(IAC), char(WILL), char(OptionComPort)};
    return QByteArray(out, sizeof out);
}

QByteArray Codec::feed(QByteArrayView bytes)
{
    QByteArray data;
    for (char c : bytes) {
        if (endless_)
            break;
        const auto b = static_cast<uint8_t>(c);
        switch (state_) {
        case State::Data:
            if (b == IAC)
                state_ = State::Iac;
            else
                data.append(c);
            break;
        case State::Iac:
            if (b == IAC) {
                data.append(c);
                state_ = State::Data;
            } else if (b >= WILL && b <= DONT) {
                verb_ = b;
                state_ = State::Option;
            } else if (b == SB) {
                sub_.clear();
                state_ = State::Sub;
            } else {
                state_ = State::Data; // NOP, go-ahead and the like carry nothing for us
            }
            break;
        case State::Option:
            onOption(verb_, b);
            state_ = State::Data;
            break;
        case State::Sub:
            if (b == IAC)
                state_ = State::SubIac;
            else
                keepInSubnegotiation(c);
            break;
        case State::SubIac:
            if (b == IAC) {
                keepInSubnegotiation(c);
                state_ = State::Sub;
            } else {
                // SE ends it; anything else is a broken subnegotiation, ended the same way.
                onSubnegotiation();
                state_ = State::Data;
            }
            break;
        }
    }
    return data;
}

void Codec::keepInSubnegotiation(char c)
{
    if (sub_.size() >= MaxSubnegotiation) {
        endless_ = true;
        sub_.clear();
        return;
    }
    sub_.append(c);
}

QByteArray Codec::takeReplies()
{
    QByteArray out;
    out.swap(replies_);
    return out;
}

void Codec::reply(uint8_t verb, uint8_t option)
{
    replies_.append(char(IAC)).append(char(verb)).append(char(option));
}

void Codec::onOption(uint8_t verb, uint8_t option)
{
    serverSpoke_ = true;
    switch (verb) {
    case WILL:
        if (remoteOn_[option])
            break;
        if (acceptRemote(option)) {
            remoteOn_[option] = true;
            if (!askedDo_[option])
                reply(DO, option);
        } else {
            reply(DONT, option);
        }
        askedDo_[option] = false;
        break;
    case WONT:
        if (remoteOn_[option]) {
            remoteOn_[option] = false;
            reply(DONT, option);
        }
        askedDo_[option] = false; // a refusal of our request needs no answer
        break;
    case DO:
        if (localOn_[option])
            break;
        if (acceptLocal(option)) {
            localOn_[option] = true;
            if (!askedWill_[option])
                reply(WILL, option);
            if (option == OptionComPort) {
                comPortAccepted_ = true;
                comPortRefused_ = false;
            }
        } else {
            reply(WONT, option);
        }
        askedWill_[option] = false;
        break;
    case DONT:
        if (localOn_[option]) {
            localOn_[option] = false;
            reply(WONT, option);
        }
        askedWill_[option] = false;
        if (option == OptionComPort) {
            comPortAccepted_ = false;
            comPortRefused_ = true;
        }
        break;
    }
}

void Codec::onSubnegotiation()
{
    serverSpoke_ = true;
    if (sub_.size() < 2 || static_cast<uint8_t>(sub_[0]) != OptionComPort)
        return;
    const int command = static_cast<uint8_t>(sub_[1]) - ServerReply;
    if (command < SetBaudRate || command > SetControl)
        return; // notifications of line and modem state, flow control: nothing to do
    const QByteArrayView value = QByteArrayView(sub_).sliced(2);
    if (command == SetBaudRate) {
        if (value.size() != 4)
            return;
        int64_t baud = 0;
        for (char c : value)
            baud = (baud << 8) | static_cast<uint8_t>(c);
        confirmed_[command] = baud;
    } else if (!value.isEmpty()) {
        confirmed_[command] = static_cast<uint8_t>(value[0]);
    }
}

bool Codec::lineConfirmed() const
{
    return confirmed_[SetBaudRate] >= 0 && confirmed_[SetDataSize] >= 0 &&
           confirmed_[SetParity] >= 0 && confirmed_[SetStopSize] >= 0;
}

int64_t Codec::confirmed(ComPortCommand command) const
{
    return command < confirmed_.size() ? confirmed_[command] : -1;
}

} // namespace rw::telnet
