#include "numericedit.h"

#include "app/dialogs.h"
#include "focuswatch.h"
#include "model/textrules.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace rw {

namespace {
// Keys that edit or move within the text rather than type a character; some keyboards
// still give Delete the character DEL as its text.
bool isEditingKey(int key)
{
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}
} // namespace

const NumericRange ZeroTo999Range{[](qint32 v) { return v >= 0 && v <= 999; },
                                  "Please insert a number between 0 ~ 999 !"};

NumericKeyFilter::NumericKeyFilter(QLineEdit *edit, Dialogs &dialogs, std::function<void()> park)
    : QObject(edit), dialogs_(dialogs), park_(std::move(park))
{
    edit->installEventFilter(this);
}

bool NumericKeyFilter::eventFilter(QObject *, QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    auto *ke = static_cast<QKeyEvent *>(e);
    if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab || isEditingKey(ke->key()))
        return false;
    if (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = ke->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    if (c == u'\r' || c == u'\n') {
        park_();
        return true;
    }
    if (c == u'\b' || (c >= u'0' && c <= u'9'))
        return false;
    dialogs_.warn("Please insert a numeric !");
    return true;
}

void numericExitRule(QLineEdit *edit, Dialogs &dialogs, const NumericRange &range,
                     const std::function<void()> &reshow, const std::function<void(qint32)> &store)
{
    const QString text = trimBlanks(edit->text());
    if (text.isEmpty()) {
        reshow();
        return;
    }
    const auto v = parseInt32(text);
    if (!v) {
        dialogs.errorReport(notAnIntegerMessage(text));
        return;
    }
    if (!range.accepts(*v)) {
        dialogs.warn(range.refusal);
        edit->setFocus(Qt::OtherFocusReason);
        return;
    }
    store(*v);
}

void attachNumericEditCycle(QLineEdit *edit, Dialogs &dialogs, std::function<void()> park,
                            std::function<void()> exitRule)
{
    new NumericKeyFilter(edit, dialogs, std::move(park));
    new FocusWatch(
        edit, [edit] { edit->clear(); }, std::move(exitRule));
}

} // namespace rw
