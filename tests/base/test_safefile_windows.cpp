// SPDX-License-Identifier: GPL-3.0-or-later
// The one safe write on Windows' file system (under Wine in CI): a table saved over another
// keeps the old one as .BAK, a second name where the file system has them; the content is
// flushed before it takes the name; and only a file or a new name is replaced, never a
// device (NUL, COM3), a folder or a link.

#include "base/safefile.h"
#include "model/tablefile.h"
#include "testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <windows.h>

using namespace rw;

namespace {

QList<WriteStep> steps;
int flushes = 0;
void noteStep(WriteStep step)
{
    steps << step;
}
int countFlush(int)
{
    ++flushes;
    return 0;
}

} // namespace

class TestSafeFileWindows : public QObject {
    Q_OBJECT
private slots:
    void aTableSavedOverAnotherKeepsItAsBakAndTheNewContentIsFlushedFirst()
    {
        QTemporaryDir dir;
        const QString site = dir.filePath("site.tbl");
        writeFile(site, QByteArray(2048, 'o'));
        steps.clear();
        flushes = 0;
        observeWriteSteps(noteStep);
        replaceSyncCall(countFlush);
        const TableSaveResult saved = saveTableFile(site, QByteArray(2048, 'n'));
        replaceSyncCall(nullptr);
        observeWriteSteps(nullptr);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(contents(site), QByteArray(2048, 'n'));
        QCOMPARE(contents(dir.filePath("site.BAK")), QByteArray(2048, 'o'));
        QCOMPARE(steps, (QList<WriteStep>{WriteStep::ContentSynced, WriteStep::BackupKept,
                                          WriteStep::Replaced, WriteStep::FolderSynced}));
        QCOMPARE(flushes, 1); // the content; a folder is not flushed on Windows
        // No temporary file is left beside them.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"site.BAK", "site.tbl"}));
    }

    void aDeviceAFolderOrALinkIsNeverReplaced_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::newRow("NUL") << "NUL"
                             << "a device";
        QTest::newRow("COM3 with an extension") << "com3.tbl"
                                                << "a device";
        QTest::newRow("folder") << "folder.tbl"
                                << "a folder";
        QTest::newRow("link") << "link.tbl"
                              << "a link (a reparse point)";
    }
    void aDeviceAFolderOrALinkIsNeverReplaced()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder.tbl"));
        writeFile(dir.filePath("real.tbl"), "real");
        const QString link = QDir::toNativeSeparators(dir.filePath("link.tbl"));
        const QString real = QDir::toNativeSeparators(dir.filePath("real.tbl"));
        ::CreateSymbolicLinkW(reinterpret_cast<const wchar_t *>(link.utf16()),
                              reinterpret_cast<const wchar_t *>(real.utf16()), 0);
        // Windows makes one for an administrator or in developer mode; Wine makes none.
        if (name == "link.tbl" && !QFileInfo::exists(link))
            QSKIP("this system made no symbolic link here");
        const QString path = dir.filePath(name);
        const WriteOutcome written = writeFileSafely(path, "new");
        QVERIFY(!written.ok);
        QCOMPARE(written.error, QDir::toNativeSeparators(path) + " is " + kind +
                                    ", not a file. Only a file, or a name not yet taken, is "
                                    "written; nothing was changed.");
        QCOMPARE(contents(dir.filePath("real.tbl")), QByteArray("real"));
    }
};

QTEST_APPLESS_MAIN(TestSafeFileWindows)
#include "test_safefile_windows.moc"
