// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON reader that tells where a mistake is, and table documents: a whole table
// written and read back byte for byte, and edits applied over a base with the window's
// rules.

#include "model/settingstable.h"
#include "report/jsontext.h"
#include "report/tabledocument.h"
#include "synth/synthesizer.h"

#include <QTemporaryDir>
#include <QTest>
#include <random>

using namespace rw;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

} // namespace

class TestTableDocument : public QObject {
    Q_OBJECT

    QTemporaryDir dir_; // no synthesizer settings file: the built-in oscillator

    // The document dump writes for `image`, built again over the built-in table.
    QByteArray roundTrip(const QByteArray &image, QString *problems = nullptr)
    {
        SettingsTable original;
        original.takeImage(image);
        Synthesizer synth(original);
        synth.readSettings(dir_.path());
        synth.followTable();
        const QByteArray document = writeJson(tableDocument(original, synth.frequencyText()));
        SettingsTable built;
        const DocumentOutcome outcome = applyTableDocument(document, built, dir_.path());
        for (const DocumentProblem &p : outcome.problems) {
            if (problems)
                *problems +=
                    QStringLiteral("%1:%2 %3\n").arg(p.place.line).arg(p.place.column).arg(p.text);
        }
        return built.buildImage();
    }

    DocumentOutcome apply(const QByteArray &document, SettingsTable &table)
    {
        return applyTableDocument(document, table, dir_.path());
    }

private slots:
    void malformedJsonIsNamedByLineAndColumn_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("says");
        QTest::newRow("empty") << QByteArray("  \n ") << 2 << 2 << "empty";
        QTest::newRow("missing comma")
            << QByteArray("{\"a\": 1\n \"b\": 2}") << 2 << 2 << "',' or '}' should be here";
        QTest::newRow("unclosed list") << QByteArray("[1,\n2") << 2 << 2 << "',' or ']'";
        QTest::newRow("unclosed text") << QByteArray("{\"a\": \"abc") << 1 << 7 << "not closed";
        QTest::newRow("leading zero") << QByteArray("[007]") << 1 << 3 << "does not begin with 0";
        QTest::newRow("bare word") << QByteArray("{\"a\": yes}") << 1 << 7 << "unexpected 'y'";
        QTest::newRow("trailing comma")
            << QByteArray("{\"a\": 1,}") << 1 << 9 << "a name in quotes";
        QTest::newRow("text after the end") << QByteArray("{} {}") << 1 << 4 << "more text";
        QTest::newRow("raw line break in a text")
            << QByteArray("[\"a\nb\"]") << 1 << 4 << "control character";
        QTest::newRow("not utf-8") << QByteArray("[\"a\xFF\"]") << 1 << 4 << "not UTF-8";
        QTest::newRow("half a character") << QByteArray("[\"\\ud800x\"]") << 1 << 3 << "half";
        QTest::newRow("bad escape") << QByteArray("[\"\\q\"]") << 1 << 3 << "unknown escape";
        // Columns count characters, not bytes: the two-byte e-acute is one column.
        QTest::newRow("after a wide character")
            << QByteArray("{\"\xC3\xA9\": 1 2}") << 1 << 9 << "',' or '}'";
        QTest::newRow("too deep") << QByteArray(70, '[') << 1 << 65 << "nested";
    }
    void malformedJsonIsNamedByLineAndColumn()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, says);
        const JsonReadResult r = readJson(text);
        QVERIFY(!r.root);
        QVERIFY2(r.error.contains(says), qPrintable(r.error));
        QCOMPARE(r.errorPlace.line, line);
        QCOMPARE(r.errorPlace.column, column);
    }

    void aKeyGivenTwiceIsRefusedWithBothPlaces()
    {
        const JsonReadResult r = readJson("{\n  \"logo\": \"A\",\n  \"logo\": \"B\"\n}");
        QVERIFY(!r.root);
        QCOMPARE(r.errorPlace.line, 3);
        QCOMPARE(r.errorPlace.column, 3);
        QCOMPARE(r.error, QStringLiteral("\"logo\" is given twice (first at line 2, column 3)"));
        // The same key in two different objects is no duplicate.
        QVERIFY(readJson("[{\"a\": 1}, {\"a\": 2}]").root);
    }

    void valuesKeepTheirPlacesOrderAndDigits()
    {
        const JsonReadResult r = readJson("\xEF\xBB\xBF{\"z\": 4294967295,\n \"a\": [true, null, "
                                          "\"\\u00e9\\ud83d\\ude00\\u0000\"], \"m\": -0.5e3}");
        QVERIFY2(r.root, qPrintable(r.error));
        const JsonNode &root = *r.root;
        QCOMPARE(root.members.size(), std::size_t(3));
        QCOMPARE(root.members[0].key, QStringLiteral("z")); // as written, not sorted
        QCOMPARE(root.members[0].value.integer(), std::optional<qint64>(4294967295LL));
        QCOMPARE(root.members[1].place.line, 2);
        QCOMPARE(root.members[1].place.column, 2);
        const JsonNode &list = root.members[1].value;
        QCOMPARE(list.items[0].boolean, true);
        QCOMPARE(list.items[1].type, JsonNode::Type::Null);
        QCOMPARE(list.items[2].text, QString::fromUtf8("\xC3\xA9\xF0\x9F\x98\x80") + QChar(0));
        QCOMPARE(list.items[2].place.column, 20);
        QCOMPARE(root.members[2].value.text, QStringLiteral("-0.5e3"));
        QVERIFY(!root.members[2].value.integer()); // not a whole number as written
    }

    void writtenTextIsReadBackUnchanged()
    {
        QString all;
        for (int c = 0; c < 256; ++c)
            all += QChar(c);
        all += QString::fromUtf8("\xE2\x80\xA8\xF0\x9F\x98\x80");
        const QByteArray text = writeJson(
            JsonNode::object().add("t", JsonNode::string(all)).add("n", JsonNode::number(-7)));
        QVERIFY2(!text.contains('\r') && !text.contains('\0'), text.constData());
        const JsonReadResult r = readJson(text);
        QVERIFY2(r.root, qPrintable(r.error));
        QCOMPARE(r.root->member("t")->text, all);
        QCOMPARE(r.root->member("n")->text, QStringLiteral("-7"));
    }

    void severalHundredRandomTablesComeBackByteForByte()
    {
        std::mt19937 random(20261209);
        std::uniform_int_distribution<int> byte(0, 255);
        for (int n = 0; n < 400; ++n) {
            QByteArray image(2048, '\0');
            for (int i = 0; i < 1940; ++i)
                image[i] = static_cast<char>(byte(random));
            QString problems;
            const QByteArray back = roundTrip(image, &problems);
            QVERIFY2(problems.isEmpty(), qPrintable(QString::number(n) + ": " + problems));
            if (back != image) {
                int at = 0;
                while (back[at] == image[at])
                    ++at;
                QFAIL(
                    qPrintable(QStringLiteral("image %1 differs first at byte %2").arg(n).arg(at)));
            }
        }
    }

    void oddTablesComeBackByteForByte_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::newRow("built-in") << SettingsTable().buildImage();
        QTest::newRow("all zero") << QByteArray(2048, '\0');
        QByteArray ff(1940, '\xFF');
        QTest::newRow("all 0xFF") << ff + QByteArray(108, '\0');

        QByteArray odd = SettingsTable().buildImage();
        // Message 1: a lone CR, message 2: a lone LF, message 3: text, a zero byte, then more
        // bytes that no reader shows, and a MsgLen that does not match.
        odd.replace(2, 4, "A\rB!");
        odd.replace(58 + 2, 3, "C\nD");
        odd.replace(116, 10, bytes({40, 9, 'H', 'i', 0, 'x', 'y', 0, 0, 0x80}));
        odd.replace(116 + 52, 6, bytes({1, 2, 3, 4, 5, 6})); // MsgReserved of message 3
        // Message 30: fifty characters with no zero byte, blanks around them.
        odd.replace(1682, 52,
                    QByteArray(1, 50) + QByteArray(1, 2) + " " + QByteArray(48, 'w') + " ");
        odd[1831] = '\x5A';                               // reserved byte after PagerAlertType
        odd.replace(1822, 4, bytes({'1', 0, '9', 0xE9})); // SysCode with a zero byte inside
        odd[1916] = '\x23'; // PowLogoLead: only its low four bits show
        odd[1917] = '\x30'; // PowLogoLen beyond the text field
        odd.replace(1918, 21, bytes({' ', 'N', 0, 'R', 0xFF, 1,  2,  3,  4,  5, 6,
                                     7,   8,   9, 10,  11,   12, 13, 14, 15, 16}));
        odd.replace(1780, 4, bytes({0xFF, 0xFF, 0xFF, 0xFF})); // R0 with its top byte set
        QTest::newRow("odd bytes everywhere") << odd;
    }
    void oddTablesComeBackByteForByte()
    {
        QFETCH(QByteArray, image);
        QString problems;
        QCOMPARE(roundTrip(image, &problems), image);
        QCOMPARE(problems, QString());
    }

    void theDocumentNamesEveryFieldInImageOrder()
    {
        const QByteArray text =
            writeJson(tableDocument(SettingsTable(), QStringLiteral("450325000")));
        const JsonReadResult r = readJson(text);
        QVERIFY(r.root);
        QStringList keys;
        for (const JsonMember &m : r.root->members)
            keys << m.key;
        QCOMPARE(keys,
                 QStringList({"frequency_hz", "logo", "messages", "fields", "message_records"}));
        const JsonNode &fields = *r.root->member("fields");
        QCOMPARE(fields.members.size(), std::size_t(66));
        QCOMPARE(fields.members.front().key, QStringLiteral("Opaque1"));
        QCOMPARE(fields.members[1].key, QStringLiteral("ChanSpacingCode"));
        QCOMPARE(fields.members.back().key, QStringLiteral("Reserved199"));
        QCOMPARE(fields.member("SysCode")->text, QStringLiteral("0001"));
        QCOMPARE(fields.member("R2")->text, QStringLiteral("8635013")); // 0x83C285
        QCOMPARE(fields.member("Opaque7")->text, QStringLiteral("01010000640000000100"));
        const JsonNode &record = r.root->member("message_records")->items[29];
        QCOMPARE(record.member("MsgFixedByte")->text, QStringLiteral("2"));
        QCOMPARE(record.member("MsgText")->text, QString(100, '0'));
        QCOMPARE(record.member("MsgReserved")->text, QStringLiteral("000000000000"));
        QCOMPARE(r.root->member("frequency_hz")->text, QStringLiteral("450325000"));
    }

    void editsOverTheBaseFollowTheWindowsRules()
    {
        SettingsTable table;
        const DocumentOutcome o = apply(R"({
            "system-code": 2000, "range-test": 0, "baud": 512, "send-twice": 0,
            "logo": "  HI", "messages": {"2": " Fire drill ", "30": "x"},
            "HeartBeat": 999, "PagerAlertLen": 0, "FunBitDPat": 27, "LowBatTM": 3,
            "OutOfServiceVibr": 0, "Opaque5": "7F", "R7": 4294967295, "SysCode": "12"
        })",
                                        table);
        QCOMPARE(o.problems.size(), 1); // SysCode and system-code name the same field
        QCOMPARE(o.problems[0].kind, DocumentProblem::Kind::Unreadable);
        QCOMPARE(o.problems[0].place.line, 5);
        QVERIFY(o.problems[0].text.contains("\"system-code\" at line 2, column 13"));

        SettingsTable edited;
        const DocumentOutcome ok = apply(R"({
            "system-code": 2000, "range-test": 0, "baud": 512, "send-twice": 0,
            "logo": "  HI", "messages": {"2": " Fire drill ", "30": "x"},
            "HeartBeat": 999, "PagerAlertLen": 0, "FunBitDPat": 27, "LowBatTM": 3,
            "OutOfServiceVibr": 0, "Opaque5": "7F", "R7": 4294967295
        })",
                                         edited);
        QVERIFY(ok.applied());
        QByteArray expected = SettingsTable().buildImage();
        expected.replace(1822, 4, "2000");
        expected[1757] = 0;
        expected[1756] = 0;
        expected[1777] = 0;
        expected.replace(1916, 4, bytes({2, 2, 'H', 'I'})); // "NDOR..." stays behind
        expected.replace(58, 12, QByteArray(1, 10) + QByteArray(1, 2) + "Fire drill");
        expected.replace(1682, 3, bytes({1, 2, 'x'}));
        expected.replace(1772, 4, bytes({0xE7, 0x03, 0, 0}));
        expected.replace(1832, 4, bytes({0, 0, 0, 0}));
        expected[1900] = 27;
        expected.replace(1864, 4, bytes({3, 0, 0, 0}));
        expected[1853] = 0;
        expected[1776] = 0x7F;
        expected.replace(1808, 4, bytes({0xFF, 0xFF, 0xFF, 0xFF}));
        QCOMPARE(edited.buildImage(), expected);
    }

    void everyRefusalIsNamedAndTheRestStillChecked()
    {
        SettingsTable table;
        const DocumentOutcome o =
            apply("{\"HeartBeat\": 29,\n"
                  " \"FlashLen\": 1000, \"POCBaud\": 3,\n"
                  " \"PagerAlertBeep\": 2, \"messages\": {\"1\": \"\xE2\x98\x8E\"},\n"
                  " \"Opaque2\": \"123\", \"ChanSpacingCode\": 256,\n"
                  " \"system-code\": -1, \"frequency\": 462026000}",
                  table);
        QStringList seen;
        for (const DocumentProblem &p : o.problems) {
            QCOMPARE(p.kind, DocumentProblem::Kind::Refused);
            seen << QStringLiteral("%1:%2 %3").arg(p.place.line).arg(p.place.column).arg(p.text);
        }
        QCOMPARE(seen, QStringList({
                           "1:15 HeartBeat: Please insert a number between 0 or 30 ~ 999 !",
                           "2:14 FlashLen: Please insert a number between 0 ~ 999 !",
                           "2:31 POCBaud: is an item of a list of 3: 0 to 2, not 3",
                           "3:20 PagerAlertBeep: is 0 or 1, not 2",
                           "3:41 messages.1: The character '\xE2\x98\x8E' (U+260E) cannot be "
                           "stored in the transmitter; it takes Latin-1 characters only.",
                           "4:13 Opaque2: takes 2 bytes as 4 hexadecimal digits",
                           "4:39 ChanSpacingCode: takes a whole number from 0 to 255, not 256",
                           "5:17 system-code: Please insert a number between 0 ~ 2000 !",
                           "5:34 frequency: Channel Spacing Error!",
                       }));
    }

    void frequencyAndRegisterWordsContradictEachOther()
    {
        SettingsTable table;
        const DocumentOutcome o = apply("{\"R5\": 11,\n \"frequency\": 462025000}", table);
        QCOMPARE(o.problems.size(), 1);
        QCOMPARE(o.problems[0].place.line, 2);
        QVERIFY2(o.problems[0].text.contains("\"R5\" at line 1, column 2"),
                 qPrintable(o.problems[0].text));

        // Alone, the frequency is entered as the window enters it.
        SettingsTable entered;
        QVERIFY(apply("{\"frequency\": 462025000}", entered).applied());
        QCOMPARE(entered.buildImage().mid(1780, 8),
                 bytes({0x0C, 0xE1, 0x06, 0, 0x43, 0x4A, 0x01, 0}));
        QCOMPARE(entered.buildImage()[1753], '\x04');
    }

    void theShownFrequencyIsCheckedNeverApplied()
    {
        SettingsTable table;
        // The built-in words give 14850000 x 30 + 6250 x 772.
        QVERIFY(apply("{\"frequency_hz\": 450325000}", table).applied());
        const DocumentOutcome o = apply("{\"frequency_hz\": 462025000}", table);
        QCOMPARE(o.problems.size(), 1);
        QCOMPARE(o.problems[0].kind, DocumentProblem::Kind::Refused);
        QVERIFY(o.problems[0].text.contains("give 450325000, not 462025000"));
        QVERIFY(apply("{\"frequency\": 462025000, \"frequency_hz\": 462025000}", table).applied());
    }

    void aDocumentThatIsNotATableDocumentChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("says");
        QTest::newRow("a list") << QByteArray("[]") << 1 << 1 << "an object of names";
        QTest::newRow("unknown name") << QByteArray("{\"logo\": \"A\",\n \"HeartBeet\": 30}") << 2
                                      << 2 << "unknown name \"HeartBeet\"";
        QTest::newRow("wrong type") << QByteArray("{\"HeartBeat\": \"30\"}") << 1 << 15
                                    << "HeartBeat takes a number, not a text";
        QTest::newRow("baud as text")
            << QByteArray("{\"baud\": \"2400\"}") << 1 << 10 << "baud takes a number";
        QTest::newRow("message number") << QByteArray("{\"messages\": {\"31\": \"x\"}}") << 1 << 15
                                        << "\"31\" is not a message number";
        QTest::newRow("half the fields") << QByteArray("{\"fields\": {\"HeartBeat\": 30}}") << 1
                                         << 2 << "missing: Opaque1, ChanSpacingCode";
        QTest::newRow("short message list")
            << QByteArray("{\"messages\": [\"a\"]}") << 1 << 14 << "holds all 30 messages";
    }
    void aDocumentThatIsNotATableDocumentChangesNothing()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(QString, says);
        SettingsTable table;
        const DocumentOutcome o = apply(text, table);
        QVERIFY(o.unreadable());
        QVERIFY2(o.problems[0].text.contains(says), qPrintable(o.problems[0].text));
        QCOMPARE(o.problems[0].place.line, line);
        QCOMPARE(o.problems[0].place.column, column);
        QCOMPARE(table.buildImage(), SettingsTable().buildImage());
    }
};

QTEST_GUILESS_MAIN(TestTableDocument)
#include "test_tabledocument.moc"
