// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the main window at their designed places (window 635 x 589).

#include "frmmain.h"

#include "editors/accentlabel.h"
#include "editors/lengthlimit.h"
#include "editors/messagememo.h"
#include "model/editrules.h"
#include "model/settingcatalogue.h"
#include "screenreader.h"
#include "synth/frequency.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace rw {

namespace {

template <class W> W *place(W *w, const char *name, int x, int y, int width, int height)
{
    w->setObjectName(name);
    w->setGeometry(x, y, width, height);
    return w;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y, int w = 90)
{
    return place(new QLabel(text, parent), name, x, y, w, 16);
}

QLineEdit *edit(QWidget *parent, const char *name, int maxLength, int x, int y, int w)
{
    auto *e = place(new QLineEdit(parent), name, x, y, w, 21);
    if (maxLength > 0)
        e->setValidator(new LengthLimit(maxLength, e));
    return e;
}

QComboBox *list(QWidget *parent, const char *name, const QStringList &items, int x, int y, int w)
{
    auto *c = place(new QComboBox(parent), name, x, y, w, 22);
    c->addItems(items);
    return c;
}

// The label names its control for a screen reader; a numeric edit also tells what it
// accepts.
void labelFor(QLabel *label, QWidget *control, const QString &accepts = {})
{
    label->setBuddy(control);
    if (!accepts.isEmpty())
        control->setAccessibleDescription(accepts);
}

// The labels, items and edit limits come from the settings catalogue, as every other front
// end's.
QStringList itemsOf(Field f)
{
    QStringList r;
    for (const std::string_view item : settingOfField(f)->items)
        r << latin1(item);
    return r;
}

int lengthOf(Field f)
{
    return settingOfField(f)->editLength;
}

QString labelOf(Field f)
{
    return latin1(settingOfField(f)->label);
}

} // namespace

void TfmMain::buildControls()
{
    auto *central = new QWidget(this);
    central->setObjectName("ClientArea");
    setCentralWidget(central);
    // Designed at 9 pt; a larger desktop font scales the whole design (formScale).
    QFont designFont = central->font();
    designFont.setPointSize(DesignPointSize);
    central->setFont(designFont);

    buildTopGroups(central);

    PageControl1 = place(new QTabWidget(central), "PageControl1", 8, 60, 619, 470);
    tabTXPager = new QWidget;
    tabTXPager->setObjectName("tabTXPager");
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName("TabSheet2");
    PageControl1->addTab(tabTXPager, "TX && Canned Message");
    PageControl1->addTab(TabSheet1, "Fun. Bit Alert");
    PageControl1->addTab(TabSheet2, "Pager");
    // These two pages are carried by every table and transfer but are not offered. Their
    // tabs are hidden and disabled as well: the arrow keys on the tab strip, Ctrl+Tab and
    // the mouse wheel pass over disabled tabs only, not over hidden ones. The pages
    // themselves stay enabled, so every refresh fills them and their editors stay whole.
    for (QWidget *page : {TabSheet1, TabSheet2}) {
        const int index = PageControl1->indexOf(page);
        PageControl1->setTabVisible(index, false);
        PageControl1->tabBar()->setTabEnabled(index, false);
    }
    PageControl1->setCurrentIndex(0);

    buildTxPage(tabTXPager);
    buildFunBitPage(TabSheet1);
    buildPagerPage(TabSheet2);

    // The focus parking place: focusable, but takes no visible space. Tab and Shift+Tab
    // never land on it (they go on from the field left for it); nothing a person types
    // stays there, so a screen reader is told of it only while it holds the focus.
    edtNull = place(new QLineEdit(central), "edtNull", 0, 0, 0, 0);
    edtNull->setFrame(false);
    edtNull->setFocusPolicy(Qt::ClickFocus);
    keepFromScreenReaders(edtNull);
}

void TfmMain::buildTopGroups(QWidget *parent)
{
    grpFreq = place(new QGroupBox(parent), "grpFreq", 8, 6, 430, 48);
    auto *freq = label(grpFreq, "lblFreq", latin1(settingNamed(u"frequency")->label), 10, 19, 62);
    edtFreq = edit(grpFreq, "edtFreq", settingNamed(u"frequency")->editLength, 74, 16, 96);
    labelFor(freq, edtFreq, acceptedFrequencyText());
    label(grpFreq, "lblHz", "Hz", 174, 19, 20);
    auto *sysCode = label(grpFreq, "lblSysCode", labelOf(Field::SysCode), 230, 19, 80);
    edtSysCode = edit(grpFreq, "edtSysCode", lengthOf(Field::SysCode), 314, 16, 96);
    labelFor(sysCode, edtSysCode, acceptedValuesText(Field::SysCode));

    GroupBox2 = place(new QGroupBox("Serial", parent), "GroupBox2", 446, 6, 181, 48);
    auto *com = label(GroupBox2, "lblCOM", "COM Port", 8, 21, 58);
    cboCOM = list(GroupBox2, "cboCOM", {}, 68, 18, 104);
    labelFor(com, cboCOM);
}

void TfmMain::buildTxPage(QWidget *page)
{
    auto *tx = place(new QGroupBox("TX Setting", page), "grpTXSetting", 6, 6, 600, 84);
    auto *rangeTest = label(tx, "lblRangeTestDur", labelOf(Field::RangeTestDur), 10, 24, 130);
    edtRangeTestDur = edit(tx, "edtRangeTestDur", lengthOf(Field::RangeTestDur), 142, 21, 40);
    labelFor(rangeTest, edtRangeTestDur, acceptedValuesText(Field::RangeTestDur));
    label(tx, "lblRangeTestSec", "Sec.", 186, 24, 26);
    label(tx, "lblRangeTestDisable", "(0:Disable)", 214, 24, 80);
    auto *baud = label(tx, "lblPOCBaud", labelOf(Field::POCBaud), 320, 24, 86);
    cboPOCBaud = list(tx, "cboPOCBaud", itemsOf(Field::POCBaud), 410, 21, 100);
    labelFor(baud, cboPOCBaud);
    // Said as words, not as the label's underscore.
    cboPOCBaud->setAccessibleName("POCSAG baud");
    auto *logo = label(tx, "lblPowLogo", labelOf(Field::PowLogoText), 10, 54, 130);
    edtPowLogo = edit(tx, "edtPowLogo", lengthOf(Field::PowLogoText), 142, 51, 168);
    labelFor(logo, edtPowLogo);
    chkSendTwice =
        place(new QCheckBox(labelOf(Field::SendTwice), tx), "chkSendTwice", 320, 52, 160, 20);

    auto *msg = place(new QGroupBox(page), "grpCannedMessage", 6, 94, 600, 342);
    auto *title = label(msg, "lblCannedMessage", "Canned Message", 10, 14, 124);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    cboMsgPage = list(msg, "cboMsgPage", {"CALL# 1 -- 10", "CALL# 11 -- 20", "CALL# 21 -- 30"}, 140,
                      10, 130);
    labelFor(title, cboMsgPage);
    cboMsgPage->setAccessibleName("Canned message page");
    btnDataExport =
        place(new QPushButton("Export Canned Message", msg), "btnDataExport", 420, 9, 170, 25);
    for (int k = 0; k < MessagesPerPage; ++k) {
        const int y = 42 + k * 29;
        label(msg, qPrintable(QStringLiteral("lblRowCaption%1").arg(k)), "Msg #", 10, y + 4, 40);
        // Its caption and the memo's name follow the page shown (numberMsgRows).
        // In the desktop's accent colour, readable in a light, dark or high-contrast theme.
        auto *number = place(new AccentLabel(msg), qPrintable(QStringLiteral("lblMsg%1").arg(k)),
                             50, y + 4, 24, 16);
        number->setFont(bold);
        number->setProperty("Tag", k);
        auto *memo = place(new MessageMemo(msg), qPrintable(QStringLiteral("memMsg%1").arg(k)), 80,
                           y, 510, 25);
        memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setTabChangesFocus(true);
        memo->setProperty("Tag", k);
    }
}

void TfmMain::buildFunBitPage(QWidget *page)
{
    auto *outer = place(new QGroupBox("Fun. Bit Alert", page), "grpFunBitAlert", 6, 6, 600, 420);
    const char *letters[] = {"A", "B", "C", "D"};
    const Field patterns[] = {Field::FunBitAPat, Field::FunBitBPat, Field::FunBitCPat,
                              Field::FunBitDPat};
    const Field alertLengths[] = {Field::FunBitAFlashLen, Field::FunBitBAlertLen,
                                  Field::FunBitCAlertLen, Field::FunBitDAlertLen};
    const Field flashLengths[] = {Field::FunBitAFlashLen, Field::FunBitBFlashLen,
                                  Field::FunBitCFlashLen, Field::FunBitDFlashLen};
    const char *alertTexts[] = {"Flash", "Flash and Vibration", "Flash and Beep",
                                "Flash, Beep and Vibration"};
    for (int i = 0; i < 4; ++i) {
        const QString l = letters[i];
        auto name = [&](const char *pattern) { return QString(pattern).arg(l).toLatin1(); };
        FunBitControls &c = funBits[i];
        c.group = place(new QGroupBox("Fun. Bit " + l, outer), name("grpFunBit%1").constData(), 10,
                        20 + i * 98, 580, 92);
        label(c.group, name("lblFunBit%1AlertType").constData(), "Alert Type :", 10, 20, 70);
        label(c.group, name("lblFunBit%1AlertText").constData(), alertTexts[i], 84, 20, 200);
        label(c.group, name("lblFunBit%1Pat").constData(), "Alert Pattern", 10, 44, 90);
        c.pattern =
            list(c.group, name("cboFunBit%1Pat").constData(), itemsOf(patterns[i]), 104, 41, 110);
        if (i > 0) {
            label(c.group, name("lblFunBit%1AlertLen").constData(), "Alert Length", 240, 44, 80);
            c.alertLen = edit(c.group, name("edtFunBit%1AlertLen").constData(),
                              lengthOf(alertLengths[i]), 324, 41, 50);
            label(c.group, name("lblFunBit%1AlertSec").constData(), "sec", 378, 44, 24);
        }
        label(c.group, name("lblFunBit%1FlashLen").constData(), "Flash Length", 240, 68, 80);
        c.flashLen = edit(c.group, name("edtFunBit%1FlashLen").constData(),
                          lengthOf(flashLengths[i]), 324, 65, 50);
        label(c.group, name("lblFunBit%1FlashSec").constData(), "sec", 378, 68, 24);
    }
}

void TfmMain::buildPagerPage(QWidget *page)
{
    label(page, "lblHeartBeat", labelOf(Field::HeartBeat), 10, 12, 70);
    edtHeartBeat = edit(page, "edtHeartBeat", lengthOf(Field::HeartBeat), 84, 9, 40);
    label(page, "lblHeartBeatDisable", "(0:Disable)", 128, 12, 70);

    auto *pager =
        place(new QGroupBox("Pager parameter", page), "grpPagerParameter", 6, 36, 600, 400);
    // The switches are named after the profile (chkPowerOnFlash), the list and the length
    // after its alert (cboPowerOnAlertType, edtPagerAlertLen).
    const char *prefixes[] = {"PagerAlert", "PowerOn", "LowBat", "OutOfService"};
    const char *alerts[] = {"PagerAlert", "PowerOnAlert", "LowBatAlert", "OutOfServiceAlert"};
    const Field types[] = {Field::PagerAlertType, Field::PowerOnAlertType, Field::LowBatAlertType,
                           Field::OutOfServiceAlertType};
    const Field lengths[] = {Field::PagerAlertLen, Field::PowerOnAlertLen, Field::LowBatAlertLen,
                             Field::OutOfServiceAlertLen};
    const char *captions[] = {"Pager Alert Type", "Power On  Alert Type", "Low Battery Alert Type",
                              "Out Of Range Alert Type"};
    for (int i = 0; i < 4; ++i) {
        const QString p = prefixes[i];
        const QString a = alerts[i];
        auto name = [&](const char *pattern) { return QString(pattern).arg(p).toLatin1(); };
        auto alertName = [&](const char *pattern) { return QString(pattern).arg(a).toLatin1(); };
        AlertProfileControls &c = alertProfiles[i];
        const int x = 10 + (i % 2) * 292;
        const int y = 20 + (i / 2) * 130;
        c.group =
            place(new QGroupBox(captions[i], pager), name("grp%1").constData(), x, y, 286, 124);
        c.flash =
            place(new QCheckBox("Flash", c.group), name("chk%1Flash").constData(), 10, 22, 80, 20);
        c.vibrate =
            place(new QCheckBox("Vibrate", c.group), name("chk%1Vibr").constData(), 96, 22, 80, 20);
        c.beep =
            place(new QCheckBox("Beep", c.group), name("chk%1Beep").constData(), 182, 22, 80, 20);
        c.type = list(c.group, alertName("cbo%1Type").constData(), itemsOf(types[i]), 10, 52, 120);
        label(c.group, alertName("lbl%1Len").constData(), "Alert Lengths", 10, 88, 84);
        c.length =
            edit(c.group, alertName("edt%1Len").constData(), lengthOf(lengths[i]), 96, 85, 44);
        label(c.group, alertName("lbl%1Sec").constData(), "Sec.", 144, 88, 30);
    }
    auto *misc = place(new QGroupBox(pager), "grpPagerMisc", 10, 284, 578, 100);
    label(misc, "lblFlashLen", labelOf(Field::FlashLen), 10, 20, 84);
    edtFlashLen = edit(misc, "edtFlashLen", lengthOf(Field::FlashLen), 100, 17, 44);
    label(misc, "lblFlashSec", "Sec.", 148, 20, 30);
    label(misc, "lblOutOfServiceTM", labelOf(Field::OutOfServiceTM), 10, 50, 84);
    cboOutOfServiceTM =
        list(misc, "cboOutOfServiceTM", itemsOf(Field::OutOfServiceTM), 100, 47, 100);
    label(misc, "lblLowBatTM", labelOf(Field::LowBatTM), 220, 50, 170);
    cboLowBatTM = list(misc, "cboLowBatTM", itemsOf(Field::LowBatTM), 394, 47, 100);
}

} // namespace rw
