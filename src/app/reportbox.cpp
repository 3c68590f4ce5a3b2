// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportbox.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace rw {

ReportBox::ReportBox(const ReportRequest &request, QWidget *parent, bool asks)
    : QDialog(parent), plainText_(request.plainText)
{
    setWindowTitle(request.caption);
    setObjectName("ReportBox");
    auto *layout = new QVBoxLayout(this);
    summary = new QLabel(request.summary, this);
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary);

    list = new QTreeWidget(this);
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setHeaderLabels(request.columns);
    list->setColumnCount(static_cast<int>(request.columns.size()));
    for (const QStringList &row : request.rows)
        list->addTopLevelItem(new QTreeWidgetItem(row));
    for (int c = 0; c < list->columnCount(); ++c)
        list->resizeColumnToContents(c);
    list->setVisible(!request.rows.isEmpty());
    // The list takes Ctrl+C for the one cell under the cursor otherwise.
    list->installEventFilter(this);
    // A screen reader names the list by the summary above it (Qt names a list view only
    // by the name set on it, never by a label).
    list->setAccessibleName(request.summary);
    layout->addWidget(list, 1);

    auto *buttons = new QDialogButtonBox(
        asks ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    if (!request.rows.isEmpty())
        resize(640, 420);
}

void ReportBox::copyAll() const
{
    QGuiApplication::clipboard()->setText(plainText_);
}

bool ReportBox::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == list &&
        (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent *>(e)->matches(QKeySequence::Copy)) {
        if (e->type() == QEvent::KeyPress)
            copyAll();
        e->accept();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void ReportBox::keyPressEvent(QKeyEvent *e)
{
    if (e->matches(QKeySequence::Copy)) {
        copyAll();
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

} // namespace rw
