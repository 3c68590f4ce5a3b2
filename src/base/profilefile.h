// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small reader and writer of initialization-style files ("[Section]" lines and
// "Key=Value" lines), with the behaviour the settings file relies on:
// - a line ends in CR LF, LF or a lone CR;
// - section and key names match without regard to letter case; the first match counts;
// - a missing file, section or key reads as the default text; "Key=" reads as empty;
// - a value reads without the blanks around it and without one pair of enclosing quotes,
//   and as at most 259 characters;
// - writing replaces the value of an existing key and leaves every other line alone,
//   byte for byte and with its own line end; a new key goes at the end of its section, a
//   new section at the end of the file; a new file is made in the order of writing.
// Lines without "=" that are not section headers (comments, junk) are kept and ignored.

#include <QByteArray>
#include <QList>
#include <QString>

namespace rw {

class ProfileFile {
public:
    static constexpr int MaxValueLength = 259;
    // Files larger than this are not settings files; they read as missing and are never
    // rewritten.
    static constexpr qint64 MaxFileSize = 1 << 20;

    // Loads the file; a missing or unreadable file gives an empty profile.
    explicit ProfileFile(const QString &path);

    QString read(const QString &section, const QString &key, const QString &defaultText) const;
    void write(const QString &section, const QString &key, const QString &value);
    // Writes the lines back whole or not at all; false when the file could not be written
    // (it then keeps its old content), or when an existing file could not be read whole
    // (it is then left as it is). `why`, when given, then says why for a person.
    bool save(QString *why = nullptr) const;

    bool tooLarge() const { return tooLarge_; }

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        QByteArray text; // without its line end
        QByteArray end;  // "\r\n", "\n", "\r", or empty for a last line without one
        Kind kind = Kind::Other;
        QString name; // case-folded section or key name
    };
    static Line parse(QByteArray text, QByteArray end, bool first);
    void append(QByteArray text);
    void insert(int at, QByteArray text);

    // Index of the section's header line, or -1.
    int findSection(const QString &foldedName) const;
    // Index of the key's line inside the section whose header is at `header`, or -1.
    int findKey(int header, const QString &foldedName) const;
    int sectionEnd(int header) const; // one past the section's last non-blank line

    QString path_;
    QList<Line> lines_;
    QByteArray newline_ = "\r\n"; // for new lines: the file's own, CR LF in a new file
    bool tooLarge_ = false;
    bool unreadable_ = false;
};

} // namespace rw
