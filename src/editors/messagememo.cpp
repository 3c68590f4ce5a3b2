// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagememo.h"

#include "messagekeyfilter.h"
#include "messages/messagerecord.h"

#include <QMimeData>

namespace rw {

MessageMemo::MessageMemo(QWidget *parent) : QPlainTextEdit(parent) {}

void MessageMemo::showMessage(const QString &text)
{
    setPlainText(text);
    // What the memo holds, not the text given: the memo turns a lone CR into a line break.
    untouched_ = memoText(this);
}

void MessageMemo::markStored()
{
    untouched_ = memoText(this);
}

bool MessageMemo::typedSinceShown() const
{
    return memoText(this) != untouched_;
}

void MessageMemo::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData plain;
    plain.setText(withoutZeroCharacters(source->text()));
    QPlainTextEdit::insertFromMimeData(&plain);
}

} // namespace rw
