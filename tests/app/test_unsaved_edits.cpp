// SPDX-License-Identifier: GPL-3.0-or-later
// Edits that are in no file and no transmitter: the mark in the title, the question
// before Exit, the close box, Open and Read, and the recent table files of the File menu.

#include "simulator.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

using namespace rw;

namespace {

const QString Designed = "RW830KT  V1.0.7";

// An edit as a user makes it: a new system code, typed and entered.
void editSystemCode(WindowFixture &f, const QString &code)
{
    f.typeAndEnter(f.w().edtSysCode, code);
}

// The title the window system shows.
QString shownTitle(TfmMain &w)
{
    return w.windowHandle() ? w.windowHandle()->title() : QString("<no window>");
}

// The File menu's items down to its commands on other files and on paper, which the recent
// files follow.
const QStringList FileCommands{"&Open",
                               "&Save",
                               "Save &As",
                               "&Revert",
                               "-",
                               "Compare with &File...",
                               "&Import Canned Message...",
                               "-",
                               "&Print Settings Sheet...",
                               "&Export Settings Sheet...",
                               "-"};

// The File menu's items as it shows them.
QStringList fileMenu(TfmMain &w)
{
    QStringList items;
    for (QAction *a : w.menuBar()->actions().first()->menu()->actions())
        items << (a->isSeparator() ? QString("-") : a->text());
    return items;
}

QByteArray tableWithSystemCode(const QByteArray &image, const QByteArray &code)
{
    QByteArray t = image;
    t.replace(1822, 4, code);
    return t;
}

} // namespace

class TestUnsavedEdits : public QObject {
    Q_OBJECT
private slots:
    void anEditMarksTheTitleAndLeavesTheCaptionAsItIs()
    {
        WindowFixture f;
        QVERIFY(!f.w().hasUnsavedEdits());
        QCOMPARE(shownTitle(f.w()), Designed);

        editSystemCode(f, "7");
        QVERIFY(f.w().hasUnsavedEdits());
        QCOMPARE(f.w().windowTitle(), Designed);
        QCOMPARE(shownTitle(f.w()), "*" + Designed);

        // Saved, the mark goes; the caption names the file.
        f.dialogs.nextAnswer = BoxAnswer::Yes; // the default file's question
        f.w().mnuSave->trigger();
        const QString def = f.dir.filePath("default.tbl");
        QVERIFY(!f.w().hasUnsavedEdits());
        QCOMPARE(f.w().windowTitle(), Designed + " - [" + QDir::toNativeSeparators(def) + "]");
        QCOMPARE(shownTitle(f.w()), Designed + " - [" + QDir::toNativeSeparators(def) + "]");

        // An edit taken back is no edit.
        editSystemCode(f, "8");
        QCOMPARE(shownTitle(f.w()), "*" + Designed + " - [" + QDir::toNativeSeparators(def) + "]");
        editSystemCode(f, "7");
        QVERIFY(!f.w().hasUnsavedEdits());
        QCOMPARE(shownTitle(f.w()), Designed + " - [" + QDir::toNativeSeparators(def) + "]");
    }

    void exitAsksAndEachAnswerDoesWhatItSays()
    {
        WindowFixture f;
        editSystemCode(f, "7");

        f.dialogs.nextAnswer = BoxAnswer::Cancel;
        f.w().mnuExit->trigger();
        QVERIFY(f.w().isVisible());
        QCOMPARE(f.dialogs.texts(), QStringList{"Save changes to the settings?"});
        QCOMPARE(f.dialogs.boxes[0].buttons, BoxButtons::YesNoCancel);
        QCOMPARE(f.dialogs.boxes[0].caption, QString("RW830KT"));
        // Cancel returns to the window: not even the settings file is written.
        QVERIFY(!QFileInfo::exists(f.dir.filePath("RW830KT2485E.ini")));

        // Yes with no current file asks for a name; cancelling that cancels the Exit.
        f.dialogs.clear();
        f.dialogs.nextAnswer = BoxAnswer::Yes;
        f.dialogs.nextFileName.clear();
        f.w().mnuExit->trigger();
        QVERIFY(f.w().isVisible());
        QCOMPARE(f.dialogs.fileDialogs.size(), 1);
        QCOMPARE(f.dialogs.fileDialogs[0].defaultSuffix, QString("tbl"));

        // Yes with a name saves the table there, then the window closes.
        f.dialogs.clear();
        f.dialogs.nextFileName = f.dir.filePath("site7.tbl");
        f.w().mnuExit->trigger();
        QVERIFY(!f.w().isVisible());
        QCOMPARE(contents(f.dir.filePath("site7.tbl")), f.table.buildImage());
        QCOMPARE(f.table.buildImage().mid(1822, 4), QByteArray("0007"));
        QVERIFY(QFileInfo::exists(f.dir.filePath("RW830KT2485E.ini")));
    }

    void aSaveThatFailsCancelsTheClose()
    {
        WindowFixture f;
        const QString folder = f.dir.filePath("sites");
        QVERIFY(QDir().mkdir(folder));
        f.dialogs.nextFileName = folder + "/site.tbl";
        f.w().mnuSaveAs->trigger();
        QVERIFY(QDir(folder).removeRecursively()); // the current file's folder has gone
        editSystemCode(f, "7");
        f.dialogs.clear();
        f.dialogs.nextAnswer = BoxAnswer::Yes;

        QVERIFY(!f.w().close());

        QCOMPARE(f.dialogs.texts().size(), 2);
        QCOMPARE(f.dialogs.boxes[1].caption, QString("File Error"));
        QVERIFY(f.w().isVisible());
        QVERIFY(f.w().hasUnsavedEdits());
    }

    void theCloseBoxAsksAndNoClosesWithoutSaving()
    {
        WindowFixture f;
        editSystemCode(f, "7");
        f.dialogs.nextAnswer = BoxAnswer::No;

        f.w().windowHandle()->close(); // as the window system's close box does

        QVERIFY(!f.w().isVisible());
        QCOMPARE(f.dialogs.texts(), QStringList{"Save changes to the settings?"});
        QVERIFY(f.dialogs.fileDialogs.isEmpty());
        QCOMPARE(fileNames(f.dir.path()), QStringList{"RW830KT2485E.ini"});
    }

    void aValueStillBeingTypedCountsAsAnEdit()
    {
        WindowFixture f;
        f.clickInto(f.w().edtSysCode);
        QTest::keyClicks(f.w().edtSysCode, "12");
        f.dialogs.nextAnswer = BoxAnswer::Cancel;
        f.w().close();
        QCOMPARE(f.dialogs.texts(), QStringList{"Save changes to the settings?"});
        QCOMPARE(f.table.buildImage().mid(1822, 4), QByteArray("0012"));
        QVERIFY(f.w().isVisible());
    }

    void openAsksAboutEditsToTheCurrentFile()
    {
        WindowFixture f;
        const QString site = f.dir.filePath("site.tbl");
        const QString other = f.dir.filePath("other.tbl");
        writeFile(other, tableWithSystemCode(f.table.buildImage(), "0042"));
        f.dialogs.nextFileName = site;
        f.w().mnuSaveAs->trigger();
        const QByteArray saved = contents(site);
        editSystemCode(f, "7");
        f.dialogs.clear();

        // Cancel: no file dialog, nothing changes.
        f.dialogs.nextAnswer = BoxAnswer::Cancel;
        f.dialogs.nextFileName = other;
        f.w().mnuOpen->trigger();
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Save changes to " + QDir::toNativeSeparators(site) + "?"});
        QVERIFY(f.dialogs.fileDialogs.isEmpty());
        QCOMPARE(f.table.buildImage().mid(1822, 4), QByteArray("0007"));
        QCOMPARE(contents(site), saved);

        // Yes: the edit goes into the current file, then the other one opens.
        f.dialogs.clear();
        f.dialogs.nextAnswer = BoxAnswer::Yes;
        f.w().mnuOpen->trigger();
        QCOMPARE(contents(site).mid(1822, 4), QByteArray("0007"));
        QCOMPARE(f.w().currentTableFile(), other);
        QCOMPARE(f.w().edtSysCode->text(), QString("0042"));
        QVERIFY(!f.w().hasUnsavedEdits());

        // No: the edit is dropped and the file opens.
        editSystemCode(f, "9");
        f.dialogs.clear();
        f.dialogs.nextAnswer = BoxAnswer::No;
        f.dialogs.nextFileName = site;
        f.w().mnuOpen->trigger();
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Save changes to " + QDir::toNativeSeparators(other) + "?"});
        QCOMPARE(contents(other).mid(1822, 4), QByteArray("0042"));
        QCOMPARE(f.table.buildImage().mid(1822, 4), QByteArray("0007"));
    }

    void readAsksFirstAndCancelSendsNothing()
    {
        WindowFixture f;
        SimulatorProcess sim;
        QVERIFY(sim.start({}, tableWithSystemCode(f.table.buildImage(), "0042")));
        f.w().cboCOM->insertItem(0, sim.device());
        f.w().cboCOM->setCurrentIndex(0);
        editSystemCode(f, "7");

        f.dialogs.nextAnswer = BoxAnswer::Cancel;
        f.w().mnuRead->trigger();
        QCOMPARE(f.dialogs.texts(), QStringList{"Save changes to the settings?"});
        QVERIFY(sim.requests().isEmpty());
        QCOMPARE(f.table.buildImage().mid(1822, 4), QByteArray("0007"));

        f.dialogs.clear();
        f.dialogs.nextAnswer = BoxAnswer::No;
        f.w().mnuRead->trigger();
        QCOMPARE(f.dialogs.texts(),
                 (QStringList{"Save changes to the settings?", "Read Success !"}));
        QCOMPARE(f.table.buildImage().mid(1822, 4), QByteArray("0042"));
        QVERIFY(!f.w().hasUnsavedEdits());
        QCOMPARE(shownTitle(f.w()), Designed);
    }

    void nothingAsksAfterASuccessfulWrite()
    {
        WindowFixture f;
        SimulatorProcess sim;
        QVERIFY(sim.start());
        f.w().cboCOM->insertItem(0, sim.device());
        f.w().cboCOM->setCurrentIndex(0);
        editSystemCode(f, "7");
        f.w().mnuWrite->trigger();
        QCOMPARE(f.dialogs.texts(), QStringList{"Write Success !"});
        QVERIFY(!f.w().hasUnsavedEdits());
        f.dialogs.clear();
        QVERIFY(f.w().close());
        QVERIFY(f.dialogs.boxes.isEmpty());
    }

    void aFailedWriteKeepsTheQuestion()
    {
        WindowFixture f;
        SimulatorProcess sim;
        QVERIFY(sim.start({"--bad-ack", "2"}));
        f.w().cboCOM->insertItem(0, sim.device());
        f.w().cboCOM->setCurrentIndex(0);
        editSystemCode(f, "7");
        f.w().mnuWrite->trigger();
        QCOMPARE(f.dialogs.texts().size(), 1);
        QVERIFY(f.dialogs.texts()[0].startsWith("Write Error !\n\n"));
        QVERIFY(f.w().hasUnsavedEdits());
    }

    void recentFilesListTheLastFourAndSurviveARestart()
    {
        const auto N = [](const QString &path) { return QDir::toNativeSeparators(path); };
        WindowFixture f([](const QString &dir) {
            writeFile(dir + "/RW830KT2485E.ini", "[Serial]\r\nExtraPorts=/dev/x\r\n");
        });
        QCOMPARE(fileMenu(f.w()), (FileCommands + QStringList{"E&xit"}));
        QStringList names;
        for (const char *n : {"a.tbl", "b b.tbl", "c&d.tbl", "e.tbl", "f.tbl"}) {
            names << f.dir.filePath(n);
            f.dialogs.nextFileName = names.last();
            f.w().mnuSaveAs->trigger();
        }
        // The file used last comes first; the oldest has gone.
        QCOMPARE(f.w().recentFiles(), (QStringList{names[4], names[3], names[2], names[1]}));
        QCOMPARE(fileMenu(f.w()),
                 (FileCommands + QStringList{"&1 " + N(names[4]), "&2 " + N(names[3]),
                                             "&3 " + N(f.dir.filePath("c&&d.tbl")),
                                             "&4 " + N(names[1]), "-", "E&xit"}));

        // Opening one moves it to the front.
        f.w().mnuRecent[3]->trigger();
        QCOMPARE(f.w().currentTableFile(), names[1]);
        QCOMPARE(f.w().recentFiles().first(), names[1]);

        // After a restart the list is the same, and the other lines of the file stayed.
        f.window.reset();
        f.window = std::make_unique<TfmMain>(f.table, f.dialogs);
        QCOMPARE(f.w().recentFiles(), (QStringList{names[1], names[4], names[3], names[2]}));
        QCOMPARE(f.w().mnuRecent[1]->text(), "&2 " + N(names[4]));
        QVERIFY(contents(f.dir.filePath("RW830KT2485E.ini"))
                    .startsWith("[Serial]\r\nExtraPorts=/dev/x\r\n\r\n[Recent Files]\r\nFile1=\""));
    }

    void aRecentFileThatNoLongerOpensIsToldAndLeavesTheList()
    {
        const auto N = [](const QString &path) { return QDir::toNativeSeparators(path); };
        WindowFixture f;
        const QString gone = f.dir.filePath("gone.tbl");
        const QString kept = f.dir.filePath("kept.tbl");
        for (const QString &name : {gone, kept}) {
            f.dialogs.nextFileName = name;
            f.w().mnuSaveAs->trigger();
        }
        QVERIFY(QFile::remove(gone));
        f.dialogs.clear();

        f.w().mnuRecent[1]->trigger();

        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Can't perform one of the following file operations: Open, Seek, "
                             "Read, Close.\n\n" +
                             N(gone) + "\nThere is no such file."});
        QCOMPARE(f.dialogs.boxes[0].caption, QString("File Error"));
        QCOMPARE(f.w().recentFiles(), QStringList{kept});
        QCOMPARE(fileMenu(f.w()), (FileCommands + QStringList{"&1 " + N(kept), "-", "E&xit"}));
        QCOMPARE(f.w().currentTableFile(), kept);
        f.window.reset();
        f.window = std::make_unique<TfmMain>(f.table, f.dialogs);
        QCOMPARE(f.w().recentFiles(), QStringList{kept});
    }
};

QTEST_MAIN(TestUnsavedEdits)
#include "test_unsaved_edits.moc"
