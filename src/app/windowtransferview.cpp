// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowtransferview.h"

#include "announcer.h"
#include "editors/dialogs.h"
#include "frmmain.h"
#include "link/protocol/transmittercommands.h"
#include "link/run/transferprogress.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

namespace rw {

QString paragraphs(const QStringList &parts)
{
    QStringList kept = parts;
    kept.removeAll(QString());
    return kept.join(QStringLiteral("\n\n"));
}

WindowTransferView::WindowTransferView(TfmMain &window) : w_(window) {}

void WindowTransferView::setStatusText(const QString &text)
{
    // The commands' own texts mark where they stand; the window tells the block under way
    // and the time left instead, and "Ready ......" at the end.
    if (text == WriteStartText || text == ReadStartText) {
        command_ = text == WriteStartText ? TransferCommand::Write
                   : comparing_           ? TransferCommand::Compare
                                          : TransferCommand::Read;
        running_ = true;
        blocksDone_ = 0;
        started_.start();
        announce(transferStartedText(command_, selectedPortName()));
    } else if (text != WriteBlockText) {
        running_ = false;
        w_.showStatus(text);
        return;
    }
    showProgress();
}

void WindowTransferView::setProgressRange(int minimum, int maximum)
{
    w_.PB1->setRange(minimum, maximum);
    rangeUnpainted_ = true;
}

void WindowTransferView::setProgressPosition(int position)
{
    // The bar ignores values beyond its range; a full bar is what such a position means.
    w_.PB1->setValue(qBound(w_.PB1->minimum(), position, w_.PB1->maximum()));
    // Each block through moves the bar on by one block's bytes.
    if (running_ && position == (blocksDone_ + 1) * TransferBlockSize &&
        blocksDone_ + 1 < TransferBlockCount) {
        ++blocksDone_;
        showProgress();
        if (blocksDone_ % (TransferBlockCount / 4) == 0)
            announce(transferQuarterText(command_, blocksDone_));
    }
}

void WindowTransferView::showProgress()
{
    w_.showStatus(transferProgressText(command_, blocksDone_, started_.elapsed()));
}

void WindowTransferView::repaintProgress()
{
    // The bar repaints itself at once when a new position shows: painting it again at every
    // block would cost a whole paint for nothing.
    if (rangeUnpainted_)
        w_.PB1->repaint();
    rangeUnpainted_ = false;
}

void WindowTransferView::setWindowEnabled(bool enabled)
{
    w_.setInputEnabled(enabled);
    w_.showTransferRunning(!enabled);
}

void WindowTransferView::warn(const QString &text)
{
    w_.dialogs().warn(text);
}

void WindowTransferView::plainMessage(const QString &text)
{
    w_.dialogs().plain(text);
}

void WindowTransferView::announce(const QString &words)
{
    if (!w_.quitting())
        w_.announcer().announce(words);
}

void WindowTransferView::commandEnded(TransferCommand command, const TransferOutcome &outcome)
{
    if (command == TransferCommand::Read && comparing_)
        command = TransferCommand::Compare;
    announce(transferEndedText(command, outcome));
    // A window that closes once the stop is through shows nothing more.
    if (outcome.ok() || w_.quitting())
        return;
    const QString text = outcomeBoxWithCause(command, outcome, selectedPortName());
    if (!text.isEmpty())
        warn(paragraphs({text, note_}));
}

QString WindowTransferView::selectedPortName() const
{
    const int index = w_.cboCOM->currentIndex();
    return index < 0 ? QString() : w_.cboCOM->itemText(index);
}

} // namespace rw
