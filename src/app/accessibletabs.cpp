// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibletabs.h"

#include <QPointer>
#include <QTabBar>
#include <QWidget>

namespace rw {

namespace {

// One tab of the strip, by its tab index.
class AccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessibleTab(QTabBar *strip, int index) : strip_(strip), index_(index) {}

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                 : nullptr;
    }
    bool isValid() const override { return strip_ && index_ < strip_->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        QAccessibleInterface *p = parent();
        return p ? p->window() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(strip_.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name:
            return withoutMnemonic(strip_->tabText(index_));
        case QAccessible::Description:
            return strip_->tabToolTip(index_);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = true;
        s.selected = strip_->currentIndex() == index_;
        s.focusable = strip_->focusPolicy() != Qt::NoFocus;
        s.focused = s.selected && strip_->hasFocus();
        s.disabled = !strip_->isTabEnabled(index_);
        s.invisible = !strip_->isVisible() || !strip_->isTabVisible(index_);
        return s;
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = strip_->tabRect(index_);
        return QRect(strip_->mapToGlobal(r.topLeft()), r.size());
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (isValid() && name == pressAction() && strip_->isTabEnabled(index_) &&
            strip_->isTabVisible(index_))
            strip_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<QTabBar> strip_;
    int index_;
};

} // namespace

QString withoutMnemonic(const QString &caption)
{
    QString r;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != u'&') {
            r += caption.at(i);
        } else if (i + 1 < caption.size() && caption.at(i + 1) == u'&') {
            r += u'&';
            ++i;
        }
    }
    return r;
}

AccessibleTabStrip::AccessibleTabStrip(QTabBar *strip)
    : QAccessibleWidget(strip, QAccessible::PageTabList)
{
}

AccessibleTabStrip::~AccessibleTabStrip()
{
    for (QAccessible::Id id : std::as_const(tabs_))
        QAccessible::deleteAccessibleInterface(id);
}

QTabBar *AccessibleTabStrip::strip() const
{
    return static_cast<QTabBar *>(object());
}

QList<int> AccessibleTabStrip::shownTabs() const
{
    QList<int> r;
    for (int i = 0; i < strip()->count(); ++i)
        if (strip()->isTabVisible(i))
            r.append(i);
    return r;
}

QString AccessibleTabStrip::text(QAccessible::Text t) const
{
    // Unless named, the strip goes by the page that shows.
    if (t == QAccessible::Name && strip()->accessibleName().isEmpty())
        return withoutMnemonic(strip()->tabText(strip()->currentIndex()));
    return QAccessibleWidget::text(t);
}

QAccessibleInterface *AccessibleTabStrip::tabInterface(int tabIndex) const
{
    if (const auto found = tabs_.constFind(tabIndex); found != tabs_.cend())
        return QAccessible::accessibleInterface(*found);
    auto *tab = new AccessibleTab(strip(), tabIndex);
    tabs_.insert(tabIndex, QAccessible::registerAccessibleInterface(tab));
    return tab;
}

int AccessibleTabStrip::childCount() const
{
    return static_cast<int>(shownTabs().size());
}

QAccessibleInterface *AccessibleTabStrip::child(int index) const
{
    const QList<int> shown = shownTabs();
    if (index < 0 || index >= shown.size())
        return nullptr;
    return tabInterface(shown.at(index));
}

int AccessibleTabStrip::indexOfChild(const QAccessibleInterface *child) const
{
    const QList<int> shown = shownTabs();
    for (int i = 0; i < shown.size(); ++i)
        if (tabs_.contains(shown.at(i)) &&
            QAccessible::accessibleInterface(tabs_.value(shown.at(i))) == child)
            return i;
    return -1;
}

QAccessibleInterface *AccessibleTabStrip::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface *c = child(i);
        if (c && c->rect().contains(x, y))
            return c;
    }
    return nullptr;
}

QAccessibleInterface *AccessibleTabStrip::focusChild() const
{
    const int current = strip()->currentIndex();
    if (!strip()->hasFocus() || current < 0 || !strip()->isTabVisible(current))
        return nullptr;
    return tabInterface(current);
}

} // namespace rw
