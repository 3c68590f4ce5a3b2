// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a canned-message record as the editor and the export see it.
// A record holds MsgLen, MsgFixedByte, 50 bytes of MsgText and six reserved bytes; the
// editor writes MsgLen and MsgText only. A line break inside a message is stored as
// CR LF, the way the transmitter's messages have always been stored, and a memo shows it
// as one line break.

#include <QByteArray>
#include <QString>

namespace rw {

// MsgText up to its first zero byte, never beyond its 50th byte, as stored.
QByteArray storedMessageText(const QByteArray &record);

// The record's message as a memo shows it.
QString messageForMemo(const QByteArray &record);

// A message never holds a zero byte inside its text: readers would stop there while
// MsgLen still counted the rest. Zero characters are dropped before anything is stored.
QString withoutZeroCharacters(const QString &text);

// The memo's text as it would be stored: zero characters dropped, blanks around it
// removed, every line break (LF, CR, CR LF or a Unicode paragraph or line separator) as
// CR LF, and Latin-1 bytes with '?' for a character that has none.
QByteArray messageFromMemo(const QString &memoText);

// Number of characters the memo's text would store; what the 50-character limit counts.
int storedMessageLength(const QString &memoText);

// Stores the memo's text into the record: MsgLen and the zero-padded MsgText. False,
// with the record untouched, when the text is longer than 50 characters.
bool storeMessage(QByteArray &record, const QString &memoText);
// What the user is told when a message is refused for its length.
inline const QString MessageTooLongText = QStringLiteral("More then 50 Characters!");
// What the status bar says when a key typed into a full message is dropped: message
// `number` (1 to 30) holds the 50 characters it can.
QString messageFullText(int number);

} // namespace rw
