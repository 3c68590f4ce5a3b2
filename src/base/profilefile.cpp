// SPDX-License-Identifier: GPL-3.0-or-later
#include "profilefile.h"

#include "safefile.h"

#include <QFile>
#include <QFileInfo>

namespace rw {

namespace {

const QByteArray Utf8Bom = "\xEF\xBB\xBF";

QString folded(const QByteArray &name)
{
    return QString::fromLatin1(name).toCaseFolded();
}

QString folded(const QString &name)
{
    return name.toCaseFolded();
}

// Line breaks inside a value would split its line in two; the value ends there.
QByteArray oneLine(const QString &s)
{
    QByteArray b = s.toLatin1();
    for (qsizetype i = 0; i < b.size(); ++i)
        if (b[i] == '\n' || b[i] == '\r') {
            b.truncate(i);
            break;
        }
    return b;
}

} // namespace

ProfileFile::ProfileFile(const QString &path) : path_(path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (info.size() > MaxFileSize) {
        tooLarge_ = true;
        return;
    }
    QFile f(path);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly)) {
        unreadable_ = true;
        return;
    }
    const QByteArray all = f.read(MaxFileSize + 1);
    if (all.size() > MaxFileSize) { // grew since it was measured
        tooLarge_ = true;
        return;
    }

    // A line ends in CR LF, LF or a lone CR, and keeps its own end when written back.
    qsizetype begin = 0;
    while (begin < all.size()) {
        qsizetype at = begin;
        while (at < all.size() && all[at] != '\n' && all[at] != '\r')
            ++at;
        if (at == all.size()) {
            lines_.append(parse(all.mid(begin), {}, lines_.isEmpty()));
            break;
        }
        const bool crlf = all[at] == '\r' && at + 1 < all.size() && all[at + 1] == '\n';
        const QByteArray end = crlf ? QByteArray("\r\n") : all.mid(at, 1);
        if (lines_.isEmpty())
            newline_ = end;
        lines_.append(parse(all.mid(begin, at - begin), end, lines_.isEmpty()));
        begin = at + end.size();
    }
}

ProfileFile::Line ProfileFile::parse(QByteArray text, QByteArray end, bool first)
{
    Line line{std::move(text), std::move(end), Kind::Other, {}};
    QByteArray t = line.text;
    if (first && t.startsWith(Utf8Bom))
        t.remove(0, Utf8Bom.size());
    t = t.trimmed();
    if (t.startsWith('[')) {
        const auto close = t.indexOf(']');
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = folded(t.mid(1, close - 1).trimmed());
        }
        return line;
    }
    const auto eq = t.indexOf('=');
    if (eq > 0) {
        const QByteArray name = t.left(eq).trimmed();
        if (!name.isEmpty()) {
            line.kind = Kind::Key;
            line.name = folded(name);
        }
    }
    return line;
}

int ProfileFile::findSection(const QString &foldedName) const
{
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Section && lines_[i].name == foldedName)
            return i;
    return -1;
}

int ProfileFile::findKey(int header, const QString &foldedName) const
{
    for (int i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (lines_[i].kind == Kind::Key && lines_[i].name == foldedName)
            return i;
    return -1;
}

int ProfileFile::sectionEnd(int header) const
{
    int end = header + 1;
    for (int i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (!lines_[i].text.trimmed().isEmpty())
            end = i + 1;
    return end;
}

QString ProfileFile::read(const QString &section, const QString &key,
                          const QString &defaultText) const
{
    const int header = findSection(folded(section));
    const int at = header < 0 ? -1 : findKey(header, folded(key));
    if (at < 0)
        return defaultText.left(MaxValueLength);
    const QByteArray &text = lines_[at].text;
    QByteArray value = text.mid(text.indexOf('=') + 1).trimmed();
    // A value in matching quotes reads without them.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return QString::fromLatin1(value.left(MaxValueLength));
}

void ProfileFile::insert(int at, QByteArray text)
{
    // The line before the new one may be a last line without its line end.
    if (at > 0 && lines_[at - 1].end.isEmpty())
        lines_[at - 1].end = newline_;
    lines_.insert(at, parse(std::move(text), newline_, at == 0));
}

void ProfileFile::append(QByteArray text)
{
    insert(static_cast<int>(lines_.size()), std::move(text));
}

void ProfileFile::write(const QString &section, const QString &key, const QString &value)
{
    const QByteArray v = oneLine(value);
    const int header = findSection(folded(section));
    if (header < 0) {
        // A new section goes at the end, set off from the one before by a blank line.
        if (!lines_.isEmpty() && !lines_.last().text.trimmed().isEmpty())
            append({});
        append('[' + section.toLatin1() + ']');
        append(key.toLatin1() + '=' + v);
        return;
    }
    const int at = findKey(header, folded(key));
    if (at >= 0) {
        // The key keeps its own spelling and spacing; only the value changes.
        QByteArray &text = lines_[at].text;
        text = text.left(text.indexOf('=') + 1) + v;
        return;
    }
    insert(sectionEnd(header), key.toLatin1() + '=' + v);
}

bool ProfileFile::save(QString *why) const
{
    const auto refuse = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (tooLarge_)
        return refuse(QStringLiteral("the file is larger than a settings file can be"));
    if (unreadable_)
        return refuse(QStringLiteral("the file cannot be read"));
    QByteArray content;
    for (const Line &l : lines_)
        content += l.text + l.end;
    const WriteOutcome written = writeFileSafely(path_, content);
    return written.ok || refuse(written.error);
}

} // namespace rw
