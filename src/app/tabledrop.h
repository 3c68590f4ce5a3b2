// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table file dropped anywhere on the main window is opened as File, Open opens it.
// Other drops (text on an edit) keep their usual meaning.

#include <QObject>
#include <QString>

class QMimeData;

namespace rw {

class TfmMain;

class TableDrop : public QObject {
public:
    explicit TableDrop(TfmMain &window);

    // The one local *.tbl file a drag carries; empty when it carries anything else.
    static QString droppedTableFile(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    TfmMain &window_;
};

} // namespace rw
