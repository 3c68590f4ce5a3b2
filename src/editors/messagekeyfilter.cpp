#include "messagekeyfilter.h"

#include "messages/messagerecord.h"
#include "model/fieldlayout.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace rw
{

MessageKeyFilter::MessageKeyFilter(QPlainTextEdit *memo) : QObject(memo), memo_(memo)
{
    memo->installEventFilter(this);
}

bool MessageKeyFilter::eventFilter(QObject *, QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    auto *ke = static_cast<QKeyEvent *>(e);
    if (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (ke->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    const QString text = ke->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    // Control characters other than Enter are not typed text.
    if (c.unicode() < 32 && c != u'\r' && c != u'\n')
        return false;
    return storedMessageLength(memoText(memo_)) >= MessageTextSize;
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
