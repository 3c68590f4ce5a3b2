// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessiblecombo.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace rw {

AccessibleCombo::AccessibleCombo(QComboBox *combo) : QAccessibleWidget(combo, QAccessible::ComboBox)
{
}

QComboBox *AccessibleCombo::combo() const
{
    return static_cast<QComboBox *>(object());
}

QString AccessibleCombo::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return combo()->currentText();
    // The name set on the list, else its label's text (QAccessibleWidget looks for both).
    return QAccessibleWidget::text(t);
}

QAccessible::State AccessibleCombo::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = combo()->view()->isVisible();
    s.editable = combo()->isEditable();
    return s;
}

// The one child is the list of items that drops down.
int AccessibleCombo::childCount() const
{
    return 1;
}

QAccessibleInterface *AccessibleCombo::child(int index) const
{
    return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
}

int AccessibleCombo::indexOfChild(const QAccessibleInterface *child) const
{
    return child && child->object() == combo()->view() ? 0 : -1;
}

QAccessibleInterface *AccessibleCombo::childAt(int, int) const
{
    return nullptr;
}

QStringList AccessibleCombo::actionNames() const
{
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

void AccessibleCombo::doAction(const QString &action)
{
    if (action == showMenuAction() || action == pressAction()) {
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
        return;
    }
    QAccessibleWidget::doAction(action);
}

} // namespace rw
