// SPDX-License-Identifier: GPL-3.0-or-later
// The device records of the Ports setup class, read from the Windows device installer.
// Compiled on Windows only.

#include "portrecords.h"

#include <windows.h>

// initguid.h first, so that devguid.h defines the class GUIDs instead of declaring them.
#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

namespace rw {

namespace {

// One text property of a device; nothing when the installer has none.
bool readTextProperty(HDEVINFO devices, SP_DEVINFO_DATA &device, DWORD property, std::string &text)
{
    char buffer[261] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(devices, &device, property, &type,
                                           reinterpret_cast<PBYTE>(buffer), sizeof buffer - 1,
                                           nullptr))
        return false;
    text.assign(buffer); // up to the first zero byte; the last byte is always zero
    return true;
}

} // namespace

std::vector<PortDeviceRecord> readPortDeviceRecords()
{
    std::vector<PortDeviceRecord> records;
    HDEVINFO devices = SetupDiGetClassDevsA(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return records;
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof device;
        if (!SetupDiEnumDeviceInfo(devices, index, &device))
            break;
        PortDeviceRecord r;
        // A device without a friendly name or service cannot qualify; an empty text
        // says so to the rules.
        if (!readTextProperty(devices, device, SPDRP_FRIENDLYNAME, r.friendlyName))
            r.friendlyName.clear();
        else if (!readTextProperty(devices, device, SPDRP_SERVICE, r.serviceName))
            r.serviceName.clear();
        records.push_back(std::move(r));
    }
    SetupDiDestroyDeviceInfoList(devices);
    return records;
}

} // namespace rw
