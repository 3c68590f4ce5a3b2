// SPDX-License-Identifier: GPL-3.0-or-later
// The dated export of the canned messages and its same-day backup.

#include "filesizelimit.h"
#include "messages/messageexport.h"
#include "messages/messagerecord.h"
#include "model/settingstable.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace rw;

namespace {
const QDate Day(2026, 12, 8);

void setMessage(SettingsTable &t, int k, const QString &text)
{
    QByteArray r = t.messageRecord(k);
    QVERIFY(storeMessage(r, text));
    t.setMessageRecord(k, r);
}
} // namespace

class TestMessageExport : public QObject {
    Q_OBJECT
private slots:
    void the_builtin_table_exports_thirty_empty_lines()
    {
        QByteArray expected;
        for (int n = 1; n <= 30; ++n)
            expected += QByteArray::number(n) + "\t\r\n";
        QCOMPARE(exportContent(SettingsTable()), expected);
        QCOMPARE(exportFileName(Day), QString("CannedMessage_20261208.txt"));
    }

    void messages_are_written_byte_for_byte_as_stored()
    {
        SettingsTable t;
        setMessage(t, 0, QString(50, u'z'));
        setMessage(t, 29, QString::fromLatin1("caf\xe9\nend"));
        const QByteArray out = exportContent(t);
        QVERIFY(out.startsWith("1\t" + QByteArray(50, 'z') + "\r\n2\t\r\n"));
        QVERIFY(out.endsWith("29\t\r\n30\tcaf\xe9\r\nend\r\n"));
    }

    void a_second_export_of_the_day_keeps_the_first_as_the_backup()
    {
        QTemporaryDir dir;
        const QString bak = dir.filePath("CannedMessage.bak");
        QFile old(bak);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("older") == 5);
        old.close();

        SettingsTable t;
        setMessage(t, 0, "first");
        const ExportResult first = exportMessages(t, dir.path(), Day);
        QVERIFY(first.ok);
        QCOMPARE(first.path, dir.filePath("CannedMessage_20261208.txt"));
        QCOMPARE(contents(bak), QByteArray("older")); // no export of today yet

        const QByteArray firstContent = exportContent(t);
        setMessage(t, 0, "second");
        QVERIFY(exportMessages(t, dir.path(), Day).ok);
        QCOMPARE(contents(bak), firstContent);
        QCOMPARE(contents(first.path), exportContent(t));
    }

    void a_failed_export_is_reported_and_leaves_the_earlier_export_whole()
    {
        QTemporaryDir dir;
        SettingsTable t;
        QVERIFY(exportMessages(t, dir.path(), Day).ok);
        const QString dated = dir.filePath(exportFileName(Day));
        for (int k = 0; k < 30; ++k)
            setMessage(t, k, QString(50, u'w'));
        {
            FileSizeLimit full(1000); // the new export is about 1700 bytes
            if (!full.active())
                QSKIP("no file size limit on this system");
            const ExportResult r = exportMessages(t, dir.path(), Day);
            QVERIFY(!r.ok);
            QVERIFY(!r.error.isEmpty());
        }
        QCOMPARE(contents(dated), exportContent(SettingsTable()));

        QVERIFY(QDir(dir.path()).mkdir(exportFileName(Day.addDays(1))));
        QVERIFY(!exportMessages(t, dir.path(), Day.addDays(1)).ok);
    }

    void a_backup_that_cannot_be_made_keeps_the_earlier_export_of_the_day()
    {
        QTemporaryDir dir;
        const QString dated = dir.filePath("CannedMessage_20261208.txt");
        const QString bak = dir.filePath("CannedMessage.bak");
        SettingsTable long50;
        for (int k = 0; k < 30; ++k)
            setMessage(long50, k, QString(50, u'w'));
        QVERIFY(exportMessages(long50, dir.path(), Day).ok); // about 1700 bytes
        const QByteArray earlier = contents(dated);
        QFile old(bak);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("older") == 5);
        old.close();
        {
            // The copy of the earlier export crosses the cap; the new export would not.
            FileSizeLimit cap(1000);
            if (!cap.active())
                QSKIP("no file size limit on this system");
            const ExportResult r = exportMessages(SettingsTable(), dir.path(), Day);
            QVERIFY(!r.ok);
            QCOMPARE(r.failedFile, bak);
            QVERIFY(!r.error.isEmpty());
        }
        QCOMPARE(contents(bak), QByteArray("older"));
        QCOMPARE(contents(dated), earlier);
    }
};

QTEST_MAIN(TestMessageExport)
#include "test_messageexport.moc"
