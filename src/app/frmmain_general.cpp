// SPDX-License-Identifier: GPL-3.0-or-later
// The general settings editors: system code, range test, baud, logo, send twice,
// heartbeat, flash length and the two reminder times.

#include "editors/dialogs.h"
#include "editors/focuswatch.h"
#include "editors/listchoice.h"
#include "editors/numericedit.h"
#include "frmmain.h"
#include "model/generalfields.h"
#include "model/settingcatalogue.h"
#include "model/settingstable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

namespace rw {

void TfmMain::wireGeneralEditors()
{
    auto park = [this] { parkFocus(); };
    attachNumericEditCycle(
        edtSysCode, dialogs_, park, [this] { edtSysCodeExit(); }, numericWords(Field::SysCode));
    attachNumericEditCycle(
        edtRangeTestDur, dialogs_, park, [this] { edtRangeTestDurExit(); },
        numericWords(Field::RangeTestDur));
    attachNumericEditCycle(
        edtHeartBeat, dialogs_, park, [this] { edtHeartBeatExit(); },
        numericWords(Field::HeartBeat));
    attachNumericEditCycle(
        edtFlashLen, dialogs_, park, [this] { edtFlashLenExit(); }, numericWords(Field::FlashLen));

    // Lists and the check box store on the user's action only, never on a refresh.
    connect(cboPOCBaud, &QComboBox::activated, this, &TfmMain::cboPOCBaudClick);
    connect(cboOutOfServiceTM, &QComboBox::activated, this, &TfmMain::cboOutOfServiceTMClick);
    connect(cboLowBatTM, &QComboBox::activated, this, &TfmMain::cboLowBatTMClick);
    connect(chkSendTwice, &QCheckBox::clicked, this, &TfmMain::chkSendTwiceClick);

    // Selected once the click that entered the edit has placed its caret.
    new FocusWatch(
        edtPowLogo, [this] { QTimer::singleShot(0, edtPowLogo, &QLineEdit::selectAll); },
        [this] { edtPowLogoExit(); });
}

void TfmMain::edtSysCodeExit()
{
    // The stored code shows as its four digits (7 as "0007").
    if (numericExitRule(edtSysCode, dialogs_, table_, Field::SysCode,
                        [this] { RefreshControls(); }))
        edtSysCode->setText(decodeSysCode(table_.bytes(Field::SysCode)));
    recordEdit();
}

void TfmMain::edtRangeTestDurExit()
{
    numericExitRule(edtRangeTestDur, dialogs_, table_, Field::RangeTestDur,
                    [this] { RefreshControls(); });
    recordEdit();
}

void TfmMain::edtHeartBeatExit()
{
    numericExitRule(edtHeartBeat, dialogs_, table_, Field::HeartBeat,
                    [this] { RefreshControls(); });
    recordEdit();
}

void TfmMain::edtFlashLenExit()
{
    numericExitRule(edtFlashLen, dialogs_, table_, Field::FlashLen, [this] { RefreshControls(); });
    recordEdit();
}

void TfmMain::cboPOCBaudClick()
{
    table_.setValue(Field::POCBaud, static_cast<uint32_t>(cboPOCBaud->currentIndex()));
    recordEdit();
}

void TfmMain::chkSendTwiceClick()
{
    table_.setValue(Field::SendTwice, chkSendTwice->isChecked() ? 1 : 0);
    recordEdit();
}

void TfmMain::cboOutOfServiceTMClick()
{
    table_.setValue(Field::OutOfServiceTM,
                    static_cast<uint32_t>(cboOutOfServiceTM->currentIndex()));
    recordEdit();
}

void TfmMain::cboLowBatTMClick()
{
    table_.setValue(Field::LowBatTM, static_cast<uint32_t>(cboLowBatTM->currentIndex()));
    recordEdit();
}

void TfmMain::edtPowLogoExit()
{
    // A pasted control character is refused, as everywhere the logo is set; the logo as it
    // was shown (a loaded one may hold such bytes) passes through unchanged.
    const QString text = edtPowLogo->text();
    if (text != powLogoText(table_)) {
        if (const auto refused = textCharacterRefusal(*settingOfField(Field::PowLogoText), text)) {
            dialogs_.warn(*refused);
            edtPowLogo->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    storePowLogo(table_, text);
    recordEdit();
}

void TfmMain::ShowPowLogo()
{
    edtPowLogo->setText(powLogoText(table_));
}

void TfmMain::RefreshGeneralControls()
{
    edtSysCode->setText(decodeSysCode(table_.bytes(Field::SysCode)));
    edtHeartBeat->setText(QString::number(table_.value(Field::HeartBeat)));
    edtRangeTestDur->setText(QString::number(table_.value(Field::RangeTestDur)));
    showListChoice(cboOutOfServiceTM, table_.value(Field::OutOfServiceTM));
    showListChoice(cboPOCBaud, table_.value(Field::POCBaud));
    showListChoice(cboLowBatTM, table_.value(Field::LowBatTM));
    edtFlashLen->setText(QString::number(table_.value(Field::FlashLen)));
    chkSendTwice->setChecked(table_.value(Field::SendTwice) != 0);
}

} // namespace rw
