// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test stand-in for the window during Read and Write: remembers everything the commands
// show, in order, and whether the port was open when each box came up.

#include "link/line/commport.h"
#include "link/protocol/transferview.h"

#include <QStringList>
#include <QTest>
#include <functional>

namespace rw {

class RecordingView : public TransferView {
public:
    explicit RecordingView(const TCommPort &port, QString selected = {})
        : port_(port), selected(std::move(selected))
    {
    }

    void setStatusText(const QString &text) override
    {
        status = text;
        events << "status:" + text;
    }
    void setProgressRange(int minimum, int maximum) override
    {
        events << QString("range:%1..%2").arg(minimum).arg(maximum);
    }
    void setProgressPosition(int p) override
    {
        position = p;
        events << QString("pos:%1").arg(p);
    }
    void repaintProgress() override { ++repaints; }
    void setWindowEnabled(bool e) override
    {
        enabled = e;
        events << (e ? "enabled" : "disabled");
    }
    void warn(const QString &text) override
    {
        messages << text;
        portOpenAtMessage << port_.IsOpen();
        events << "warn:" + text;
    }
    void plainMessage(const QString &text) override
    {
        messages << text;
        portOpenAtMessage << port_.IsOpen();
        events << "plain:" + text;
    }
    QString selectedPortName() const override { return selected; }
    void showTable() override
    {
        ++refreshes;
        events << "refresh";
    }

    // Only the events of one kind, e.g. "pos:" or "status:", without the prefix.
    QStringList only(const QString &prefix) const
    {
        QStringList r;
        for (const QString &e : events) {
            if (e.startsWith(prefix))
                r << e.mid(prefix.size());
        }
        return r;
    }

    const TCommPort &port_;
    QString selected;
    QStringList events;
    QStringList messages;
    QList<bool> portOpenAtMessage;
    QString status;
    int position = -1;
    bool enabled = true;
    int repaints = 0;
    int refreshes = 0;
};

// A stand-in window that can act when the progress bar moves: at a block's end, an
// event of the transfer itself.
class ActingView : public RecordingView {
public:
    using RecordingView::RecordingView;
    void setProgressPosition(int p) override
    {
        RecordingView::setProgressPosition(p);
        if (onPosition)
            onPosition(p);
    }
    std::function<void(int)> onPosition;
};

// After every command: port closed, bar at 0, "Ready ......", window enabled.
inline void checkEndedCleanly(const RecordingView &v, const TCommPort &port)
{
    QVERIFY(!port.IsOpen());
    QCOMPARE(v.position, 0);
    QCOMPARE(v.status, QStringLiteral("Ready ......"));
    QVERIFY(v.enabled);
}

} // namespace rw
