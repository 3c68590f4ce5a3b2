// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A drop-down list as a screen reader sees it: named by what it chooses (its label, or
// the name set on it), its current item as its value. Left to Qt on Linux, a list is
// named by its current item, which tells a listener the choice but not what it is for.

#include <QAccessibleWidget>

class QComboBox;

namespace rw {

class AccessibleCombo : public QAccessibleWidget {
public:
    explicit AccessibleCombo(QComboBox *combo);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QStringList actionNames() const override;
    void doAction(const QString &action) override;

private:
    QComboBox *combo() const;
};

} // namespace rw
