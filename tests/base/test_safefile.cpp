// SPDX-License-Identifier: GPL-3.0-or-later
// The one safe-write routine: complete content or the old file untouched, on a disk that
// is really full, under a file size cap, and through symbolic links.

#include "base/safefile.h"
#include "filesizelimit.h"
#include "smallfilesystem.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace rw;

namespace {

// Every sync a write asks of the system, in order: what it was for (a file by its inode, or
// a folder) and what the target's name held at that moment.
struct Sync {
    bool folder = false;
    ino_t inode = 0;
    QByteArray targetHeld;
};
QList<Sync> syncs;
QString watchedTarget;

int watchingSync(int fd)
{
    struct stat st {};
    ::fstat(fd, &st);
    syncs.push_back({S_ISDIR(st.st_mode), st.st_ino, contents(watchedTarget)});
    return ::fsync(fd);
}

// A FIFO takes the target's name between the content's sync and the rename.
void swapInAFifo(WriteStep step)
{
    if (step != WriteStep::ContentSynced)
        return;
    QFile::remove(watchedTarget);
    ::mkfifo(QFile::encodeName(watchedTarget).constData(), 0600);
}

ino_t inodeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class TestSafeFile : public QObject {
    Q_OBJECT
private slots:
    void on_a_full_disk_nothing_is_replaced_and_the_reason_is_given()
    {
        SmallFileSystem fs;
        REQUIRE_MOUNTED(fs);
        const QString kept = fs.filePath("kept.txt");
        const QString copy = fs.filePath("copy.bak");
        writeFile(kept, "the older content");
        writeFile(copy, "the older backup");
        QVERIFY(fs.fill());

        // Small enough to sit in Qt's write buffer: only the flush can notice the failure.
        const WriteOutcome written = writeFileSafely(kept, "new");
        QVERIFY(!written.ok);
        QCOMPARE(written.error, QString("No space left on device"));
        const WriteOutcome copied = copyFileSafely(kept, copy);
        QVERIFY(!copied.ok);
        QCOMPARE(copied.error, QString("No space left on device"));
        const WriteOutcome created = writeFileSafely(fs.filePath("new.txt"), "new");
        QVERIFY(!created.ok);

        QCOMPARE(contents(kept), QByteArray("the older content"));
        QCOMPARE(contents(copy), QByteArray("the older backup"));
        // No temporary file is left behind, and no new file appears.
        QCOMPARE(fileNames(fs.path()), QStringList({".filler", "copy.bak", "kept.txt"}));
    }

    void under_a_size_cap_a_cut_file_never_takes_the_name()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("capped.txt");
        writeFile(path, "older");
        const QByteArray big(3000, 'b');
        writeFile(dir.filePath("big.txt"), big);
        {
            FileSizeLimit cap(1000);
            if (!cap.active())
                QSKIP("no file size limit on this system");
            QVERIFY(!writeFileSafely(path, big).ok);
            QVERIFY(!copyFileSafely(dir.filePath("big.txt"), path).ok);
            // Writing in pieces fails at the piece that crosses the cap, and stays failed.
            SafeFileWriter pieces(path);
            QVERIFY(pieces.write(QByteArray(900, 'p')));
            QVERIFY(pieces.stage());
            pieces.write(QByteArray(200, 'p'));
            QVERIFY(!pieces.commit());
            QVERIFY(!pieces.write("x"));
            QVERIFY(!pieces.errorString().isEmpty());
        }
        QCOMPARE(contents(path), QByteArray("older"));
        QCOMPARE(fileNames(dir.path()), QStringList({"big.txt", "capped.txt"}));

        QVERIFY(writeFileSafely(path, big).ok);
        QCOMPARE(contents(path), big);
    }

    void a_copy_of_a_missing_source_fails_and_keeps_the_target()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("target"), "kept");
        QVERIFY(!copyFileSafely(dir.filePath("missing"), dir.filePath("target")).ok);
        QCOMPARE(contents(dir.filePath("target")), QByteArray("kept"));
        writeFile(dir.filePath("source"), "copied");
        QVERIFY(copyFileSafely(dir.filePath("source"), dir.filePath("target")).ok);
        QCOMPARE(contents(dir.filePath("target")), QByteArray("copied"));
    }

    void only_a_file_or_a_new_name_is_replaced()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("pipe");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const WriteOutcome intoFifo = writeFileSafely(fifo, "new");
        QVERIFY(!intoFifo.ok);
        QCOMPARE(intoFifo.error, fifo + " is a FIFO (named pipe), not a file. Only a file, or a "
                                        "name not yet taken, is written; nothing was changed.");
        writeFile(dir.filePath("source"), "source");
        QVERIFY(!copyFileSafely(dir.filePath("source"), fifo).ok);
        struct stat st {};
        QCOMPARE(lstat(QFile::encodeName(fifo).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    }

    void a_kept_file_is_a_second_name_and_an_older_one_is_left_alone()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("site.tbl");
        const QString kept = dir.filePath("site.BAK");
        writeFile(source, "first");
        QVERIFY(keepFileAs(source, kept).ok);
        QCOMPARE(contents(source), QByteArray("first"));
        QCOMPARE(contents(kept), QByteArray("first"));
        // The same file under two names, not a copy.
        struct stat a {
        }, b{};
        QCOMPARE(stat(QFile::encodeName(source).constData(), &a), 0);
        QCOMPARE(stat(QFile::encodeName(kept).constData(), &b), 0);
        QCOMPARE(a.st_ino, b.st_ino);

        // Replacing the file gives it a new one; the kept name holds the old content.
        QVERIFY(writeFileSafely(source, "second").ok);
        QCOMPARE(contents(kept), QByteArray("first"));
        QVERIFY(!keepFileAs(source, kept).ok);
        QCOMPARE(contents(kept), QByteArray("first"));
        QCOMPARE(contents(source), QByteArray("second"));
    }

    void the_content_is_synced_before_the_rename_and_the_folder_after()
    {
        QTemporaryDir dir;
        watchedTarget = dir.filePath("site.tbl");
        writeFile(watchedTarget, "old");
        syncs.clear();
        replaceSyncCall(watchingSync);
        const WriteOutcome written = writeFileSafely(watchedTarget, "new");
        replaceSyncCall(nullptr);
        QVERIFY(written.ok);
        QCOMPARE(syncs.size(), 2);
        // The new content, under the name it now has, while the name still held the old.
        QVERIFY(!syncs[0].folder);
        QCOMPARE(syncs[0].inode, inodeOf(watchedTarget));
        QCOMPARE(syncs[0].targetHeld, QByteArray("old"));
        // Then the folder, once the name holds the new content.
        QVERIFY(syncs[1].folder);
        QCOMPARE(syncs[1].inode, inodeOf(dir.path()));
        QCOMPARE(syncs[1].targetHeld, QByteArray("new"));
    }

    void a_fifo_put_in_the_targets_place_during_the_write_is_not_replaced()
    {
        QTemporaryDir dir;
        watchedTarget = dir.filePath("site.tbl");
        writeFile(watchedTarget, "old");
        observeWriteSteps(swapInAFifo);
        const WriteOutcome written = writeFileSafely(watchedTarget, "new");
        observeWriteSteps(nullptr);
        QVERIFY(!written.ok);
        QVERIFY2(written.error.contains("is a FIFO (named pipe), not a file"),
                 qPrintable(written.error));
        struct stat st {};
        QCOMPARE(lstat(QFile::encodeName(watchedTarget).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
        // No temporary file is left beside it.
        QCOMPARE(fileNames(dir.path()), QStringList{"site.tbl"});
    }

    void a_dangling_link_where_the_backup_goes_is_left_alone()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath("site.tbl");
        const QString kept = dir.filePath("site.BAK");
        writeFile(source, "first");
        QVERIFY(QFile::link(dir.filePath("elsewhere.tbl"), kept));
        const WriteOutcome outcome = keepFileAs(source, kept);
        QVERIFY(!outcome.ok);
        QCOMPARE(outcome.error, kept + " is there already");
        // Not followed: nothing was made where the link points.
        QVERIFY(!QFile::exists(dir.filePath("elsewhere.tbl")));
        QCOMPARE(QFileInfo(kept).symLinkTarget(), dir.filePath("elsewhere.tbl"));
    }

    void a_symbolic_link_leads_to_the_file_it_names()
    {
        QTemporaryDir dir;
        const QString real = dir.filePath("real.tbl");
        writeFile(real, "real");
        QVERIFY(QFile::link(real, dir.filePath("link.tbl")));
        QVERIFY(QFile::link(dir.filePath("link.tbl"), dir.filePath("chain.tbl")));
        QCOMPARE(resolvedTarget(dir.filePath("link.tbl")), real);
        QCOMPARE(resolvedTarget(dir.filePath("chain.tbl")), real);
        QCOMPARE(resolvedTarget(real), real);
        // A link to a file that is not there yet leads to where that file would be.
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        QVERIFY(QFile::link(dir.filePath("sub/new.tbl"), dir.filePath("dangling.tbl")));
        QCOMPARE(resolvedTarget(dir.filePath("dangling.tbl")), dir.filePath("sub/new.tbl"));
        QCOMPARE(resolvedTarget(dir.filePath("plain.tbl")), dir.filePath("plain.tbl"));
    }
};

QTEST_APPLESS_MAIN(TestSafeFile)
#include "test_safefile.moc"
