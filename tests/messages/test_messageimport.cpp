// SPDX-License-Identifier: GPL-3.0-or-later
// Canned messages read back from a list typed one message a line, stored as the memo
// stores it, and every refusal naming its line with nothing changed. (An export read back
// byte for byte is tested through the window.)

#include "messages/messageimport.h"
#include "messages/messagerecord.h"
#include "model/settingstable.h"

#include <QTest>

using namespace rw;

namespace {

// MsgLen and MsgText of message n (from 1): what a message is.
QByteArray message(const SettingsTable &t, int n)
{
    const QByteArray r = t.messageRecord(n - 1);
    return r.left(1) + r.mid(2, 50);
}

QByteArray textRecord(const QByteArray &text)
{
    return char(text.size()) + text + QByteArray(50 - text.size(), '\0');
}

void setMessage(SettingsTable &t, int n, const QByteArray &text)
{
    QByteArray r = t.messageRecord(n - 1);
    r[0] = char(text.size());
    r.replace(2, 50, text + QByteArray(50 - text.size(), '\0'));
    t.setMessageRecord(n - 1, r);
}

} // namespace

class TestMessageImport : public QObject {
    Q_OBJECT
private slots:
    void aTypedListSetsTheFirstMessagesAndLeavesTheRest()
    {
        SettingsTable t;
        setMessage(t, 4, "Keep me");
        // UTF-8 from an editor, LF line ends, a blank-padded line, empty lines at the end.
        const MessageImport read = importMessages(t, "\xEF\xBB\xBF"
                                                     "Caf\xC3\xA9\n"
                                                     "\n"
                                                     "  Gate  \r\n"
                                                     "\n\n");
        QVERIFY2(read.ok, qPrintable(read.refusal));
        QCOMPARE(read.messages, 3);
        QCOMPARE(message(t, 1), textRecord("Caf\xE9"));
        QCOMPARE(message(t, 2), textRecord(""));
        QCOMPARE(message(t, 3), textRecord("Gate"));
        QCOMPARE(message(t, 4), textRecord("Keep me"));
    }

    void aRefusedListNamesItsLineAndChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("51 characters") << QByteArray("First\r\n" + QByteArray(51, 'x') + "\r\n")
                                       << "Line 2, message 2: More then 50 Characters!";
        QTest::newRow("control character")
            << QByteArray("1\tOne\r\n2\tTw\x1bo\r\n")
            << "Line 2, message 2: The control character \\x1b at position 3 cannot be stored; "
               "a message takes printable characters, line breaks and tabs only.";
        QTest::newRow("continued export message too long")
            << QByteArray("1\tA\r\n2\t" + QByteArray(30, 'y') + "\r\n" + QByteArray(30, 'z') +
                          "\r\n")
            << "Line 2, message 2: More then 50 Characters!";
        QTest::newRow("31 typed") << QByteArray("m\n").repeated(31)
                                  << "Line 31: a table holds 30 messages; the list has more.";
        QByteArray export31;
        for (int n = 1; n <= 31; ++n)
            export31 += QByteArray::number(n) + "\tm\r\n";
        QTest::newRow("31 exported")
            << export31 << "Line 31: a table holds 30 messages; this is message 31.";
        QTest::newRow("out of order")
            << QByteArray("1\ta\r\n3\tc\r\n") << "Line 2: message 3 where message 2 was expected.";
        QTest::newRow("not Latin-1") << QByteArray("ok\nEuro \xE2\x82\xAC\n")
                                     << "Line 2, message 2: The character '\u20AC' (U+20AC) "
                                        "cannot be stored in the transmitter; it takes Latin-1 "
                                        "characters only.";
    }

    void aRefusedListNamesItsLineAndChangesNothing()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, refusal);
        SettingsTable t;
        setMessage(t, 1, "Before");
        const QByteArray before = t.buildImage();
        const MessageImport read = importMessages(t, list);
        QVERIFY(!read.ok);
        QCOMPARE(read.refusal, refusal);
        QCOMPARE(t.buildImage(), before);
    }
};

QTEST_GUILESS_MAIN(TestMessageImport)
#include "test_messageimport.moc"
