// SPDX-License-Identifier: GPL-3.0-or-later
#include "tabledocument.h"

#include "messages/messagerecord.h"
#include "model/editrules.h"
#include "model/generalfields.h"
#include "model/settingcatalogue.h"
#include "model/settingstable.h"
#include "model/textrules.h"
#include "settingnames.h"
#include "synth/synthesizer.h"
#include "tablereport.h"

#include <QHash>
#include <QStringList>

namespace rw {

namespace {

const QString FieldsKey = QStringLiteral("fields");
const QString RecordsKey = QStringLiteral("message_records");
const QString MessagesKey = QStringLiteral("messages");
const QString ShownFrequencyKey = QStringLiteral("frequency_hz");
const QString LogoKey = QStringLiteral("logo");
const QString FrequencyKey = QStringLiteral("frequency");

const QStringList RecordKeys{"MsgLen", "MsgFixedByte", "MsgText", "MsgReserved"};

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

JsonNode fieldNode(const SettingsTable &table, const FieldEntry &e)
{
    if (e.field == Field::SysCode) // all four characters, a zero byte among them included
        return JsonNode::string(QString::fromLatin1(table.bytes(e.field)));
    if (e.kind == FieldKind::Bytes)
        return JsonNode::string(hex(table.bytes(e.field)));
    return JsonNode::number(table.value(e.field));
}

std::optional<Field> fieldNamed(const QString &name)
{
    for (const FieldEntry &e : generalBlockLayout()) {
        if (name == QLatin1String(e.name.data(), static_cast<qsizetype>(e.name.size())))
            return e.field;
    }
    return std::nullopt;
}

QString fieldName(Field f)
{
    const std::string_view n = fieldEntry(f).name;
    return QString::fromLatin1(n.data(), static_cast<qsizetype>(n.size()));
}

bool isRegisterWord(Field f)
{
    return f >= Field::R0 && f <= Field::R7;
}

// How the window edits a field that is not a number typed into an edit: the number of items
// of its list, or 2 for a check box. 0 for the fields the window has no control for.
int choiceCount(Field f)
{
    const SettingEntry *e = settingOfField(f);
    if (!e)
        return 0;
    if (e->kind == SettingKind::List)
        return static_cast<int>(e->items.size());
    return e->kind == SettingKind::Flag ? 2 : 0;
}

// The field that a name of `set` stands for, where it stands for one field alone.
std::optional<Field> fieldOfSettingName(const QString &name)
{
    const SettingEntry *e = settingNamed(name);
    if (!e || e->kind == SettingKind::Logo || e->field == Field::Count)
        return std::nullopt;
    return e->field;
}

class Applier {
public:
    Applier(SettingsTable &table, DocumentOutcome &out, const QString &folder)
        : table_(table), out_(out), folder_(folder)
    {
    }

    void run(const JsonNode &root)
    {
        if (root.type != JsonNode::Type::Object) {
            unreadable(root.place, QStringLiteral("a table document is an object of names, not %1")
                                       .arg(root.typeName()));
            return;
        }
        for (const JsonMember &m : root.members)
            check(m);
        if (!out_.problems.isEmpty())
            return;

        if (fields_)
            takeFields(*fields_);
        if (records_)
            takeRecords(*records_);
        Synthesizer synth(table_);
        out_.settings = synth.readSettings(folder_);
        synth.followTable();
        for (const JsonMember *m : edits_)
            edit(*m, synth);
        if (shownFrequency_)
            checkShownFrequency(*shownFrequency_);
    }

private:
    void unreadable(JsonPlace place, const QString &text)
    {
        out_.problems.append({DocumentProblem::Kind::Unreadable, place, text});
    }
    void refused(JsonPlace place, const QString &name, const QString &text)
    {
        out_.problems.append({DocumentProblem::Kind::Refused, place, name + ": " + text});
    }

    bool wantType(const QString &name, const JsonNode &v, JsonNode::Type type, const char *what)
    {
        if (v.type == type)
            return true;
        unreadable(v.place, QStringLiteral("%1 takes %2, not %3").arg(name, what, v.typeName()));
        return false;
    }

    // A field as stored: numbers and hexadecimal of the field's width, SysCode as its four
    // characters.
    bool checkStoredField(const QString &name, Field f, const JsonNode &v)
    {
        const FieldEntry &e = fieldEntry(f);
        if (e.kind == FieldKind::Bytes)
            return wantType(name, v, JsonNode::Type::String, "a text");
        return wantType(name, v, JsonNode::Type::Number, "a number");
    }

    // Structure and types only; nothing is applied until the whole document is readable.
    void check(const JsonMember &m)
    {
        const QString &k = m.key;
        const JsonNode &v = m.value;
        if (k == FieldsKey) {
            checkFields(m);
        } else if (k == RecordsKey) {
            checkRecords(m);
        } else if (k == MessagesKey) {
            checkMessages(v);
            edits_.append(&m);
        } else if (k == ShownFrequencyKey) {
            if (v.type == JsonNode::Type::Null ||
                wantType(k, v, JsonNode::Type::Number, "a number or null"))
                shownFrequency_ = &m;
        } else if (k == LogoKey) {
            if (wantType(k, v, JsonNode::Type::String, "a text"))
                edits_.append(&m);
        } else if (k == FrequencyKey || fieldOfSettingName(k)) {
            if (!wantType(k, v, JsonNode::Type::Number, "a number"))
                return;
            if (k != FrequencyKey)
                noteSetting(*fieldOfSettingName(k), m);
            edits_.append(&m);
        } else if (const auto f = fieldNamed(k)) {
            const FieldEntry &e = fieldEntry(*f);
            // SysCode as the window edits it is still written as text, as "fields" has it.
            if (e.kind == FieldKind::Bytes || *f == Field::SysCode) {
                if (!wantType(k, v, JsonNode::Type::String, "a text"))
                    return;
            } else if (!wantType(k, v, JsonNode::Type::Number, "a number")) {
                return;
            }
            if (isRegisterWord(*f) && !registerWord_)
                registerWord_ = &m;
            noteSetting(*f, m);
            edits_.append(&m);
        } else {
            unreadable(m.place, QStringLiteral("unknown name \"%1\"").arg(k));
        }
    }

    // One setting, one name: system-code beside SysCode would leave one of them unused.
    void noteSetting(Field f, const JsonMember &m)
    {
        if (const auto first = settings_.constFind(static_cast<int>(f));
            first != settings_.constEnd()) {
            unreadable(m.place, QStringLiteral("\"%1\" sets the same field as \"%2\" at line %3, "
                                               "column %4")
                                    .arg(m.key, (*first)->key)
                                    .arg((*first)->place.line)
                                    .arg((*first)->place.column));
            return;
        }
        settings_.insert(static_cast<int>(f), &m);
    }

    void checkFields(const JsonMember &m)
    {
        if (!wantType(m.key, m.value, JsonNode::Type::Object, "an object"))
            return;
        QStringList missing;
        for (const FieldEntry &e : generalBlockLayout()) {
            const QString name = fieldName(e.field);
            if (!m.value.member(name))
                missing << name;
        }
        bool typesRight = true;
        for (const JsonMember &f : m.value.members) {
            const auto field = fieldNamed(f.key);
            if (!field) {
                unreadable(f.place, QStringLiteral("unknown field \"%1\"").arg(f.key));
                typesRight = false;
            } else {
                typesRight = checkStoredField(m.key + '.' + f.key, *field, f.value) && typesRight;
                if (isRegisterWord(*field) && !registerWord_)
                    registerWord_ = &f;
            }
        }
        if (!missing.isEmpty()) {
            unreadable(m.place, QStringLiteral("\"fields\" names every field of the table or is "
                                               "left out (missing: %1); a single field is "
                                               "named at the top level")
                                    .arg(missing.join(QStringLiteral(", "))));
            return;
        }
        if (typesRight)
            fields_ = &m.value;
    }

    void checkRecords(const JsonMember &m)
    {
        if (!wantType(m.key, m.value, JsonNode::Type::Array, "a list"))
            return;
        if (m.value.items.size() != MessageCount) {
            unreadable(m.value.place,
                       QStringLiteral("\"message_records\" holds all %1 records, not %2")
                           .arg(MessageCount)
                           .arg(m.value.items.size()));
            return;
        }
        bool right = true;
        for (std::size_t i = 0; i < m.value.items.size(); ++i) {
            const JsonNode &r = m.value.items[i];
            const QString where = QStringLiteral("message_records[%1]").arg(i);
            if (!wantType(where, r, JsonNode::Type::Object, "an object")) {
                right = false;
                continue;
            }
            for (const JsonMember &x : r.members) {
                const qsizetype which = RecordKeys.indexOf(x.key);
                if (which < 0) {
                    unreadable(x.place, QStringLiteral("unknown name \"%1\" in a message record "
                                                       "(%2)")
                                            .arg(x.key, RecordKeys.join(QStringLiteral(", "))));
                    right = false;
                } else if (!wantType(where + '.' + x.key, x.value,
                                     which < 2 ? JsonNode::Type::Number : JsonNode::Type::String,
                                     which < 2 ? "a number" : "a text")) {
                    right = false;
                }
            }
            for (const QString &key : RecordKeys) {
                if (!r.member(key)) {
                    unreadable(r.place, QStringLiteral("%1 has no %2").arg(where, key));
                    right = false;
                }
            }
        }
        if (right)
            records_ = &m.value;
    }

    void checkMessages(const JsonNode &v)
    {
        if (v.type == JsonNode::Type::Array) {
            if (v.items.size() != MessageCount) {
                unreadable(v.place, QStringLiteral("\"messages\" as a list holds all %1 messages, "
                                                   "not %2; name single ones by number, "
                                                   "{\"1\": \"...\"}")
                                        .arg(MessageCount)
                                        .arg(v.items.size()));
                return;
            }
            for (std::size_t i = 0; i < v.items.size(); ++i)
                wantType(QStringLiteral("messages[%1]").arg(i), v.items[i], JsonNode::Type::String,
                         "a text");
            return;
        }
        if (!wantType(MessagesKey, v, JsonNode::Type::Object, "an object or a list"))
            return;
        for (const JsonMember &m : v.members) {
            if (!messageIndex(m.key)) {
                unreadable(m.place, QStringLiteral("\"%1\" is not a message number (1 to %2)")
                                        .arg(m.key)
                                        .arg(MessageCount));
                continue;
            }
            wantType(QStringLiteral("messages.") + m.key, m.value, JsonNode::Type::String,
                     "a text");
        }
    }

    static std::optional<int> messageIndex(const QString &key)
    {
        bool ok = false;
        const int n = key.toInt(&ok);
        if (!ok || n < 1 || n > MessageCount || key != QString::number(n))
            return std::nullopt;
        return n - 1;
    }

    // A value as stored, refused only when it does not fit its width.
    void storeRaw(const QString &name, Field f, const JsonNode &v)
    {
        const FieldEntry &e = fieldEntry(f);
        if (f == Field::SysCode) {
            bool latin1 = v.text.size() == e.width;
            for (const QChar c : v.text)
                latin1 = latin1 && c.unicode() <= 0xFF;
            if (!latin1) {
                refused(v.place, name,
                        QStringLiteral("the stored system code is four Latin-1 "
                                       "characters, not \"%1\"")
                            .arg(shownInMessage(v.text)));
                return;
            }
            table_.setBytes(f, v.text.toLatin1());
            return;
        }
        if (e.kind == FieldKind::Bytes) {
            if (const auto bytes = hexBytes(name, v, e.width))
                table_.setBytes(f, *bytes);
            return;
        }
        const qint64 max = e.kind == FieldKind::UInt8 ? 0xFF : 0xFFFFFFFFLL;
        if (const auto n = wholeNumber(name, v, max))
            table_.setValue(f, static_cast<uint32_t>(*n));
    }

    std::optional<qint64> wholeNumber(const QString &name, const JsonNode &v, qint64 max)
    {
        const std::optional<qint64> n = v.integer();
        if (!n || *n < 0 || *n > max) {
            refused(v.place, name,
                    QStringLiteral("takes a whole number from 0 to %1, not %2")
                        .arg(max)
                        .arg(shownInMessage(v.text)));
            return std::nullopt;
        }
        return n;
    }

    std::optional<QByteArray> hexBytes(const QString &name, const JsonNode &v, int width)
    {
        static const QString digits = QStringLiteral("0123456789abcdefABCDEF");
        bool isHex = v.text.size() == 2 * width;
        for (const QChar c : v.text)
            isHex = isHex && digits.contains(c);
        if (!isHex) {
            refused(v.place, name,
                    QStringLiteral("takes %1 bytes as %2 hexadecimal digits")
                        .arg(width)
                        .arg(2 * width));
            return std::nullopt;
        }
        return QByteArray::fromHex(v.text.toLatin1());
    }

    void takeFields(const JsonNode &fields)
    {
        for (const JsonMember &m : fields.members)
            storeRaw(FieldsKey + '.' + m.key, *fieldNamed(m.key), m.value);
    }

    void takeRecords(const JsonNode &records)
    {
        for (int k = 0; k < MessageCount; ++k) {
            const JsonNode &r = records.items[static_cast<std::size_t>(k)];
            const QString where = QStringLiteral("message_records[%1].").arg(k);
            QByteArray record = table_.messageRecord(k);
            if (const auto n = wholeNumber(where + "MsgLen", *r.member("MsgLen"), 0xFF))
                record[MessageRecordLayout::Len] = static_cast<char>(*n);
            if (const auto n = wholeNumber(where + "MsgFixedByte", *r.member("MsgFixedByte"), 0xFF))
                record[MessageRecordLayout::FixedByte] = static_cast<char>(*n);
            if (const auto b = hexBytes(where + "MsgText", *r.member("MsgText"), MessageTextSize))
                record.replace(MessageRecordLayout::Text, MessageTextSize, *b);
            constexpr int ReservedSize = MessageRecordSize - MessageRecordLayout::Reserved;
            if (const auto b =
                    hexBytes(where + "MsgReserved", *r.member("MsgReserved"), ReservedSize))
                record.replace(MessageRecordLayout::Reserved, ReservedSize, *b);
            table_.setMessageRecord(k, record);
        }
    }

    void applyText(Synthesizer &synth, const QString &name, const QString &setting,
                   const JsonNode &v)
    {
        if (const auto r = applySetting(table_, synth, setting, v.text))
            refused(v.place, name, *r);
    }

    void edit(const JsonMember &m, Synthesizer &synth)
    {
        const QString &k = m.key;
        const JsonNode &v = m.value;
        if (k == MessagesKey) {
            editMessages(v, synth);
        } else if (k == LogoKey) {
            if (v.text != powLogoText(table_)) // as shown already: the bytes stay
                applyText(synth, k, k, v);
        } else if (k == FrequencyKey) {
            if (registerWord_)
                refused(
                    v.place, k,
                    QStringLiteral("contradicts the register word \"%1\" at line %2, column %3: "
                                   "give the frequency or the register words, not both")
                        .arg(registerWord_->key)
                        .arg(registerWord_->place.line)
                        .arg(registerWord_->place.column));
            else
                applyText(synth, k, k, v);
        } else if (fieldOfSettingName(k)) {
            applyText(synth, k, k, v);
        } else {
            editField(k, *fieldNamed(k), v);
        }
    }

    void editMessages(const JsonNode &v, Synthesizer &synth)
    {
        const QStringList shown = messageTexts(table_);
        auto one = [&](int index, const QString &name, const JsonNode &text) {
            if (text.text != shown[index]) // as shown already: the bytes stay
                applyText(synth, name, QStringLiteral("message.%1").arg(index + 1), text);
        };
        if (v.type == JsonNode::Type::Array) {
            for (int i = 0; i < MessageCount; ++i)
                one(i, QStringLiteral("messages[%1]").arg(i), v.items[static_cast<std::size_t>(i)]);
        } else {
            for (const JsonMember &m : v.members)
                one(*messageIndex(m.key), MessagesKey + '.' + m.key, m.value);
        }
    }

    // A field by its name with the rule of the window's control for it.
    void editField(const QString &name, Field f, const JsonNode &v)
    {
        if (isNumericField(f)) {
            const EditResult r = applyNumberText(table_, f, v.text);
            if (!r.stored())
                refused(v.place, name, r.message);
            return;
        }
        if (const int count = choiceCount(f)) {
            const std::optional<qint64> n = v.integer();
            if (!n || *n < 0 || *n >= count) {
                refused(v.place, name,
                        count == 2 ? QStringLiteral("is 0 or 1, not %1").arg(shownInMessage(v.text))
                                   : QStringLiteral("is an item of a list of %1: 0 to %2, not %3")
                                         .arg(count)
                                         .arg(count - 1)
                                         .arg(shownInMessage(v.text)));
                return;
            }
            table_.setValue(f, static_cast<uint32_t>(*n));
            return;
        }
        storeRaw(name, f, v);
    }

    void checkShownFrequency(const JsonMember &m)
    {
        Synthesizer shown(table_); // as dump shows the built table
        shown.readSettings(folder_);
        shown.followTable();
        const QString actual = shown.frequencyText();
        const QString given = m.value.type == JsonNode::Type::Null ? QString() : m.value.text;
        if (given == actual)
            return;
        refused(m.value.place, m.key,
                QStringLiteral("the register words give %1, not %2; to change the frequency, "
                               "name \"frequency\" and no register words")
                    .arg(actual.isEmpty() ? QStringLiteral("no frequency") : actual,
                         given.isEmpty() ? QStringLiteral("none") : given));
    }

    SettingsTable &table_;
    DocumentOutcome &out_;
    const QString &folder_;
    const JsonNode *fields_ = nullptr;
    const JsonNode *records_ = nullptr;
    const JsonMember *shownFrequency_ = nullptr;
    const JsonMember *registerWord_ = nullptr;
    QList<const JsonMember *> edits_;
    QHash<int, const JsonMember *> settings_; // by Field
};

} // namespace

JsonNode tableDocument(const SettingsTable &table, const QString &frequency)
{
    JsonNode fields = JsonNode::object();
    for (const FieldEntry &e : generalBlockLayout())
        fields.add(fieldName(e.field), fieldNode(table, e));
    JsonNode messages = JsonNode::array();
    for (const QString &m : messageTexts(table))
        messages.append(JsonNode::string(m));
    JsonNode records = JsonNode::array();
    for (int k = 0; k < MessageCount; ++k) {
        const QByteArray r = table.messageRecord(k);
        records.append(
            JsonNode::object()
                .add("MsgLen", JsonNode::number(static_cast<uint8_t>(r[MessageRecordLayout::Len])))
                .add("MsgFixedByte",
                     JsonNode::number(static_cast<uint8_t>(r[MessageRecordLayout::FixedByte])))
                .add("MsgText",
                     JsonNode::string(hex(r.mid(MessageRecordLayout::Text, MessageTextSize))))
                .add("MsgReserved", JsonNode::string(hex(r.mid(MessageRecordLayout::Reserved)))));
    }
    JsonNode shown = JsonNode::null();
    if (!frequency.isEmpty()) {
        shown.type = JsonNode::Type::Number;
        shown.text = frequency;
    }
    return JsonNode::object()
        .add(ShownFrequencyKey, shown)
        .add(LogoKey, JsonNode::string(powLogoText(table)))
        .add(MessagesKey, messages)
        .add(FieldsKey, fields)
        .add(RecordsKey, records);
}

bool DocumentOutcome::unreadable() const
{
    for (const DocumentProblem &p : problems) {
        if (p.kind == DocumentProblem::Kind::Unreadable)
            return true;
    }
    return false;
}

DocumentOutcome applyTableDocument(const QByteArray &document, SettingsTable &table,
                                   const QString &settingsFolder)
{
    DocumentOutcome out;
    const JsonReadResult read = readJson(document);
    if (!read.root) {
        out.problems.append({DocumentProblem::Kind::Unreadable, read.errorPlace, read.error});
        return out;
    }
    Applier(table, out, settingsFolder).run(*read.root);
    return out;
}

} // namespace rw
