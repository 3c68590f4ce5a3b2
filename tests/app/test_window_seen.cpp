// SPDX-License-Identifier: GPL-3.0-or-later
// The window in any light and at any size: the message numbers stay readable (a contrast
// of 4.5 to 1, measured on the pixels drawn) in a light, a dark and a high-contrast
// palette; with a 16 pt desktop font the form grows with the font and no text is cut off.

#include "windowfixture.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <cmath>

using namespace rw;

namespace {

// Relative luminance and contrast ratio as screen contrast is defined (WCAG 2).
double luminance(QRgb c)
{
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette palette(const char *window, const char *text, const char *link)
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(window));
    p.setColor(QPalette::WindowText, QColor(text));
    p.setColor(QPalette::Link, QColor(link));
    return p;
}

} // namespace

class TestWindowSeen : public QObject {
    Q_OBJECT
private slots:
    void theMessageNumbersAreReadableInEveryPalette_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<bool>("linkReadable");
        QTest::newRow("light") << palette("#efefef", "#000000", "#0000ff") << true;
        // A dark theme whose link colour is a dark blue: 1.5 to 1 on its background.
        QTest::newRow("dark") << palette("#2b2b2b", "#e0e0e0", "#1e3a8a") << false;
        QTest::newRow("high contrast") << palette("#000000", "#ffffff", "#ffff00") << true;
    }
    void theMessageNumbersAreReadableInEveryPalette()
    {
        QFETCH(QPalette, palette);
        QFETCH(bool, linkReadable);
        const QPalette before = QApplication::palette();
        QApplication::setPalette(palette);
        {
            WindowFixture f;
            const QImage drawn = f.w().MsgLabels[0]->grab().toImage();
            const QRgb background = drawn.pixel(0, 0);
            QCOMPARE(QColor(background), palette.color(QPalette::Window));
            QRgb text = background;
            for (int y = 0; y < drawn.height(); ++y)
                for (int x = 0; x < drawn.width(); ++x)
                    if (contrast(drawn.pixel(x, y), background) > contrast(text, background))
                        text = drawn.pixel(x, y);
            QVERIFY2(contrast(text, background) >= 4.5,
                     qPrintable(QString::number(contrast(text, background))));
            // A readable link colour is the one shown.
            if (linkReadable)
                QCOMPARE(QColor(text), palette.color(QPalette::Link));
        }
        QApplication::setPalette(before);
    }

    void atASixteenPointFontTheFormGrowsAndNoTextIsCutOff()
    {
        const QFont before = QApplication::font();
        QFont large = before;
        large.setPointSize(16);
        QApplication::setFont(large);
        {
            WindowFixture f;
            // The design grows by 16/9: 635 x 589 becomes 1129 x 1047.
            QCOMPARE(f.w().layoutRecord().designedSize(), QSize(1129, 1047));
            f.w().resize(f.w().layoutRecord().designedSize());
            QApplication::processEvents();
            QCOMPARE(f.w().edtFreq->font().pointSize(), 16);
            int seen = 0;
            for (QWidget *w : f.w().centralWidget()->findChildren<QWidget *>()) {
                if (!w->isVisibleTo(&f.w()))
                    continue;
                if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty()) {
                    ++seen;
                    QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <=
                                 l->contentsRect().width(),
                             qPrintable(l->objectName() + ": " + l->text()));
                } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
                    ++seen;
                    QVERIFY2(b->sizeHint().width() <= b->width(), qPrintable(b->text()));
                }
            }
            QVERIFY(seen > 20);
        }
        QApplication::setFont(before);
    }
};

QTEST_MAIN(TestWindowSeen)
#include "test_window_seen.moc"
