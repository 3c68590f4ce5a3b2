// SPDX-License-Identifier: GPL-3.0-or-later
// Canned-message records: what the editor stores and what readers take back.

#include "messages/messagerecord.h"
#include "model/settingstable.h"

#include <QTest>

using namespace rw;

namespace {
// A record with a non-default fixed byte and reserved bytes that an edit must keep.
QByteArray recordWithOpaqueBytes()
{
    QByteArray r(58, '\0');
    r[1] = 5;
    r.replace(52, 6, QByteArray(6, '\xAA'));
    return r;
}
} // namespace

class TestMessageRecord : public QObject {
    Q_OBJECT
private slots:
    void a_stored_message_fills_len_and_text_and_keeps_the_opaque_bytes()
    {
        QByteArray r = recordWithOpaqueBytes();
        const QString fifty(50, u'x');
        QVERIFY(storeMessage(r, "  " + fifty + " \t"));
        QCOMPARE(int(r[0]), 50);
        QCOMPARE(r.mid(2, 50), fifty.toLatin1()); // no zero byte when all 50 are used
        QCOMPARE(int(r[1]), 5);
        QCOMPARE(r.mid(52), QByteArray(6, '\xAA'));

        QVERIFY(storeMessage(r, "  hi "));
        QCOMPARE(int(r[0]), 2);
        QCOMPARE(r.mid(2, 50), QByteArray("hi") + QByteArray(48, '\0'));
        QVERIFY(storeMessage(r, " \r\n "));
        QCOMPARE(r.left(52), QByteArray("\x00\x05", 2) + QByteArray(50, '\0'));
    }

    void a_text_over_fifty_characters_leaves_the_record_as_it_was()
    {
        const QByteArray before = recordWithOpaqueBytes();
        QByteArray r = before;
        QVERIFY(!storeMessage(r, QString(51, u'y')));
        QVERIFY(!storeMessage(r, QString(40, u'a') + QString(20, u' ') + "b"));
        QCOMPARE(r, before);
    }

    void a_line_break_is_stored_as_cr_lf_and_counts_two_characters()
    {
        QByteArray r = recordWithOpaqueBytes();
        const QString half(24, u'k');
        QVERIFY(storeMessage(r, half + "\n" + half));
        QCOMPARE(r.mid(2, 50), (half + "\r\n" + half).toLatin1());
        QCOMPARE(messageForMemo(r), half + "\n" + half);
        QCOMPARE(storedMessageLength(half + QChar::ParagraphSeparator + half + "k"), 51);
    }

    void every_latin1_byte_shows_and_stores_back_unchanged()
    {
        for (int first = 33; first < 256; first += 50) {
            QByteArray r = recordWithOpaqueBytes();
            QByteArray text;
            for (int b = first; b < std::min(first + 50, 256); ++b)
                text += char(b);
            r.replace(2, text.size(), text);
            const QByteArray before = r.mid(2, 50);
            QVERIFY(storeMessage(r, messageForMemo(r)));
            QCOMPARE(r.mid(2, 50), before);
        }
        QByteArray r = recordWithOpaqueBytes();
        QVERIFY(storeMessage(r, QString::fromUtf8("5 \u20ac")));
        QCOMPARE(r.mid(2, 3), QByteArray("5 ?"));
    }

    void a_zero_character_is_never_stored()
    {
        QByteArray r = recordWithOpaqueBytes();
        const QChar zero(0);
        QVERIFY(storeMessage(r, QString("AB") + zero + "CD"));
        QCOMPARE(r.left(52), QByteArray("\x04\x05"
                                        "ABCD") +
                                 QByteArray(46, '\0'));
        QVERIFY(storeMessage(r, QString(" ") + zero + " hi" + zero));
        QCOMPARE(r.left(52), QByteArray("\x02\x05"
                                        "hi") +
                                 QByteArray(48, '\0'));
        // Fifty characters and a zero are fifty characters.
        QVERIFY(storeMessage(r, QString(25, u'm') + zero + QString(25, u'n')));
        QCOMPARE(r.mid(2, 50), QByteArray(25, 'm') + QByteArray(25, 'n'));
        QCOMPARE(storedMessageLength(QString(zero) + zero), 0);
        QCOMPARE(withoutZeroCharacters(QString("a") + zero + "b" + zero), QString("ab"));
    }

    void readers_stop_at_the_first_zero_byte_and_after_fifty_bytes()
    {
        QByteArray r(58, '\x41');
        r[0] = 3; // MsgLen is not consulted
        QCOMPARE(storedMessageText(r), QByteArray(50, 'A'));
        r[7] = 0;
        QCOMPARE(storedMessageText(r), QByteArray(5, 'A'));
    }
};

QTEST_MAIN(TestMessageRecord)
#include "test_messagerecord.moc"
