// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text rules shared by the editors, the settings file and the message records.

#include <QByteArray>
#include <QString>
#include <optional>

namespace rw {

// A blank is any character whose code is 32 or less.
bool isBlank(QChar c);
QString trimBlanks(const QString &s);
QString trimTrailingBlanks(const QString &s);

// A decimal integer with an optional sign and nothing else; nullopt when the text is
// not one or lies outside the signed 32-bit range.
std::optional<qint32> parseInt32(const QString &text);

// The message every failed number conversion reports, with the text as shownInMessage()
// gives it.
QString notAnIntegerMessage(const QString &text);

// A value that a message repeats (a number from a site file, a settings file or a command
// line): whole up to 40 characters, a longer one cut to its first 37 and "...", so that a
// value of thousands of digits does not bury the message.
QString shownInMessage(const QString &text);

// Text in the table is single-byte Latin-1: every stored byte shows and stores back
// unchanged, and a character that has no byte is stored as '?'.
QByteArray toTableText(const QString &s);
QString fromTableText(const QByteArray &b);
// Nullopt when every character of `s` has its byte in the table's text; otherwise what the
// user is told, naming the first character that has none. Where the text is taken in
// whole (the command line), such text is refused rather than stored with '?'.
std::optional<QString> tableTextRefusal(const QString &s);

// Text as a terminal or a list may show it: every control character escaped (a line break
// as \n, a tab as \t, ESC as \x1b, DEL as \x7f, the C1 controls likewise), and the
// backslash doubled so an escape can be told from the characters it stands for.
QString escapedText(const QString &s);
// The control characters escaped as escapedText does them, the backslash left as it is:
// for a file name or a message that reaches a terminal, where nothing from outside may
// move or recolour the screen. With `keepLineBreaks` a text of several lines keeps them.
QString escapedControls(const QString &s, bool keepLineBreaks = false);

// Bytes up to the first zero byte, never more than maxLen.
QByteArray untilZero(const QByteArray &b, int maxLen);

} // namespace rw
