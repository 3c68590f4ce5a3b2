// SPDX-License-Identifier: GPL-3.0-or-later
#include "portjobs.h"

#include "link/line/commport.h"
#include "link/line/promptwake.h"
#include "link/protocol/transferview.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <memory>
#include <mutex>
#include <vector>

namespace rw {

namespace {

// The least time between two calls of a caller's onTick: a person reads no faster.
constexpr int TickMs = 100;
// Reports the calling thread has not been woken for (progress, when nothing is shown)
// wake it once this many have gathered, so that the queue stays small.
constexpr std::size_t MaxGathered = 256;

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

// Lives on the calling thread and runs `onWake` there when a port's thread posts it an
// event. The event carries nothing: the reports themselves stay in the channel.
class Waker : public QObject {
public:
    void setOnWake(std::function<void()> onWake) { onWake_ = std::move(onWake); }

    static QEvent::Type type()
    {
        static const auto t = static_cast<QEvent::Type>(QEvent::registerEventType());
        return t;
    }

protected:
    // The one event it is sent is a custom one, which QObject::event hands here. It is not
    // looked at: made on a port's thread, it reached this one through Qt's queue, whose
    // lock ThreadSanitizer cannot see, so reading it here would be reported as a race.
    void customEvent(QEvent *) override
    {
        if (onWake_)
            onWake_();
    }

private:
    std::function<void()> onWake_;
};

// Carries reports from the ports' threads to the calling thread in the order each port
// sent them. The queue is the only thing the threads share, and only under its lock (a
// standard one, so ThreadSanitizer sees the hand-over as it is). The calling thread is
// woken by the reports themselves: by every one when it shows progress, otherwise when a
// port ends or many have gathered. One wake-up is on its way at a time, made under the
// lock and taken back by `take`, so a burst costs one; between reports the calling thread
// sleeps.
class ReportChannel {
public:
    ReportChannel(QObject &waker, bool wakeOnProgress)
        : waker_(waker), wakeOnProgress_(wakeOnProgress)
    {
    }

    // Any thread.
    void post(PortReport report)
    {
        QEvent *wake = nullptr;
        {
            const std::lock_guard lock(mutex_);
            const bool wanted = wakeOnProgress_ || report.kind == PortReport::Finished ||
                                queue_.size() + 1 >= MaxGathered;
            queue_.push_back(std::move(report));
            if (wanted && !wakePosted_) {
                wakePosted_ = true;
                wake = new QEvent(Waker::type());
            }
        }
        if (wake)
            QCoreApplication::postEvent(&waker_, wake);
    }

    // The calling thread: everything posted so far, in order.
    std::vector<PortReport> take()
    {
        std::vector<PortReport> taken;
        const std::lock_guard lock(mutex_);
        taken.swap(queue_);
        wakePosted_ = false;
        return taken;
    }

private:
    QObject &waker_;
    const bool wakeOnProgress_;
    std::mutex mutex_;
    std::vector<PortReport> queue_;
    bool wakePosted_ = false;
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

// Shows the ports' states to a caller that asked for them, at most once every TickMs: a
// change that comes sooner is shown when that time is up, by a timer that only a change
// sets going. Without changes nothing runs.
class ProgressDisplay {
public:
    using OnTick = std::function<void(const QList<PortJobState> &)>;

    ProgressDisplay(const PortStates &states, const OnTick &onTick)
        : states_(states), onTick_(onTick)
    {
        later_.setSingleShot(true);
        QObject::connect(&later_, &QTimer::timeout, &later_, [this] { show(); });
    }

    void changed()
    {
        if (!onTick_ || later_.isActive())
            return;
        const qint64 since = shown_.isValid() ? shown_.elapsed() : TickMs;
        if (since >= TickMs)
            show();
        else
            later_.start(int(TickMs - since));
    }

    // Once every port has ended: the last state, shown at once.
    void finish()
    {
        later_.stop();
        if (onTick_)
            onTick_(states_.all());
    }

private:
    void show()
    {
        shown_.start();
        onTick_(states_.all());
    }

    const PortStates &states_;
    const OnTick &onTick_;
    QTimer later_;
    QElapsedTimer shown_;
};

// One thread per port, each with its own port and view; not yet started.
std::vector<std::unique_ptr<QThread>> portThreads(const QStringList &ports, const PortJob &job,
                                                  ReportChannel &channel, LineTrace *trace)
{
    std::vector<std::unique_ptr<QThread>> threads;
    for (qsizetype i = 0; i < ports.size(); ++i) {
        threads.emplace_back(QThread::create([&job, &channel, trace, i, port = ports[i]] {
            preferPromptWakeUps();
            TCommPort line;
            line.setTrace(trace);
            WorkerView view(i, port, channel);
            const TransferOutcome outcome = job(line, view);
            line.Close();
            view.finished(outcome);
        }));
    }
    return threads;
}

} // namespace

QList<PortJobState> runOnPorts(const QStringList &ports, const PortJob &job, LineTrace *trace,
                               const std::function<void(const QList<PortJobState> &)> &onTick)
{
    PortStates states(ports); // touched by the calling thread alone
    ProgressDisplay display(states, onTick);
    QEventLoop loop;
    Waker waker;
    // Only a caller that shows something is woken by progress; any caller by a port's end.
    ReportChannel channel(waker, bool(onTick));
    const auto collect = [&] {
        for (const PortReport &r : channel.take())
            states.apply(r);
        if (!states.running())
            loop.quit();
        else
            display.changed();
    };
    waker.setOnWake(collect);
    const std::vector<std::unique_ptr<QThread>> threads = portThreads(ports, job, channel, trace);
    for (const auto &t : threads)
        t->start();
    if (states.running())
        loop.exec();
    for (const auto &t : threads)
        t->wait();
    for (const PortReport &r : channel.take())
        states.apply(r);
    display.finish();
    return states.all();
}

} // namespace rw
