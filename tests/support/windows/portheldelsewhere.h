// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Another program holding a COM port, for a test under Windows: Windows lets one handle at a
// time have a COM port open, so the port opened here is held for everybody else until the
// object goes. The same interface as the Linux tests' support/portheldelsewhere.h.

#include <QString>
#include <windows.h>

namespace rw {

class PortHeldElsewhere {
public:
    explicit PortHeldElsewhere(const QString &device)
    {
        const QString name = QStringLiteral("\\\\.\\") + device;
        handle_ = open(name);
        // Wine does not keep a COM port to one handle: there a second open succeeds too,
        // and whether somebody else holds the port cannot be told. The port then counts as
        // held, which is what a test asks about.
        if (const HANDLE second =
                handle_ != INVALID_HANDLE_VALUE ? open(name) : INVALID_HANDLE_VALUE;
            second != INVALID_HANDLE_VALUE) {
            ::CloseHandle(second);
            ::CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }
    ~PortHeldElsewhere()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
    }
    PortHeldElsewhere(const PortHeldElsewhere &) = delete;
    PortHeldElsewhere &operator=(const PortHeldElsewhere &) = delete;

    // True once the port is held here.
    bool holding() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    static HANDLE open(const QString &name)
    {
        return ::CreateFileW(reinterpret_cast<const wchar_t *>(name.utf16()),
                             GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }

    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

} // namespace rw
