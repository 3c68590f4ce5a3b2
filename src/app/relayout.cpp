// SPDX-License-Identifier: GPL-3.0-or-later
#include "relayout.h"

#include <algorithm>
#include <cmath>

namespace rw {

QRect scaleRect(const QRect &d, double rx, double ry)
{
    return QRect(static_cast<int>(std::trunc(d.x() * rx)), static_cast<int>(std::trunc(d.y() * ry)),
                 static_cast<int>(std::trunc(d.width() * rx)),
                 static_cast<int>(std::trunc(d.height() * ry)));
}

int scaleFontSize(int designedPointSize, double rx, double ry)
{
    if (designedPointSize <= 0)
        return 0;
    return static_cast<int>(std::trunc(designedPointSize * std::min(rx, ry)));
}

void Relayout::record(QSize designed, QWidget *root, const QList<QWidget *> &skip, double scale)
{
    const auto scaled = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    designed_ = QSize(scaled(designed.width()), scaled(designed.height()));
    entries_.clear();
    const auto children = root->findChildren<QWidget *>();
    for (QWidget *w : children) {
        // Qt's own parts of composite controls carry no name or a "qt_" name; tab pages
        // are placed by their page control.
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith("qt_") || skip.contains(w))
            continue;
        const int size = w->font().pointSize();
        const QRect g = w->geometry();
        entries_.append({w,
                         QRect(scaled(g.x()), scaled(g.y()), scaled(g.width()), scaled(g.height())),
                         size > 0 ? scaled(size) : 0});
    }
}

void Relayout::apply(QSize current) const
{
    if (designed_.width() <= 0 || designed_.height() <= 0)
        return;
    const double rx = double(current.width()) / designed_.width();
    const double ry = double(current.height()) / designed_.height();
    for (const Entry &e : entries_) {
        if (!e.widget)
            continue;
        e.widget->setGeometry(scaleRect(e.geometry, rx, ry));
        // A control without a usable font size keeps the font it has.
        const int size = scaleFontSize(e.pointSize, rx, ry);
        if (size <= 0)
            continue;
        QFont f = e.widget->font();
        f.setPointSize(size);
        e.widget->setFont(f);
    }
}

} // namespace rw
