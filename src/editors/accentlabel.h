// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label shown in an accent colour taken from its palette at every paint, so that it
// follows a light, a dark or a high-contrast desktop: the palette's link colour where it
// can be read on the background (a contrast of at least 4.5 to 1), else that colour moved
// toward the palette's text colour until it can.

#include <QColor>
#include <QLabel>

class QPalette;

namespace rw {

// The contrast ratio of two colours, 1 (the same) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);

// The accent colour of `palette`, readable on its window background.
QColor readableAccent(const QPalette &palette);

class AccentLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *e) override;
};

} // namespace rw
