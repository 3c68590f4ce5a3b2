// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmmain.h"

#include "announcer.h"
#include "base/settingsfile.h"
#include "base/windowchoices.h"
#include "editors/dialogs.h"
#include "editors/fittedlabel.h"
#include "firstframe.h"
#include "link/protocol/transmittercommands.h"
#include "link/run/transferprogress.h"
#include "messages/messagerecord.h"
#include "model/settingstable.h"
#include "programicon.h"
#include "screenreader.h"
#include "tabledrop.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>
#include <utility>

namespace rw {

namespace {

// Each menu item is called by its handler's control name.
void nameMenuItems(TfmMain &w)
{
    const std::pair<QAction *, const char *> items[] = {
        {w.mnuOpen, "mnuOpen"},
        {w.mnuSave, "mnuSave"},
        {w.mnuSaveAs, "mnuSaveAs"},
        {w.mnuExit, "mnuExit"},
        {w.mnuRead, "mnuRead"},
        {w.mnuWrite, "mnuWrite"},
        {w.mnuCompare, "mnuCompare"},
        {w.mnuWriteToSeveral, "mnuWriteToSeveral"},
        {w.mnuBackUpBeforeWriting, "mnuBackUpBeforeWriting"},
        {w.mnuRecordLineTrace, "mnuRecordLineTrace"},
        {w.mnuRefreshPorts, "mnuRefreshPorts"},
        {w.mnuAbout, "mnuAbout"},
    };
    for (const auto &[action, name] : items)
        action->setObjectName(QLatin1String(name));
}

} // namespace

TfmMain::TfmMain(SettingsTable &table, Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), table_(table), dialogs_(dialogs), synth_(table), history_(table)
{
    offerToScreenReaders();
    setObjectName("fmMain");
    setWindowTitle(DesignedCaption);
    setWindowIcon(programIcon());
    buildMenus();
    buildStatusBar();
    buildControls();
    announcer_ = new Announcer(this);

    // Creation: layout record, open maximized, message rows, program directory. The design
    // grows with a desktop font above 9 pt, and the window with it: nothing is cut off.
    layout_.record(QSize(DesignWidth, DesignHeight), centralWidget(),
                   {tabTXPager, TabSheet1, TabSheet2}, formScale());
    resize(layout_.designedSize());
    setWindowState(windowState() | Qt::WindowMaximized);
    CollectMsgControls();
    numberMsgRows();
    programDirectory_ = QDir::currentPath();

    // The window's own choices from the settings file.
    backUpBeforeWriting_ = readBackupBeforeWrite(settingsFilePath(programDirectory_));
    mnuBackUpBeforeWriting->setChecked(backUpBeforeWriting_);
    recordLineTrace_ = readTransmitterChoice(settingsFilePath(programDirectory_), LineTraceKey);
    mnuRecordLineTrace->setChecked(recordLineTrace_);
    recentFiles_ = readRecentFiles(settingsFilePath(programDirectory_));
    showRecentFiles();
    table_.setChangeListener([this] { showModifiedMark(); });
    // A new caption replaces the title the window system shows; the mark goes back on.
    connect(this, &QWidget::windowTitleChanged, this, &TfmMain::showModifiedMark);

    wireGeneralEditors();
    wireSynthEditors();
    wireMessageEditor();
    wireAlertEditors();

    // Moving the mouse over the frequency group's background or the tab strip parks
    // the focus, which commits the edit being typed into.
    grpFreq->setMouseTracking(true);
    grpFreq->installEventFilter(this);
    PageControl1->setMouseTracking(true);
    PageControl1->installEventFilter(this);
    PageControl1->tabBar()->setMouseTracking(true);
    PageControl1->tabBar()->installEventFilter(this);
    edtNull->installEventFilter(this);
    // The parking place says where the focus came from and where Tab goes on.
    connect(qApp, &QApplication::focusChanged, this, &TfmMain::watchFocus);
    // The port list is made anew whenever it opens: adapters come and go.
    cboCOM->installEventFilter(this);
    watchHistoryKeys();
    new TableDrop(*this);
}

double TfmMain::formScale()
{
    const double desktop = QApplication::font().pointSizeF();
    return std::max(1.0, desktop / DesignPointSize);
}

TfmMain::~TfmMain()
{
    // Taking the window apart moves the focus: it is no longer this window's to watch.
    disconnect(qApp, &QApplication::focusChanged, this, &TfmMain::watchFocus);
    table_.setChangeListener({});
}

void TfmMain::buildMenus()
{
    // Every title and item carries a mnemonic, so Alt+letter reaches each of them.
    QMenu *file = menuBar()->addMenu("&File");
    mnuOpen =
        file->addAction("&Open", QKeySequence(Qt::CTRL | Qt::Key_O), this, &TfmMain::mnuOpenClick);
    mnuSave =
        file->addAction("&Save", QKeySequence(Qt::CTRL | Qt::Key_S), this, &TfmMain::mnuSaveClick);
    mnuSaveAs = file->addAction("Save &As", this, &TfmMain::mnuSaveAsClick);
    addDeskCommands(file);
    file->addSeparator();
    // The recent table files go between this separator and Exit, with one more separator
    // after them; the menu holds them only while there are any (showRecentFiles).
    fileMenu_ = file;
    for (std::size_t i = 0; i < mnuRecent.size(); ++i) {
        mnuRecent[i] = new QAction(this);
        mnuRecent[i]->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        connect(mnuRecent[i], &QAction::triggered, this,
                [this, i] { openRecentFile(static_cast<int>(i)); });
    }
    recentEnd_ = new QAction(this);
    recentEnd_->setSeparator(true);
    mnuExit = file->addAction("E&xit", QKeySequence(Qt::CTRL | Qt::Key_X), this, &QWidget::close);
    buildEditMenu();

    QMenu *transmitter = menuBar()->addMenu("&Transmitter");
    mnuRead =
        transmitter->addAction("&Read", QKeySequence(Qt::Key_F3), this, &TfmMain::mnuReadClick);
    mnuWrite =
        transmitter->addAction("&Write", QKeySequence(Qt::Key_F4), this, &TfmMain::mnuWriteClick);
    mnuCompare = transmitter->addAction("&Compare", QKeySequence(Qt::Key_F5), this,
                                        &TfmMain::mnuCompareClick);
    mnuWriteToSeveral =
        transmitter->addAction("Write to &Several...", QKeySequence(Qt::SHIFT | Qt::Key_F4), this,
                               &TfmMain::mnuWriteToSeveralClick);
    transmitter->addSeparator();
    mnuBackUpBeforeWriting = transmitter->addAction("&Back Up Before Writing", this,
                                                    &TfmMain::mnuBackUpBeforeWritingClick);
    mnuBackUpBeforeWriting->setCheckable(true);
    mnuRecordLineTrace =
        transmitter->addAction("Record &Line Trace", this, &TfmMain::mnuRecordLineTraceClick);
    mnuRecordLineTrace->setCheckable(true);
    transmitter->addSeparator();
    mnuRefreshPorts =
        transmitter->addAction("Refresh &Ports", this, &TfmMain::mnuRefreshPortsClick);

    // The About menu title is itself the command.
    mnuAbout = menuBar()->addAction("&About", this, [this] { dialogs_.about(); });

    // F10 opens the first menu; the arrow keys walk on from there.
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this, file] {
        if (menuBar()->isEnabled())
            menuBar()->setActiveAction(file->menuAction());
    });

    nameMenuItems(*this);
}

void TfmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    // Panel 0 holds the progress bar, panel 1 the status texts.
    PB1 = new QProgressBar(bar);
    PB1->setObjectName("PB1");
    PB1->setRange(0, 100);
    PB1->setValue(0);
    PB1->setTextVisible(false);
    PB1->setAccessibleName("Transfer progress");
    PB1->setFixedWidth(260);
    PB1->setAutoFillBackground(true);
    // At least its designed 100 pixels, and wide enough for the longest status text: the
    // progress of a slow transfer.
    const QString ready = QStringLiteral(" Ready");
    const QStringList texts =
        QStringList{ready} + TransferStatusTexts +
        QStringList{transferProgressText(TransferCommand::Compare, TransferBlockCount - 1,
                                         (TransferBlockCount - 1) * 99 * 1000),
                    messageFullText(30)};
    StatusPanel1 = new FittedLabel(ready, texts, 100, bar);
    StatusPanel1->setObjectName("StatusPanel1");
    StatusPanel1->setAutoFillBackground(true);
    bar->addWidget(PB1);
    bar->addWidget(StatusPanel1);
    buildTransferControls();
}

void TfmMain::setInputEnabled(bool enabled)
{
    // Disabled, the focused control lets the focus go; it comes back when input does, so
    // that a transfer leaves the keyboard where it found it.
    if (!enabled && focusWidget() && centralWidget()->isAncestorOf(focusWidget()))
        focusBeforeTransfer_ = focusWidget();
    centralWidget()->setEnabled(enabled);
    menuBar()->setEnabled(enabled);
    // The menus' shortcuts (Ctrl+O, F3, ...) go with their actions.
    for (QAction *action :
         {mnuOpen, mnuSave, mnuSaveAs, mnuExit, mnuRead, mnuWrite, mnuCompare, mnuWriteToSeveral,
          mnuBackUpBeforeWriting, mnuRecordLineTrace, mnuRefreshPorts, mnuAbout})
        action->setEnabled(enabled);
    for (QAction *action : mnuRecent)
        action->setEnabled(enabled);
    if (enabled && focusBeforeTransfer_ && isActiveWindow() &&
        (!focusWidget() || focusWidget() == btnStop)) {
        // A field that empties on entry is not entered again: the focus parks, and Tab goes
        // on from that field.
        QWidget *back = focusBeforeTransfer_;
        if (back == edtNull || emptiesOnEntry(back)) {
            if (back != edtNull)
                parkedFrom_ = back;
            parkFocus();
        } else
            back->setFocus(Qt::OtherFocusReason);
    }
    if (enabled)
        focusBeforeTransfer_.clear();
    for (QAction *action : {mnuCompareWithFile, mnuImportMessages, mnuPrintSheet, mnuExportSheet})
        action->setEnabled(enabled);
    showHistory(); // Undo, Redo and Revert as the history and the input allow
}

void TfmMain::parkFocus()
{
    edtNull->setFocus(Qt::OtherFocusReason);
}

void TfmMain::showStatus(const QString &text)
{
    StatusPanel1->setText(text);
    // Each block of a transfer shows a text here: nothing more is done for one.
    if (!StatusPanel1->toolTip().isEmpty()) {
        StatusPanel1->setToolTip(QString());
        StatusPanel1->setAccessibleDescription(QString());
    }
}

void TfmMain::showStatusWithPath(const QString &lead, const QString &path)
{
    const QFontMetrics metrics = StatusPanel1->fontMetrics();
    const int room = StatusPanel1->contentsRect().width() - metrics.averageCharWidth();
    const QString whole = lead + path;
    QString shown = whole;
    if (metrics.horizontalAdvance(whole) > room) {
        // The path loses its middle; only where even its ends do not fit does the lead.
        const int forPath = room - metrics.horizontalAdvance(lead);
        shown = forPath >= 8 * metrics.averageCharWidth()
                    ? lead + metrics.elidedText(path, Qt::ElideMiddle, forPath)
                    : metrics.elidedText(whole, Qt::ElideMiddle, room);
    }
    StatusPanel1->setText(shown);
    StatusPanel1->setToolTip(whole);
    StatusPanel1->setAccessibleDescription(whole);
}

void TfmMain::FormShow()
{
    // Listing the ports can take a while (every device is asked): the window shows first,
    // and the list fills in a moment later.
    afterFirstFrame(*this, [this] { listPortsOnce(); });
    // A conversion error in the settings file ends the sequence here: the window is
    // shown and usable, with the table as it stands.
    // What the window starts with is no edit of the user's, and no step to take back.
    if (!LoadSynthSettings()) {
        history_.restart();
        markTableSaved();
        return;
    }
    PackSynthRegisters();
    RefreshControls();
    parkFocus();
    history_.restart();
    markTableSaved();
}

void TfmMain::FormClose()
{
    SaveSynthSettings();
}

void TfmMain::RefreshControls()
{
    RefreshSynthesizer();
    RefreshGeneralControls();
    ShowAlertProfiles();
    ShowFunBitAlerts();
    ShowMsgPage();
    ShowPowLogo();
}

void TfmMain::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void TfmMain::closeEvent(QCloseEvent *e)
{
    // The window's input is off during a transfer or a bench write, but the window
    // system's close box is not: the transfer is stopped first (when the user agrees), and
    // the window closes once the port is closed.
    if (transferRunning_ || benchRunning_) {
        e->ignore();
        if (quitting() || dialogs_.askYesNo(StopAndQuitQuestion)) {
            quitAfterTransfer_ = true;
            stopTransfer();
        }
        return;
    }
    if (!stopping_ && (!commitPendingEdit() || !askToKeepEdits())) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

void TfmMain::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    layout_.apply(size());
    // The status text takes the status bar's width beside the progress bar and the room
    // kept for the Stop button; what is left over for the bar's own spacing stays free,
    // so that the window can always be made smaller again.
    constexpr int SpacingLeft = 40;
    static_cast<FittedLabel *>(StatusPanel1)
        ->setRoom(width() - PB1->width() - btnStop->sizeHint().width() - SpacingLeft);
}

bool TfmMain::eventFilter(QObject *watched, QEvent *e)
{
    // The parking place holds no text of the user's: menu shortcuts such as Ctrl+X (Exit)
    // go to the menu instead of being taken as edit commands.
    if (watched == cboCOM && opensPortList(e))
        mnuRefreshPortsClick();
    if ((watched == edtNull && e->type() == QEvent::ShortcutOverride) ||
        leavesHistoryKeyToWindow(watched, e)) {
        e->ignore();
        return true;
    }
    if (watched == edtNull && tabFromParking(e))
        return true;
    if (e->type() == QEvent::MouseMove &&
        (watched == grpFreq || watched == PageControl1 || watched == PageControl1->tabBar()))
        parkFocus();
    return QMainWindow::eventFilter(watched, e);
}

} // namespace rw
