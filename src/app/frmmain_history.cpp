// SPDX-License-Identifier: GPL-3.0-or-later
// The history of edits: the Edit menu's Undo and Redo, each naming the step it takes, and
// File, Revert. Every change of the table a person makes is one step, a Read and an import
// of messages included; opening a table file starts a new history. The mark of unsaved
// edits compares the table with what was last opened, saved, read or written, so it
// follows the history: undoing back to the saved table clears it.

#include "editors/dialogs.h"
#include "frmmain.h"
#include "model/settingstable.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace rw {

namespace {

// A step's name as a menu item's text: an ampersand is no mnemonic.
QString itemText(const QString &command, const QString &step)
{
    return step.isEmpty() ? command : command + u' ' + QString(step).replace(u'&', "&&");
}

} // namespace

void TfmMain::buildEditMenu()
{
    QMenu *edit = menuBar()->addMenu("&Edit");
    mnuUndo =
        edit->addAction("&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), this, &TfmMain::mnuUndoClick);
    mnuRedo = edit->addAction("&Redo", this, &TfmMain::mnuRedoClick);
    mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    mnuUndo->setObjectName("mnuUndo");
    mnuRedo->setObjectName("mnuRedo");
    mnuUndo->setEnabled(false);
    mnuRedo->setEnabled(false);
}

void TfmMain::watchHistoryKeys()
{
    for (QLineEdit *edit : centralWidget()->findChildren<QLineEdit *>())
        edit->installEventFilter(this);
    for (QPlainTextEdit *memo : centralWidget()->findChildren<QPlainTextEdit *>())
        memo->installEventFilter(this);
}

bool TfmMain::leavesHistoryKeyToWindow(QObject *field, QEvent *e) const
{
    if (e->type() != QEvent::ShortcutOverride)
        return false;
    const QKeySequence key(static_cast<QKeyEvent *>(e)->keyCombination());
    const bool undo = mnuUndo->shortcuts().contains(key);
    const bool redo = mnuRedo->shortcuts().contains(key);
    if (!undo && !redo)
        return false;
    // A field takes back what was typed into it, as any text field does; with nothing of
    // its own to take back, the key goes to the Edit menu.
    if (const auto *edit = qobject_cast<QLineEdit *>(field))
        return !(undo ? edit->isUndoAvailable() : edit->isRedoAvailable());
    if (const auto *memo = qobject_cast<QPlainTextEdit *>(field))
        return !(undo ? memo->document()->isUndoAvailable() : memo->document()->isRedoAvailable());
    return false;
}

void TfmMain::recordEdit(const QString &name)
{
    if (history_.record(name))
        showHistory();
}

void TfmMain::showHistory()
{
    if (!mnuUndo)
        return;
    // During a transfer the menus and their keys are off: the table must not change.
    const bool input = menuBar()->isEnabled();
    mnuUndo->setText(itemText(QStringLiteral("&Undo"), history_.undoName()));
    mnuRedo->setText(itemText(QStringLiteral("&Redo"), history_.redoName()));
    mnuUndo->setEnabled(input && history_.canUndo());
    mnuRedo->setEnabled(input && history_.canRedo());
    mnuRevert->setEnabled(input && !currentTableFile_.isEmpty());
}

void TfmMain::mnuUndoClick()
{
    // A value being typed is the newest edit: it is stored, then taken back with the rest.
    if (!commitPendingEdit())
        return;
    recordEdit();
    if (const std::optional<HistoryMove> move = history_.undo())
        showHistoryMove(QStringLiteral("Undone"), *move);
}

void TfmMain::mnuRedoClick()
{
    if (!commitPendingEdit())
        return;
    // A new edit drops the steps undone before it: Redo then has nothing to take again.
    recordEdit();
    if (const std::optional<HistoryMove> move = history_.redo())
        showHistoryMove(QStringLiteral("Redone"), *move);
}

void TfmMain::showHistoryMove(const QString &done, const HistoryMove &move)
{
    RefreshControls();
    // A message that changed is shown: its page comes up.
    for (int at = 0; at < MessageAreaSize; ++at) {
        if (move.from[at] == move.to[at])
            continue;
        const int page = at / MessageRecordSize / MessagesPerPage;
        if (page != MsgPage) {
            cboMsgPage->setCurrentIndex(page);
            cboMsgPageClick();
        }
        break;
    }
    StatusPanel1->setText(QStringLiteral("%1: %2").arg(done, move.name));
    showHistory();
}

void TfmMain::mnuRevertClick()
{
    if (currentTableFile_.isEmpty() || !commitPendingEdit() || !askToKeepEdits())
        return;
    if (table_.buildImage() == fileImage_)
        return;
    table_.takeImage(fileImage_);
    RefreshControls();
    recordEdit(QStringLiteral("Revert"));
    // The window holds the file's table again.
    markTableSaved();
    StatusPanel1->setText(
        QStringLiteral("Reverted to %1").arg(QDir::toNativeSeparators(currentTableFile_)));
}

} // namespace rw
