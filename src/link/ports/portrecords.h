// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial-port list of a Windows machine, from the device records of its Ports class.
// Standard C++ only: the record source is compiled on Windows alone (and cross-checked),
// while the rules that turn records into port names are tested everywhere.

#include <string>
#include <vector>

namespace rw {

// What the device installer tells about one device of the Ports class.
struct PortDeviceRecord {
    std::string friendlyName; // e.g. "USB Serial Port (COM3)"
    std::string serviceName;  // the driver service, e.g. "Serial"
};

struct WindowsPortList {
    std::vector<std::string> names; // ascending port number, each number once
    int count = 0;                  // qualifying devices met (16 after the fallback)
};

constexpr int MaxPortNumber = 256;
// How many names the list offers when the machine reports no port.
constexpr int FallbackPortCount = 16;
constexpr int MaxPortNameLength = 9; // the list holds names of up to 9 characters

// A device qualifies when its friendly name contains "COM" and its driver service is the
// system's serial driver ("Serial") or the common adapter driver ("Ser2pl"). Its name is
// "COM<number>" cut at the ")" that follows it; a later device with the same number
// replaces an earlier one. When no device qualifies the list is COM1 .. COM16.
// A qualifying device whose text has no ")" after "COM", or whose number is not a decimal
// in 1..256, is counted but gives no name; before giving up on it, later "COM"s in the
// friendly name are tried, so "USB COMPOSITE (COM5)" still gives COM5.
WindowsPortList windowsPortNames(const std::vector<PortDeviceRecord> &records);

#ifdef _WIN32
// The present devices of the Ports setup class, in the installer's order.
std::vector<PortDeviceRecord> readPortDeviceRecords();
#endif

} // namespace rw
