#pragma once
// Test stand-in for every modal box and dialog: answers from a script and remembers
// what the window showed.

#include "app/dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace rw {

class RecordingDialogs : public Dialogs {
public:
    BoxAnswer message(const MessageBoxSpec &box) override;
    QString openFileName(const FileDialogSpec &spec) override;
    QString saveFileName(const FileDialogSpec &spec) override;
    void about() override { ++aboutShown; }

    QStringList texts() const; // the texts of all boxes shown, in order
    void clear();

    QList<MessageBoxSpec> boxes;
    QList<FileDialogSpec> fileDialogs;
    int aboutShown = 0;
    BoxAnswer nextAnswer = BoxAnswer::Ok;                  // for OK/Cancel and Yes/No boxes
    QString nextFileName;                                  // what the next file dialog returns
    std::function<void(const MessageBoxSpec &)> onMessage; // runs while a box is "up"
};

} // namespace rw
