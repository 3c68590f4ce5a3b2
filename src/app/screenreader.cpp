// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenreader.h"

#include "accessiblecombo.h"
#include "accessibletabs.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>

namespace rw {

namespace {

const char KeptProperty[] = "rw_keptFromScreenReaders";
const char NotificationProperty[] = "rw_notification";

// A container that lists only the children offered to screen readers: the window's client
// area without the focus parking place, a tab widget's pages without the hidden ones.
class OfferedChildren : public QAccessibleWidget {
public:
    OfferedChildren(QWidget *w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

    int childCount() const override { return static_cast<int>(offered().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = offered();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return static_cast<int>(offered().indexOf(qobject_cast<QWidget *>(child->object())));
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (QWidget *c : offered()) {
            QAccessibleInterface *i = QAccessible::queryAccessibleInterface(c);
            if (i && i->rect().contains(x, y))
                return i;
        }
        return nullptr;
    }

private:
    QList<QWidget *> offered() const
    {
        QList<QWidget *> r;
        for (QObject *o : widget()->children()) {
            auto *w = qobject_cast<QWidget *>(o);
            if (w && !w->isWindow() && offeredToScreenReaders(w))
                r.append(w);
        }
        return r;
    }
};

// A control kept from screen readers: while the focus is elsewhere listed nowhere, and
// should one ask all the same, invisible and without children. Holding the focus it is a
// line of text, read by its accessible name.
class KeptControl : public QAccessibleWidget {
public:
    explicit KeptControl(QWidget *w) : QAccessibleWidget(w, QAccessible::NoRole) {}
    QAccessible::Role role() const override
    {
        return widget()->hasFocus() ? QAccessible::StaticText : QAccessible::NoRole;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (widget()->hasFocus()) {
            s.focusable = true;
            s.focused = true;
            return s;
        }
        s.invisible = true;
        s.offscreen = true;
        return s;
    }
};

// Words to be spoken as they show, by the accessible name they carry.
class NotificationView : public QAccessibleWidget {
public:
    explicit NotificationView(QWidget *w) : QAccessibleWidget(w, QAccessible::Notification) {}
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
};

// Consulted before Qt's own interfaces, for each class of an object from the most derived
// up; `className` tells which class is asked about.
QAccessibleInterface *readerView(const QString &className, QObject *object)
{
    auto *w = qobject_cast<QWidget *>(object);
    if (!w)
        return nullptr;
    if (w->property(KeptProperty).toBool())
        return new KeptControl(w);
    if (w->property(NotificationProperty).toBool())
        return new NotificationView(w);
    if (className == QLatin1String("QComboBox"))
        return new AccessibleCombo(static_cast<QComboBox *>(w));
    if (className == QLatin1String("QTabBar"))
        return new AccessibleTabStrip(static_cast<QTabBar *>(w));
    if (className == QLatin1String("QStackedWidget"))
        return new OfferedChildren(w, QAccessible::LayeredPane);
    // A plain container (a window's client area, a page); a widget of any other class has
    // an interface of its own before its classes reach QWidget.
    if (className == QLatin1String("QWidget") && w->metaObject() == &QWidget::staticMetaObject)
        return new OfferedChildren(w, QAccessible::Client);
    return nullptr;
}

} // namespace

void offerToScreenReaders()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(readerView);
}

namespace {

// A screen reader listening as the control was made has had Qt's view of it made already:
// it is made anew, as marked.
void forgetView(QWidget *control)
{
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(control))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace

void keepFromScreenReaders(QWidget *control)
{
    control->setProperty(KeptProperty, true);
    forgetView(control);
}

void showAsNotification(QWidget *control)
{
    control->setProperty(NotificationProperty, true);
    forgetView(control);
}

bool offeredToScreenReaders(const QWidget *control)
{
    if (control->property(KeptProperty).toBool() && !control->hasFocus())
        return false;
    // A page of a tab widget is offered while its tab is.
    const QWidget *stack = control->parentWidget();
    if (auto *tabs = qobject_cast<const QTabWidget *>(stack ? stack->parentWidget() : nullptr)) {
        const int index = tabs->indexOf(const_cast<QWidget *>(control));
        if (index >= 0 && !tabs->isTabVisible(index))
            return false;
    }
    return true;
}

} // namespace rw
