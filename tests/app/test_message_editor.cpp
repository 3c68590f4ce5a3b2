// SPDX-License-Identifier: GPL-3.0-or-later
// The canned-message editor in the real window: typing, leaving, page changes, export.

#include "messages/messageexport.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace rw;

namespace {
QByteArray text(const SettingsTable &t, int k)
{
    return t.messageRecord(k).mid(2, 50);
}
QByteArray padded(const QByteArray &b)
{
    return b + QByteArray(50 - b.size(), '\0');
}

// A 58-byte record: MsgLen, MsgFixedByte, the text padded with zero bytes, six reserved.
QByteArray record(char len, const QByteArray &text, char reserved = '\x5A')
{
    return QByteArray(1, len) + '\x07' + padded(text) + QByteArray(6, reserved);
}

// A table file whose first records hold texts the memo rules would never store: a lone
// CR, a lone LF, blanks around the text, a MsgLen that does not match, and 50 bytes with
// a lone LF.
QByteArray tableFileWithOddMessages()
{
    QByteArray image = SettingsTable().buildImage();
    const QByteArray records = record(3, "x\ry") + record(3, "a\nb") + record(9, "  hi  ") +
                               record(50, QByteArray(24, 'a') + "\n" + QByteArray(25, 'b'));
    image.replace(0, records.size(), records);
    return image;
}

void openTableFile(WindowFixture &f, const QByteArray &image)
{
    const QString path = QDir(f.dir.path()).filePath("odd.tbl");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(image), qint64(image.size()));
    file.close();
    f.dialogs.nextFileName = path;
    f.w().mnuOpen->trigger();
    QCOMPARE(f.table.buildImage(), image);
}
} // namespace

class TestMessageEditor : public QObject {
    Q_OBJECT
private slots:
    void the_rows_are_collected_at_their_tags()
    {
        WindowFixture f;
        for (int k = 0; k < 10; ++k) {
            QCOMPARE(f.w().MsgLabels[k]->objectName(), QString("lblMsg%1").arg(k));
            QCOMPARE(f.w().MsgMemos[k]->objectName(), QString("memMsg%1").arg(k));
        }
    }

    void typing_stops_at_fifty_characters_and_leaving_stores_the_trimmed_text()
    {
        WindowFixture f;
        QByteArray r = f.table.messageRecord(1);
        r[1] = 5;
        f.table.setMessageRecord(1, r);

        f.clickInto(f.w().MsgMemos[1]);
        QTest::keyClicks(f.w().MsgMemos[1], QString(50, u'a') + "b");
        QTest::keyClick(f.w().MsgMemos[1], Qt::Key_Backspace);
        QTest::keyClicks(f.w().MsgMemos[1], "cd");
        QCOMPARE(f.w().MsgMemos[1]->toPlainText(), QString(49, u'a') + "c");
        f.tab();
        QCOMPARE(f.table.messageRecord(1).left(2), QByteArray("\x32\x05"));
        QCOMPARE(text(f.table, 1), QByteArray(49, 'a') + "c");

        f.clickInto(f.w().MsgMemos[2]);
        QTest::keyClicks(f.w().MsgMemos[2], "  two");
        QTest::keyClick(f.w().MsgMemos[2], Qt::Key_Return);
        QTest::keyClicks(f.w().MsgMemos[2], "lines ");
        QTest::sendKeyEvent(QTest::Click, f.w().MsgMemos[2], Qt::Key_unknown,
                            QString::fromUtf8("\u20ac"), Qt::NoModifier);
        QTest::keyClicks(f.w().MsgMemos[2], "  ");
        f.tab();
        QCOMPARE(int(f.table.messageRecord(2)[0]), 12);
        QCOMPARE(text(f.table, 2), padded("two\r\nlines ?"));
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void a_pasted_text_over_fifty_characters_is_refused_on_leaving()
    {
        WindowFixture f;
        QPlainTextEdit *memo = f.w().MsgMemos[3];
        f.clickInto(memo);
        QTest::keyClicks(memo, "kept");
        f.tab();

        f.clickInto(memo);
        QApplication::clipboard()->setText(QString(60, u'p'));
        QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
        f.tab();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        const MessageBoxRequest box = f.dialogs.boxes.first();
        QCOMPARE(box.caption, QString("Warning!"));
        QCOMPARE(box.text, QString("More then 50 Characters!"));
        QCOMPARE(box.icon, BoxIcon::None);
        QCOMPARE(box.buttons, BoxButtons::Ok);
        QCOMPARE(QApplication::focusWidget(), memo);
        QCOMPARE(text(f.table, 3), padded("kept"));
    }

    void passing_through_a_memo_without_typing_keeps_the_records_bytes()
    {
        WindowFixture f;
        const QByteArray image = tableFileWithOddMessages();
        openTableFile(f, image);
        for (int k = 0; k < 4; ++k) {
            f.clickInto(f.w().MsgMemos[k]);
            QCOMPARE(QApplication::focusWidget(), f.w().MsgMemos[k]);
            f.tab();
            QVERIFY(QApplication::focusWidget() != f.w().MsgMemos[k]);
        }
        // Typed and taken back again is no edit either.
        f.clickInto(f.w().MsgMemos[0]);
        QTest::keyClick(f.w().MsgMemos[0], Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(f.w().MsgMemos[0], "q");
        QTest::keyClick(f.w().MsgMemos[0], Qt::Key_Backspace);
        f.tab();
        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(f.table.buildImage().toHex(' '), image.toHex(' '));
    }

    void what_is_typed_into_such_a_memo_follows_the_memo_rules()
    {
        WindowFixture f;
        openTableFile(f, tableFileWithOddMessages());

        f.clickInto(f.w().MsgMemos[0]);
        QTest::keyClick(f.w().MsgMemos[0], Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(f.w().MsgMemos[0], "z");
        f.tab();
        QCOMPARE(f.table.messageRecord(0), record(5, "x\r\nyz"));

        f.clickInto(f.w().MsgMemos[2]);
        QTest::keyClick(f.w().MsgMemos[2], Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(f.w().MsgMemos[2], "!");
        f.tab();
        QCOMPARE(f.table.messageRecord(2), record(5, "hi  !"));

        // 50 bytes with a lone LF count 51 as a memo text: a typed character is discarded,
        // Backspace makes room, and leaving stores the line break as CR LF.
        QPlainTextEdit *memo = f.w().MsgMemos[3];
        f.clickInto(memo);
        QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(memo, "c");
        QTest::keyClick(memo, Qt::Key_Backspace);
        f.tab();
        QCOMPARE(f.table.messageRecord(3),
                 record(50, QByteArray(24, 'a') + "\r\n" + QByteArray(24, 'b')));
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void a_pasted_zero_character_is_neither_shown_nor_stored()
    {
        WindowFixture f;
        QPlainTextEdit *memo = f.w().MsgMemos[5];
        f.clickInto(memo);
        QApplication::clipboard()->setText(QString("AB") + QChar(0) + "CD");
        QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(memo->toPlainText(), QString("ABCD"));
        f.tab();
        QCOMPARE(f.table.messageRecord(5).left(52), QByteArray("\x04\x02") + padded("ABCD"));
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void ctrl_x_cuts_and_never_closes_the_window()
    {
        WindowFixture f;
        QPlainTextEdit *memo = f.w().MsgMemos[0];
        f.clickInto(memo);
        QTest::keyClicks(memo, "cut me");
        QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(memo, Qt::Key_X, Qt::ControlModifier); // nothing selected now
        QVERIFY(f.w().isVisible());
        QCOMPARE(memo->toPlainText(), QString());
        QCOMPARE(QApplication::clipboard()->text(), QString("cut me"));
    }

    void choosing_a_page_stores_the_memo_first_and_shows_the_page()
    {
        WindowFixture f;
        QByteArray r = f.table.messageRecord(20);
        r.replace(2, 5, "older");
        f.table.setMessageRecord(20, r);

        f.clickInto(f.w().MsgMemos[0]);
        QTest::keyClicks(f.w().MsgMemos[0], "one");
        // Choosing from the list by keyboard takes the focus, as a click does.
        f.w().cboMsgPage->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(f.w().cboMsgPage, Qt::Key_Down);
        QTest::keyClick(f.w().cboMsgPage, Qt::Key_Down);
        QCOMPARE(f.w().MsgPage, 2);
        QCOMPARE(text(f.table, 0), padded("one"));
        QCOMPARE(f.w().MsgLabels[0]->text(), QString("21"));
        QCOMPARE(f.w().MsgLabels[9]->text(), QString("30"));
        QCOMPARE(f.w().MsgMemos[0]->toPlainText(), QString("older"));

        f.clickInto(f.w().MsgMemos[9]);
        QTest::keyClicks(f.w().MsgMemos[9], "thirty");
        f.tab();
        QCOMPARE(text(f.table, 29), padded("thirty"));

        // A refresh shows the page it is on and stores nothing.
        f.w().cboMsgPage->setCurrentIndex(0);
        f.w().RefreshControls();
        QCOMPARE(f.w().MsgPage, 2);
        QCOMPARE(f.w().MsgMemos[9]->toPlainText(), QString("thirty"));
    }

    void the_export_button_writes_todays_file_after_storing_the_memo()
    {
        WindowFixture f;
        f.clickInto(f.w().MsgMemos[4]);
        QTest::keyClicks(f.w().MsgMemos[4], "five");
        const QDate day = QDate::currentDate();
        f.clickInto(f.w().btnDataExport);
        const QString written =
            QDir(f.dir.path()).filePath("CannedMessage_" + day.toString("yyyyMMdd") + ".txt");
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Export Success\n\n" + QDir::toNativeSeparators(written)});
        // The status text fits its panel: the path loses its middle, never its end, and the
        // tooltip holds it whole.
        QLabel *status = f.w().StatusPanel1;
        QCOMPARE(status->toolTip(), "Messages exported to " + QDir::toNativeSeparators(written));
        QVERIFY2(status->text().startsWith("Messages exported to " +
                                           QDir::toNativeSeparators(written).left(1)) &&
                     status->text().endsWith(".txt"),
                 qPrintable(status->text()));
        QVERIFY(status->fontMetrics().horizontalAdvance(status->text()) <=
                status->contentsRect().width());
        QFile out(written);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.readAll().contains("\r\n5\tfive\r\n6\t\r\n"));

        // A file that cannot be written is reported instead.
        out.remove();
        QVERIFY(QDir(f.dir.path()).mkdir(exportFileName(QDate::currentDate())));
        f.dialogs.clear();
        f.clickInto(f.w().btnDataExport);
        QCOMPARE(f.dialogs.boxes.size(), 1);
        QCOMPARE(f.dialogs.boxes.first().caption, QString("RW830KT"));
        QVERIFY(f.dialogs.boxes.first().text.startsWith("Export Failed"));
    }
};

QTEST_MAIN(TestMessageEditor)
#include "test_message_editor.moc"
