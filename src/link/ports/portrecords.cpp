// SPDX-License-Identifier: GPL-3.0-or-later
#include "portrecords.h"

#include <array>
#include <optional>

namespace rw {

namespace {

struct NamedPort {
    std::string name;
    int number = 0;
};

// The name that starts at `from` (a "COM"): the text up to the first ")" after it, with
// the decimal number after its "M". Nothing when there is no ")" or the text is no
// decimal port number that fits the list.
std::optional<NamedPort> portNameAt(const std::string &friendly, std::size_t from)
{
    const std::size_t close = friendly.find(')', from);
    if (close == std::string::npos)
        return std::nullopt;
    const std::string text = friendly.substr(from, close - from);
    const std::string digits = text.substr(3); // after "COM"
    if (digits.empty() || text.size() > MaxPortNameLength)
        return std::nullopt;
    int number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number < 1 || number > MaxPortNumber)
        return std::nullopt;
    return NamedPort{text, number};
}

std::optional<NamedPort> portNameOf(const std::string &friendly)
{
    for (std::size_t at = friendly.find("COM"); at != std::string::npos;
         at = friendly.find("COM", at + 1)) {
        if (auto port = portNameAt(friendly, at))
            return port;
    }
    return std::nullopt;
}

bool qualifies(const PortDeviceRecord &r)
{
    return r.friendlyName.find("COM") != std::string::npos &&
           (r.serviceName.find("Serial") != std::string::npos ||
            r.serviceName.find("Ser2pl") != std::string::npos);
}

} // namespace

WindowsPortList windowsPortNames(const std::vector<PortDeviceRecord> &records)
{
    std::array<std::string, MaxPortNumber> byNumber;
    WindowsPortList list;
    for (const PortDeviceRecord &r : records) {
        if (!qualifies(r))
            continue;
        if (auto port = portNameOf(r.friendlyName))
            byNumber[static_cast<std::size_t>(port->number - 1)] = port->name;
        // A machine with more than 256 such devices has shown all it can.
        if (list.count++ > MaxPortNumber)
            break;
    }
    for (const std::string &name : byNumber) {
        if (!name.empty())
            list.names.push_back(name);
    }
    if (list.count == 0) {
        for (int i = 1; i <= FallbackPortCount; ++i)
            list.names.push_back("COM" + std::to_string(i));
        list.count = FallbackPortCount;
    }
    return list;
}

} // namespace rw
