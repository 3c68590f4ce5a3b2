// SPDX-License-Identifier: GPL-3.0-or-later
#include "programicon.h"

#include <QDir>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace rw {

namespace {

const QString PictureFolder = QStringLiteral(":/icons");
const QString PicturePrefix = QStringLiteral("rw830kt-");
const QString PictureSuffix = QStringLiteral(".png");

// The sides of the built-in pictures, smallest first, from their names ("rw830kt-48.png"):
// knowing them decodes nothing.
const QList<int> &builtInSides()
{
    static const QList<int> sides = [] {
        QList<int> found;
        const QDir folder(PictureFolder, PicturePrefix + u'*' + PictureSuffix);
        for (const QString &name : folder.entryList()) {
            bool ok = false;
            const int side = name.mid(PicturePrefix.size(),
                                      name.size() - PicturePrefix.size() - PictureSuffix.size())
                                 .toInt(&ok);
            if (ok && side > 0)
                found << side;
        }
        std::sort(found.begin(), found.end());
        return found;
    }();
    return sides;
}

int picturesDecoded = 0;

// The built-in picture that serves a square of `side`: the smallest at least that large,
// else the largest. Decoded at its first use and kept, for every copy of the icon. Icons
// are the window thread's alone, as all of Qt's.
const QImage &pictureFor(int side)
{
    static QHash<int, QImage> decoded;
    const QList<int> &sides = builtInSides();
    const auto fit = std::lower_bound(sides.begin(), sides.end(), side);
    const int chosen = fit == sides.end() ? sides.last() : *fit;
    auto kept = decoded.find(chosen);
    if (kept == decoded.end()) {
        ++picturesDecoded;
        kept = decoded.insert(chosen, QImage(PictureFolder + u'/' + PicturePrefix +
                                             QString::number(chosen) + PictureSuffix));
    }
    return *kept;
}

class ProgramIconEngine : public QIconEngine {
public:
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        if (side <= 0 || builtInSides().isEmpty())
            return {};
        // A picture is made smaller to fit, never larger.
        const int shown = std::min(side, builtInSides().last());
        return {shown, shown};
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize shown = actualSize(size, mode, state);
        if (shown.isEmpty())
            return {};
        const QImage &picture = pictureFor(shown.width());
        const QPixmap normal =
            QPixmap::fromImage(picture.size() == shown ? picture
                                                       : picture.scaled(shown, Qt::KeepAspectRatio,
                                                                        Qt::SmoothTransformation));
        // The disabled and selected looks are Qt's own, made from the normal one.
        return mode == QIcon::Normal ? normal : QIcon(normal).pixmap(shown, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * scale, mode, state));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int side : builtInSides())
            sizes << QSize(side, side);
        return sizes;
    }

    bool isNull() override { return builtInSides().isEmpty(); }
    QString key() const override { return QStringLiteral("rw830kt"); }
    QIconEngine *clone() const override { return new ProgramIconEngine; }
};

} // namespace

QIcon programIcon()
{
    return QIcon(new ProgramIconEngine);
}

int programIconPicturesDecoded()
{
    return picturesDecoded;
}

} // namespace rw
