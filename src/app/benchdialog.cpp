// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchdialog.h"

#include "announcer.h"
#include "link/line/stoprequest.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace rw {

BenchDialog::BenchDialog(const QStringList &ports, const QStringList &chosen, Runner run,
                         QWidget *parent)
    : QDialog(parent), run_(std::move(run))
{
    setObjectName("dlgBench");
    setWindowTitle(QStringLiteral("Write to Several"));
    setAccessibleName(QStringLiteral("Write to Several"));
    caption = new QLabel(
        QStringLiteral("Write the window's settings to every checked transmitter at once:"), this);
    caption->setObjectName("lblBench");

    buildList(ports, chosen);
    caption->setBuddy(list);
    buildButtons();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {btnWrite, btnStop, btnCopy, btnClose})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(list);
    layout->addLayout(buttons);
    announcer = new Announcer(this);
    setSizeGripEnabled(true);
    resize(DefaultSize);
    list->setFocus();
    showButtons();
}

void BenchDialog::buildList(const QStringList &ports, const QStringList &chosen)
{
    list = new QTreeWidget(this);
    list->setObjectName("lstBench");
    list->setAccessibleName(QStringLiteral("Transmitters"));
    list->setRootIsDecorated(false);
    list->setAllColumnsShowFocus(true);
    list->setHeaderLabels({QStringLiteral("Port"), QStringLiteral("Progress"),
                           QStringLiteral("Block"), QStringLiteral("Result"),
                           QStringLiteral("Files")});
    for (const QString &port : ports)
        addRow(port, chosen.contains(port));
    // The short columns fit their contents; the result and the files share what is left,
    // and a text longer than its column ends in "..." (whole in its tooltip).
    list->setTextElideMode(Qt::ElideMiddle);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(ResultColumn, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(FilesColumn, QHeaderView::Stretch);
    list->header()->setStretchLastSection(false);
    if (list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(0));
}

// The dialog's buttons and its shortcuts.
void BenchDialog::buildButtons()
{
    const auto button = [this](const QString &text, const char *name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAccessibleName(QString(text).remove(u'&'));
        return b;
    };
    btnWrite = button(QStringLiteral("&Write"), "btnBenchWrite");
    btnStop = button(QStringLiteral("&Stop"), "btnBenchStop");
    btnCopy = button(QStringLiteral("&Copy"), "btnBenchCopy");
    btnClose = button(QStringLiteral("C&lose"), "btnBenchClose");
    btnWrite->setDefault(true);
    connect(btnWrite, &QPushButton::clicked, this, &BenchDialog::writeClick);
    connect(btnStop, &QPushButton::clicked, this, &BenchDialog::stopClick);
    connect(btnCopy, &QPushButton::clicked, this, &BenchDialog::copyClick);
    connect(btnClose, &QPushButton::clicked, this, &BenchDialog::reject);
    connect(list, &QTreeWidget::itemChanged, this, &BenchDialog::showButtons);
    connect(list, &QTreeWidget::itemChanged, this, &BenchDialog::tellCheckChanged);

    // Ctrl+A checks every port; Ctrl+C copies the results, wherever the focus is.
    auto *all = new QShortcut(QKeySequence::SelectAll, this);
    connect(all, &QShortcut::activated, this, &BenchDialog::checkAll);
    auto *copy = new QShortcut(QKeySequence::Copy, this);
    connect(copy, &QShortcut::activated, this, &BenchDialog::copyClick);
}

void BenchDialog::addRow(const QString &port, bool checked)
{
    auto *item = new QTreeWidgetItem(list, QStringList{port});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(PortColumn, checked ? Qt::Checked : Qt::Unchecked);
    item->setData(PortColumn, Qt::AccessibleTextRole, port);
    auto *progress = new QProgressBar;
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setTextVisible(false);
    progress->setFocusPolicy(Qt::NoFocus);
    progress->setAccessibleName(QStringLiteral("Progress of %1").arg(port));
    list->setItemWidget(item, ProgressColumn, progress);
    // A screen reader reads the cells, not the bar drawn over one.
    item->setData(ProgressColumn, Qt::AccessibleTextRole, QStringLiteral("0 %"));
    checks_.append(item->checkState(PortColumn));
}

void BenchDialog::tellCheckChanged(QTreeWidgetItem *item)
{
    // Qt tells a screen reader nothing when an item's box is checked: the change is sent
    // as the state change of its cell.
    const int row = list->indexOfTopLevelItem(item);
    if (row < 0 || row >= checks_.size() || checks_[row] == item->checkState(PortColumn))
        return;
    checks_[row] = item->checkState(PortColumn);
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(list);
    QAccessibleTableInterface *table = view ? view->tableInterface() : nullptr;
    QAccessibleInterface *cell = table ? table->cellAt(row, PortColumn) : nullptr;
    if (!cell)
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(cell, changed);
    QAccessible::updateAccessibility(&event);
}

void BenchDialog::showWhole(QTreeWidgetItem *item, int column, const QString &text)
{
    if (item->text(column) == text)
        return;
    item->setText(column, text);
    item->setToolTip(column, text);
    item->setData(column, Qt::AccessibleDescriptionRole, text);
}

QTreeWidgetItem *BenchDialog::row(const QString &port) const
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(PortColumn) == port)
            return list->topLevelItem(i);
    }
    return nullptr;
}

QProgressBar *BenchDialog::bar(const QString &port) const
{
    QTreeWidgetItem *item = row(port);
    return item ? qobject_cast<QProgressBar *>(list->itemWidget(item, ProgressColumn)) : nullptr;
}

QStringList BenchDialog::checkedPorts() const
{
    QStringList ports;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        if (item->checkState(PortColumn) == Qt::Checked)
            ports << item->text(PortColumn);
    }
    return ports;
}

void BenchDialog::checkAll()
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(PortColumn, Qt::Checked);
}

void BenchDialog::showButtons()
{
    btnWrite->setEnabled(!running_ && !checkedPorts().isEmpty());
    btnStop->setEnabled(running_);
    btnCopy->setEnabled(!running_ && !results_.isEmpty());
    btnClose->setEnabled(!running_);
}

void BenchDialog::writeClick()
{
    const QStringList ports = checkedPorts();
    if (running_ || ports.isEmpty())
        return;
    results_.clear();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = list->topLevelItem(i);
        for (int c : {BlockColumn, ResultColumn, FilesColumn})
            showWhole(item, c, QString());
        bar(item->text(PortColumn))->setValue(0);
        item->setData(ProgressColumn, Qt::AccessibleTextRole, QStringLiteral("0 %"));
    }
    running_ = true;
    showButtons();
    // Enter and Escape now reach the list or the dialog, never a button that is gone.
    btnStop->setFocus();
    results_ = run_(ports, [this](const QList<PortJobState> &s) { showStates(s); });
    running_ = false;
    showResults();
    showButtons();
    list->setFocus();
    announcer->announce(benchEndText(results_));
}

void BenchDialog::stopClick()
{
    if (running_)
        requestStopNow();
}

void BenchDialog::showStates(const QList<PortJobState> &states)
{
    for (const PortJobState &s : states) {
        QTreeWidgetItem *item = row(s.port);
        if (!item)
            continue;
        QProgressBar *progress = bar(s.port);
        progress->setRange(0, s.maximum > 0 ? s.maximum : 100);
        progress->setValue(s.done && s.ok ? progress->maximum() : s.position);
        const QString percent =
            QStringLiteral("%1 %").arg(100 * (progress->value() - progress->minimum()) /
                                       std::max(1, progress->maximum() - progress->minimum()));
        if (item->data(ProgressColumn, Qt::AccessibleTextRole).toString() != percent)
            item->setData(ProgressColumn, Qt::AccessibleTextRole, percent);
        item->setText(BlockColumn, benchBlockText(s));
        if (!s.done)
            showWhole(item, ResultColumn, s.status);
    }
}

void BenchDialog::showResults()
{
    for (const BenchPortResult &r : results_) {
        QTreeWidgetItem *item = row(r.port);
        if (!item)
            continue;
        showWhole(item, ResultColumn, benchResultText(r));
        showWhole(item, FilesColumn, benchFilesText(r));
    }
}

void BenchDialog::copyClick() const
{
    if (!running_ && !results_.isEmpty())
        QApplication::clipboard()->setText(benchReportText(results_));
}

void BenchDialog::reject()
{
    if (running_) {
        stopClick();
        return;
    }
    QDialog::reject();
}

void BenchDialog::closeEvent(QCloseEvent *e)
{
    if (running_) {
        stopClick();
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

} // namespace rw
