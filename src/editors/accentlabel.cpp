// SPDX-License-Identifier: GPL-3.0-or-later
#include "accentlabel.h"

#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <cmath>

namespace rw {

namespace {

constexpr double LeastContrast = 4.5;

// The relative luminance of a colour as screen contrast is measured.
double luminance(const QColor &c)
{
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

QColor blend(const QColor &from, const QColor &to, double share)
{
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * share,
                            a.greenF() + (b.greenF() - a.greenF()) * share,
                            a.blueF() + (b.blueF() - a.blueF()) * share);
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableAccent(const QPalette &palette)
{
    const QColor background = palette.color(QPalette::Window);
    const QColor accent = palette.color(QPalette::Link);
    const QColor text = palette.color(QPalette::WindowText);
    for (int step = 0; step <= 10; ++step) {
        const QColor c = blend(accent, text, step / 10.0);
        if (contrastRatio(c, background) >= LeastContrast)
            return c;
    }
    return text;
}

void AccentLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPalette shown = palette();
    shown.setColor(QPalette::WindowText, readableAccent(shown));
    style()->drawItemText(&painter, contentsRect(),
                          QStyle::visualAlignment(layoutDirection(), alignment()), shown,
                          isEnabled(), text(), QPalette::WindowText);
}

} // namespace rw
