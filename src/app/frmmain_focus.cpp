// SPDX-License-Identifier: GPL-3.0-or-later
// The focus as a person who cannot see the window follows it. The numeric fields empty
// themselves for typing and the focus parks on a control that takes no room, so the
// window says what a sighted user reads: the value stored, in each field's description
// and when it is committed; where the focus parked and where Tab goes on from there.

#include "announcer.h"
#include "editors/tabchain.h"
#include "frmmain.h"
#include "model/generalfields.h"
#include "model/settingstable.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace rw {

namespace {

QString accessibleNameOf(QWidget *w)
{
    QAccessibleInterface *view = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
    return view ? view->text(QAccessible::Name) : QString();
}

} // namespace

QString TfmMain::storedValueShown(Field field) const
{
    // The system code shows as its four digits (7 as "0007").
    if (field == Field::SysCode)
        return decodeSysCode(table_.bytes(field));
    return QString::number(table_.value(field));
}

NumericEditWords TfmMain::numericWords(Field field)
{
    return {acceptedValuesText(field),
            [this, field] { return storedValueText(field, storedValueShown(field)); },
            [this](QLineEdit *edit, const QString &stored) { fieldCommitted(edit, stored); }};
}

void TfmMain::fieldCommitted(QLineEdit *field, const QString &stored)
{
    committedField_ = field;
    committedWords_ = stored;
    // Parking, the focus itself says it (parkingWords); Tab or a click moves it to a
    // control that speaks of itself, so the value committed is announced.
    if (QApplication::focusWidget() != edtNull)
        announcer_->announce(accessibleNameOf(field) + QStringLiteral(", ") + stored);
}

void TfmMain::watchFocus(QWidget *old, QWidget *now)
{
    if (now != edtNull)
        return;
    if (old && old != edtNull && centralWidget()->isAncestorOf(old))
        parkedFrom_ = old;
    edtNull->setAccessibleName(parkingWords());
}

QString TfmMain::parkingWords() const
{
    QStringList words;
    QWidget *from = parkedFrom_;
    if (from) {
        const QString name = accessibleNameOf(from);
        words << (from == committedField_ ? name + QStringLiteral(", ") + committedWords_
                                          : name + QStringLiteral(" left"));
    }
    QWidget *next = from ? tabNeighbour(from, true) : tabNeighbour(edtNull, true);
    if (next)
        words << QStringLiteral("Tab goes to %1").arg(accessibleNameOf(next));
    return words.join(QStringLiteral(". "));
}

bool TfmMain::tabFromParking(QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(e);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const bool backwards = key->key() == Qt::Key_Backtab ||
                           (key->key() == Qt::Key_Tab && key->modifiers() & Qt::ShiftModifier);
    if (key->key() != Qt::Key_Tab && !backwards)
        return false;
    QWidget *from = parkedFrom_ ? parkedFrom_.data() : edtNull;
    if (QWidget *to = tabNeighbour(from, !backwards))
        to->setFocus(backwards ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    return true;
}

} // namespace rw
