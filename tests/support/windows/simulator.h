// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transmitter simulator for a test under Wine. The simulator is a Linux program on a
// pseudo-terminal; scripts/windows/simulator-broker starts it on the Linux side and links
// the pseudo-terminal into Wine as a COM port, so the test reaches it as a Windows program
// reaches a transmitter. The broker's port is in RW830KT_SIMULATOR_BROKER. The same
// interface as the Linux tests' support/simulator.h, which this one stands in for.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QList>
#include <QMetaObject>
#include <QStringList>
#include <QTcpSocket>
#include <algorithm>
#include <functional>
#include <memory>

namespace rw {

class SimulatorProcess {
public:
    // Starts the simulator with the given switches (faults, pacing) and, when given, a
    // starting memory of 2048 bytes. False when it did not come up.
    bool start(const QStringList &switches = {}, const QByteArray &memory = {})
    {
        broker_.connectToHost(QStringLiteral("127.0.0.1"),
                              qEnvironmentVariableIntValue("RW830KT_SIMULATOR_BROKER"));
        if (!broker_.waitForConnected(5000))
            return false;
        const QByteArray hex = memory.isEmpty() ? QByteArray("-") : memory.toHex();
        broker_.write("start " + hex + ' ' + switches.join(u' ').toUtf8() + '\n');
        const QList<QByteArray> words = nextLine().split(' ');
        if (words.size() != 3 || words[0] != "ok")
            return false;
        device_ = QString::fromUtf8(words[1]);
        folder_ = QString::fromUtf8(words[2]);
        return true;
    }

    ~SimulatorProcess() { broker_.abort(); }

    void stop()
    {
        if (!running())
            return;
        broker_.write("stop\n");
        waitForExit(10000);
    }

    const QString &device() const { return device_; }
    bool running()
    {
        takeWaitingLines();
        return !device_.isEmpty() && !exited_;
    }
    bool waitForExit(int ms)
    {
        const QDeadlineTimer deadline(ms);
        while (!exited_ && !deadline.hasExpired())
            take(nextLine(int(std::max<qint64>(deadline.remainingTime(), 1))));
        return exited_;
    }

    // How many requests the simulator has told it took so far (the broker passes on each
    // "request N" as the simulator tells it, before it answers).
    int requestsTaken()
    {
        takeWaitingLines();
        return taken_;
    }

    // Waits until the simulator has taken `count` requests; false when it has not within `ms`.
    bool waitForRequests(int count, int ms = 60000)
    {
        const QDeadlineTimer deadline(ms);
        while (requestsTaken() < count && !exited_) {
            if (!broker_.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1))))
                return requestsTaken() >= count;
        }
        return taken_ >= count;
    }

    // Runs `then` once on this thread, in its event loop, as soon as the simulator has
    // taken `count` requests.
    void whenRequests(int count, std::function<void()> then)
    {
        auto fired = std::make_shared<bool>(false);
        const auto look = [this, count, then, fired] {
            if (*fired || requestsTaken() < count)
                return;
            *fired = true;
            then();
        };
        QObject::connect(&broker_, &QTcpSocket::readyRead, &broker_, look);
        QMetaObject::invokeMethod(&broker_, look, Qt::QueuedConnection);
    }

    // The simulator's memory as it saved it after its last write; empty before any.
    QByteArray memory() const
    {
        QFile f(folder_ + QStringLiteral("\\memory.tbl"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Every request the simulator received, in order.
    QList<QByteArray> requests() const
    {
        QList<QByteArray> frames;
        QFile f(folder_ + QStringLiteral("\\requests.log"));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            return frames;
        while (!f.atEnd()) {
            const QByteArray line = f.readLine().trimmed();
            if (!line.isEmpty())
                frames.append(QByteArray::fromHex(line));
        }
        return frames;
    }

private:
    QByteArray nextLine(int ms = 10000)
    {
        while (!broker_.canReadLine()) {
            if (!broker_.waitForReadyRead(ms))
                return {};
        }
        return broker_.readLine().trimmed();
    }
    void takeWaitingLines()
    {
        while (broker_.canReadLine())
            take(broker_.readLine().trimmed());
    }
    void take(const QByteArray &line)
    {
        if (line.startsWith("exited"))
            exited_ = true;
        else if (line.startsWith("request "))
            ++taken_;
    }

    QTcpSocket broker_;
    QString device_;
    QString folder_;
    bool exited_ = false;
    int taken_ = 0;
};

} // namespace rw
