// SPDX-License-Identifier: GPL-3.0-or-later
#include "numericedit.h"

#include "dialogs.h"
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

bool showEditResult(const EditResult &result, QLineEdit *edit, Dialogs &dialogs)
{
    switch (result.status) {
    case EditResult::Status::Stored:
        return true;
    case EditResult::Status::NotANumber:
        dialogs.errorReport(result.message);
        return false;
    case EditResult::Status::Refused:
        dialogs.warn(result.message);
        edit->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return false;
}

bool numericExitRule(QLineEdit *edit, Dialogs &dialogs, SettingsTable &table, Field field,
                     const std::function<void()> &reshow)
{
    if (trimBlanks(edit->text()).isEmpty()) {
        reshow();
        return false;
    }
    return showEditResult(applyNumberText(table, field, edit->text()), edit, dialogs);
}

namespace {
const char EmptiesOnEntryProperty[] = "rw_emptiesOnEntry";
} // namespace

bool emptiesOnEntry(const QWidget *edit)
{
    return edit && edit->property(EmptiesOnEntryProperty).toBool();
}

void attachNumericEditCycle(QLineEdit *edit, Dialogs &dialogs, std::function<void()> park,
                            std::function<void()> exitRule, NumericEditWords words)
{
    edit->setProperty(EmptiesOnEntryProperty, true);
    new NumericKeyFilter(edit, dialogs, std::move(park));
    // Emptied as a new text, not as an edit: Ctrl+Z in the field takes back only what the
    // user typed, and with nothing typed it undoes the last change to the table.
    if (!words.stored) {
        new FocusWatch(
            edit, [edit] { edit->setText(QString()); }, std::move(exitRule));
        return;
    }
    const auto describe = [edit, accepts = words.accepts, stored = words.stored] {
        const QString text = stored();
        edit->setAccessibleDescription(
            accepts.isEmpty() ? text : text + QStringLiteral("; accepts ") + accepts);
        return text;
    };
    // The window shows the stored value (a refresh, a value re-shown): the user's typing
    // marks the text as modified, the window's setting of it does not.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, describe](const QString &text) {
        if (!edit->isModified() && !text.isEmpty())
            describe();
    });
    new FocusWatch(
        edit, [edit] { edit->setText(QString()); },
        [edit, describe, exitRule = std::move(exitRule), committed = words.committed] {
            const bool typed = !trimBlanks(edit->text()).isEmpty();
            exitRule();
            const QString text = describe();
            // A refused value puts the focus back: nothing was committed.
            if (typed && !edit->hasFocus() && committed)
                committed(edit, text);
        });
}

} // namespace rw
