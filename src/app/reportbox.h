// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A modal box for a result that may run long: a summary line above a list that scrolls.
// Ctrl+C copies the whole result as plain text, ready to paste into a work order.

#include "editors/dialogs.h"

#include <QDialog>

class QLabel;
class QTreeWidget;

namespace rw {

class ReportBox : public QDialog {
    Q_OBJECT
public:
    // With `asks`, OK and Cancel: OK accepts what the report says will change.
    explicit ReportBox(const ReportRequest &request, QWidget *parent = nullptr, bool asks = false);

    QLabel *summary = nullptr;
    QTreeWidget *list = nullptr; // hidden when the report has no rows

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void copyAll() const;

    QString plainText_;
};

} // namespace rw
