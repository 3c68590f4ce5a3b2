// SPDX-License-Identifier: GPL-3.0-or-later
// Table files: Open, Save and Save As move the whole settings table to and from
// 2048-byte *.tbl files; the caption shows the current table file.

#include "editors/dialogs.h"
#include "frmmain.h"
#include "model/settingstable.h"
#include "model/tablefile.h"

#include <QDir>
#include <QLineEdit>

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

void showFileError(Dialogs &dialogs, const QString &text)
{
    dialogs.message({QStringLiteral("File Error"), text, BoxIcon::None, BoxButtons::OkCancel});
}

} // namespace

void TfmMain::mnuOpenClick()
{
    const QString name = dialogs_.openFileName({programDirectory_, TableFileFilter, {}});
    if (name.isEmpty())
        return;
    openTableFile(name);
}

void TfmMain::openTableFile(const QString &name)
{
    const auto workArea = readTableFile(name);
    if (!workArea) {
        showFileError(dialogs_, OpenFailedText);
        return;
    }
    currentTableFile_ = name;
    table_.takeImage(*workArea);
    RefreshControls();
    // Intended: after an Open the caption ends in "] ", with a blank; after a Save in "]".
    showTableFileInCaption(QStringLiteral("] "));
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

void TfmMain::saveTableTo(const QString &target)
{
    // The default table file is the one the user keeps as the starting point; replacing
    // it is confirmed first, and No writes nothing.
    if (sameFile(target, defaultTableFile(programDirectory_)) &&
        !dialogs_.askYesNo(DefaultFileQuestion))
        return;
    const TableSaveResult saved = saveTableFile(target, table_.buildImage());
    if (!saved.ok) {
        showFileError(dialogs_,
                      QStringLiteral("%1\n\n%2\n%3")
                          .arg(SaveFailedText, QDir::toNativeSeparators(target), saved.error));
        return;
    }
    currentTableFile_ = target;
    showTableFileInCaption(QStringLiteral("]"));
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
