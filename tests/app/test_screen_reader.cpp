// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told about the window, read through Qt's accessibility layer
// offscreen (the AT-SPI test reads the same over the real bus): the memos by the message
// numbers of the page shown, the pages by whether their tab shows, the focus parking place
// not at all, and the Compare list by the summary above it.

#include "app/reportbox.h"
#include "editors/dialogs.h"
#include "offerpage.h"
#include "windowfixture.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QTabBar>
#include <QTreeWidget>

using namespace rw;

namespace {

QAccessibleInterface *reader(QObject *o)
{
    return QAccessible::queryAccessibleInterface(o);
}

QString nameOf(QObject *o)
{
    return reader(o)->text(QAccessible::Name);
}

QStringList childNames(QAccessibleInterface *parent)
{
    QStringList r;
    for (int i = 0; i < parent->childCount(); ++i)
        r << parent->child(i)->text(QAccessible::Name);
    return r;
}

// Every object a reader reaches below `parent`.
QList<QObject *> reachable(QAccessibleInterface *parent)
{
    QList<QObject *> r;
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface *c = parent->child(i);
        r << c->object();
        r += reachable(c);
    }
    return r;
}

} // namespace

class TestScreenReader : public QObject {
    Q_OBJECT
private slots:
    void the_memos_and_row_labels_follow_the_page_chosen_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("lastName");
        QTest::addColumn<QString>("lastLabel");
        QTest::newRow("messages 11 to 20") << 1 << "Message 11"
                                           << "Message 20"
                                           << "20";
        QTest::newRow("messages 21 to 30") << 2 << "Message 21"
                                           << "Message 30"
                                           << "30";
        QTest::newRow("back to 1 to 10") << 0 << "Message 1"
                                         << "Message 10"
                                         << "10";
    }
    void the_memos_and_row_labels_follow_the_page_chosen()
    {
        QFETCH(int, page);
        QFETCH(QString, firstName);
        QFETCH(QString, lastName);
        QFETCH(QString, lastLabel);
        WindowFixture f;
        // Away and back, so each row shows that it follows the page chosen last.
        f.w().cboMsgPage->setCurrentIndex(page == 0 ? 2 : 0);
        f.w().cboMsgPageClick();
        f.w().cboMsgPage->setCurrentIndex(page);
        f.w().cboMsgPageClick();
        QCOMPARE(nameOf(f.w().MsgMemos[0]), firstName);
        QCOMPARE(nameOf(f.w().MsgMemos[9]), lastName);
        QCOMPARE(f.w().MsgLabels[9]->text(), lastLabel);
        // The list is named by what it chooses, its item is its value.
        QAccessibleInterface *list = reader(f.w().cboMsgPage);
        QCOMPARE(list->text(QAccessible::Name), QString("Canned message page"));
        QCOMPARE(list->text(QAccessible::Value), f.w().cboMsgPage->itemText(page));
    }

    void a_page_is_offered_while_its_tab_shows_and_the_parking_place_only_holding_the_focus()
    {
        WindowFixture f;
        // Parked at the start, the focus is on a line that says where Tab goes.
        QAccessibleInterface *parked = reader(f.w().edtNull);
        QCOMPARE(parked->role(), QAccessible::StaticText);
        QVERIFY(!parked->state().invisible);
        QCOMPARE(parked->text(QAccessible::Name), QString("Tab goes to Frequency"));
        QVERIFY(reachable(reader(&f.w())).contains(f.w().edtNull));
        f.clickInto(f.w().edtSysCode);

        QAccessibleInterface *strip = reader(f.w().PageControl1->tabBar());
        QCOMPARE(childNames(strip), QStringList{"TX & Canned Message"});
        QList<QObject *> seen = reachable(reader(&f.w()));
        QVERIFY(seen.contains(f.w().edtFreq));
        for (QObject *hidden :
             std::initializer_list<QObject *>{f.w().TabSheet1, f.w().TabSheet2, f.w().edtHeartBeat,
                                              f.w().funBits[0].pattern, f.w().edtNull})
            QVERIFY2(!seen.contains(hidden), qPrintable(hidden->objectName()));
        QVERIFY(reader(f.w().edtNull)->state().invisible);

        // Offered by a later build, the page comes back with its fields.
        offerPage(f.w(), f.w().TabSheet2);
        QCOMPARE(childNames(strip), (QStringList{"TX & Canned Message", "Pager"}));
        seen = reachable(reader(&f.w()));
        QVERIFY(seen.contains(f.w().edtHeartBeat));
        QVERIFY(!seen.contains(f.w().TabSheet1));
    }

    void the_compare_list_is_named_by_the_summary_above_it()
    {
        ReportRequest request;
        request.caption = "Compare";
        request.summary = "2 settings differ from the transmitter on ttyS0:";
        request.columns = QStringList{"Setting", "Window", "Transmitter"};
        request.rows = {{"frequency", "1", "2"}, {"logo", "A", "B"}};
        ReportBox box(request);
        QCOMPARE(nameOf(box.list), QString("2 settings differ from the transmitter on ttyS0:"));
    }
};

QTEST_MAIN(TestScreenReader)
#include "test_screen_reader.moc"
