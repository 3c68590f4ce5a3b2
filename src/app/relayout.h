// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Proportional re-layout: every control keeps its designed place and font size in
// proportion to the window's size.

#include <QList>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace rw {

// A designed rectangle scaled by rx and ry, each coordinate truncated toward zero.
QRect scaleRect(const QRect &designed, double rx, double ry);
// A designed font size scaled by min(rx, ry), truncated; 0 or less means "no font".
int scaleFontSize(int designedPointSize, double rx, double ry);

class Relayout {
public:
    struct Entry {
        QPointer<QWidget> widget;
        QRect geometry;    // relative to the parent, as designed
        int pointSize = 0; // 0: the control keeps no font size
    };

    // Records the designed size and every named control below root, in creation order,
    // each place, size and font size multiplied by `scale` (a design for a larger font).
    void record(QSize designed, QWidget *root, const QList<QWidget *> &skip, double scale = 1.0);
    QSize designedSize() const { return designed_; }
    void apply(QSize current) const;
    const QList<Entry> &entries() const { return entries_; }

private:
    QSize designed_;
    QList<Entry> entries_;
};

} // namespace rw
