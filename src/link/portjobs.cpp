#include "portjobs.h"

#include "commport.h"
#include "transferview.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <memory>
#include <mutex>
#include <vector>

namespace rw {

namespace {

constexpr int TickMs = 100;

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
// calling thread is woken by a queued call and applies the reports itself.
class ReportChannel {
public:
    explicit ReportChannel(std::function<void(const PortReport &)> apply) : apply_(std::move(apply))
    {
    }

    // Any thread.
    void post(PortReport report)
    {
        bool wake = false;
        {
            const std::lock_guard lock(mutex_);
            wake = queue_.empty();
            queue_.push_back(std::move(report));
        }
        if (wake)
            QMetaObject::invokeMethod(
                &receiver_, [this] { drain(); }, Qt::QueuedConnection);
    }

    // The calling thread only.
    void drain()
    {
        std::vector<PortReport> taken;
        {
            const std::lock_guard lock(mutex_);
            taken.swap(queue_);
        }
        for (const PortReport &r : taken)
            apply_(r);
    }

private:
    std::function<void(const PortReport &)> apply_;
    QObject receiver_; // lives in the calling thread; pending wake-ups die with it
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
        states.append(s);
    }
    QEventLoop loop;
    qsizetype running = states.size();
    ReportChannel channel([&](const PortReport &r) {
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
            if (--running == 0)
                loop.quit();
            break;
        }
    });

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
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] { onTick(states); });
    for (const auto &t : threads)
        t->start();
    if (running > 0) {
        tick.start(TickMs);
        loop.exec();
    }
    for (const auto &t : threads)
        t->wait();
    channel.drain();
    if (onTick)
        onTick(states);
    return states;
}

} // namespace rw
