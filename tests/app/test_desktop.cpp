// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a desktop sees it: its icon on the window and in the About box, and an
// orderly close when the system stops it.

#include "app/frmabout.h"
#include "app/programicon.h"
#include "windowfixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace rw;

namespace {

// True once the process catches the signal, that is once its handler is in place.
bool catchesSignal(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    // Files in /proc have no size: read them to their end, never ask for it.
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

struct Ran {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the window's program with no display at all: were it to open one, the xcb
// platform would find none and abort.
Ran runWithoutDisplay(const QStringList &args)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(RW830KT_PROGRAM), args);
    if (!program.waitForFinished(20000) || program.exitStatus() != QProcess::NormalExit)
        return {};
    return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void version_and_help_answer_on_standard_output_without_a_display()
    {
        const Ran version = runWithoutDisplay({"--version"});
        QCOMPARE(version.status, 0);
        QCOMPARE(version.out,
                 QByteArray("rw830kt 1.0.7\n"
                            "License GPL-3.0-or-later: GNU General Public License, "
                            "version 3 or later.\n"
                            "This is free software: you are free to change and pass "
                            "it on.\n"
                            "There is NO WARRANTY, to the extent permitted by law.\n"));
        QCOMPARE(version.err, QByteArray());

        // Help wins wherever it stands, beside a file or a Qt option.
        for (const QStringList &args : {QStringList{"--help"}, QStringList{"site.tbl", "-h"},
                                        QStringList{"-platform", "xcb", "--help"}}) {
            const Ran help = runWithoutDisplay(args);
            QCOMPARE(help.status, 0);
            QVERIFY2(help.out.startsWith("Usage: rw830kt [--program-folder DIR] [FILE.tbl]\n"),
                     help.out.constData());
            QVERIFY(
                help.out.contains("  --version             shows the version and the licence\n"));
            QCOMPARE(help.err, QByteArray());
        }
    }

    void a_wrong_command_line_ends_with_status_2_before_any_window()
    {
        QTemporaryDir folder;
        QProcess program;
        program.setWorkingDirectory(folder.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(RW830KT_PROGRAM), {"a.tbl", "b.tbl"});
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardError().contains(
            "rw830kt: one table file at most, not 2\nTry 'rw830kt --help'.\n"));
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
        // No window came up, so none wrote its settings file.
        QVERIFY(!QFile::exists(folder.filePath("RW830KT2485E.ini")));
    }

    void theWindowAndTheAboutBoxShowTheProgramIcon()
    {
        WindowFixture f;
        const QList<QSize> sizes = f.w().windowIcon().availableSizes();
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));

        TfmAbout about(&f.w());
        const QPixmap shown = about.findChild<QLabel *>("imgIcon")->pixmap();
        QCOMPARE(shown.size(), QSize(64, 64));
        // The icon's display is green and its case dark blue; an empty or wrong picture
        // has neither.
        const QImage image = shown.toImage();
        QCOMPARE(image.pixelColor(20, 40).green() > 180, true);
        QCOMPARE(image.pixelColor(20, 40).red() < 190, true);
        QCOMPARE(image.pixelColor(58, 48).blue() > image.pixelColor(58, 48).red(), true);
    }

    void theIconDecodesOnlyTheSizeAskedForAndEachOnce()
    {
        const QImage file(":/icons/rw830kt-48.png");
        const QPixmap first = programIcon().pixmap(48, 48);
        const int decoded = programIconPicturesDecoded();
        // Another copy of the icon, the sizes it offers, the same size again: nothing new.
        const QIcon again = programIcon();
        QCOMPARE(again.availableSizes().size(), 8);
        QCOMPARE(again.pixmap(48, 48).toImage(), first.toImage());
        QCOMPARE(programIconPicturesDecoded(), decoded);
        QCOMPARE(first.toImage(), file.convertToFormat(first.toImage().format()));
        // Between two sizes the larger one is made smaller; beyond the largest, nothing
        // grows; a size from the picture of another decodes that one alone.
        QCOMPARE(again.pixmap(40, 40).size(), QSize(40, 40));
        QCOMPARE(programIconPicturesDecoded(), decoded);
        QCOMPARE(again.pixmap(512, 512).size(), QSize(256, 256));
        QVERIFY(programIconPicturesDecoded() <= decoded + 1);
        QCOMPARE(again.actualSize(QSize(20, 30)), QSize(20, 20));
        // The disabled look is Qt's own, made from the same picture.
        const QImage disabled = again.pixmap(QSize(48, 48), QIcon::Disabled).toImage();
        QCOMPARE(disabled.size(), QSize(48, 48));
        QVERIFY(disabled != first.toImage());
    }

    void aWindowClosedAtOnceIsTornDownWithoutRunningAnExitRule()
    {
        // Stopped right after start, the window closes before it was ever active; taking
        // its controls apart then moves the focus out of the frequency edit, whose exit
        // rule must not run on a window that is half gone (the sanitizers catch it).
        QTemporaryDir folder;
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(folder.path());
        SettingsTable table;
        RecordingDialogs dialogs;
        auto window = std::make_unique<TfmMain>(table, dialogs);
        window->show();
        const QByteArray before = table.buildImage();
        QVERIFY(window->close());
        QApplication::processEvents();
        window.reset();
        QDir::setCurrent(oldCwd);
        QCOMPARE(dialogs.texts(), QStringList());
        QCOMPARE(table.buildImage(), before);
    }

    void stoppingTheProgramClosesItsWindowAndWritesTheSettingsFile()
    {
        QTemporaryDir folder;
        QProcess program;
        program.setProgram(QStringLiteral(RW830KT_PROGRAM));
        program.setWorkingDirectory(folder.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start();
        QVERIFY(program.waitForStarted(5000));

        QElapsedTimer waited;
        waited.start();
        while (!catchesSignal(program.processId(), SIGTERM) && waited.elapsed() < 20000)
            QTest::qWait(20);
        QVERIFY2(catchesSignal(program.processId(), SIGTERM), "the window came up");
        QVERIFY(!QFile::exists(folder.filePath("RW830KT2485E.ini")));

        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 128 + SIGTERM); // as a shell reports a stopped run
        QFile settings(folder.filePath("RW830KT2485E.ini"));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray written = settings.readAll();
        QVERIFY(written.contains("[System]"));
        QVERIFY(written.contains("[Reg 7]"));
    }
};

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
