// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key filter of the ten message memos: once the memo's text, blanks around it
// removed, has 50 characters, a typed character is discarded without a message.
// Backspace and Delete still work, and navigation keys and editing shortcuts (Ctrl+X,
// Ctrl+V, ...) keep their usual meaning. Enter is an ordinary character here: below the
// limit it puts a line break into the message.

#include <QObject>
#include <functional>

class QPlainTextEdit;

namespace rw {

class MessageKeyFilter : public QObject {
public:
    // `dropped` runs for each typed character discarded because the message is full, so
    // that the window can say so.
    explicit MessageKeyFilter(QPlainTextEdit *memo, std::function<void()> dropped = {});

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    QPlainTextEdit *memo_;
    std::function<void()> dropped_;
};

// The memo's text with every character it holds, line breaks as '\n'.
QString memoText(const QPlainTextEdit *memo);

} // namespace rw
