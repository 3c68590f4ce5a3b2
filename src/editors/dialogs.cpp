// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs.h"

namespace rw {

void Dialogs::warn(const QString &text)
{
    message({WindowBoxCaption, text, BoxIcon::Warning, BoxButtons::Ok});
}

void Dialogs::plain(const QString &text)
{
    message({ApplicationTitle, text, BoxIcon::None, BoxButtons::Ok});
}

void Dialogs::errorReport(const QString &text)
{
    message({ApplicationTitle, text, BoxIcon::Error, BoxButtons::Ok});
}

bool Dialogs::askYesNo(const QString &text)
{
    return message({ApplicationTitle, text, BoxIcon::Warning, BoxButtons::YesNo}) == BoxAnswer::Yes;
}

BoxAnswer Dialogs::askYesNoCancel(const QString &text)
{
    return message({ApplicationTitle, text, BoxIcon::Warning, BoxButtons::YesNoCancel});
}

void Dialogs::fileError(const QString &text)
{
    message({QStringLiteral("File Error"), text, BoxIcon::None, BoxButtons::OkCancel});
}

void Dialogs::report(const ReportRequest &request)
{
    message({request.caption, request.summary, BoxIcon::None, BoxButtons::Ok});
}

bool Dialogs::confirmReport(const ReportRequest &request)
{
    return message({request.caption, request.summary, BoxIcon::None, BoxButtons::OkCancel}) ==
           BoxAnswer::Ok;
}

bool Dialogs::choosePrinter(QPrinter &)
{
    return false;
}

} // namespace rw
