// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheetpage.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace rw {

namespace {

constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextWrapAnywhere;

// Places the sheet in type of one size: measures it, and draws it when `draw` is set.
// Returns the height it takes.
class SheetLayout {
public:
    SheetLayout(QPainter &painter, qreal pointSize, bool draw)
        : painter_(painter), draw_(draw),
          body_(QFontDatabase::systemFont(QFontDatabase::GeneralFont))
    {
        body_.setPointSizeF(pointSize);
        bold_ = body_;
        bold_.setBold(true);
        title_ = bold_;
        title_.setPointSizeF(pointSize * 1.6);
        line_ = QFontMetricsF(body_, painter.device()).lineSpacing();
    }

    qreal place(const QRectF &area, const SettingsSheet &sheet)
    {
        qreal y = area.top();
        y += text(QRectF(area.left(), y, area.width(), 0), sheet.title, title_) + line_ * 0.5;
        y += rows(area.left(), y, area.width(), sheet.about) + line_;

        // The columns side by side, the taller one setting where the messages begin.
        const qsizetype n = sheet.columns.size();
        const qreal gap = line_ * 2;
        const qreal width = n > 0 ? (area.width() - gap * qreal(n - 1)) / qreal(n) : 0;
        qreal tallest = 0;
        for (qsizetype c = 0; c < n; ++c)
            tallest = qMax(tallest, section(area.left() + qreal(c) * (width + gap), y, width,
                                            sheet.columns[c]));
        y += tallest + line_;
        y += section(area.left(), y, area.width(), sheet.messages) + line_;
        y += rows(area.left(), y, area.width(), {sheet.fingerprint}, bold_);
        return y - area.top();
    }

private:
    qreal text(const QRectF &box, const QString &s, const QFont &font)
    {
        const QRectF r =
            QFontMetricsF(font, painter_.device())
                .boundingRect(QRectF(box.left(), box.top(), box.width(), 1e9), TextFlags, s);
        if (draw_) {
            painter_.setFont(font);
            painter_.drawText(QRectF(box.left(), box.top(), box.width(), r.height()), TextFlags, s);
        }
        return qMax(r.height(), line_);
    }

    qreal section(qreal x, qreal y, qreal width, const SheetSection &s)
    {
        const qreal heading = text(QRectF(x, y, width, 0), s.heading, bold_);
        return heading + rows(x, y + heading, width, s.rows);
    }

    // Label and value side by side: the labels take the width of the longest, as far as
    // the longest value leaves room, and never less than a third.
    qreal rows(qreal x, qreal y, qreal width, const QList<SheetRow> &rows)
    {
        return this->rows(x, y, width, rows, body_);
    }
    qreal rows(qreal x, qreal y, qreal width, const QList<SheetRow> &rows, const QFont &font)
    {
        const QFontMetricsF metrics(font, painter_.device());
        qreal labels = 0;
        qreal values = 0;
        for (const SheetRow &r : rows) {
            labels = qMax(labels, metrics.horizontalAdvance(r.label));
            values = qMax(values, metrics.horizontalAdvance(r.value));
        }
        labels = qMin(labels + line_, qMax(width / 3, width - values - line_));
        const qreal top = y;
        for (const SheetRow &r : rows) {
            const qreal label = text(QRectF(x, y, labels - line_ / 2, 0), r.label, font);
            const qreal value = text(QRectF(x + labels, y, width - labels, 0), r.value, font);
            y += qMax(label, value);
        }
        return y - top;
    }

    QPainter &painter_;
    bool draw_;
    QFont body_;
    QFont bold_;
    QFont title_;
    qreal line_ = 0;
};

} // namespace

QPageLayout sheetPageLayout(const SettingsSheet &sheet)
{
    return QPageLayout(QPageSize(sheet.letterPaper ? QPageSize::Letter : QPageSize::A4),
                       QPageLayout::Portrait, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

void paintSheet(QPainter &painter, const QRectF &area, const SettingsSheet &sheet)
{
    // The largest type in which the whole sheet fits the page, never below 4 points.
    qreal size = 10;
    while (size > 4 && SheetLayout(painter, size, false).place(area, sheet) > area.height())
        size -= 0.25;
    SheetLayout(painter, size, true).place(area, sheet);
}

QByteArray sheetPdf(const SettingsSheet &sheet)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(sheetPageLayout(sheet));
        writer.setTitle(sheet.title);
        writer.setCreator(sheet.program);
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        paintSheet(
            painter,
            QRectF(QPointF(0, 0), writer.pageLayout().paintRectPixels(writer.resolution()).size()),
            sheet);
        if (!painter.end())
            return {};
    }
    return pdf;
}

} // namespace rw
