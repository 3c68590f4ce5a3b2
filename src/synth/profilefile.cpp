#include "profilefile.h"

#include <QFile>
#include <QSaveFile>

namespace rw
{

namespace
{

QByteArray trimmed(const QByteArray &b)
{
    return b.trimmed();
}

bool isSectionHeader(const QByteArray &line, QByteArray *name = nullptr)
{
    const QByteArray t = trimmed(line);
    if (!t.startsWith('['))
        return false;
    const auto close = t.indexOf(']');
    if (close < 0)
        return false;
    if (name)
        *name = trimmed(t.mid(1, close - 1));
    return true;
}

bool sameName(const QByteArray &a, const QString &b)
{
    return QString::fromLatin1(a).compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

ProfileFile::ProfileFile(const QString &path) : path_(path)
{
    QFile f(path);
    if (!f.exists())
        return;
    if (f.size() > MaxFileSize) {
        tooLarge_ = true;
        return;
    }
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray all = f.read(MaxFileSize + 1);
    if (all.size() > MaxFileSize) {
        tooLarge_ = true;
        return;
    }
    if (!all.contains("\r\n") && all.contains('\n'))
        newline_ = "\n";
    lines_ = all.split('\n');
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast(); // the file's final line end
    for (QByteArray &l : lines_)
        if (l.endsWith('\r'))
            l.chop(1);
}

int ProfileFile::findSection(const QString &section) const
{
    for (int i = 0; i < lines_.size(); ++i) {
        QByteArray name;
        if (isSectionHeader(lines_[i], &name) && sameName(name, section))
            return i;
    }
    return -1;
}

int ProfileFile::findKey(int header, const QString &key) const
{
    for (int i = header + 1; i < lines_.size() && !isSectionHeader(lines_[i]); ++i) {
        const auto eq = lines_[i].indexOf('=');
        if (eq >= 0 && sameName(trimmed(lines_[i].left(eq)), key))
            return i;
    }
    return -1;
}

int ProfileFile::sectionEnd(int header) const
{
    int end = header + 1;
    for (int i = header + 1; i < lines_.size() && !isSectionHeader(lines_[i]); ++i)
        if (!trimmed(lines_[i]).isEmpty())
            end = i + 1;
    return end;
}

QString ProfileFile::read(const QString &section, const QString &key,
                          const QString &defaultText) const
{
    const int header = findSection(section);
    const int line = header < 0 ? -1 : findKey(header, key);
    if (line < 0)
        return defaultText.left(MaxValueLength);
    const QByteArray &l = lines_[line];
    QByteArray value = trimmed(l.mid(l.indexOf('=') + 1));
    // A value in matching quotes reads without them.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return QString::fromLatin1(value.left(MaxValueLength));
}

void ProfileFile::write(const QString &section, const QString &key, const QString &value)
{
    const QByteArray entry = key.toLatin1() + '=' + value.toLatin1();
    int header = findSection(section);
    if (header < 0) {
        lines_.append('[' + section.toLatin1() + ']');
        lines_.append(entry);
        return;
    }
    const int line = findKey(header, key);
    if (line >= 0) {
        const QByteArray &old = lines_[line];
        lines_[line] = old.left(old.indexOf('=') + 1) + value.toLatin1();
        return;
    }
    lines_.insert(sectionEnd(header), entry);
}

bool ProfileFile::save() const
{
    if (tooLarge_)
        return false;
    QSaveFile f(path_);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArray &l : lines_) {
        f.write(l);
        f.write(newline_);
    }
    return f.commit();
}

} // namespace rw
