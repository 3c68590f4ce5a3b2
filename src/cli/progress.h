// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shows how the transfers on one or more ports stand: a bar per port on a terminal, plain
// lines when the output goes to a file or a pipe, nothing with --quiet.

#include "link/portjobs.h"
#include "link/transferview.h"

#include <QHash>
#include <memory>

namespace rw::cli {

class Progress {
public:
    virtual ~Progress() = default;
    // Called about ten times a second and once at the end with every port's state.
    virtual void show(const QList<PortJobState> &states) = 0;

    static std::unique_ptr<Progress> make(bool quiet);
};

// The view a transfer on the command line reports to: everything goes on to `view`, but
// the progress counts the bytes of the 2048-byte image moved so far, whatever range the
// window's progress bar is given (its range does not reach the end of a Read, and a Write
// fills it before its last blocks).
class ImageProgressView : public TransferView {
public:
    explicit ImageProgressView(TransferView &view) : view_(view) {}

    void setStatusText(const QString &text) override { view_.setStatusText(text); }
    void setProgressRange(int minimum, int maximum) override;
    void setProgressPosition(int position) override { view_.setProgressPosition(position); }
    void repaintProgress() override { view_.repaintProgress(); }
    void setWindowEnabled(bool enabled) override { view_.setWindowEnabled(enabled); }
    void warn(const QString &text) override { view_.warn(text); }
    void plainMessage(const QString &text) override { view_.plainMessage(text); }
    QString selectedPortName() const override { return view_.selectedPortName(); }
    void showTable() override { view_.showTable(); }

private:
    TransferView &view_;
};

} // namespace rw::cli
