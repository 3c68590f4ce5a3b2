// SPDX-License-Identifier: GPL-3.0-or-later
// Table files on disk: reading into the work area, backups, whole-or-nothing saves.

#include "filesizelimit.h"
#include "model/tablefile.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace rw;

namespace {
QByteArray pattern(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 13 + 1) & 0xFF);
    return b;
}

struct StoppedSave {
    bool killed = false;
    QStringList stepsPassed;
};

// Saves 2048 bytes of `fill` to `path` in a process of its own that kills itself when the
// save reaches `step`.
StoppedSave saveStoppedAt(const QString &path, const QString &step, char fill)
{
    QProcess p;
    p.start(QStringLiteral(RW830KT_SAVE_STOPPER), {path, step, QString(QLatin1Char(fill))});
    StoppedSave r;
    if (!p.waitForFinished(60000))
        return r;
    r.killed = p.exitStatus() == QProcess::CrashExit;
    r.stepsPassed = QString::fromLatin1(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return r;
}

const QString Refusal =
    QStringLiteral("%1 is %2, not a file. Only a file, or a name not yet taken, is written; "
                   "nothing was changed.");
const QString LinkRefusal = QStringLiteral("%1 is a symbolic link to %2, not to a file. Only a "
                                           "file, or a name not yet taken, is written; nothing "
                                           "was changed.");

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

    void a_save_stopped_at_any_step_leaves_the_old_or_the_new_file_under_the_name()
    {
        const QByteArray older(2048, 'o');
        const QByteArray newer(2048, 'n');
        const QStringList order{"ContentSynced", "BackupKept", "Replaced", "FolderSynced"};
        for (int step = 0; step < order.size(); ++step) {
            QTemporaryDir dir;
            const QString path = dir.filePath("site.tbl");
            const QString bak = dir.filePath("site.BAK");
            writeFile(path, older);
            const StoppedSave r = saveStoppedAt(path, order[step], 'n');
            QVERIFY2(r.killed, qPrintable(order[step]));
            QCOMPARE(r.stepsPassed, order.mid(0, step + 1));
            // Until the rename the name holds the old file, from then on the new one.
            QCOMPARE(contents(path), step < 2 ? older : newer);
            // The backup appears beside the old file before the rename, never instead of it.
            QCOMPARE(contents(bak), step == 0 ? QByteArray("<missing>") : older);

            // The first save of a name: nothing, then the whole new file.
            const QString fresh = dir.filePath("fresh.tbl");
            QVERIFY(saveStoppedAt(fresh, order[step], 'n').killed);
            QCOMPARE(contents(fresh), step < 2 ? QByteArray("<missing>") : newer);
            QVERIFY(!QFile::exists(dir.filePath("fresh.BAK")));
        }

        // Not stopped, the same save runs to its end.
        QTemporaryDir dir;
        const QString path = dir.filePath("site.tbl");
        writeFile(path, older);
        const StoppedSave whole = saveStoppedAt(path, "none", 'n');
        QVERIFY(!whole.killed);
        QCOMPARE(whole.stepsPassed, order);
        QCOMPARE(contents(path), newer);
        QCOMPARE(contents(dir.filePath("site.BAK")), older);
    }

    void only_a_regular_file_or_a_new_name_is_ever_written()
    {
        QTemporaryDir dir;
        const QDir d(dir.path());
        const QString fifo = d.filePath("pipe.tbl");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QFile::link("/dev/null", d.filePath("null.tbl")));
        QVERIFY(QFile::link(fifo, d.filePath("topipe.tbl")));
        QVERIFY(d.mkdir("folder.tbl"));
        QVERIFY(QFile::link(d.filePath("folder.tbl"), d.filePath("tofolder.tbl")));

        const struct {
            const char *name;
            QString refusal;
        } cases[] = {
            {"pipe.tbl", Refusal.arg(d.filePath("pipe.tbl"), "a FIFO (named pipe)")},
            {"null.tbl", LinkRefusal.arg(d.filePath("null.tbl"), "a device")},
            {"topipe.tbl", LinkRefusal.arg(d.filePath("topipe.tbl"), "a FIFO (named pipe)")},
            {"folder.tbl", Refusal.arg(d.filePath("folder.tbl"), "a folder")},
            {"tofolder.tbl", LinkRefusal.arg(d.filePath("tofolder.tbl"), "a folder")},
        };
        for (const auto &c : cases) {
            const TableSaveResult r = saveTableFile(d.filePath(c.name), pattern(2048));
            QVERIFY2(!r.ok, c.name);
            QCOMPARE(r.error, c.refusal);
        }
        QCOMPARE(saveTableFile("/dev/null", pattern(2048)).error,
                 Refusal.arg("/dev/null", "a device"));

        struct stat st {};
        QCOMPARE(lstat(QFile::encodeName(fifo).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
        QCOMPARE(stat("/dev/null", &st), 0);
        QVERIFY(S_ISCHR(st.st_mode));
        QCOMPARE(QFileInfo(d.filePath("null.tbl")).symLinkTarget(), QString("/dev/null"));
        QVERIFY(QFileInfo(d.filePath("folder.tbl")).isDir());
        // Nothing was moved aside or left behind.
        QCOMPARE(d.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                             QDir::Name),
                 QStringList({"folder.tbl", "null.tbl", "pipe.tbl", "tofolder.tbl", "topipe.tbl"}));
        QCOMPARE(QDir(d.filePath("folder.tbl")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());

        // A link to a name not yet taken makes the file it names.
        QVERIFY(QFile::link(d.filePath("new.tbl"), d.filePath("tonew.tbl")));
        QVERIFY(saveTableFile(d.filePath("tonew.tbl"), pattern(2048)).ok);
        QCOMPARE(contents(d.filePath("new.tbl")), pattern(2048));
        QVERIFY(QFileInfo(d.filePath("tonew.tbl")).isSymLink());
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
