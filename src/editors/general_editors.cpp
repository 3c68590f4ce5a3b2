// The general settings editors: system code, range test, baud, logo, send twice,
// heartbeat, flash length and the two reminder times.

#include "app/dialogs.h"
#include "app/frmmain.h"
#include "focuswatch.h"
#include "listchoice.h"
#include "model/generalfields.h"
#include "model/settingstable.h"
#include "numericedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

namespace rw {

namespace {

const NumericRange SysCodeRange{[](qint32 v) { return v >= 0 && v <= 2000; },
                                "Please insert a number between 0 ~ 2000 !"};
const NumericRange RangeTestRange{[](qint32 v) { return v == 0 || (v >= 10 && v <= 240); },
                                  "Please insert a number between 0 or 10 ~ 240 !"};
const NumericRange HeartBeatRange{[](qint32 v) { return v == 0 || (v >= 30 && v <= 999); },
                                  "Please insert a number between 0 or 30 ~ 999 !"};
} // namespace

void TfmMain::wireGeneralEditors()
{
    auto park = [this] { parkFocus(); };
    attachNumericEditCycle(edtSysCode, dialogs_, park, [this] { edtSysCodeExit(); });
    attachNumericEditCycle(edtRangeTestDur, dialogs_, park, [this] { edtRangeTestDurExit(); });
    attachNumericEditCycle(edtHeartBeat, dialogs_, park, [this] { edtHeartBeatExit(); });
    attachNumericEditCycle(edtFlashLen, dialogs_, park, [this] { edtFlashLenExit(); });

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
    numericExitRule(
        edtSysCode, dialogs_, SysCodeRange, [this] { RefreshControls(); },
        [this](qint32 v) {
            const QByteArray code = encodeSysCode(v);
            edtSysCode->setText(QString::fromLatin1(code));
            table_.setBytes(Field::SysCode, code);
        });
}

void TfmMain::edtRangeTestDurExit()
{
    numericExitRule(
        edtRangeTestDur, dialogs_, RangeTestRange, [this] { RefreshControls(); },
        [this](qint32 v) { table_.setValue(Field::RangeTestDur, static_cast<uint32_t>(v)); });
}

void TfmMain::edtHeartBeatExit()
{
    numericExitRule(
        edtHeartBeat, dialogs_, HeartBeatRange, [this] { RefreshControls(); },
        [this](qint32 v) { table_.setValue(Field::HeartBeat, static_cast<uint32_t>(v)); });
}

void TfmMain::edtFlashLenExit()
{
    numericExitRule(
        edtFlashLen, dialogs_, ZeroTo999Range, [this] { RefreshControls(); },
        [this](qint32 v) { table_.setValue(Field::FlashLen, static_cast<uint32_t>(v)); });
}

void TfmMain::cboPOCBaudClick()
{
    table_.setValue(Field::POCBaud, static_cast<uint32_t>(cboPOCBaud->currentIndex()));
}

void TfmMain::chkSendTwiceClick()
{
    table_.setValue(Field::SendTwice, chkSendTwice->isChecked() ? 1 : 0);
}

void TfmMain::cboOutOfServiceTMClick()
{
    table_.setValue(Field::OutOfServiceTM,
                    static_cast<uint32_t>(cboOutOfServiceTM->currentIndex()));
}

void TfmMain::cboLowBatTMClick()
{
    table_.setValue(Field::LowBatTM, static_cast<uint32_t>(cboLowBatTM->currentIndex()));
}

void TfmMain::edtPowLogoExit()
{
    storePowLogo(table_, edtPowLogo->text());
}

void TfmMain::ShowPowLogo()
{
    edtPowLogo->setText(showPowLogo(table_));
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
