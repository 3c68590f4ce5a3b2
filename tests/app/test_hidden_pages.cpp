// SPDX-License-Identifier: GPL-3.0-or-later
// The two pages whose tabs are hidden ("Fun. Bit Alert" and the heart-beat and pager
// parameter page) stay out of the user's reach: no key and no wheel turn shows them, and
// whatever is typed afterwards never changes one of their fields.

#include "windowfixture.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>

using namespace rw;

namespace {

// The image bytes that only the hidden pages edit: HeartBeat (1772..1775) and everything
// from PagerAlertFlash (1827) to FlashLen (1912..1915).
QByteArray hiddenPageBytes(const SettingsTable &table)
{
    const QByteArray image = table.buildImage();
    return image.mid(1772, 4) + image.mid(1827, 1916 - 1827);
}

QWidget *keyTarget(TfmMain &w)
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus : &w;
}

void press(TfmMain &w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(keyTarget(w), key, mods);
    QApplication::processEvents();
    // A menu opened by a mnemonic is closed again; it is not what is looked at here.
    while (QWidget *popup = QApplication::activePopupWidget()) {
        popup->close();
        QApplication::processEvents();
    }
}

// What a user would type on whatever page is showing: digits, a list step, a box toggle.
void typeOnWhateverShows(TfmMain &w)
{
    for (int round = 0; round < 3; ++round) {
        QTest::keyClicks(keyTarget(w), "45");
        press(w, Qt::Key_Down);
        press(w, Qt::Key_Space);
        press(w, Qt::Key_Tab);
    }
}

void wheel(QWidget *target, QPoint angle)
{
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent e(at, target->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
    QApplication::processEvents();
}

// Tabs from the system code edit until the tab strip has the focus.
bool tabToTheStrip(WindowFixture &f)
{
    f.clickInto(f.w().edtSysCode);
    for (int i = 0; i < 30; ++i) {
        if (QApplication::focusWidget() == f.w().PageControl1->tabBar())
            return true;
        f.tab();
    }
    return false;
}

} // namespace

class TestHiddenPages : public QObject {
    Q_OBJECT
private:
    // After any route, the first page shows and the hidden pages' fields are as they were.
    void expectFirstPage(WindowFixture &f, const QByteArray &hiddenBefore, const char *route)
    {
        QVERIFY2(f.w().PageControl1->currentIndex() == 0, route);
        QVERIFY2(f.w().PageControl1->currentWidget() == f.w().tabTXPager, route);
        QVERIFY2(!f.w().TabSheet1->isVisible() && !f.w().TabSheet2->isVisible(), route);
        typeOnWhateverShows(f.w());
        QVERIFY2(f.w().PageControl1->currentIndex() == 0, route);
        QVERIFY2(hiddenPageBytes(f.table) == hiddenBefore, route);
    }

private slots:
    void arrows_on_the_tab_strip_stay_on_the_first_page()
    {
        WindowFixture f;
        const QByteArray before = hiddenPageBytes(f.table);
        const std::pair<Qt::Key, const char *> keys[] = {
            {Qt::Key_Right, "Right"}, {Qt::Key_Left, "Left"}, {Qt::Key_End, "End"},
            {Qt::Key_Home, "Home"},   {Qt::Key_Down, "Down"}, {Qt::Key_Up, "Up"}};
        for (auto [key, name] : keys) {
            QVERIFY(tabToTheStrip(f));
            press(f.w(), key);
            press(f.w(), key);
            expectFirstPage(f, before, name);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void ctrl_tab_and_ctrl_page_keys_from_edits_and_memos_stay_on_the_first_page()
    {
        WindowFixture f;
        const QByteArray before = hiddenPageBytes(f.table);
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char *> keys[] = {
            {Qt::Key_Tab, Qt::ControlModifier, "Ctrl+Tab"},
            {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Tab"},
            {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, "Ctrl+Shift+Tab (as Tab)"},
            {Qt::Key_PageDown, Qt::ControlModifier, "Ctrl+PgDown"},
            {Qt::Key_PageUp, Qt::ControlModifier, "Ctrl+PgUp"}};
        QList<QWidget *> starts{f.w().edtPowLogo, f.w().edtSysCode, f.w().edtRangeTestDur,
                                f.w().MsgMemos[0], f.w().MsgMemos[9]};
        for (QWidget *start : starts) {
            for (auto [key, mods, name] : keys) {
                f.clickInto(start);
                QCOMPARE(QApplication::focusWidget(), start);
                press(f.w(), key, mods);
                press(f.w(), key, mods);
                expectFirstPage(f, before, name);
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    void the_mouse_wheel_over_the_tab_strip_stays_on_the_first_page()
    {
        WindowFixture f;
        const QByteArray before = hiddenPageBytes(f.table);
        QTabBar *strip = f.w().PageControl1->tabBar();
        for (QPoint angle : {QPoint(0, -120), QPoint(0, 120), QPoint(-120, 0), QPoint(120, 0)}) {
            for (QWidget *target :
                 {static_cast<QWidget *>(strip), static_cast<QWidget *>(f.w().PageControl1)}) {
                wheel(target, angle);
                wheel(target, angle);
                expectFirstPage(f, before, "wheel");
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    void alt_with_any_letter_stays_on_the_first_page()
    {
        WindowFixture f;
        const QByteArray before = hiddenPageBytes(f.table);
        for (int key = Qt::Key_A; key <= Qt::Key_Z; ++key) {
            QVERIFY(tabToTheStrip(f));
            press(f.w(), Qt::Key(key), Qt::AltModifier);
            expectFirstPage(f, before, qPrintable(QString("Alt+%1").arg(QChar(key))));
            if (QTest::currentTestFailed())
                return;
        }
    }

    void tab_and_shift_tab_through_the_whole_window_never_enter_a_hidden_page()
    {
        WindowFixture f;
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            f.clickInto(f.w().edtPowLogo);
            for (int i = 0; i < 120; ++i) {
                press(f.w(), key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
                QWidget *focus = QApplication::focusWidget();
                QVERIFY(focus);
                QVERIFY2(!f.w().TabSheet1->isAncestorOf(focus) &&
                             !f.w().TabSheet2->isAncestorOf(focus),
                         qPrintable(focus->objectName()));
            }
        }
        QCOMPARE(f.w().PageControl1->currentIndex(), 0);
    }

    void the_hidden_pages_are_still_filled_by_a_refresh()
    {
        WindowFixture f;
        f.table.setValue(Field::HeartBeat, 120);
        f.table.setValue(Field::FunBitDFlashLen, 77);
        f.w().RefreshControls();
        QCOMPARE(f.w().edtHeartBeat->text(), QString("120"));
        QCOMPARE(f.w().funBits[3].flashLen->text(), QString("77"));
        QCOMPARE(f.w().PageControl1->currentIndex(), 0);
    }
};

QTEST_MAIN(TestHiddenPages)
#include "test_hidden_pages.moc"
