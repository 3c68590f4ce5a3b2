#include "recordingdialogs.h"

namespace rw {

BoxAnswer RecordingDialogs::message(const MessageBoxSpec &box)
{
    boxes.append(box);
    if (onMessage)
        onMessage(box);
    if (box.buttons == BoxButtons::Ok)
        return BoxAnswer::Ok;
    return nextAnswer;
}

QString RecordingDialogs::openFileName(const FileDialogSpec &spec)
{
    fileDialogs.append(spec);
    return nextFileName;
}

QString RecordingDialogs::saveFileName(const FileDialogSpec &spec)
{
    fileDialogs.append(spec);
    return nextFileName;
}

QStringList RecordingDialogs::texts() const
{
    QStringList r;
    for (const MessageBoxSpec &b : boxes)
        r << b.text;
    return r;
}

void RecordingDialogs::clear()
{
    boxes.clear();
    fileDialogs.clear();
    aboutShown = 0;
}

} // namespace rw
