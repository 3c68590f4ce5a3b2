// SPDX-License-Identifier: GPL-3.0-or-later
// The technician's desk in the real window: undo and redo by the keys a person presses,
// Revert, Compare with File, Import Canned Message and the settings sheet on paper.

#include "messages/messageexport.h"
#include "model/fingerprint.h"
#include "simulator.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QPrinter>
#include <QProcess>

using namespace rw;

namespace {

void press(WindowFixture &f, Qt::Key key, Qt::KeyboardModifiers m = Qt::ControlModifier)
{
    QTest::keyClick(f.w().focusWidget(), key, m);
    QApplication::processEvents();
}

// The table the window starts with, and an opaque byte only a file carries.
QByteArray siteImage(WindowFixture &f)
{
    QByteArray image = f.table.buildImage();
    image[1745] = 0x77;
    return image;
}

void openFile(WindowFixture &f, const QString &name, const QByteArray &image)
{
    writeFile(name, image);
    f.dialogs.nextFileName = name;
    f.w().mnuOpen->trigger();
}

QByteArray withMessage(QByteArray image, int n, const QByteArray &text)
{
    image[58 * (n - 1)] = char(text.size());
    image.replace(58 * (n - 1) + 2, 50, text + QByteArray(50 - text.size(), '\0'));
    return image;
}

// MsgLen and MsgText of every message.
QByteArray messages(const QByteArray &image)
{
    QByteArray all;
    for (int k = 0; k < 30; ++k)
        all += image.mid(58 * k, 1) + image.mid(58 * k + 2, 50);
    return all;
}

// The PDF's text as pdftotext reads it, each line as laid out.
QString pdfText(const QString &file)
{
    QProcess p;
    p.start("pdftotext", {"-layout", file, "-"});
    return p.waitForFinished(60000) ? QString::fromUtf8(p.readAllStandardOutput())
                                    : "<pdftotext failed>";
}

} // namespace

class TestDesk : public QObject {
    Q_OBJECT
private slots:
    void threeEditsUndoneThenTwoRedoneSaveTheBytesOfEach()
    {
        WindowFixture f;
        const QString file = f.dir.filePath("site.tbl");
        const QByteArray original = siteImage(f);
        openFile(f, file, original);
        QVERIFY(!f.w().mnuUndo->isEnabled()); // opening and its refresh are no step

        f.typeAndEnter(f.w().edtSysCode, "7");
        f.typeAndEnter(f.w().edtRangeTestDur, "100");
        f.w().cboPOCBaud->setFocus(Qt::TabFocusReason);
        QTest::keyClick(f.w().cboPOCBaud, Qt::Key_Down);
        QCOMPARE(f.w().mnuUndo->text(), QString("&Undo POCSAG_Baud"));
        // While a transfer runs, the table must not change under it.
        f.w().setInputEnabled(false);
        QVERIFY(!f.w().mnuUndo->isEnabled());
        f.w().setInputEnabled(true);

        press(f, Qt::Key_Z);
        QCOMPARE(f.w().mnuUndo->text(), QString("&Undo Range test duration"));
        QCOMPARE(f.w().mnuRedo->text(), QString("&Redo POCSAG_Baud"));
        press(f, Qt::Key_Z);
        press(f, Qt::Key_Z);
        QVERIFY(!f.w().mnuUndo->isEnabled());
        QVERIFY(!f.w().hasUnsavedEdits()); // back to the file as opened
        f.w().mnuSave->trigger();
        QCOMPARE(contents(file), original);

        press(f, Qt::Key_Y);
        press(f, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.w().edtSysCode->text(), QString("0007"));
        f.w().mnuSave->trigger();
        QByteArray second = original;
        second.replace(1822, 4, "0007");
        second[1757] = 100;
        QCOMPARE(contents(file), second);
        // A new edit drops the step still undone.
        f.typeAndEnter(f.w().edtSysCode, "9");
        QVERIFY(!f.w().mnuRedo->isEnabled());
    }

    void ctrlZInAFieldTakesBackWhatWasTypedThereFirst()
    {
        WindowFixture f;
        f.typeAndEnter(f.w().edtSysCode, "7");
        f.clickInto(f.w().edtRangeTestDur);
        QTest::keyClicks(f.w().edtRangeTestDur, "55");
        press(f, Qt::Key_Z);
        QCOMPARE(f.w().edtRangeTestDur->text(), QString());
        QCOMPARE(f.table.buildImage().mid(1822, 4), QByteArray("0007"));

        // Nothing typed is left to take back there: the key undoes the last change.
        press(f, Qt::Key_Z);
        QCOMPARE(f.table.buildImage().mid(1822, 4), QByteArray("0001"));
        QCOMPARE(f.table.buildImage().at(1757), '\x1e');
        QCOMPARE(f.w().edtRangeTestDur->text(), QString("30"));
        QCOMPARE(f.w().mnuRedo->text(), QString("&Redo System Code"));
    }

    void aReadUndoneGivesBackTheTableBeforeIt()
    {
        WindowFixture f;
        const QByteArray before = f.table.buildImage();
        QByteArray transmitter = before;
        transmitter.replace(1822, 4, "0042");
        SimulatorProcess sim;
        QVERIFY(sim.start({}, transmitter));
        f.w().cboCOM->insertItem(0, sim.device());
        f.w().cboCOM->setCurrentIndex(0);
        f.w().mnuRead->trigger();
        QCOMPARE(f.dialogs.texts(), QStringList{"Read Success !"});
        QCOMPARE(f.w().mnuUndo->text(), QString("&Undo Read"));

        press(f, Qt::Key_Z);
        QCOMPARE(f.table.buildImage(), before);
        QCOMPARE(f.w().edtSysCode->text(), QString("0001"));
        QVERIFY(f.w().hasUnsavedEdits()); // no longer what the transmitter holds
        f.w().mnuRedo->trigger();
        QCOMPARE(f.table.buildImage(), transmitter);
        QVERIFY(!f.w().hasUnsavedEdits());
    }

    void revertPutsBackTheOpenedFileAfterTheQuestionAndIsUndoable()
    {
        WindowFixture f;
        QVERIFY(!f.w().mnuRevert->isEnabled()); // no file yet
        const QString file = f.dir.filePath("site.tbl");
        const QByteArray original = siteImage(f);
        openFile(f, file, original);
        f.typeAndEnter(f.w().edtSysCode, "7");
        const QByteArray edited = f.table.buildImage();

        f.dialogs.nextAnswer = BoxAnswer::No;
        f.w().mnuRevert->trigger();
        QCOMPARE(f.dialogs.texts(),
                 QStringList{"Save changes to " + QDir::toNativeSeparators(file) + "?"});
        QCOMPARE(f.table.buildImage(), original);
        QCOMPARE(contents(file), original);
        QCOMPARE(f.w().edtSysCode->text(), QString("0001"));
        QVERIFY(!f.w().hasUnsavedEdits());

        QCOMPARE(f.w().mnuUndo->text(), QString("&Undo Revert"));
        press(f, Qt::Key_Z);
        QCOMPARE(f.table.buildImage(), edited);
    }

    void compareWithFileListsExactlyWhatDiffersFromABackup()
    {
        WindowFixture f([](const QString &dir) { QVERIFY(QDir(dir).mkdir("backups")); });
        QByteArray backup = withMessage(siteImage(f), 3, "Gate");
        backup.replace(1822, 4, "0042");
        const QString name = f.dir.filePath("backups/ttyUSB0-20261208-101500.tbl");
        writeFile(name, backup);
        const QByteArray window = f.table.buildImage();

        f.dialogs.nextFileName = name;
        press(f, Qt::Key_D);
        QCOMPARE(f.dialogs.fileDialogs.size(), 1);
        QCOMPARE(f.dialogs.fileDialogs[0].directory, f.dir.filePath("backups"));
        QCOMPARE(f.dialogs.reports.size(), 1);
        const ReportRequest &r = f.dialogs.reports[0];
        QCOMPARE(r.caption, QString("Compare with File"));
        QCOMPARE(r.summary, QString("3 settings differ from ttyUSB0-20261208-101500.tbl:"));
        QCOMPARE(r.columns, (QStringList{"Setting", "Window", "ttyUSB0-20261208-101500.tbl"}));
        QCOMPARE(r.rows,
                 (QList<QStringList>{
                     {"System Code", "0001", "0042"},
                     {"Msg # 03", "\"\"", "\"Gate\""},
                     {"Opaque1", "0a100a14010805001038020001", "0a100a14017705001038020001"},
                 }));
        QCOMPARE(f.table.buildImage(), window);
        QVERIFY(!f.w().mnuUndo->isEnabled());
    }

    void anExportImportedOverOtherMessagesComesBackByteExact()
    {
        WindowFixture f;
        const QByteArray start = siteImage(f);
        QByteArray site = withMessage(start, 1, "Call reception");
        site = withMessage(site, 2, "Fire\r\ndrill");
        site = withMessage(site, 3, "Caf\xE9");
        site = withMessage(site, 30, QByteArray(50, 'W'));
        openFile(f, f.dir.filePath("a.tbl"), site);
        f.clickInto(f.w().btnDataExport);
        const QString exported = f.dir.filePath(exportFileName(QDate::currentDate()));
        QByteArray other = withMessage(start, 2, "Other");
        other[58 * 4 + 1] = 9; // MsgFixedByte of message 5: the table's own
        openFile(f, f.dir.filePath("b.tbl"), other);
        f.dialogs.clear();

        f.dialogs.nextFileName = exported;
        f.w().mnuImportMessages->trigger();
        QCOMPARE(f.dialogs.confirmations, 1);
        QCOMPARE(f.dialogs.reports[0].rows.size(), 4); // messages 1, 2, 3 and 30
        QCOMPARE(messages(f.table.buildImage()), messages(site));
        QCOMPARE(f.table.buildImage().at(58 * 4 + 1), '\x09');
        QCOMPARE(f.w().mnuUndo->text(), QString("&Undo Import Canned Message"));

        const QString typed = f.dir.filePath("list.txt");
        writeFile(typed, "Short\n" + QByteArray(51, 'x') + "\n");
        const QByteArray imported = f.table.buildImage();
        f.dialogs.clear();
        f.dialogs.nextFileName = typed;
        f.w().mnuImportMessages->trigger();
        QCOMPARE(f.dialogs.texts(), QStringList{QDir::toNativeSeparators(typed) +
                                                "\nLine 2, message 2: More then 50 Characters!\n\n"
                                                "No message was imported."});
        QCOMPARE(f.table.buildImage(), imported);
        QCOMPARE(f.w().mnuUndo->text(), QString("&Undo Import Canned Message"));
    }

    void theSettingsSheetPrintsAndExportsTheSamePage()
    {
        WindowFixture f;
        const QString file = f.dir.filePath("site.tbl");
        openFile(f, file, siteImage(f));
        f.typeAndEnter(f.w().edtSysCode, "7");
        const QString printed = f.dir.filePath("printed.pdf");
        f.dialogs.onPrinter = [&](QPrinter &p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(printed);
            return true;
        };
        press(f, Qt::Key_P);
        const QString text = pdfText(printed);
        QVERIFY2(text.contains(QDir::toNativeSeparators(file) + ", with changes not saved in it"),
                 qPrintable(text));
        QVERIFY(text.contains(QRegularExpression("System Code +0007 ")));
        QVERIFY(text.contains(tableFingerprint(f.table)));

        f.dialogs.nextFileName = f.dir.filePath("sheet.pdf");
        f.w().mnuExportSheet->trigger();
        QCOMPARE(pdfText(f.dir.filePath("sheet.pdf")), text);
    }
};

QTEST_MAIN(TestDesk)
#include "test_desk.moc"
