// SPDX-License-Identifier: GPL-3.0-or-later
// A transfer on a thread of its own, shown by a view on the thread that started it.

#include "link/line/commport.h"
#include "link/protocol/transferview.h"
#include "link/run/transferthread.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>
#include <QThread>
#include <future>
#include <memory>
#include <mutex>

using namespace rw;

namespace {

// The window's side: what it was shown, in order, each marked when it arrived on any thread
// but the one that made the view.
class ThreadCheckingView : public TransferView {
public:
    void setStatusText(const QString &text) override { note("status:" + text); }
    void setProgressRange(int minimum, int maximum) override
    {
        note(QStringLiteral("range:%1..%2").arg(minimum).arg(maximum));
    }
    void setProgressPosition(int position) override
    {
        note(QStringLiteral("pos:%1").arg(position));
    }
    void repaintProgress() override { note("repaint"); }
    void setWindowEnabled(bool enabled) override { note(enabled ? "enabled" : "disabled"); }
    void warn(const QString &text) override { note("warn:" + text); }
    void plainMessage(const QString &text) override { note("plain:" + text); }
    void portFailed(const QString &text) override { note("port:" + text); }
    void commandEnded(TransferCommand, const TransferOutcome &outcome) override
    {
        note(QStringLiteral("ended:block %1").arg(outcome.block));
    }
    QString selectedPortName() const override
    {
        ++portAsked;
        return QStringLiteral("COM9");
    }
    void showTable() override { note("table"); }

    QStringList events;
    mutable int portAsked = 0;

private:
    void note(const QString &event)
    {
        events << (QThread::currentThread() == thread_ ? event : event + " (elsewhere)");
    }
    QThread *const thread_ = QThread::currentThread();
};

// Lets the job look at the view from the view's own thread, behind everything handed to it
// so far: the look goes as an event, posted under a lock of the test's own (a standard one,
// so ThreadSanitizer sees the hand-over), and its answer comes back through a promise.
class ViewLook : public QObject {
public:
    // The job's thread.
    int operator()(std::function<int()> look)
    {
        auto answer = std::make_shared<std::promise<int>>();
        std::future<int> answered = answer->get_future();
        {
            const std::lock_guard lock(mutex_);
            look_ = std::move(look);
            answer_ = answer;
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return answered.get();
    }

    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        const std::lock_guard lock(mutex_);
        answer_->set_value(look_());
        return true;
    }

private:
    std::mutex mutex_;
    std::function<int()> look_;
    std::shared_ptr<std::promise<int>> answer_;
};

} // namespace

class TestTransferThread : public QObject {
    Q_OBJECT
private slots:
    void everyCallReachesTheViewOnItsOwnThreadInOrderAndTheResultComesBack()
    {
        ThreadCheckingView view;
        QString portSeen;
        bool portOwnedByTheJob = false;
        const ThreadJob job = [&](TCommPort &port, TransferView &v) {
            portSeen = v.selectedPortName();
            portOwnedByTheJob = port.thread() == QThread::currentThread() && !port.IsOpen();
            v.setWindowEnabled(false);
            v.setStatusText("Write RW830KT ......");
            v.setProgressRange(0, 1600);
            v.repaintProgress();
            v.requestSent();
            v.setProgressPosition(128);
            v.plainMessage("Error opening comm port.");
            v.setProgressPosition(0);
            v.warn("Checksum Error !");
            v.portFailed("The serial port stopped working");
            v.showTable();
            v.setWindowEnabled(true);
            v.setStatusText("Ready ......");
            v.commandEnded(TransferCommand::Write, {TransferResult::VerifyFailed, 5, {}});
            v.setStatusText("after the end");
            ThreadTransfer done;
            done.outcome = {TransferResult::VerifyFailed, 5, {}};
            done.table.setValue(Field::HeartBeat, 99);
            done.backupFile = "backups/COM9.tbl";
            return done;
        };

        const ThreadTransfer done = runOnOwnThread(job, view);

        QCOMPARE(view.events,
                 (QStringList{"disabled", "status:Write RW830KT ......", "range:0..1600", "repaint",
                              "pos:128", "plain:Error opening comm port.", "pos:0",
                              "warn:Checksum Error !", "port:The serial port stopped working",
                              "table", "enabled", "status:Ready ......", "ended:block 5",
                              "status:after the end"}));
        QCOMPARE(view.portAsked, 1);
        QCOMPARE(portSeen, QString("COM9"));
        QVERIFY(portOwnedByTheJob);
        QCOMPARE(done.outcome.result, TransferResult::VerifyFailed);
        QCOMPARE(done.outcome.block, 5);
        QCOMPARE(done.table.value(Field::HeartBeat), 99u);
        QCOMPARE(done.backupFile, QString("backups/COM9.tbl"));
    }

    // Between a reply and the next request the job hands the view nothing: progress waits
    // until the request is on the line. A box is answered before the job goes on.
    void progressWaitsForTheRequestAndABoxForItsAnswer()
    {
        ThreadCheckingView view;
        ViewLook onViewThread;
        const auto shown = [&] { return int(view.events.size()); };
        QList<int> shownAt;
        const ThreadJob job = [&](TCommPort &, TransferView &v) {
            v.setProgressPosition(128);
            v.setStatusText("Write ......");
            shownAt << onViewThread(shown);
            v.requestSent();
            shownAt << onViewThread(shown);
            v.warn("Write Error !");
            shownAt << onViewThread(shown);
            return ThreadTransfer{};
        };

        runOnOwnThread(job, view);

        QCOMPARE(shownAt, (QList<int>{0, 2, 3}));
    }
};

QTEST_GUILESS_MAIN(TestTransferThread)
#include "test_transferthread.moc"
