// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small JSON reader and writer for the table documents people write by hand and keep in
// version control. Unlike QJsonDocument it tells the line and column of every value and of
// every mistake, refuses a key given twice in one object (the second would silently win),
// keeps the members in the order written, and keeps each number as written, so a 32-bit
// register word or a frequency in hertz is never rounded.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace rw {

struct JsonPlace {
    int line = 0;   // from 1
    int column = 0; // from 1, in characters
};

struct JsonMember;

struct JsonNode {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    JsonPlace place;
    bool boolean = false;
    QString text; // a string's characters, or a number's literal as written
    std::vector<JsonNode> items;
    std::vector<JsonMember> members;

    static JsonNode null();
    static JsonNode number(qint64 v);
    static JsonNode string(const QString &s);
    static JsonNode truth(bool v); // true or false
    static JsonNode array();
    static JsonNode object();

    JsonNode &add(const QString &key, JsonNode value); // to an object; returns *this
    JsonNode &append(JsonNode value);                  // to an array; returns *this

    // A whole number as written (no fraction, no exponent) that fits 64 bits.
    std::optional<qint64> integer() const;
    // The member of an object by its key.
    const JsonNode *member(const QString &key) const;
    // What a person calls the type, for messages: "a number", "a text", ...
    QString typeName() const;

private:
    static JsonNode node(Type t);
};

struct JsonMember {
    QString key;
    JsonPlace place; // of the key
    JsonNode value;
};

// Defined once JsonMember is complete: a node holds a vector of them.
inline JsonNode JsonNode::node(Type t)
{
    JsonNode n;
    n.type = t;
    return n;
}
inline JsonNode JsonNode::null()
{
    return {};
}
inline JsonNode JsonNode::array()
{
    return node(Type::Array);
}
inline JsonNode JsonNode::object()
{
    return node(Type::Object);
}

struct JsonReadResult {
    std::optional<JsonNode> root;
    JsonPlace errorPlace;
    QString error;
};

// Reads one JSON value from UTF-8 text (a leading byte-order mark is allowed). Nesting
// deeper than 64 levels is refused rather than followed.
JsonReadResult readJson(const QByteArray &utf8);

// The value as indented UTF-8 text, members in their order, ending with a line break.
QByteArray writeJson(const JsonNode &root);

} // namespace rw
