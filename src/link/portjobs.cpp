// SPDX-License-Identifier: GPL-3.0-or-later
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
    // Not a QList: a snapshot of one would share its storage, and the next write through
    // a worker's reference would then go into a copy that nobody reads.
    std::vector<PortJobState> states;
    for (const QString &port : ports) {
        PortJobState s;
        s.port = port;
        states.push_back(s);
    }
    QMutex mutex;
    const auto snapshot = [&] {
        QMutexLocker lock(&mutex);
        return QList<PortJobState>(states.begin(), states.end());
    };

    QEventLoop loop;
    int running = 0;
    std::vector<std::unique_ptr<QThread>> threads;
    for (size_t i = 0; i < states.size(); ++i) {
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
