// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows how the transfers on one or more ports stand: a bar per port on a terminal, plain
// lines when the output goes to a file or a pipe, nothing with --quiet.

#include "link/run/portjobs.h"

#include <QHash>
#include <memory>

namespace rw::cli {

class Progress {
public:
    virtual ~Progress() = default;
    // Called when a port reports something new (at most ten times a second) and once at
    // the end, with every port's state.
    virtual void show(const QList<PortJobState> &states) = 0;

    static std::unique_ptr<Progress> make(bool quiet);
};

} // namespace rw::cli
