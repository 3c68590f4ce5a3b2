// SPDX-License-Identifier: GPL-3.0-or-later
#include "tabledrop.h"

#include "frmmain.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace rw {

TableDrop::TableDrop(TfmMain &window) : QObject(&window), window_(window)
{
    window.setAcceptDrops(true);
    // The edits take text drops themselves and would paste a file's path; watching the
    // whole application lets a table file win over that wherever it is dropped.
    qApp->installEventFilter(this);
}

QString TableDrop::droppedTableFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().first();
    if (!url.isLocalFile())
        return {};
    const QString name = url.toLocalFile();
    return QFileInfo(name).suffix().compare(QLatin1String("tbl"), Qt::CaseInsensitive) == 0
               ? name
               : QString();
}

bool TableDrop::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type type = e->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != &window_)
        return false;
    auto *drop = static_cast<QDropEvent *>(e);
    const QString name = droppedTableFile(drop->mimeData());
    // While a transfer runs File, Open is not offered, and neither is a drop.
    if (name.isEmpty() || !window_.mnuOpen->isEnabled())
        return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        // Opened after the drop has ended, so a refused file's box does not hold up the
        // program the file came from.
        QTimer::singleShot(0, &window_, [this, name] { window_.openNamedTableFile(name); });
    }
    return true;
}

} // namespace rw
