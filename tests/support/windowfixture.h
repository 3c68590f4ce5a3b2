// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real main window, offscreen, in a fresh temporary program directory.

#include "app/frmmain.h"
#include "editors/messagememo.h"
#include "model/settingstable.h"
#include "recordingdialogs.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace rw {

struct WindowFixture {
    QTemporaryDir dir;
    QString oldCwd = QDir::currentPath();
    SettingsTable table;
    RecordingDialogs dialogs;
    std::unique_ptr<TfmMain> window;

    // `prepare` runs in the program directory before the window is created.
    explicit WindowFixture(const std::function<void(const QString &)> &prepare = {})
    {
        QDir::setCurrent(dir.path());
        if (prepare)
            prepare(dir.path());
        window = std::make_unique<TfmMain>(table, dialogs);
        window->setWindowState(Qt::WindowNoState);
        window->resize(TfmMain::DesignWidth, TfmMain::DesignHeight);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the main window did not become active");
        // The port list is made once the first frame is painted.
        if (!QTest::qWaitFor([this] { return window->portsListed(); }))
            qWarning("the main window did not list the ports");
        QApplication::processEvents();
    }
    ~WindowFixture()
    {
        window.reset();
        QDir::setCurrent(oldCwd);
    }
    TfmMain &w() { return *window; }

    // Moves the focus the way a user does: a click into the control.
    void clickInto(QWidget *control)
    {
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, 4));
        QApplication::processEvents();
    }
    // Types into the focused control, then presses Enter.
    void typeAndEnter(QWidget *control, const QString &text)
    {
        clickInto(control);
        QTest::keyClicks(window->focusWidget(), text);
        QTest::keyClick(window->focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
    }
    void tab()
    {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        QApplication::processEvents();
    }
};

} // namespace rw
