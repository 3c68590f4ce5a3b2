// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordingdialogs.h"

namespace rw {

BoxAnswer RecordingDialogs::message(const MessageBoxRequest &box)
{
    boxes.append(box);
    if (onMessage)
        onMessage(box);
    if (box.buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    return nextAnswer;
}

QString RecordingDialogs::openFileName(const FileDialogRequest &request)
{
    fileDialogs.append(request);
    return nextFileName;
}

QString RecordingDialogs::saveFileName(const FileDialogRequest &request)
{
    fileDialogs.append(request);
    return nextFileName;
}

QStringList RecordingDialogs::texts() const
{
    QStringList r;
    for (const MessageBoxRequest &b : boxes)
        r << b.text;
    return r;
}

void RecordingDialogs::clear()
{
    boxes.clear();
    fileDialogs.clear();
    reports.clear();
    aboutShown = 0;
}

} // namespace rw
