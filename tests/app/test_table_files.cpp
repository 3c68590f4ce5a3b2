// SPDX-License-Identifier: GPL-3.0-or-later
// Open, Save and Save As in the real window: files, backups, the caption, the boxes.

#include "testfiles.h"
#include "windowfixture.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTest>

#include <sys/stat.h>

using namespace rw;

namespace {
const QString Designed = TfmMain::DesignedCaption;

} // namespace

class TestTableFiles : public QObject {
    Q_OBJECT
private slots:
    void the_first_save_asks_before_writing_the_default_file()
    {
        WindowFixture f;
        const QString def = QDir(f.dir.path()).filePath("default.tbl");
        f.dialogs.nextAnswer = BoxAnswer::No;
        f.w().mnuSave->trigger();
        QCOMPARE(f.dialogs.boxes.size(), 1);
        const MessageBoxRequest q = f.dialogs.boxes.first();
        QCOMPARE(q.caption, QString("RW830KT"));
        QCOMPARE(q.icon, BoxIcon::Warning);
        QCOMPARE(q.buttons, BoxButtons::YesNo);
        QCOMPARE(q.text, QString("Click OK will save all changes to the default file.\nThis will "
                                 "change all the default values and automatically loaded up by "
                                 "RW830KT programming software in the future."));
        QVERIFY(!QFile::exists(def));
        QCOMPARE(f.w().windowTitle(), Designed);
        QVERIFY(f.w().currentTableFile().isEmpty());

        f.dialogs.nextAnswer = BoxAnswer::Yes;
        f.w().mnuSave->trigger();
        QCOMPARE(contents(def), f.table.buildImage());
        QCOMPARE(f.w().currentTableFile(), def);
        QCOMPARE(f.w().windowTitle(), Designed + " - [" + def + "]");
    }

    void save_as_then_open_gives_the_table_back_and_the_caption_ends_with_a_blank()
    {
        WindowFixture f;
        QByteArray img = f.table.buildImage();
        for (int i = 0; i < 1940; ++i)
            img[i] = char((i * 31 + 7) & 0xFF);
        img.replace(2, 6, "hello\0", 6);
        f.table.takeImage(img);

        f.dialogs.nextFileName = QDir(f.dir.path()).filePath("site1.tbl");
        f.w().mnuSaveAs->trigger();
        QCOMPARE(f.dialogs.fileDialogs.size(), 1);
        QCOMPARE(f.dialogs.fileDialogs[0].directory, f.dir.path());
        QCOMPARE(f.dialogs.fileDialogs[0].filter, QString("Table files (*.tbl)"));
        QCOMPARE(f.dialogs.fileDialogs[0].defaultSuffix, QString("tbl"));
        const QByteArray saved = contents(f.dialogs.nextFileName);
        QCOMPARE(saved.size(), 2048);
        QCOMPARE(saved.left(1940), img.left(1940));
        QCOMPARE(saved.mid(1940), QByteArray(108, '\0'));
        QVERIFY(f.dialogs.boxes.isEmpty()); // not the default file: no question

        f.table.takeImage(QByteArray());
        f.w().mnuOpen->trigger();
        QCOMPARE(f.table.buildImage().left(1940), img.left(1940));
        QCOMPARE(f.w().MsgMemos[0]->toPlainText(), QString("hello"));
        QCOMPARE(f.w().windowTitle(), Designed + " - [" + f.dialogs.nextFileName + "] ");

        // Save goes to the file opened, with no dialog, and keeps the old file as backup.
        f.w().mnuSave->trigger();
        QCOMPARE(f.dialogs.fileDialogs.size(), 2);
        QCOMPARE(contents(QDir(f.dir.path()).filePath("site1.BAK")), saved);
        QCOMPARE(f.w().windowTitle(), Designed + " - [" + f.dialogs.nextFileName + "]");
    }

    void a_file_that_cannot_be_opened_or_saved_changes_nothing()
    {
        WindowFixture f;
        f.dialogs.nextFileName = QDir(f.dir.path()).filePath("site1.tbl");
        f.w().mnuSaveAs->trigger();
        const QString caption = f.w().windowTitle();
        const QByteArray before = f.table.buildImage();

        QVERIFY(QDir(f.dir.path()).mkdir("folder.tbl"));
        f.dialogs.nextFileName = QDir(f.dir.path()).filePath("folder.tbl");
        f.w().mnuOpen->trigger();
        f.w().mnuSaveAs->trigger();
        QCOMPARE(f.dialogs.boxes.size(), 2);
        for (const MessageBoxRequest &box : f.dialogs.boxes) {
            QCOMPARE(box.caption, QString("File Error"));
            QCOMPARE(box.icon, BoxIcon::None);
            QCOMPARE(box.buttons, BoxButtons::OkCancel);
        }
        QCOMPARE(f.dialogs.boxes[0].text,
                 QString("Can't perform one of the following file operations: Open, Seek, "
                         "Read, Close.\n\n") +
                     QDir(f.dir.path()).filePath("folder.tbl") +
                     "\nIt is a folder, not a table file.");
        QVERIFY(f.dialogs.boxes[1].text.contains("folder.tbl"));
        QCOMPARE(f.table.buildImage(), before);
        QCOMPARE(f.w().windowTitle(), caption);
        QCOMPARE(f.w().currentTableFile(), QDir(f.dir.path()).filePath("site1.tbl"));
    }

    void save_as_refuses_a_fifo_or_a_link_to_a_device_and_changes_nothing()
    {
        WindowFixture f;
        const QDir dir(f.dir.path());
        const QString fifo = dir.filePath("pipe.tbl");
        const QString null = dir.filePath("null.tbl");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QFile::link("/dev/null", null));
        const QString caption = f.w().windowTitle();

        f.dialogs.nextFileName = fifo;
        f.w().mnuSaveAs->trigger();
        f.dialogs.nextFileName = null;
        f.w().mnuSaveAs->trigger();
        QCOMPARE(f.dialogs.boxes.size(), 2);
        for (const MessageBoxRequest &box : f.dialogs.boxes) {
            QCOMPARE(box.caption, QString("File Error"));
            QCOMPARE(box.buttons, BoxButtons::OkCancel);
        }
        QCOMPARE(f.dialogs.boxes[0].text,
                 "Can't perform one of the following file operations: Create, Write, Close.\n\n" +
                     fifo + "\n" + fifo +
                     " is a FIFO (named pipe), not a file. Only a file, or a name not yet taken, "
                     "is written; nothing was changed.");
        QCOMPARE(f.dialogs.boxes[1].text,
                 "Can't perform one of the following file operations: Create, Write, Close.\n\n" +
                     null + "\n" + null +
                     " is a symbolic link to a device, not to a file. Only a file, or a name not "
                     "yet taken, is written; nothing was changed.");
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QCOMPARE(QFileInfo(null).symLinkTarget(), QString("/dev/null"));
        QVERIFY(!QFileInfo(QString("/dev/null")).isFile());
        QCOMPARE(f.w().windowTitle(), caption);
        QVERIFY(f.w().currentTableFile().isEmpty());
    }

    void saving_over_a_symbolic_link_backs_up_and_replaces_the_file_it_names()
    {
        WindowFixture f;
        const QDir dir(f.dir.path());
        QVERIFY(dir.mkdir("store"));
        const QString real = dir.filePath("store/real.tbl");
        const QString link = dir.filePath("link.tbl");
        QByteArray previous(2048, '\0');
        previous.replace(2, 8, "previous");
        QFile file(real);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(previous) == 2048);
        file.close();
        QVERIFY(QFile::link(real, link));

        f.dialogs.nextFileName = link;
        f.w().mnuOpen->trigger();
        QCOMPARE(f.w().MsgMemos[0]->toPlainText(), QString("previous"));
        f.clickInto(f.w().MsgMemos[1]);
        QTest::keyClicks(f.w().MsgMemos[1], "next");
        QTest::keyClick(f.w().MsgMemos[1], Qt::Key_S, Qt::ControlModifier);

        QVERIFY(f.dialogs.boxes.isEmpty());
        QCOMPARE(QFileInfo(link).symLinkTarget(), real);
        const QByteArray saved = contents(real);
        QCOMPARE(saved.size(), 2048);
        QCOMPARE(saved.mid(2, 8), QByteArray("previous"));
        QCOMPARE(saved.mid(60, 5), QByteArray("next\0", 5)); // the second record's text
        QCOMPARE(contents(dir.filePath("store/real.BAK")), previous);
        QVERIFY(!QFileInfo(dir.filePath("link.BAK")).isSymLink());
        QVERIFY(!QFileInfo::exists(dir.filePath("link.BAK")));
        QCOMPARE(f.w().currentTableFile(), link);
        QCOMPARE(f.w().windowTitle(), Designed + " - [" + link + "]");
    }

    void save_stores_the_memo_being_typed_into_first()
    {
        WindowFixture f;
        f.dialogs.nextAnswer = BoxAnswer::Yes;
        f.clickInto(f.w().MsgMemos[0]);
        QTest::keyClicks(f.w().MsgMemos[0], "typed");
        QTest::keyClick(f.w().MsgMemos[0], Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.dialogs.boxes.size(), 1); // the default-file question
        QCOMPARE(contents(QDir(f.dir.path()).filePath("default.tbl")).mid(2, 6),
                 QByteArray("typed\0", 6));

        // A refused text keeps the focus and nothing is written.
        f.clickInto(f.w().MsgMemos[1]);
        f.w().MsgMemos[1]->insertPlainText(QString(51, u'x'));
        f.w().mnuSaveAs->trigger();
        QCOMPARE(f.dialogs.texts().last(), QString("More then 50 Characters!"));
        QVERIFY(f.dialogs.fileDialogs.isEmpty());
        QCOMPARE(QApplication::focusWidget(), f.w().MsgMemos[1]);
    }
};

QTEST_MAIN(TestTableFiles)
#include "test_table_files.moc"
