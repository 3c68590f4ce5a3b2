// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Undo and redo of the settings table: the image after every change, each named for the
// person who takes it back ("System Code", "Msg # 05", "Read"). A whole image is 2048
// bytes, so even the longest history costs little, and going back to a step puts back
// every byte as it was, the bytes no editor shows included.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace rw {

class SettingsTable;

// One move through the history: the step taken back or taken again, with the table's
// image before and after the move.
struct HistoryMove {
    QString name;
    QByteArray from;
    QByteArray to;
};

class TableHistory {
public:
    // The oldest steps go once there are this many.
    static constexpr int StepLimit = 1000;

    explicit TableHistory(SettingsTable &table);

    // Forgets every step: the history starts from the table as it is now (a table file
    // opened, the window's start).
    void restart();
    // The table as it is now becomes the newest step, after the present one; the steps
    // undone before it are dropped. Named `name`, or when that is empty after the settings
    // whose bytes changed. Nothing is recorded when the table holds what the present step
    // holds; false then.
    bool record(const QString &name = {});

    bool canUndo() const { return present_ > 0; }
    bool canRedo() const { return present_ + 1 < steps_.size(); }
    // The name of the step Undo or Redo would take; empty when there is none.
    QString undoName() const;
    QString redoName() const;

    // Puts the table back as it was before the present step, or takes the next step
    // again; nullopt when there is none. The table takes the image whole.
    std::optional<HistoryMove> undo();
    std::optional<HistoryMove> redo();

private:
    struct Step {
        QString name;
        QByteArray image;
    };
    HistoryMove moveTo(qsizetype step, const QString &name);

    SettingsTable &table_;
    QList<Step> steps_; // the first holds where the history starts and has no name
    qsizetype present_ = 0;
};

// What a change from `before` to `after` is called: the label of the one setting it
// changed, or how many it changed ("3 settings").
QString changeName(const SettingsTable &before, const SettingsTable &after);

} // namespace rw
