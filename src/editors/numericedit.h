#pragma once
// The cycle shared by the window's numeric edits: emptied on entry, digits and
// Backspace only while typing (Enter parks the focus), and on leaving either re-shown
// (left empty) or checked against its range and stored.

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

namespace rw {

class Dialogs;

// Typed characters only: digits and Backspace pass, Enter parks the focus, anything else
// (Escape included) is refused with "Please insert a numeric !". Delete, the arrows, Home,
// End and editing shortcuts (Ctrl+X, Ctrl+V, ...) type no character and keep their usual
// meaning.
class NumericKeyFilter : public QObject {
public:
    NumericKeyFilter(QLineEdit *edit, Dialogs &dialogs, std::function<void()> park);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    Dialogs &dialogs_;
    std::function<void()> park_;
};

struct NumericRange {
    bool (*accepts)(qint32 v);
    QString refusal; // shown when a number is refused
};

// Lengths in seconds of the flash and alert settings.
extern const NumericRange ZeroTo999Range;

// The exit rule of a numeric edit. The text is trimmed of blanks; left empty, `reshow`
// brings the stored value back; not a number, the general error report; refused, the
// range's message and the focus back on the edit; accepted, `store`.
void numericExitRule(QLineEdit *edit, Dialogs &dialogs, const NumericRange &range,
                     const std::function<void()> &reshow, const std::function<void(qint32)> &store);

// Attaches the whole cycle (entry rule, key filter, exit rule) to an edit.
void attachNumericEditCycle(QLineEdit *edit, Dialogs &dialogs, std::function<void()> park,
                            std::function<void()> exitRule);

} // namespace rw
