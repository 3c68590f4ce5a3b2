// SPDX-License-Identifier: GPL-3.0-or-later
// Table files on disk: reading into the work area, backups, whole-or-nothing saves.

#include "filesizelimit.h"
#include "model/tablefile.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace rw;

namespace {
QByteArray pattern(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 13 + 1) & 0xFF);
    return b;
}

} // namespace

class TestTableFile : public QObject {
    Q_OBJECT
private slots:
    void a_file_fills_the_work_area_from_its_start_and_zero_pads_the_rest()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("t.tbl");
        for (int size : {0, 100, 2048, 4096}) {
            writeFile(path, pattern(size));
            const auto area = readTableFile(path);
            QVERIFY(area);
            QCOMPARE(*area, pattern(size) + QByteArray(4096 - size, '\0'));
        }
    }

    void a_huge_file_is_read_only_as_far_as_the_work_area()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("huge.tbl");
        writeFile(path, pattern(5000));
        QFile f(path);
        QVERIFY(f.resize(qint64(8) << 30)); // 8 GiB, sparse
        const auto area = readTableFile(path);
        QVERIFY(area);
        QCOMPARE(*area, pattern(4096));
    }

    void what_cannot_be_read_as_a_file_is_refused()
    {
        QTemporaryDir dir;
        QVERIFY(!readTableFile(dir.filePath("missing.tbl")));
        QVERIFY(!readTableFile(dir.path()));
    }

    void saving_over_a_file_keeps_it_as_the_backup_beside_it()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("site1.v2.tbl");
        const QString bak = dir.filePath("site1.v2.BAK");
        QCOMPARE(tableBackupName(path), bak);
        writeFile(path, "older");

        QVERIFY(saveTableFile(path, pattern(2048)).ok);
        QCOMPARE(contents(bak), QByteArray("older"));
        QCOMPARE(contents(path), pattern(2048));

        // The backup name is taken: the older backup stays, the file is replaced.
        QVERIFY(saveTableFile(path, pattern(2048).toHex().left(2048)).ok);
        QCOMPARE(contents(bak), QByteArray("older"));
        QCOMPARE(contents(path), pattern(2048).toHex().left(2048));
    }

    void a_failed_save_is_reported_and_leaves_the_file_that_was_there()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.tbl");
        writeFile(path, "kept");
        {
            FileSizeLimit full(1000);
            if (!full.active())
                QSKIP("no file size limit on this system");
            const TableSaveResult r = saveTableFile(path, pattern(2048));
            QVERIFY(!r.ok);
            QVERIFY(!r.error.isEmpty());
        }
        QCOMPARE(contents(path), QByteArray("kept"));
        QVERIFY(!QFile::exists(dir.filePath("kept.BAK")));

        // A folder in the target's place is neither replaced nor moved aside.
        QVERIFY(QDir(dir.path()).mkdir("folder.tbl"));
        QVERIFY(!saveTableFile(dir.filePath("folder.tbl"), pattern(2048)).ok);
        QVERIFY(QFileInfo(dir.filePath("folder.tbl")).isDir());
        QVERIFY(!QFile::exists(dir.filePath("folder.BAK")));
    }

    void a_save_into_a_read_only_folder_is_reported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("ro.tbl");
        writeFile(path, "kept");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        const bool writable = QFile(dir.filePath("probe")).open(QIODevice::WriteOnly);
        const TableSaveResult r = saveTableFile(path, pattern(2048));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (writable)
            QSKIP("permissions are not enforced for this user");
        QVERIFY(!r.ok);
        QCOMPARE(contents(path), QByteArray("kept"));
    }

    void the_default_table_file_is_recognised_by_any_spelling()
    {
        QTemporaryDir dir;
        const QString def = QDir(dir.path()).filePath("default.tbl");
        QVERIFY(sameFile(dir.path() + "/./sub/../default.tbl", def));
        writeFile(def, "x");
        QVERIFY(QFile::link(def, dir.filePath("link.tbl")));
        QVERIFY(sameFile(dir.filePath("link.tbl"), def));
        QVERIFY(!sameFile(dir.filePath("other.tbl"), def));
    }
};

QTEST_MAIN(TestTableFile)
#include "test_tablefile.moc"
