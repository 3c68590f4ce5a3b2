// SPDX-License-Identifier: GPL-3.0-or-later
// Table files: Open, Save and Save As move the whole settings table to and from
// 2048-byte *.tbl files; the caption shows the current table file. The File menu lists
// the files used last, and edits that are in no file and no transmitter are marked in the
// title and asked about before they would be lost.

#include "base/settingsfile.h"
#include "base/windowchoices.h"
#include "editors/dialogs.h"
#include "frmmain.h"
#include "model/settingstable.h"
#include "model/tablefile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QWindow>

namespace rw {

namespace {

const QString OpenFailedText =
    QStringLiteral("Can't perform one of the following file operations: Open, Seek, Read, Close.");
const QString SaveFailedText =
    QStringLiteral("Can't perform one of the following file operations: Create, Write, Close.");
const QString DefaultFileQuestion =
    QStringLiteral("Click OK will save all changes to the default file.\n"
                   "This will change all the default values and automatically loaded up by RW830KT "
                   "programming software in the future.");

} // namespace

void TfmMain::mnuOpenClick()
{
    if (!commitPendingEdit() || !askToKeepEdits())
        return;
    const QString name = dialogs_.openFileName({programDirectory_, TableFileFilter, {}});
    if (name.isEmpty())
        return;
    openTableFile(name);
}

void TfmMain::openNamedTableFile(const QString &name)
{
    if (!commitPendingEdit() || !askToKeepEdits())
        return;
    openTableFile(name);
}

void TfmMain::openRecentFile(int index)
{
    if (index < 0 || index >= recentFiles_.size())
        return;
    const QString name = recentFiles_[index];
    if (!commitPendingEdit() || !askToKeepEdits())
        return;
    if (!openTableFile(name)) {
        // A file that no longer opens leaves the list.
        recentFiles_.removeAll(name);
        QString why;
        if (!writeRecentFiles(settingsFilePath(programDirectory_), recentFiles_, &why))
            choiceNotKept(why);
        showRecentFiles();
    }
}

bool TfmMain::openTableFile(const QString &name)
{
    QString reason;
    const auto workArea = readTableFile(name, &reason);
    if (!workArea) {
        dialogs_.fileError(QStringLiteral("%1\n\n%2\n%3")
                               .arg(OpenFailedText,
                                    QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()),
                                    reason));
        return false;
    }
    currentTableFile_ = name;
    table_.takeImage(*workArea);
    RefreshControls();
    // A table file opened starts a history of its own.
    history_.restart();
    fileImage_ = table_.buildImage();
    // Intended: after an Open the caption ends in "] ", with a blank; after a Save in "]".
    showTableFileInCaption(QStringLiteral("] "));
    markTableSaved();
    rememberRecentFile(name);
    return true;
}

void TfmMain::mnuSaveClick()
{
    if (!commitPendingEdit())
        return;
    saveTableTo(currentTableFile_.isEmpty() ? defaultTableFile(programDirectory_)
                                            : currentTableFile_);
}

void TfmMain::mnuSaveAsClick()
{
    if (!commitPendingEdit())
        return;
    const QString name =
        dialogs_.saveFileName({programDirectory_, TableFileFilter, TableFileSuffix});
    if (name.isEmpty())
        return;
    saveTableTo(name);
}

bool TfmMain::saveTableTo(const QString &target)
{
    // The default table file is the one the user keeps as the starting point; replacing
    // it is confirmed first, and No writes nothing.
    if (sameFile(target, defaultTableFile(programDirectory_)) &&
        !dialogs_.askYesNo(DefaultFileQuestion))
        return false;
    const QByteArray image = table_.buildImage();
    const TableSaveResult saved = saveTableFile(target, image);
    if (!saved.ok) {
        dialogs_.fileError(QStringLiteral("%1\n\n%2\n%3")
                               .arg(SaveFailedText, QDir::toNativeSeparators(target), saved.error));
        return false;
    }
    currentTableFile_ = target;
    fileImage_ = image;
    showTableFileInCaption(QStringLiteral("]"));
    markTableSaved();
    rememberRecentFile(target);
    return true;
}

void TfmMain::rememberRecentFile(const QString &name)
{
    const QStringList list = withRecentFile(recentFiles_, name);
    if (list == recentFiles_)
        return;
    recentFiles_ = list;
    QString why;
    if (!writeRecentFiles(settingsFilePath(programDirectory_), recentFiles_, &why))
        choiceNotKept(why);
    showRecentFiles();
}

void TfmMain::showRecentFiles()
{
    for (QAction *item : mnuRecent)
        fileMenu_->removeAction(item);
    fileMenu_->removeAction(recentEnd_);
    for (qsizetype n = 0; n < recentFiles_.size() && n < RecentFileCount; ++n) {
        QAction *item = mnuRecent[static_cast<std::size_t>(n)];
        // "&" in a file name is no mnemonic.
        item->setText(QStringLiteral("&%1 %2").arg(n + 1).arg(
            QDir::toNativeSeparators(recentFiles_[n]).replace(u'&', QStringLiteral("&&"))));
        fileMenu_->insertAction(mnuExit, item);
    }
    if (!recentFiles_.isEmpty())
        fileMenu_->insertAction(mnuExit, recentEnd_);
}

bool TfmMain::hasUnsavedEdits() const
{
    return trackingEdits_ && table_.buildImage() != savedImage_;
}

void TfmMain::markTableSaved()
{
    savedImage_ = table_.buildImage();
    trackingEdits_ = true;
    showModifiedMark();
    showHistory();
}

void TfmMain::showModifiedMark()
{
    // The caption itself (windowTitle) stays as the table-file commands make it; the mark
    // goes into the title that the window system shows.
    const bool modified = hasUnsavedEdits();
    setAttribute(Qt::WA_WindowModified, modified);
    const QString shownTitle = modified ? QStringLiteral("*") + windowTitle() : windowTitle();
    if (QWindow *shown = windowHandle())
        shown->setTitle(shownTitle);
    // A screen reader names the window by the same title, mark and all.
    if (accessibleName() != shownTitle)
        setAccessibleName(shownTitle);
}

bool TfmMain::askToKeepEdits()
{
    if (!hasUnsavedEdits())
        return true;
    const QString what = currentTableFile_.isEmpty() ? QStringLiteral("the settings")
                                                     : QDir::toNativeSeparators(currentTableFile_);
    switch (dialogs_.askYesNoCancel(QStringLiteral("Save changes to %1?").arg(what))) {
    case BoxAnswer::Cancel:
        return false;
    case BoxAnswer::Yes:
        break;
    default:
        return true;
    }
    if (!currentTableFile_.isEmpty())
        return saveTableTo(currentTableFile_);
    const QString name =
        dialogs_.saveFileName({programDirectory_, TableFileFilter, TableFileSuffix});
    return !name.isEmpty() && saveTableTo(name);
}

void TfmMain::showTableFileInCaption(const QString &closing)
{
    const QString file = QDir::toNativeSeparators(currentTableFile_);
    const QString caption = windowTitle();
    const auto bracket = caption.indexOf(u'[');
    if (bracket < 0)
        setWindowTitle(caption + QStringLiteral(" - [") + file + QStringLiteral("]"));
    else
        setWindowTitle(caption.left(bracket + 1) + file + closing);
}

bool TfmMain::commitPendingEdit()
{
    // A menu command takes no focus, so the edit being typed into has not stored its
    // text yet; parking the focus runs its exit rule. When the rule refuses the text it
    // puts the focus back, and the command waits for the user.
    QWidget *editing = focusWidget();
    if (!editing || editing == edtNull)
        return true;
    parkFocus();
    return focusWidget() != editing;
}

} // namespace rw
