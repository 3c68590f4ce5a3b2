// SPDX-License-Identifier: GPL-3.0-or-later
// The alert profiles and function-bit alerts of the two hidden pages. Their tabs are not
// offered, but every refresh fills them and their handlers are complete, so showing a
// tab is all it takes to offer them.

#include "editors/focuswatch.h"
#include "editors/listchoice.h"
#include "editors/numericedit.h"
#include "frmmain.h"
#include "model/alertlayout.h"
#include "model/settingstable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace rw {

void TfmMain::wireAlertEditors()
{
    auto park = [this] { parkFocus(); };
    for (int i = 0; i < 4; ++i) {
        const AlertProfileControls &c = alertProfiles[i];
        const AlertProfileFields &f = AlertProfileLayout[i];
        const std::pair<QCheckBox *, Field> switches[] = {
            {c.flash, f.flash}, {c.vibrate, f.vibrate}, {c.beep, f.beep}};
        for (auto [box, field] : switches)
            connect(box, &QCheckBox::clicked, this,
                    [this, box, field] { alertSwitchClick(box, field); });
        connect(c.type, &QComboBox::activated, this, [this, i] { alertTypeClick(i); });
        attachNumericEditCycle(
            c.length, dialogs_, park, [this, i] { alertLenExit(i); }, numericWords(f.length));
    }
    // The function-bit edits take any character and keep their text on entry; only the
    // exit rule checks them.
    for (int i = 0; i < 4; ++i) {
        const FunBitControls &c = funBits[i];
        connect(c.pattern, &QComboBox::activated, this, [this, i] { funBitPatClick(i); });
        if (c.alertLen)
            new FocusWatch(c.alertLen, {}, [this, i] { funBitLenExit(i, true); });
        new FocusWatch(c.flashLen, {}, [this, i] { funBitLenExit(i, false); });
    }
}

void TfmMain::alertSwitchClick(QCheckBox *box, Field field)
{
    table_.setValue(field, box->isChecked() ? 1 : 0);
    recordEdit();
}

void TfmMain::alertTypeClick(int profile)
{
    table_.setValue(AlertProfileLayout[profile].type,
                    static_cast<uint32_t>(alertProfiles[profile].type->currentIndex()));
    recordEdit();
}

void TfmMain::alertLenExit(int profile)
{
    numericExitRule(alertProfiles[profile].length, dialogs_, table_,
                    AlertProfileLayout[profile].length,
                    [this, profile] { ShowAlertProfile(profile); });
    recordEdit();
}

void TfmMain::ShowAlertProfile(int profile)
{
    const AlertProfileControls &c = alertProfiles[profile];
    const AlertProfileFields &f = AlertProfileLayout[profile];
    c.flash->setChecked(table_.value(f.flash) != 0);
    c.vibrate->setChecked(table_.value(f.vibrate) != 0);
    c.beep->setChecked(table_.value(f.beep) != 0);
    showListChoice(c.type, table_.value(f.type));
    c.length->setText(QString::number(table_.value(f.length)));
}

void TfmMain::ShowAlertProfiles()
{
    for (int i = 0; i < 4; ++i)
        ShowAlertProfile(i);
}

void TfmMain::funBitPatClick(int bit)
{
    table_.setValue(FunBitLayout[bit].pattern,
                    static_cast<uint32_t>(funBits[bit].pattern->currentIndex()));
    recordEdit();
}

void TfmMain::funBitLenExit(int bit, bool alertLength)
{
    const FunBitControls &c = funBits[bit];
    const FunBitFields &f = FunBitLayout[bit];
    numericExitRule(alertLength ? c.alertLen : c.flashLen, dialogs_, table_,
                    alertLength ? *f.alertLen : f.flashLen, [this] { ShowFunBitAlerts(); });
    recordEdit();
}

void TfmMain::ShowFunBitAlerts()
{
    for (int i = 0; i < 4; ++i) {
        const FunBitControls &c = funBits[i];
        const FunBitFields &f = FunBitLayout[i];
        showListChoice(c.pattern, table_.value(f.pattern));
        if (c.alertLen)
            c.alertLen->setText(QString::number(table_.value(*f.alertLen)));
        c.flashLen->setText(QString::number(table_.value(f.flashLen)));
    }
}

} // namespace rw
