// SPDX-License-Identifier: GPL-3.0-or-later
#include "portjobs.h"

#include "commport.h"
#include "transferview.h"

#include <QEventLoop>
#include <QThread>
#include <memory>
#include <mutex>
#include <vector>

namespace rw {

namespace {

// One thing a port's transfer showed, as a value that crosses from its thread to the
// calling thread.
struct PortReport {
    enum Kind { Status, Range, Position, Message, Finished };
    qsizetype port = 0; // index into the list of ports
    Kind kind = Status;
    QString text;
    int value = 0;
    TransferOutcome outcome;
};

// Carries reports from the ports' threads to the calling thread in the order each port
// sent them. The queue is the only thing the threads share, and only under its lock. The
// first report into an empty queue wakes the calling thread (a queued call to `wake`),
// which takes everything that has gathered by then: no timer, and one wake-up for a burst.
// A caller that shows nothing is woken only when a port ends. (The lock is a standard one,
// so ThreadSanitizer sees the hand-over as it is.)
class ReportChannel {
public:
    ReportChannel(bool everyChange, std::function<void()> wake)
        : everyChange_(everyChange), wake_(std::move(wake))
    {
    }

    // Any thread.
    void post(PortReport report)
    {
        const bool ends = report.kind == PortReport::Finished;
        bool first = false;
        {
            const std::lock_guard lock(mutex_);
            first = queue_.empty();
            queue_.push_back(std::move(report));
        }
        if (ends || (first && everyChange_))
            wake_();
    }

    // The calling thread: everything posted so far, in order.
    std::vector<PortReport> take()
    {
        std::vector<PortReport> taken;
        const std::lock_guard lock(mutex_);
        taken.swap(queue_);
        return taken;
    }

private:
    const bool everyChange_;
    const std::function<void()> wake_;
    std::mutex mutex_;
    std::vector<PortReport> queue_;
};

// The window as one port's transfer sees it. It lives on the port's thread and keeps what
// it needs itself; everything it would show goes to the calling thread as a copy.
class WorkerView : public TransferView {
public:
    WorkerView(qsizetype index, QString port, ReportChannel &channel)
        : index_(index), port_(std::move(port)), channel_(channel)
    {
    }

    void setStatusText(const QString &text) override { send(PortReport::Status, text); }
    void setProgressRange(int, int maximum) override
    {
        maximum_ = maximum;
        send(PortReport::Range, {}, maximum);
    }
    void setProgressPosition(int position) override
    {
        send(PortReport::Position, {}, qBound(0, position, maximum_));
    }
    void repaintProgress() override {}
    void setWindowEnabled(bool) override {}
    void warn(const QString &text) override { send(PortReport::Message, text); }
    void plainMessage(const QString &text) override { send(PortReport::Message, text); }
    QString selectedPortName() const override { return port_; }
    void showTable() override {}

    void finished(const TransferOutcome &outcome)
    {
        PortReport r{index_, PortReport::Finished, {}, 0, outcome};
        channel_.post(std::move(r));
    }

private:
    void send(PortReport::Kind kind, const QString &text, int value = 0)
    {
        channel_.post(PortReport{index_, kind, text, value, {}});
    }

    const qsizetype index_;
    const QString port_;
    int maximum_ = 0;
    ReportChannel &channel_;
};

} // namespace

namespace {

// Every port's state as the calling thread keeps it, changed only by the reports it takes.
class PortStates {
public:
    explicit PortStates(const QStringList &ports)
    {
        for (const QString &port : ports) {
            PortJobState s;
            s.port = port;
            states_.push_back(s);
        }
        running_ = states_.size();
    }

    void apply(const PortReport &r)
    {
        PortJobState &s = states_[r.port];
        switch (r.kind) {
        case PortReport::Status:
            s.status = r.text;
            break;
        case PortReport::Range:
            s.maximum = r.value;
            break;
        case PortReport::Position:
            s.position = r.value;
            break;
        case PortReport::Message:
            s.messages << r.text;
            break;
        case PortReport::Finished:
            s.outcome = r.outcome;
            s.ok = r.outcome.ok();
            s.done = true;
            --running_;
            break;
        }
    }

    const QList<PortJobState> &all() const { return states_; }
    bool running() const { return running_ > 0; }

private:
    QList<PortJobState> states_;
    qsizetype running_ = 0;
};

} // namespace

QList<PortJobState> runOnPorts(const QStringList &ports, const PortJob &job, LineTrace *trace,
                               const std::function<void(const QList<PortJobState> &)> &onTick)
{
    PortStates states(ports); // touched by the calling thread alone
    QEventLoop loop;
    // Lives on the calling thread; the ports' first reports into an empty channel wake it.
    QObject receiver;
    std::function<void()> collect;
    ReportChannel channel(bool(onTick), [&receiver, &collect] {
        QMetaObject::invokeMethod(
            &receiver, [&collect] { collect(); }, Qt::QueuedConnection);
    });
    collect = [&] {
        const std::vector<PortReport> taken = channel.take();
        for (const PortReport &r : taken)
            states.apply(r);
        if (!states.running())
            loop.quit();
        else if (!taken.empty() && onTick)
            onTick(states.all());
    };

    std::vector<std::unique_ptr<QThread>> threads;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        threads.emplace_back(QThread::create([&job, &channel, trace, i, port = ports[i]] {
            TCommPort line;
            line.setTrace(trace);
            WorkerView view(i, port, channel);
            const TransferOutcome outcome = job(line, view);
            line.Close();
            view.finished(outcome);
        }));
    }
    for (const auto &t : threads)
        t->start();
    if (states.running())
        loop.exec();
    for (const auto &t : threads)
        t->wait();
    for (const PortReport &r : channel.take())
        states.apply(r);
    if (onTick)
        onTick(states.all());
    return states.all();
}

} // namespace rw
