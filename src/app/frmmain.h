// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: every control of the settings editors, the menus, the status bar
// with its progress bar, focus parking and the Show and Close sequences. Each
// subsystem's handlers live in a file of their own (frmmain_*.cpp).

#include "base/version.h"
#include "editors/numericedit.h"
#include "link/protocol/transferoutcome.h"
#include "link/run/transferthread.h"
#include "model/fieldlayout.h"
#include "model/tablehistory.h"
#include "relayout.h"
#include "synth/synthesizer.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QShortcut;
class QTabWidget;

namespace rw {

class Announcer;
class Dialogs;
class LineTrace;
class MessageMemo;
class SettingsTable;
class TransferView;
struct SettingsSheet;

class TfmMain : public QMainWindow {
    Q_OBJECT
public:
    // The window's designed outer size; the re-layout scales from it.
    static constexpr int DesignWidth = 635;
    static constexpr int DesignHeight = 589;
    // The canned messages show ten at a time.
    static constexpr int MessagesPerPage = 10;
    // The form's font as designed; a larger desktop font scales the design to it.
    static constexpr int DesignPointSize = 9;
    // How much larger than designed the desktop's font makes the form (1 at 9 pt or less).
    static double formScale();
    static inline const QString DesignedCaption = QStringLiteral("RW830KT  V") + ProgramVersion;
    // The close box during a Read, Write or Compare.
    static inline const QString StopAndQuitQuestion =
        QStringLiteral("A transfer with the transmitter is under way. Stop it and quit?\n\n"
                       "A Write stopped midway leaves the transmitter holding part of the new "
                       "settings; write it again before use.");

    TfmMain(SettingsTable &table, Dialogs &dialogs, QWidget *parent = nullptr);
    ~TfmMain() override;

    SettingsTable &table() { return table_; }
    Dialogs &dialogs() { return dialogs_; }
    const QString &programDirectory() const { return programDirectory_; }

    // --- shell ---------------------------------------------------------------
    void FormShow();  // the Show sequence (runs once, on the first show)
    void FormClose(); // the Close sequence
    void parkFocus();
    // The status text (panel 1); one that holds a path shows it whole, or elided in the
    // middle where the panel is too narrow, with the whole text in its tooltip.
    void showStatus(const QString &text);
    void showStatusWithPath(const QString &lead, const QString &path);
    void RefreshControls();
    void RefreshGeneralControls(); // the general fields, in the refresh order
    const Relayout &layoutRecord() const { return layout_; }
    // What a screen reader is to say without the focus moving (transfers, commits).
    Announcer &announcer() { return *announcer_; }

    // --- general editors -------------------------------------------------------
    void edtSysCodeExit();
    void edtRangeTestDurExit();
    void edtHeartBeatExit();
    void edtFlashLenExit();
    void cboPOCBaudClick();
    void chkSendTwiceClick();
    void cboOutOfServiceTMClick();
    void cboLowBatTMClick();
    void edtPowLogoExit();
    void ShowPowLogo();

    // --- synthesizer -----------------------------------------------------------
    bool LoadSynthSettings(); // false when a conversion error ends the Show sequence
    void SaveSynthSettings();
    void PackSynthRegisters();
    void RefreshSynthesizer();
    void ShowFrequency();
    void edtFreqExit();
    const Synthesizer &synthesizer() const { return synth_; }

    // --- transmitter link ------------------------------------------------------
    void EnumerateComPorts();
    // Makes the port list the window starts with, once: after its first frame, or when a
    // command needs the list before that.
    void listPortsOnce();
    bool portsListed() const { return portsListed_; }
    // Lists the ports present now (ExtraPorts first), keeping the selected one when it is
    // still there; also whenever the port list opens.
    void mnuRefreshPortsClick();
    void mnuRecordLineTraceClick();
    // A choice of the window that could not be kept in the settings file: said once a run,
    // with why; the choice holds until the program ends.
    void choiceNotKept(const QString &why);
    bool recordsLineTrace() const { return recordLineTrace_; }
    // Where Read, Write and Compare keep their line traces, when asked for.
    QString traceFolder() const;
    // Stops the Read, Write or Compare under way (Stop button, Escape, close box, signals).
    void stopTransfer();
    // The system asks the program to stop (`signal`, such as SIGTERM): every box closes as
    // its Cancel or default, a transfer stops, and the window closes without asking.
    void stopForSignal(int signal);
    // The signal that stopped the program; 0 while none came.
    int stopSignal() const { return stopSignal_; }
    // Shows the Stop button and arms Escape while a transfer runs.
    void showTransferRunning(bool running);
    // The window is to close once the transfer under way has stopped: no box holds it up.
    bool quitting() const { return stopping_ || quitAfterTransfer_; }
    void mnuReadClick();
    void mnuWriteClick();
    // Reads the transmitter as Read does into a table of its own and lists the settings
    // that differ from the window's; the window's table stays as it is.
    void mnuCompareClick();
    void mnuBackUpBeforeWritingClick();
    // Writes the table to several transmitters at once, from a dialog of the ports listed
    // now; the window stays disabled while they run and its table unchanged.
    void mnuWriteToSeveralClick();
    bool benchRunning() const { return benchRunning_; }
    bool backUpBeforeWriting() const { return backUpBeforeWriting_; }
    // Where Write keeps what it replaces, when backups are on.
    QString backupFolder() const;
    // Read and Write keep the controls, the menus and their keys out of reach while they
    // run; the status bar stays enabled, so its text and progress bar stay readable.
    void setInputEnabled(bool enabled);
    // The trace's last line, when a signal stopped the command (the command line's words).
    QString stopNoteForTrace(TransferCommand command, const TransferOutcome &outcome) const;

    // --- table files -------------------------------------------------------------
    void mnuOpenClick();
    // Open without the dialog: the file named on the command line or dropped on the window;
    // edits in no file and no transmitter are asked about first, as Open asks.
    void openNamedTableFile(const QString &name);
    void mnuSaveClick();
    void mnuSaveAsClick();
    const QString &currentTableFile() const { return currentTableFile_; }
    void openRecentFile(int index);
    const QStringList &recentFiles() const { return recentFiles_; }

    // --- the history of edits, and the desk's commands ------------------------------
    // Records the table as it now stands as one step of the history (each editor's handler
    // ends with it; a refresh never does); named after the settings it changed, or `name`.
    void recordEdit(const QString &name = {});
    const TableHistory &history() const { return history_; }
    void mnuUndoClick();
    void mnuRedoClick();
    // Puts back the table file as last opened or saved, after the save question.
    void mnuRevertClick();
    // Lists the settings in which a table file differs from the window.
    void mnuCompareWithFileClick();
    // Reads a list of canned messages and, once the user has seen what changes, takes it.
    void mnuImportMessagesClick();
    void mnuPrintSheetClick();
    void mnuExportSheetClick();

    // --- edits that are in no file and no transmitter ------------------------------
    // True when the table differs from what was last opened, saved, read or written.
    bool hasUnsavedEdits() const;
    // Stores the text of the edit that has the focus by parking it; false when its exit
    // rule refused the text.
    bool commitPendingEdit();

    // --- canned messages ---------------------------------------------------------
    void CollectMsgControls();
    void numberMsgRows(); // the row labels and the memos' names for the page shown
    void ShowMsgPage();
    void cboMsgPageClick();
    void memMsg0Exit(MessageMemo *memo);
    void btnDataExportClick();
    int MsgPage = 0;

    // --- alert profiles and function bits ----------------------------------------
    void ShowAlertProfiles(); // the four profiles, in the refresh order
    void ShowAlertProfile(int profile);
    void ShowFunBitAlerts();
    void alertSwitchClick(QCheckBox *box, Field field);
    void alertTypeClick(int profile);
    void alertLenExit(int profile);
    void funBitPatClick(int bit);
    void funBitLenExit(int bit, bool alertLength);

    // --- controls -------------------------------------------------------------
    QGroupBox *grpFreq = nullptr;
    QLineEdit *edtFreq = nullptr;
    QLineEdit *edtSysCode = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QComboBox *cboCOM = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *tabTXPager = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QLineEdit *edtNull = nullptr;
    QLabel *StatusPanel1 = nullptr; // panel 1 of StatusBar1
    QProgressBar *PB1 = nullptr;
    QPushButton *btnStop = nullptr; // beside PB1, shown while a transfer runs

    // TX Setting
    QLineEdit *edtRangeTestDur = nullptr;
    QComboBox *cboPOCBaud = nullptr;
    QLineEdit *edtPowLogo = nullptr;
    QCheckBox *chkSendTwice = nullptr;

    // Canned Message
    QComboBox *cboMsgPage = nullptr;
    QPushButton *btnDataExport = nullptr;
    std::array<QLabel *, MessagesPerPage> MsgLabels{};
    std::array<MessageMemo *, MessagesPerPage> MsgMemos{};

    // Hidden page TabSheet2: heartbeat, pager parameters and the four alert profiles
    QLineEdit *edtHeartBeat = nullptr;
    QLineEdit *edtFlashLen = nullptr;
    QComboBox *cboOutOfServiceTM = nullptr;
    QComboBox *cboLowBatTM = nullptr;
    struct AlertProfileControls {
        QGroupBox *group = nullptr;
        QCheckBox *flash = nullptr;
        QCheckBox *vibrate = nullptr;
        QCheckBox *beep = nullptr;
        QComboBox *type = nullptr;
        QLineEdit *length = nullptr;
    };
    // Pager alert, power on, low battery, out of range
    std::array<AlertProfileControls, 4> alertProfiles{};

    // Hidden page TabSheet1: function-bit alerts A..D (A has no alert length)
    struct FunBitControls {
        QGroupBox *group = nullptr;
        QComboBox *pattern = nullptr;
        QLineEdit *alertLen = nullptr;
        QLineEdit *flashLen = nullptr;
    };
    std::array<FunBitControls, 4> funBits{};

    // Menus
    QAction *mnuOpen = nullptr;
    QAction *mnuSave = nullptr;
    QAction *mnuSaveAs = nullptr;
    QAction *mnuRevert = nullptr;
    QAction *mnuCompareWithFile = nullptr;
    QAction *mnuImportMessages = nullptr;
    QAction *mnuPrintSheet = nullptr;
    QAction *mnuExportSheet = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuUndo = nullptr;
    QAction *mnuRedo = nullptr;
    QAction *mnuRead = nullptr;
    QAction *mnuWrite = nullptr;
    QAction *mnuCompare = nullptr;
    QAction *mnuBackUpBeforeWriting = nullptr;
    QAction *mnuWriteToSeveral = nullptr;
    QAction *mnuRefreshPorts = nullptr;
    QAction *mnuRecordLineTrace = nullptr;
    std::array<QAction *, 4> mnuRecent{}; // the recent table files, &1 to &4
    QAction *mnuAbout = nullptr;

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void buildControls();
    void buildMenus();
    void addDeskCommands(QMenu *file); // Revert to Export Settings Sheet
    void buildEditMenu();
    // The Edit menu's items name the steps they take; Undo, Redo and Revert are offered
    // when there is something to take back and the window takes input.
    void showHistory();
    // After Undo or Redo: the message page that shows what changed, and the status text.
    void showHistoryMove(const QString &done, const HistoryMove &move);
    // Undo and Redo keys in a field with nothing of its own to take back go to the window.
    void watchHistoryKeys();
    bool leavesHistoryKeyToWindow(QObject *field, QEvent *e) const;
    // The sheet of the window's table, naming its table file and whether it was edited since.
    SettingsSheet windowSheet() const;
    void buildStatusBar();
    void buildTopGroups(QWidget *parent);
    void buildTxPage(QWidget *page);
    void buildFunBitPage(QWidget *page);
    void buildPagerPage(QWidget *page);
    void wireGeneralEditors();
    void wireSynthEditors();
    bool saveTableTo(const QString &target);
    bool openTableFile(const QString &name);
    void rememberRecentFile(const QString &name);
    void showRecentFiles();
    // Asks about edits that are in no file and no transmitter; false when the user
    // cancels or the save they asked for did not happen.
    bool askToKeepEdits();
    void markTableSaved();
    void showModifiedMark();
    void showTableFileInCaption(const QString &closing);
    void wireMessageEditor();
    void wireAlertEditors();
    void buildTransferControls();
    // Closes every box and then the window, again and again until the transfer under way
    // has stopped and the window closes.
    void closeOnceFree();
    static constexpr int CloseRetryMs = 50;
    void watchFocus(QWidget *old, QWidget *now);
    QString parkingWords() const;
    void fieldCommitted(QLineEdit *field, const QString &stored);
    NumericEditWords numericWords(Field field);
    QString storedValueShown(Field field) const; // as its edit shows it
    bool tabFromParking(QEvent *e);
    void messageFull(int row);
    // A click or Alt+Down (F4) that opens the port list.
    static bool opensPortList(const QEvent *e);
    // Runs a Read, Write or Compare on the port's own thread; the window shows it meanwhile.
    ThreadTransfer runTransfer(TransferView &view, LineTrace *trace, const ThreadJob &job);
    // After a command: the result box, unless the window is closing; then the close.
    void endTransferCommand(const QString &result);

    SettingsTable &table_;
    Dialogs &dialogs_;
    Synthesizer synth_; // the synthesizer beside the table
    QString programDirectory_;
    QString currentTableFile_;
    Relayout layout_;
    bool shown_ = false;
    QByteArray savedImage_; // the table as last opened, saved, read or written
    QByteArray fileImage_;  // the table as last opened from or saved to the table file
    TableHistory history_;
    bool trackingEdits_ = false; // from the end of the Show sequence on
    bool stopping_ = false;
    bool backUpBeforeWriting_ = false;
    bool benchRunning_ = false;
    bool transferRunning_ = false; // a Read, Write or Compare
    bool portsListed_ = false;
    bool recordLineTrace_ = false;
    bool quitAfterTransfer_ = false; // the close box asked to stop the transfer and quit
    QShortcut *stopKey_ = nullptr;   // Escape, armed while a transfer runs
    QStringList recentFiles_;
    Announcer *announcer_ = nullptr;
    QPointer<QWidget> parkedFrom_;       // left when the focus last parked; Tab goes on from it
    QPointer<QLineEdit> committedField_; // the numeric field committed last, and its words
    QString committedWords_;
    QPointer<QWidget> focusBeforeTransfer_; // given back when the controls take input again
    int stopSignal_ = 0;
    bool choiceWarned_ = false;
    QMenu *fileMenu_ = nullptr;
    QAction *recentEnd_ = nullptr; // the separator after the recent files
};

} // namespace rw
