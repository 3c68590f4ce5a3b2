#include "portjobs.h"

#include "commport.h"
#include "transferview.h"

#include <QEventLoop>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <memory>
#include <vector>

namespace rw {

namespace {

constexpr int TickMs = 100;

// The window as one port's transfer sees it: everything it would show goes into the
// port's state, under the lock that the calling thread reads it with.
class WorkerView : public TransferView {
public:
    WorkerView(PortJobState &state, QMutex &mutex) : state_(state), mutex_(mutex) {}

    void setStatusText(const QString &text) override
    {
        QMutexLocker lock(&mutex_);
        state_.status = text;
    }
    void setProgressRange(int, int maximum) override
    {
        QMutexLocker lock(&mutex_);
        state_.maximum = maximum;
    }
    void setProgressPosition(int position) override
    {
        QMutexLocker lock(&mutex_);
        state_.position = qBound(0, position, state_.maximum);
    }
    void repaintProgress() override {}
    void setWindowEnabled(bool) override {}
    void warn(const QString &text) override { note(text); }
    void plainMessage(const QString &text) override { note(text); }
    QString selectedPortName() const override { return state_.port; }
    void showTable() override {}

private:
    void note(const QString &text)
    {
        QMutexLocker lock(&mutex_);
        state_.messages << text;
    }

    PortJobState &state_;
    QMutex &mutex_;
};

} // namespace

QList<PortJobState> runOnPorts(const QStringList &ports, const PortJob &job, LineTrace *trace,
                               const std::function<void(const QList<PortJobState> &)> &onTick)
{
    // Each worker writes into its own element through a reference, so the elements must
    // never move: a QList shared with a snapshot would detach (copy them elsewhere) at the
    // first write after it, under the other workers' references. A snapshot copies them.
    std::vector<PortJobState> states(static_cast<std::size_t>(ports.size()));
    for (std::size_t i = 0; i < states.size(); ++i)
        states[i].port = ports[static_cast<qsizetype>(i)];
    QMutex mutex;
    const auto snapshot = [&] {
        QMutexLocker lock(&mutex);
        return QList<PortJobState>(states.begin(), states.end());
    };

    QEventLoop loop;
    int running = 0;
    std::vector<std::unique_ptr<QThread>> threads;
    for (std::size_t i = 0; i < states.size(); ++i) {
        threads.emplace_back(QThread::create([&, i] {
            TCommPort port;
            port.setTrace(trace);
            WorkerView view(states[i], mutex);
            const bool ok = job(port, view);
            port.Close();
            QMutexLocker lock(&mutex);
            states[i].ok = ok;
            states[i].done = true;
        }));
        QObject::connect(threads.back().get(), &QThread::finished, &loop, [&] {
            if (--running == 0)
                loop.quit();
        });
    }
    QTimer tick;
    if (onTick)
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] { onTick(snapshot()); });
    for (const auto &t : threads) {
        ++running;
        t->start();
    }
    if (running > 0) {
        tick.start(TickMs);
        loop.exec();
    }
    for (const auto &t : threads)
        t->wait();
    const QList<PortJobState> final = snapshot();
    if (onTick)
        onTick(final);
    return final;
}

} // namespace rw
