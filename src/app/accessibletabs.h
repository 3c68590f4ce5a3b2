// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tab strip as a screen reader sees it: a list of the tabs that show, each by its
// caption. A hidden tab is not offered at all (the window hides the tabs of the pages
// the user cannot reach).

#include <QAccessibleWidget>
#include <QHash>

class QTabBar;

namespace rw {

class AccessibleTabStrip : public QAccessibleWidget {
public:
    explicit AccessibleTabStrip(QTabBar *strip);
    ~AccessibleTabStrip() override;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    QTabBar *strip() const;
    // The tab index of each tab that shows, in order.
    QList<int> shownTabs() const;

private:
    QAccessibleInterface *tabInterface(int tabIndex) const;
    mutable QHash<int, QAccessible::Id> tabs_; // by tab index, registered with Qt
};

// Shown caption of a tab or label: "&&" is one ampersand, a single "&" marks a mnemonic.
QString withoutMnemonic(const QString &caption);

} // namespace rw
