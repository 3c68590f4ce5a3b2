// SPDX-License-Identifier: GPL-3.0-or-later
#include "transferthread.h"

#include "link/line/commport.h"
#include "link/line/promptwake.h"
#include "link/line/stoprequest.h"
#include "link/protocol/transferview.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QThread>
#include <future>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace rw {

namespace {

using Call = std::function<void(TransferView &)>;

// Lives on the calling thread and makes there, on its view, the calls the job's thread
// sends, in order; then keeps what the job hands back at its end. The queue is all the two
// threads share, and only under its lock (a standard one, so ThreadSanitizer sees the
// hand-over as it is); an empty event wakes the calling thread, one on its way at a time.
class ViewHost : public QObject {
public:
    ViewHost(TransferView &view, std::function<void()> onDone)
        : view_(view), onDone_(std::move(onDone))
    {
    }

    // The job's thread.
    void send(std::vector<Call> calls)
    {
        const std::lock_guard lock(mutex_);
        std::move(calls.begin(), calls.end(), std::back_inserter(queue_));
        wake();
    }
    void finish(ThreadTransfer result)
    {
        const std::lock_guard lock(mutex_);
        ended_ = std::move(result);
        wake();
    }

    // The calling thread.
    bool done() const { return result_.has_value(); }
    ThreadTransfer take() { return std::move(*result_); }

    bool event(QEvent *e) override
    {
        if (e->type() != wakeType())
            return QObject::event(e);
        std::vector<Call> calls;
        std::optional<ThreadTransfer> ended;
        {
            const std::lock_guard lock(mutex_);
            calls.swap(queue_);
            ended.swap(ended_);
            wakePosted_ = false;
        }
        for (const Call &call : calls)
            call(view_);
        if (ended) {
            result_ = std::move(ended);
            onDone_();
        }
        return true;
    }

private:
    static QEvent::Type wakeType()
    {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    // Under the lock.
    void wake()
    {
        if (wakePosted_)
            return;
        wakePosted_ = true;
        QCoreApplication::postEvent(this, new QEvent(wakeType()));
    }

    TransferView &view_;
    const std::function<void()> onDone_;
    std::mutex mutex_;
    std::vector<Call> queue_;              // under mutex_
    std::optional<ThreadTransfer> ended_;  // under mutex_
    bool wakePosted_ = false;              // under mutex_
    std::optional<ThreadTransfer> result_; // the calling thread's
};

// The view as the job sees it, on the job's thread. Every call becomes the same call of the
// host's view on the host's thread, with copies of its arguments, in the order made. What
// only shows how the transfer stands (status text, progress) waits on this thread until the
// next request has gone out: handing it over takes locks the host's thread holds at times,
// and between a reply and the next request the transmitter would wait for them.
class RelayView : public TransferView {
public:
    RelayView(ViewHost &host, QString port) : host_(host), port_(std::move(port)) {}

    void setStatusText(const QString &text) override
    {
        later([text](TransferView &v) { v.setStatusText(text); });
    }
    void setProgressRange(int minimum, int maximum) override
    {
        later([minimum, maximum](TransferView &v) { v.setProgressRange(minimum, maximum); });
    }
    void setProgressPosition(int position) override
    {
        later([position](TransferView &v) { v.setProgressPosition(position); });
    }
    void repaintProgress() override
    {
        later([](TransferView &v) { v.repaintProgress(); });
    }
    void requestSent() override { handOver(); }
    // The window is disabled before anything is sent, and enabled once the port is closed.
    void setWindowEnabled(bool enabled) override
    {
        later([enabled](TransferView &v) { v.setWindowEnabled(enabled); });
        handOver();
    }
    void warn(const QString &text) override
    {
        await([text](TransferView &v) { v.warn(text); });
    }
    void plainMessage(const QString &text) override
    {
        await([text](TransferView &v) { v.plainMessage(text); });
    }
    void portFailed(const QString &text) override
    {
        await([text](TransferView &v) { v.portFailed(text); });
    }
    void commandEnded(TransferCommand command, const TransferOutcome &outcome) override
    {
        await([command, outcome](TransferView &v) { v.commandEnded(command, outcome); });
    }
    QString selectedPortName() const override { return port_; }
    void showTable() override
    {
        await([](TransferView &v) { v.showTable(); });
    }

    // Hands over what waits, without waiting for the host's thread.
    void handOver()
    {
        if (waiting_.empty())
            return;
        host_.send(std::move(waiting_));
        waiting_.clear();
    }

private:
    void later(Call call) { waiting_.push_back(std::move(call)); }
    // Shown, and answered where it is a box, before the job goes on.
    void await(Call call)
    {
        auto answered = std::make_shared<std::promise<void>>();
        std::future<void> answer = answered->get_future();
        later([call = std::move(call), answered](TransferView &v) {
            call(v);
            answered->set_value();
        });
        handOver();
        answer.wait();
    }

    ViewHost &host_;
    const QString port_;
    std::vector<Call> waiting_; // this thread's alone
};

} // namespace

ThreadTransfer runOnOwnThread(const ThreadJob &job, TransferView &view, LineTrace *trace)
{
    QEventLoop loop;
    ViewHost host(view, [&loop] { loop.quit(); });
    ViewHost *to = &host;
    const std::unique_ptr<QThread> thread(
        QThread::create([job, trace, to, port = view.selectedPortName()] {
            preferPromptWakeUps();
            TCommPort line;
            line.setTrace(trace);
            RelayView relay(*to, port);
            ThreadTransfer done = job(line, relay);
            line.Close();
            relay.handOver();
            to->finish(std::move(done));
        }));
    thread->start();
    if (loop.exec() != 0) {
        // The application is quitting: its event loops return at once, and nothing will
        // show the rest. The transfer stops; its boxes are still answered until it has.
        requestStopNow();
        while (!host.done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    thread->wait();
    return host.take();
}

} // namespace rw
