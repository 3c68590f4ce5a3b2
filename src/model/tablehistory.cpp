// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablehistory.h"

#include "settingcatalogue.h"
#include "settingstable.h"

#include <QStringList>

namespace rw {

namespace {

SettingsTable tableOf(const QByteArray &image)
{
    SettingsTable t;
    t.takeImage(image);
    return t;
}

} // namespace

QString changeName(const SettingsTable &before, const SettingsTable &after)
{
    QStringList names;
    for (const SettingEntry &e : settingCatalogue()) {
        if (e.kind == SettingKind::Message)
            continue;
        for (const FieldEntry &f : generalBlockLayout()) {
            if (settingCoversField(e, f.field) && before.bytes(f.field) != after.bytes(f.field)) {
                names << latin1(e.label);
                break;
            }
        }
    }
    for (int k = 0; k < MessageCount; ++k) {
        if (before.messageRecord(k) != after.messageRecord(k))
            names << messageLabel(k);
    }
    if (names.size() == 1)
        return names.first();
    // Several settings at once, or bytes no editor shows.
    return names.isEmpty() ? QStringLiteral("Settings")
                           : QStringLiteral("%1 settings").arg(names.size());
}

TableHistory::TableHistory(SettingsTable &table) : table_(table)
{
    restart();
}

void TableHistory::restart()
{
    steps_ = {Step{QString(), table_.buildImage()}};
    present_ = 0;
}

bool TableHistory::record(const QString &name)
{
    const QByteArray image = table_.buildImage();
    const QByteArray &last = steps_[present_].image;
    if (image == last)
        return false;
    steps_.resize(present_ + 1);
    steps_.append(Step{name.isEmpty() ? changeName(tableOf(last), table_) : name, image});
    if (steps_.size() > StepLimit + 1) {
        // The oldest change becomes where the history starts.
        steps_.removeFirst();
        steps_.first().name.clear();
    }
    present_ = steps_.size() - 1;
    return true;
}

QString TableHistory::undoName() const
{
    return canUndo() ? steps_[present_].name : QString();
}

QString TableHistory::redoName() const
{
    return canRedo() ? steps_[present_ + 1].name : QString();
}

HistoryMove TableHistory::moveTo(qsizetype step, const QString &name)
{
    HistoryMove move{name, table_.buildImage(), steps_[step].image};
    present_ = step;
    table_.takeImage(move.to);
    return move;
}

std::optional<HistoryMove> TableHistory::undo()
{
    if (!canUndo())
        return std::nullopt;
    return moveTo(present_ - 1, steps_[present_].name);
}

std::optional<HistoryMove> TableHistory::redo()
{
    if (!canRedo())
        return std::nullopt;
    return moveTo(present_ + 1, steps_[present_ + 1].name);
}

} // namespace rw
