// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Offers one of the window's hidden pages the way a later build would: its tab shown,
// enabled and chosen. Only the editor tests of those pages do this; no user can.

#include "app/frmmain.h"

#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace rw {

inline void offerPage(TfmMain &w, QWidget *page)
{
    const int index = w.PageControl1->indexOf(page);
    w.PageControl1->setTabVisible(index, true);
    w.PageControl1->tabBar()->setTabEnabled(index, true);
    w.PageControl1->setCurrentIndex(index);
    QVERIFY(QTest::qWaitFor([page] { return page->isVisible(); }));
}

} // namespace rw
