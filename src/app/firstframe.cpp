// SPDX-License-Identifier: GPL-3.0-or-later
#include "firstframe.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace rw {

namespace {

// Watches the window system's window: its first frame is painted while the expose that
// makes it visible is handled, and what is posted from here runs after that.
class FirstFrameWatch : public QObject {
public:
    FirstFrameWatch(QWindow &window, std::function<void()> then)
        : QObject(&window), then_(std::move(then))
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    then_();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> then_;
};

} // namespace

void afterFirstFrame(QWidget &window, std::function<void()> then)
{
    // A window being shown has its window system's window already; another gets it now.
    if (!window.windowHandle())
        window.winId();
    new FirstFrameWatch(*window.windowHandle(), std::move(then));
}

} // namespace rw
