// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder of the window's own, current while it lives, whose settings file offers the
// simulators' ports in the window's port list, as a technician's site would.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class WindowFolder {
public:
    explicit WindowFolder(const QStringList &ports);
    ~WindowFolder();
    WindowFolder(const WindowFolder &) = delete;
    WindowFolder &operator=(const WindowFolder &) = delete;

    // Whether the settings file was written.
    bool ok() const { return ok_; }
    QString filePath(const QString &name) const { return folder_.filePath(name); }

private:
    QTemporaryDir folder_;
    QString before_;
    bool ok_ = false;
};
