// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A canned-message memo. It remembers the text it showed from its record, so that leaving
// it without typing stores nothing: the record keeps its bytes even where the memo rules
// would store them differently (a lone CR or LF, blanks around the text, a MsgLen that
// does not match). Pasted or dropped text arrives without zero characters, so the memo
// shows what will be stored.

#include <QPlainTextEdit>

namespace rw {

class MessageMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MessageMemo(QWidget *parent = nullptr);

    // Shows a record's message; it becomes the text that counts as untouched.
    void showMessage(const QString &text);
    // The memo's text has been stored: it now counts as untouched.
    void markStored();
    // True when the memo's text differs from the one last shown or stored.
    bool typedSinceShown() const;

protected:
    void insertFromMimeData(const QMimeData *source) override;

private:
    QString untouched_;
};

} // namespace rw
