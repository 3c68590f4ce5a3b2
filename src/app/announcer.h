// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader is to say without the focus moving: a transfer's start, progress
// and end, a value committed, a key that was dropped. Qt has no announcement of its own
// here, so the words go to a notification object of the window that shows itself anew
// for each; screen readers (Orca among them) speak a notification that shows. Nothing of
// it is seen: it takes no room and no focus.

#include <QString>
#include <QWidget>

namespace rw {

class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget *window);

    void announce(const QString &words);

signals:
    // The words have been handed to the screen readers.
    void announced(const QString &words);

private:
    QString words_;
};

} // namespace rw
