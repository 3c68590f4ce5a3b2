// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Limits what the user can type or paste into an edit without cutting what the window
// shows: a QLineEdit's own maximum length would truncate a stored value that is longer
// than the edit's typing limit and show a plausible wrong number.

#include <QValidator>

namespace rw {

class LengthLimit : public QValidator {
public:
    LengthLimit(int maxLength, QObject *parent) : QValidator(parent), max_(maxLength) {}
    State validate(QString &input, int &) const override
    {
        return input.size() <= max_ ? Acceptable : Invalid;
    }

private:
    int max_;
};

} // namespace rw
