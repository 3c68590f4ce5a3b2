// SPDX-License-Identifier: GPL-3.0-or-later
#include "jsontext.h"

#include <QHash>

namespace rw {

JsonNode JsonNode::number(qint64 v)
{
    JsonNode n = node(Type::Number);
    n.text = QString::number(v);
    return n;
}

JsonNode JsonNode::truth(bool v)
{
    JsonNode n = node(Type::Bool);
    n.boolean = v;
    return n;
}

JsonNode JsonNode::string(const QString &s)
{
    JsonNode n = node(Type::String);
    n.text = s;
    return n;
}

JsonNode &JsonNode::add(const QString &key, JsonNode value)
{
    members.push_back({key, {}, std::move(value)});
    return *this;
}

JsonNode &JsonNode::append(JsonNode value)
{
    items.push_back(std::move(value));
    return *this;
}

std::optional<qint64> JsonNode::integer() const
{
    if (type != Type::Number || text.contains('.') || text.contains('e') || text.contains('E'))
        return std::nullopt;
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

const JsonNode *JsonNode::member(const QString &key) const
{
    for (const JsonMember &m : members) {
        if (m.key == key)
            return &m.value;
    }
    return nullptr;
}

QString JsonNode::typeName() const
{
    switch (type) {
    case Type::Null:
        return QStringLiteral("null");
    case Type::Bool:
        return QStringLiteral("true or false");
    case Type::Number:
        return QStringLiteral("a number");
    case Type::String:
        return QStringLiteral("a text");
    case Type::Array:
        return QStringLiteral("a list");
    case Type::Object:
        return QStringLiteral("an object");
    }
    return {};
}

namespace {

constexpr int MaxDepth = 64;

class Reader {
public:
    explicit Reader(const QByteArray &text) : s_(text)
    {
        if (s_.startsWith("\xEF\xBB\xBF"))
            pos_ = 3;
    }

    JsonReadResult read()
    {
        JsonReadResult r;
        skipBlanks();
        if (atEnd()) {
            fail(QStringLiteral("the document is empty"));
        } else {
            JsonNode root;
            if (value(root, 0)) {
                skipBlanks();
                if (atEnd())
                    r.root = std::move(root);
                else
                    fail(QStringLiteral("more text after the end of the document"));
            }
        }
        if (!r.root) {
            r.errorPlace = errorPlace_;
            r.error = error_;
        }
        return r;
    }

private:
    bool atEnd() const { return pos_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[pos_]; }
    JsonPlace here() const { return {line_, column_}; }

    void advance()
    {
        const auto c = static_cast<unsigned char>(s_[pos_++]);
        if (c == '\n') {
            ++line_;
            column_ = 1;
        } else if ((c & 0xC0) != 0x80) { // a continuation byte is part of the same character
            ++column_;
        }
    }

    bool fail(const QString &message) { return failAt(here(), message); }
    bool failAt(JsonPlace place, const QString &message)
    {
        if (error_.isEmpty()) {
            errorPlace_ = place;
            error_ = message;
        }
        return false;
    }

    void skipBlanks()
    {
        while (!atEnd()) {
            const char c = peek();
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            advance();
        }
    }

    QString describeHere() const
    {
        if (atEnd())
            return QStringLiteral("the end of the document");
        const auto c = static_cast<unsigned char>(peek());
        if (c >= 0x21 && c < 0x7F)
            return QStringLiteral("'%1'").arg(QChar(c));
        return QStringLiteral("the byte 0x%1").arg(c, 2, 16, QChar('0'));
    }

    bool literal(const char *word)
    {
        for (const char *p = word; *p; ++p) {
            if (peek() != *p)
                return fail(QStringLiteral("unexpected %1").arg(describeHere()));
            advance();
        }
        return true;
    }

    bool value(JsonNode &out, int depth)
    {
        out.place = here();
        switch (peek()) {
        case '{':
            return object(out, depth + 1);
        case '[':
            return array(out, depth + 1);
        case '"':
            out.type = JsonNode::Type::String;
            return string(out.text);
        case 't':
            out.type = JsonNode::Type::Bool;
            out.boolean = true;
            return literal("true");
        case 'f':
            out.type = JsonNode::Type::Bool;
            return literal("false");
        case 'n':
            out.type = JsonNode::Type::Null;
            return literal("null");
        default:
            if (peek() == '-' || (peek() >= '0' && peek() <= '9')) {
                out.type = JsonNode::Type::Number;
                return number(out.text);
            }
            if (atEnd())
                return fail(QStringLiteral("the document ends where a value should be"));
            return fail(
                QStringLiteral("unexpected %1 where a value should be").arg(describeHere()));
        }
    }

    bool digits()
    {
        if (peek() < '0' || peek() > '9')
            return fail(QStringLiteral("a digit should be here"));
        while (peek() >= '0' && peek() <= '9')
            advance();
        return true;
    }

    bool number(QString &text)
    {
        const qsizetype start = pos_;
        if (peek() == '-')
            advance();
        if (peek() == '0') {
            advance();
            if (peek() >= '0' && peek() <= '9')
                return fail(QStringLiteral("a number does not begin with 0"));
        } else if (!digits()) {
            return false;
        }
        if (peek() == '.') {
            advance();
            if (!digits())
                return false;
        }
        if (peek() == 'e' || peek() == 'E') {
            advance();
            if (peek() == '+' || peek() == '-')
                advance();
            if (!digits())
                return false;
        }
        text = QString::fromLatin1(s_.mid(start, pos_ - start));
        return true;
    }

    // Four hex digits of a \u escape.
    bool hex4(char16_t &unit)
    {
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = peek();
            int d = -1;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            if (d < 0)
                return fail(QStringLiteral("\\u needs four hexadecimal digits"));
            unit = static_cast<char16_t>(unit * 16 + d);
            advance();
        }
        return true;
    }

    bool escape(QString &out)
    {
        const JsonPlace at = here();
        advance(); // the backslash
        const char c = peek();
        if (atEnd())
            return fail(QStringLiteral("a text is not closed"));
        static const char plain[] = "\"\\/bfnrt";
        static const char meant[] = "\"\\/\b\f\n\r\t";
        for (int i = 0; plain[i]; ++i) {
            if (c == plain[i]) {
                out += QChar(meant[i]);
                advance();
                return true;
            }
        }
        if (c != 'u')
            return failAt(at, QStringLiteral("unknown escape \\%1").arg(describeHere()));
        advance();
        char16_t unit = 0;
        if (!hex4(unit))
            return false;
        if (QChar::isLowSurrogate(unit))
            return failAt(at, QStringLiteral("\\u%1 is half of a character").arg(int(unit), 4, 16));
        if (QChar::isHighSurrogate(unit)) {
            char16_t low = 0;
            if (peek() != '\\' || pos_ + 1 >= s_.size() || s_[pos_ + 1] != 'u')
                return failAt(at,
                              QStringLiteral("\\u%1 is half of a character").arg(int(unit), 4, 16));
            advance();
            advance();
            if (!hex4(low))
                return false;
            if (!QChar::isLowSurrogate(low))
                return failAt(at,
                              QStringLiteral("\\u%1 is half of a character").arg(int(unit), 4, 16));
            out += QChar(unit);
            out += QChar(low);
            return true;
        }
        out += QChar(unit);
        return true;
    }

    // One character of UTF-8 into `out`; refuses bytes that are not UTF-8.
    bool utf8Character(QString &out)
    {
        const auto b0 = static_cast<unsigned char>(peek());
        int extra = 0;
        char32_t cp = 0;
        if (b0 < 0x80) {
            cp = b0;
        } else if (b0 >= 0xC2 && b0 <= 0xDF) {
            extra = 1;
            cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            extra = 2;
            cp = b0 & 0x0F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            extra = 3;
            cp = b0 & 0x07;
        } else {
            return fail(
                QStringLiteral("the text is not UTF-8 (byte 0x%1)").arg(b0, 2, 16, QChar('0')));
        }
        const JsonPlace at = here();
        for (int i = 1; i <= extra; ++i) {
            if (pos_ + i >= s_.size())
                return failAt(at, QStringLiteral("the text is not UTF-8 (cut character)"));
            const auto b = static_cast<unsigned char>(s_[pos_ + i]);
            if ((b & 0xC0) != 0x80)
                return failAt(
                    at,
                    QStringLiteral("the text is not UTF-8 (byte 0x%1)").arg(b, 2, 16, QChar('0')));
            cp = (cp << 6) | (b & 0x3F);
        }
        const bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
        if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return failAt(at, QStringLiteral("the text is not UTF-8 (bad character)"));
        for (int i = 0; i <= extra; ++i)
            advance();
        const char32_t one[1] = {cp};
        out += QString::fromUcs4(one, 1);
        return true;
    }

    bool string(QString &out)
    {
        const JsonPlace opened = here();
        advance(); // the opening quote
        out.clear();
        for (;;) {
            if (atEnd())
                return failAt(opened, QStringLiteral("a text is not closed"));
            const auto c = static_cast<unsigned char>(peek());
            if (c == '"') {
                advance();
                return true;
            }
            if (c == '\\') {
                if (!escape(out))
                    return false;
            } else if (c < 0x20) {
                return fail(QStringLiteral("a control character in a text must be written as an "
                                           "escape (a line break as \\n)"));
            } else if (!utf8Character(out)) {
                return false;
            }
        }
    }

    bool array(JsonNode &out, int depth)
    {
        if (depth > MaxDepth)
            return fail(QStringLiteral("nested more than %1 levels deep").arg(MaxDepth));
        out.type = JsonNode::Type::Array;
        advance(); // [
        skipBlanks();
        if (peek() == ']') {
            advance();
            return true;
        }
        for (;;) {
            skipBlanks();
            JsonNode item;
            if (!value(item, depth))
                return false;
            out.items.push_back(std::move(item));
            skipBlanks();
            if (peek() == ',') {
                advance();
                continue;
            }
            if (peek() == ']') {
                advance();
                return true;
            }
            return fail(QStringLiteral("',' or ']' should be here, not %1").arg(describeHere()));
        }
    }

    bool object(JsonNode &out, int depth)
    {
        if (depth > MaxDepth)
            return fail(QStringLiteral("nested more than %1 levels deep").arg(MaxDepth));
        out.type = JsonNode::Type::Object;
        advance(); // {
        skipBlanks();
        if (peek() == '}') {
            advance();
            return true;
        }
        QHash<QString, JsonPlace> seen;
        for (;;) {
            skipBlanks();
            if (peek() != '"')
                return fail(
                    QStringLiteral("a name in quotes should be here, not %1").arg(describeHere()));
            JsonMember m;
            m.place = here();
            if (!string(m.key))
                return false;
            if (const auto first = seen.constFind(m.key); first != seen.constEnd())
                return failAt(m.place, QStringLiteral("\"%1\" is given twice (first at line %2, "
                                                      "column %3)")
                                           .arg(m.key)
                                           .arg(first->line)
                                           .arg(first->column));
            seen.insert(m.key, m.place);
            skipBlanks();
            if (peek() != ':')
                return fail(QStringLiteral("':' should be here, not %1").arg(describeHere()));
            advance();
            skipBlanks();
            if (!value(m.value, depth))
                return false;
            out.members.push_back(std::move(m));
            skipBlanks();
            if (peek() == ',') {
                advance();
                continue;
            }
            if (peek() == '}') {
                advance();
                return true;
            }
            return fail(QStringLiteral("',' or '}' should be here, not %1").arg(describeHere()));
        }
    }

    const QByteArray &s_;
    qsizetype pos_ = 0;
    int line_ = 1;
    int column_ = 1;
    JsonPlace errorPlace_;
    QString error_;
};

void writeString(QByteArray &out, const QString &s)
{
    out += '"';
    QString run; // characters written as they are; a surrogate pair stays together
    auto flush = [&] {
        out += run.toUtf8();
        run.clear();
    };
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        const char *escape = nullptr;
        switch (u) {
        case '"':
            escape = "\\\"";
            break;
        case '\\':
            escape = "\\\\";
            break;
        case '\n':
            escape = "\\n";
            break;
        case '\r':
            escape = "\\r";
            break;
        case '\t':
            escape = "\\t";
            break;
        case '\b':
            escape = "\\b";
            break;
        case '\f':
            escape = "\\f";
            break;
        default:
            break;
        }
        if (escape) {
            flush();
            out += escape;
        } else if (u < 0x20 || u == 0x7F) {
            flush();
            out += QByteArray("\\u00") + QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            run += c;
        }
    }
    flush();
    out += '"';
}

bool isScalar(const JsonNode &n)
{
    return n.type != JsonNode::Type::Array && n.type != JsonNode::Type::Object;
}

void write(QByteArray &out, const JsonNode &n, int indent)
{
    const QByteArray pad(indent * 2 + 2, ' ');
    const QByteArray closePad(indent * 2, ' ');
    switch (n.type) {
    case JsonNode::Type::Null:
        out += "null";
        return;
    case JsonNode::Type::Bool:
        out += n.boolean ? "true" : "false";
        return;
    case JsonNode::Type::Number:
        out += n.text.toLatin1();
        return;
    case JsonNode::Type::String:
        writeString(out, n.text);
        return;
    case JsonNode::Type::Array: {
        if (n.items.empty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < n.items.size(); ++i) {
            out += pad;
            write(out, n.items[i], indent + 1);
            out += i + 1 < n.items.size() ? ",\n" : "\n";
        }
        out += closePad + "]";
        return;
    }
    case JsonNode::Type::Object: {
        if (n.members.empty()) {
            out += "{}";
            return;
        }
        // An object of a few plain values reads best on one line (a message record).
        bool small = n.members.size() <= 4;
        for (const JsonMember &m : n.members)
            small = small && isScalar(m.value);
        out += small ? "{" : "{\n";
        for (std::size_t i = 0; i < n.members.size(); ++i) {
            if (!small)
                out += pad;
            writeString(out, n.members[i].key);
            out += ": ";
            write(out, n.members[i].value, indent + 1);
            if (i + 1 < n.members.size())
                out += small ? ", " : ",\n";
        }
        out += small ? QByteArray("}") : "\n" + closePad + "}";
        return;
    }
    }
}

} // namespace

JsonReadResult readJson(const QByteArray &utf8)
{
    return Reader(utf8).read();
}

QByteArray writeJson(const JsonNode &root)
{
    QByteArray out;
    write(out, root, 0);
    out += '\n';
    return out;
}

} // namespace rw
