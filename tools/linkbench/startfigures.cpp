// SPDX-License-Identifier: GPL-3.0-or-later
#include "startfigures.h"

#include "app/frmmain.h"
#include "app/programicon.h"
#include "app/qtdialogs.h"
#include "model/settingstable.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr double TargetRatio = 1.15;

// The system's monotonic clock, the same in every process, in nanoseconds.
qint64 monotonicNs()
{
    return QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs();
}

// Notes the first frame of one window: it is painted while the expose that shows it is
// handled, and what is posted then runs right after. Watching the whole application, it
// sees the expose before the window's own watchers and what they post.
class FirstFrameClock : public QObject {
public:
    FirstFrameClock(qint64 launchedNs, const QWidget &window)
        : launchedNs_(launchedNs), window_(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Expose && watched == window_.windowHandle() &&
            window_.windowHandle()->isExposed()) {
            QCoreApplication::instance()->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    std::printf("%.3f\n", (monotonicNs() - launchedNs_) / 1e6);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    const qint64 launchedNs_;
    const QWidget &window_;
};

// Milliseconds to the first frame of `which` in a process of its own; negative when the
// process failed.
double firstFrameMs(const char *which)
{
    QTemporaryDir folder; // the window's program directory, which it may write into
    QProcess child;
    child.setWorkingDirectory(folder.path());
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.setProgram(QCoreApplication::applicationFilePath());
    // The child counts from here: starting the process and loading the program count too.
    child.setArguments({FirstFrameChild, which, QString::number(monotonicNs())});
    child.start();
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        return -1;
    bool ok = false;
    const double ms = child.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? ms : -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int firstFrameChild(const char *which, qint64 launchedNs, int argc, char *argv[])
{
    QApplication app(argc, argv);
    rw::SettingsTable table;
    rw::QtDialogs dialogs;
    std::unique_ptr<QWidget> window;
    if (std::strcmp(which, "window") == 0) {
        // As the program's main() makes it.
        QApplication::setWindowIcon(rw::programIcon());
        QGuiApplication::setDesktopFileName(QStringLiteral("io.github.rw830kt.rw830kt"));
        auto main = std::make_unique<rw::TfmMain>(table, dialogs);
        dialogs.setParentWindow(main.get());
        window = std::move(main);
    } else {
        auto plain = std::make_unique<QMainWindow>();
        plain->resize(rw::TfmMain::DesignWidth, rw::TfmMain::DesignHeight);
        plain->setWindowState(Qt::WindowMaximized);
        window = std::move(plain);
    }
    const FirstFrameClock clock(launchedNs, *window);
    window->show();
    return app.exec();
}

bool startFigures()
{
    std::vector<double> window, plain;
    for (int i = 0; i < Runs; ++i) {
        plain.push_back(firstFrameMs("plain"));
        window.push_back(firstFrameMs("window"));
    }
    if (*std::min_element(window.begin(), window.end()) < 0 ||
        *std::min_element(plain.begin(), plain.end()) < 0) {
        std::fprintf(stderr, "a process of the start figures failed\n");
        return false;
    }
    const double w = median(window), p = median(plain);
    std::printf("start   first painted frame from the process's launch (median of %d, in turns): "
                "window %.1f ms, plain Qt window of its size %.1f ms, ratio %.3f  target %.2f%s\n",
                Runs, w, p, w / p, TargetRatio, w / p <= TargetRatio ? "" : "  MISSED");
    return true;
}
