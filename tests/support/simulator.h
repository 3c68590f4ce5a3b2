// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transmitter simulator as a real process on a pseudo-terminal, for end-to-end tests.

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QList>
#include <QMetaObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
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
        QStringList args{"--save", memoryFile(), "--log", logFile(), "--tell-requests"};
        if (!memory.isEmpty()) {
            QFile f(dir_.filePath("start.tbl"));
            if (!f.open(QIODevice::WriteOnly) || f.write(memory) != memory.size())
                return false;
            f.close();
            args << "--load" << f.fileName();
        }
        process_.setProgram(QStringLiteral(RW830KT_SIMULATOR));
        process_.setArguments(args + switches);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        if (!process_.waitForStarted(5000))
            return false;
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(5000))
                return false;
        }
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        return !device_.isEmpty();
    }

    ~SimulatorProcess() { stop(); }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }

    // How many requests the simulator has told it took so far. It tells each one before it
    // answers it, so a test acts on the request itself, never on a guess of how long the
    // simulator needs.
    int requestsTaken()
    {
        while (process_.canReadLine()) {
            if (process_.readLine().startsWith("request "))
                ++taken_;
        }
        return taken_;
    }

    // Waits until the simulator has taken `count` requests; false when it has not within
    // `ms` (a generous bound that only a fault reaches). For a transfer that runs on
    // another thread or in another process: this thread's events stand still meanwhile.
    bool waitForRequests(int count, int ms = 60000)
    {
        const QDeadlineTimer deadline(ms);
        while (requestsTaken() < count) {
            if (!process_.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1))))
                return requestsTaken() >= count; // the time is up, or the simulator ended
        }
        return true;
    }

    // Runs `then` once on this thread, in its event loop (the window's, or the one a
    // transfer on this thread waits in), as soon as the simulator has taken `count`
    // requests.
    void whenRequests(int count, std::function<void()> then)
    {
        auto fired = std::make_shared<bool>(false);
        const auto look = [this, count, then, fired] {
            if (*fired || requestsTaken() < count)
                return;
            *fired = true;
            then();
        };
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, &process_, look);
        QMetaObject::invokeMethod(&process_, look, Qt::QueuedConnection);
    }

    const QString &device() const { return device_; }
    bool running() const { return process_.state() == QProcess::Running; }
    bool waitForExit(int ms)
    {
        return process_.state() == QProcess::NotRunning || process_.waitForFinished(ms);
    }

    // The simulator's memory as it saved it after its last write; empty before any.
    QByteArray memory() const
    {
        QFile f(memoryFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Every request the simulator received, in order.
    QList<QByteArray> requests() const
    {
        QList<QByteArray> frames;
        QFile f(logFile());
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
    QString memoryFile() const { return dir_.filePath("memory.tbl"); }
    QString logFile() const { return dir_.filePath("requests.log"); }

    QTemporaryDir dir_;
    QProcess process_;
    QString device_;
    int taken_ = 0;
};

} // namespace rw
