// SPDX-License-Identifier: GPL-3.0-or-later
// A transfer under way, as the window shows it: the Stop button beside the progress bar
// and Escape stop it through the same request as the system's signals; the result is
// told once the port is closed, and a close asked for meanwhile happens then.

#include "editors/dialogs.h"
#include "frmmain.h"
#include "link/line/stoprequest.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

namespace rw {

void TfmMain::buildTransferControls()
{
    btnStop = new QPushButton(QStringLiteral("Stop"), statusBar());
    btnStop->setObjectName("btnStop");
    btnStop->setAccessibleName(QStringLiteral("Stop transfer"));
    btnStop->setToolTip(QStringLiteral("Stop the transfer (Esc)"));
    // A click must not take the focus away from where the user left it; Tab reaches it
    // while the rest of the window is disabled.
    btnStop->setFocusPolicy(Qt::TabFocus);
    btnStop->hide();
    statusBar()->insertWidget(1, btnStop);
    connect(btnStop, &QPushButton::clicked, this, &TfmMain::stopTransfer);

    // The controls are disabled during a transfer, so the key belongs to the window.
    stopKey_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    stopKey_->setContext(Qt::WindowShortcut);
    stopKey_->setEnabled(false);
    connect(stopKey_, &QShortcut::activated, this, &TfmMain::stopTransfer);
}

void TfmMain::stopTransfer()
{
    requestStopNow();
}

void TfmMain::stopForSignal(int signal)
{
    if (stopSignal_ == 0)
        stopSignal_ = signal;
    stopping_ = true;
    stopTransfer();
    closeOnceFree();
}

void TfmMain::closeOnceFree()
{
    // A box or a dialog waiting for the user would hold the program up: each ends as its
    // Cancel (or its only button), and the code that opened it carries on to its end.
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (dialog && dialog->isVisible())
            dialog->reject();
    }
    // The window refuses to close while a transfer or the bench is stopping; it closes as
    // soon as the port is closed, and the program ends with its last window.
    if (!close())
        QTimer::singleShot(CloseRetryMs, this, &TfmMain::closeOnceFree);
}

void TfmMain::showTransferRunning(bool running)
{
    btnStop->setVisible(running);
    stopKey_->setEnabled(running);
}

void TfmMain::endTransferCommand(const QString &result)
{
    if (!quitting()) {
        if (!result.isEmpty())
            dialogs_.warn(result);
        return;
    }
    // The close box asked for the stop: close now that the port is closed, asking about
    // unsaved edits as every close does. (A signal's close follows by itself.)
    if (quitAfterTransfer_ && !stopping_)
        QTimer::singleShot(0, this, [this] {
            quitAfterTransfer_ = false;
            close();
        });
}

bool TfmMain::opensPortList(const QEvent *e)
{
    if (e->type() == QEvent::MouseButtonPress)
        return true;
    if (e->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(e);
    return key->key() == Qt::Key_F4 || ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
                                        key->modifiers().testFlag(Qt::AltModifier));
}

} // namespace rw
