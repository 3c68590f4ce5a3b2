// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagekeyfilter.h"

#include "messages/messagerecord.h"
#include "model/fieldlayout.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace rw {

MessageKeyFilter::MessageKeyFilter(QPlainTextEdit *memo, std::function<void()> dropped)
    : QObject(memo), memo_(memo), dropped_(std::move(dropped))
{
    memo->installEventFilter(this);
}

bool MessageKeyFilter::eventFilter(QObject *, QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    auto *ke = static_cast<QKeyEvent *>(e);
    // Shortcuts pass; AltGr, which some systems report as Ctrl+Alt, types characters.
    const auto mods = ke->modifiers();
    const bool altGr = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
    if ((mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && !altGr)
        return false;
    if (ke->key() == Qt::Key_Backspace || ke->key() == Qt::Key_Delete)
        return false;
    const QString text = ke->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    // Control characters other than Enter (Tab, Escape, ...) are not typed text.
    if (c.unicode() < 32 && c != u'\r' && c != u'\n')
        return false;
    if (storedMessageLength(memoText(memo_)) < MessageTextSize)
        return false;
    if (dropped_)
        dropped_();
    return true;
}

QString memoText(const QPlainTextEdit *memo)
{
    // The raw text keeps a no-break space as it is; the plain text would turn it into a
    // blank and store back a byte that was never typed.
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

} // namespace rw
