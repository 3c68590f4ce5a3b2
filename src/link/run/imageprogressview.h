// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A view that counts the bytes of the 2048-byte image moved so far, whatever range the
// window's progress bar is given (its range does not reach the end of a Read, and a Write
// fills it before its last blocks). Everything else goes on to the view it wraps. The
// command line's bars and the bench's rows read their progress through it.

#include "link/protocol/transferview.h"

namespace rw {

class ImageProgressView : public TransferView {
public:
    explicit ImageProgressView(TransferView &view) : view_(view) {}

    void setStatusText(const QString &text) override { view_.setStatusText(text); }
    void setProgressRange(int minimum, int maximum) override;
    void setProgressPosition(int position) override { view_.setProgressPosition(position); }
    void repaintProgress() override { view_.repaintProgress(); }
    void requestSent() override { view_.requestSent(); }
    void setWindowEnabled(bool enabled) override { view_.setWindowEnabled(enabled); }
    void warn(const QString &text) override { view_.warn(text); }
    void plainMessage(const QString &text) override { view_.plainMessage(text); }
    QString selectedPortName() const override { return view_.selectedPortName(); }
    void showTable() override { view_.showTable(); }

private:
    TransferView &view_;
};

} // namespace rw
