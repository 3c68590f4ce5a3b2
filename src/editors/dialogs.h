// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything modal that the window shows goes through this interface: the real window
// uses Qt's boxes and dialogs, tests plug in a recorder that answers and remembers.

#include <QList>
#include <QString>
#include <QStringList>

class QDialog;
class QPrinter;

namespace rw {

enum class BoxIcon { None, Warning, Error };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    QString caption;
    QString text;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
};

// A result that may run long (the settings that differ from the transmitter's): a line
// of summary above a list that scrolls, and the whole as plain text for the clipboard.
struct ReportRequest {
    QString caption;
    QString summary;
    QStringList columns; // the list's headings; no list when `rows` is empty
    QList<QStringList> rows;
    QString plainText; // what Ctrl+C copies
};

struct FileDialogRequest {
    QString directory;     // where the dialog starts
    QString filter;        // e.g. "Table files (*.tbl)"
    QString defaultSuffix; // added when the typed name has none
};

// The window's own caption for refused input and failed transfers, and the title of
// plain boxes.
inline const QString WindowBoxCaption = QStringLiteral("RW830KT");
inline const QString ApplicationTitle = QStringLiteral("RW830KT");

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual BoxAnswer message(const MessageBoxRequest &box) = 0;
    // Empty when the user cancels.
    virtual QString openFileName(const FileDialogRequest &request) = 0;
    // Asks before replacing an existing file; empty when the user cancels.
    virtual QString saveFileName(const FileDialogRequest &request) = 0;
    virtual void about() = 0;
    // Shows the report modally. Without a window of its own for it, the summary goes into
    // a plain box.
    virtual void report(const ReportRequest &request);
    // Shows the report with OK and Cancel: what a command will change, before it does.
    // True for OK. Without a window of its own, the summary in a box with OK and Cancel.
    virtual bool confirmReport(const ReportRequest &request);
    // The print dialog: the user chooses the printer and its settings, which go into
    // `printer`. False when the user cancels; a stand-in without one prints nothing.
    virtual bool choosePrinter(QPrinter &printer);
    // Shows a dialog of the window's own (the bench) modally until it is closed.
    virtual void runDialog(QDialog &dialog) = 0;

    // The boxes the window uses, built in one place.
    void warn(const QString &text);                // "RW830KT", exclamation, OK
    void plain(const QString &text);               // application title, no icon, OK
    void errorReport(const QString &text);         // the general error report
    bool askYesNo(const QString &text);            // application title, exclamation, Yes/No
    BoxAnswer askYesNoCancel(const QString &text); // as askYesNo, with Cancel
    void fileError(const QString &text);           // "File Error", no icon, OK and Cancel
};

} // namespace rw
