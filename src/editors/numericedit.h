// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cycle shared by the window's numeric edits: emptied on entry, digits and
// Backspace only while typing (Enter parks the focus), and on leaving either re-shown
// (left empty) or checked against its range and stored.

#include "model/editrules.h"

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

namespace rw {

class Dialogs;
class SettingsTable;

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

// Shows what a rule of the core reported about an edit's text: a conversion error in the
// general error report; a refusal in the "RW830KT" box, with the focus back on the edit.
// True when the value was stored.
bool showEditResult(const EditResult &result, QLineEdit *edit, Dialogs &dialogs);

// The exit rule of a numeric edit for `field`. The text is trimmed of blanks; left empty,
// `reshow` brings the stored value back; otherwise the field's rule (editrules.h) stores
// it or says why not. True when the value was stored.
bool numericExitRule(QLineEdit *edit, Dialogs &dialogs, SettingsTable &table, Field field,
                     const std::function<void()> &reshow);

// What a screen reader is told about a numeric edit, which empties itself for typing:
// its accessible description carries the stored value ("stored: 30 seconds; accepts 0, or
// 10 to 240 seconds"), taken anew whenever the window shows a value in the edit and after
// every exit; and each value the user commits is handed to `committed` to be announced.
struct NumericEditWords {
    QString accepts;                                     // what the edit accepts, in words
    std::function<QString()> stored;                     // the table's value, in words
    std::function<void(QLineEdit *, QString)> committed; // the edit and its stored words
};

// True for an edit that empties itself when the focus enters it (the cycle below).
bool emptiesOnEntry(const QWidget *edit);

// Attaches the whole cycle (entry rule, key filter, exit rule) to an edit.
void attachNumericEditCycle(QLineEdit *edit, Dialogs &dialogs, std::function<void()> park,
                            std::function<void()> exitRule, NumericEditWords words = {});

} // namespace rw
