// SPDX-License-Identifier: GPL-3.0-or-later
// Table files that reach the window from outside: named on its command line or dropped
// on it. Both open as File, Open does: the same checks, boxes and caption.

#include "app/commandline.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QUrl>

using namespace rw;

namespace {

const QString Designed = TfmMain::DesignedCaption;

// 2048 bytes: canned message 1 reads "hello" (its text starts at byte 2) and the
// out-of-service reminder (the word at bytes 1860..1863) is 3, shown as "5 min".
QByteArray siteImage()
{
    QByteArray image(2048, '\0');
    image.replace(2, 5, "hello");
    image[1860] = 3;
    return image;
}

// Offers `files` to `target` as a file manager does: enter, move, drop. Returns whether
// the drop was accepted.
bool dropFiles(QWidget *target, const QList<QUrl> &files)
{
    QMimeData data;
    data.setUrls(files);
    const QPoint at(4, 4);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QApplication::processEvents();
    return enter.isAccepted() && drop.isAccepted();
}

void checkShowsSite(WindowFixture &f, const QString &file)
{
    QCOMPARE(f.table.buildImage().mid(0, 8), QByteArray("\0\0hello\0", 8));
    QCOMPARE(f.w().MsgMemos[0]->toPlainText(), QString("hello"));
    QCOMPARE(f.w().cboOutOfServiceTM->currentText(), QString("5 min"));
    QCOMPARE(f.w().currentTableFile(), file);
    // The first file named appends " - [", the name and "]" to the designed caption.
    QCOMPARE(f.w().windowTitle(), Designed + " - [" + QDir::toNativeSeparators(file) + "]");
}

} // namespace

class TestOpenFromOutside : public QObject {
    Q_OBJECT
private slots:
    void the_command_line_takes_one_file_and_answers_help_and_version_first()
    {
        using A = WindowCommandLine::Action;
        const QString here = QDir::currentPath();
        QCOMPARE(parseWindowArguments({}).action, A::Run);
        QCOMPARE(parseWindowArguments({}).tableFile, QString());
        QCOMPARE(parseWindowArguments({"site.tbl"}).tableFile, here + "/site.tbl");
        const QString spaced = QDir::tempPath() + "/a b.tbl";
        QCOMPARE(parseWindowArguments({spaced}).tableFile, spaced);
        // After "--" a name that looks like an option is a file.
        QCOMPARE(parseWindowArguments({"--", "--version"}).action, A::Run);
        QCOMPARE(parseWindowArguments({"--", "--version"}).tableFile, here + "/--version");
        QCOMPARE(parseWindowArguments({"--version"}).action, A::Version);
        QCOMPARE(parseWindowArguments({"-h"}).action, A::Help);
        // Help wins over version and over anything wrong beside it.
        QCOMPARE(parseWindowArguments({"--version", "--help"}).action, A::Help);
        QCOMPARE(parseWindowArguments({"a.tbl", "b.tbl", "--version"}).action, A::Version);

        const WindowCommandLine two = parseWindowArguments({"a.tbl", "b.tbl"});
        QCOMPARE(two.action, A::UsageError);
        QCOMPARE(two.error, QString("one table file at most, not 2"));
        const WindowCommandLine unknown = parseWindowArguments({"--colour", "a.tbl"});
        QCOMPARE(unknown.action, A::UsageError);
        QCOMPARE(unknown.error, QString("unknown option --colour"));
        QCOMPARE(unknown.tableFile, QString());

        // The folder a desktop starts the window in; the file is meant from where it was given.
        const WindowCommandLine folder =
            parseWindowArguments({"--program-folder", "site folder", "a.tbl"});
        QCOMPARE(folder.action, A::Run);
        QCOMPARE(folder.programFolder, QString("site folder"));
        QCOMPARE(folder.tableFile, here + "/a.tbl");
        QCOMPARE(parseWindowArguments({"--program-folder=x"}).programFolder, QString("x"));
        QCOMPARE(parseWindowArguments({"--program-folder"}).error,
                 QString("--program-folder needs a folder"));
        QCOMPARE(parseWindowArguments({"--program-folder="}).action, A::UsageError);
    }

    void a_file_named_on_the_command_line_opens_once_the_window_is_up()
    {
        WindowFixture f([](const QString &dir) { writeFile(dir + "/site.tbl", siteImage()); });
        const WindowCommandLine c = parseWindowArguments({"site.tbl"});
        openWhenShown(f.w(), c.tableFile);
        // Queued: the Show sequence has run and the window shows before the file opens.
        QCOMPARE(f.w().windowTitle(), Designed);
        QTRY_COMPARE(f.w().currentTableFile(), f.dir.filePath("site.tbl"));
        checkShowsSite(f, f.dir.filePath("site.tbl"));
        QCOMPARE(f.dialogs.texts(), QStringList());
    }

    void a_file_that_cannot_be_read_gives_the_file_error_and_keeps_the_built_in_table()
    {
        // The box names the file and the system's reason below the described text.
        const std::pair<QString, QString> cases[] = {
            {"missing.tbl", "There is no such file."},
            {"folder.tbl", "It is a folder, not a table file."}};
        for (const auto &[name, reason] : cases) {
            WindowFixture f([](const QString &dir) { QDir(dir).mkdir("folder.tbl"); });
            const QByteArray builtIn = f.table.buildImage();
            openWhenShown(f.w(), parseWindowArguments({name}).tableFile);
            QTRY_COMPARE(f.dialogs.boxes.size(), 1);
            const MessageBoxRequest box = f.dialogs.boxes.first();
            QCOMPARE(box.caption, QString("File Error"));
            QCOMPARE(box.icon, BoxIcon::None);
            QCOMPARE(box.buttons, BoxButtons::OkCancel);
            QCOMPARE(box.text, QString("Can't perform one of the following file operations: "
                                       "Open, Seek, Read, Close.\n\n") +
                                   QDir::toNativeSeparators(f.dir.filePath(name)) + "\n" + reason);
            QCOMPARE(f.table.buildImage(), builtIn);
            QCOMPARE(f.w().currentTableFile(), QString());
            QCOMPARE(f.w().windowTitle(), Designed);
        }
    }

    void a_table_file_dropped_anywhere_on_the_window_opens()
    {
        // On an edit, which would otherwise paste the file's path into itself, and on a
        // label, whose drop goes to the window.
        for (const char *where : {"edtFreq", "label"}) {
            WindowFixture f([](const QString &dir) { writeFile(dir + "/SITE.TBL", siteImage()); });
            QWidget *target = f.w().edtFreq;
            if (QByteArray(where) == "label")
                target = f.w().MsgLabels[0];
            QVERIFY(dropFiles(target, {QUrl::fromLocalFile(f.dir.filePath("SITE.TBL"))}));
            checkShowsSite(f, f.dir.filePath("SITE.TBL"));
        }
    }

    void other_drops_and_drops_during_a_transfer_open_nothing()
    {
        WindowFixture f([](const QString &dir) {
            writeFile(dir + "/site.tbl", siteImage());
            writeFile(dir + "/other.tbl", siteImage());
            writeFile(dir + "/notes.txt", "hello");
        });
        const QByteArray builtIn = f.table.buildImage();
        const QUrl site = QUrl::fromLocalFile(f.dir.filePath("site.tbl"));
        QVERIFY(!dropFiles(f.w().MsgLabels[0], {QUrl::fromLocalFile(f.dir.filePath("notes.txt"))}));
        QVERIFY(!dropFiles(f.w().MsgLabels[0],
                           {site, QUrl::fromLocalFile(f.dir.filePath("other.tbl"))}));
        QVERIFY(!dropFiles(f.w().MsgLabels[0], {QUrl("http://localhost/site.tbl")}));
        // Read and Write take the input away, File, Open with it; a drop waits as well.
        f.w().setInputEnabled(false);
        QVERIFY(!dropFiles(f.w().statusBar(), {site}));
        f.w().setInputEnabled(true);
        QCOMPARE(f.table.buildImage(), builtIn);
        QCOMPARE(f.w().windowTitle(), Designed);
        QCOMPARE(f.dialogs.texts(), QStringList());

        QVERIFY(dropFiles(f.w().statusBar(), {site}));
        checkShowsSite(f, f.dir.filePath("site.tbl"));
    }
};

QTEST_MAIN(TestOpenFromOutside)
#include "test_open_from_outside.moc"
