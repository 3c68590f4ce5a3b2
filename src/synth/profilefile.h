#pragma once
// A small reader and writer of initialization-style files ("[Section]" lines and
// "Key=Value" lines), with the behaviour the settings file relies on:
// - section and key names match without regard to letter case; the first match counts;
// - a missing file, section or key reads as the default text; "Key=" reads as empty;
// - a value reads as at most 259 characters;
// - writing replaces the value of an existing key and leaves every other line alone,
//   appends a new key at the end of its section and a new section at the end of the file.

#include <QByteArray>
#include <QList>
#include <QString>

namespace rw
{

class ProfileFile
{
public:
    static constexpr int MaxValueLength = 259;
    // Files larger than this are not settings files; they read as missing and are never
    // rewritten.
    static constexpr qint64 MaxFileSize = 1 << 20;

    // Loads the file; a missing or unreadable file gives an empty profile.
    explicit ProfileFile(const QString &path);

    QString read(const QString &section, const QString &key, const QString &defaultText) const;
    void write(const QString &section, const QString &key, const QString &value);
    // Writes the lines back atomically; false when the file could not be written.
    bool save() const;

    bool tooLarge() const { return tooLarge_; }

private:
    struct Line {
        QByteArray text;
    };
    // Index of the section's header line, or -1.
    int findSection(const QString &section) const;
    // Index of the key's line inside the section starting after `header`, or -1.
    int findKey(int header, const QString &key) const;
    int sectionEnd(int header) const; // one past the section's last non-blank line

    QString path_;
    QList<QByteArray> lines_;
    QByteArray newline_ = "\r\n";
    bool tooLarge_ = false;
};

} // namespace rw
