// SPDX-License-Identifier: GPL-3.0-or-later
#include "portjobs.h"

#include "link/line/commport.h"
#include "link/protocol/transferview.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <memory>
#include <mutex>
#include <vector>

namespace rw {

namespace {

constexpr int TickMs = 100;
// How often the calling thread takes what the ports reported; the run ends this soon
// after the last port.
constexpr int CollectMs = 20;

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
// sent them. The queue is the only thing the threads share, and only under its lock; the
// calling thread takes what has gathered at short intervals and applies it itself. (The
// lock is a standard one, so ThreadSanitizer sees the hand-over as it is.)
class ReportChannel {
public:
    // Any thread.
    void post(PortReport report)
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(report));
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

QList<PortJobState> runOnPorts(const QStringList &ports, const PortJob &job, LineTrace *trace,
                               const std::function<void(const QList<PortJobState> &)> &onTick)
{
    // Touched by the calling thread alone.
    QList<PortJobState> states;
    for (const QString &port : ports) {
        PortJobState s;
        s.port = port;
        states.push_back(s);
    }
    qsizetype running = states.size();
    ReportChannel channel;
    const auto apply = [&](const PortReport &r) {
        PortJobState &s = states[r.port];
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
            --running;
            break;
        }
    };
    QEventLoop loop;
    const auto collect = [&] {
        for (const PortReport &r : channel.take())
            apply(r);
        if (running == 0)
            loop.quit();
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
    QTimer tick;
    if (onTick)
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            collect();
            onTick(states);
        });
    QTimer collecting;
    QObject::connect(&collecting, &QTimer::timeout, &loop, collect);
    for (const auto &t : threads)
        t->start();
    if (running > 0) {
        tick.start(TickMs);
        collecting.start(CollectMs);
        loop.exec();
    }
    for (const auto &t : threads)
        t->wait();
    collect();
    if (onTick)
        onTick(states);
    return states;
}

} // namespace rw
