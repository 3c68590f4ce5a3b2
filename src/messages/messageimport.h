// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list of canned messages read back into a table: the export's own lines
// ("N<TAB>text", a line break stored in a message going on to the next line), or one
// message a line, as a person types a list. Each message is stored as the window stores
// what is typed into its memo, and a refused one is named by its line.

#include <QByteArray>
#include <QString>

namespace rw {

class SettingsTable;

// A message list is a few kilobytes; a larger file is some other file.
constexpr qint64 MessageListSizeLimit = 64 * 1024;

struct MessageImport {
    bool ok = false;
    int messages = 0; // how many the list holds: messages 1 to this number
    QString refusal;  // when not ok: which line, and why
};

// Stores messages 1 to n of the list `content` into `table`; the messages after them and
// every other byte stay as they are, and so does a message that reads as the table
// already shows it. A line that ends the list empty is no message. The export's lines are
// Latin-1 bytes, as the export writes them; a typed list may also be UTF-8. When a message
// is refused or the list holds more than thirty, the result names the line and `table`
// is left as it was.
MessageImport importMessages(SettingsTable &table, const QByteArray &content);

} // namespace rw
