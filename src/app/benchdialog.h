// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Write to Several...": the window's table written to every checked port at once. A row
// per port of the COM Port list with its check box, progress bar, block, result and the
// files its run made. Escape or Stop stops every port; the results stay until the dialog
// is closed, and Copy (Ctrl+C) puts them on the clipboard as text, one line per port.
// A result too long for its column is cut short with "...", whole in its tooltip and in
// what a screen reader hears; a screen reader also hears each check box change, each
// row's progress and the end of the bench.

#include "link/run/benchwrite.h"

#include <QDialog>
#include <QSize>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace rw {

class Announcer;

class BenchDialog : public QDialog {
    Q_OBJECT
public:
    using Tick = std::function<void(const QList<PortJobState> &)>;
    // Writes to the ports given and returns when every one has ended; `tick` shows how
    // they stand on the way.
    using Runner =
        std::function<QList<BenchPortResult>(const QStringList &ports, const Tick &tick)>;

    enum Column { PortColumn, ProgressColumn, BlockColumn, ResultColumn, FilesColumn };
    // The size it opens at when none is remembered.
    static constexpr QSize DefaultSize{720, 360};

    // `ports` are listed in their order; those in `chosen` start checked.
    BenchDialog(const QStringList &ports, const QStringList &chosen, Runner run,
                QWidget *parent = nullptr);

    QStringList checkedPorts() const;
    bool running() const { return running_; }
    const QList<BenchPortResult> &results() const { return results_; }
    QTreeWidgetItem *row(const QString &port) const;
    QProgressBar *bar(const QString &port) const;

    void writeClick();
    void stopClick();
    void copyClick() const;

    QLabel *caption = nullptr;
    QTreeWidget *list = nullptr;
    QPushButton *btnWrite = nullptr;
    QPushButton *btnStop = nullptr;
    QPushButton *btnCopy = nullptr;
    QPushButton *btnClose = nullptr;
    Announcer *announcer = nullptr;

public slots:
    // Escape and the close box: while the ports run they stop them, and the dialog stays.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void buildList(const QStringList &ports, const QStringList &chosen);
    void buildButtons();
    void addRow(const QString &port, bool checked);
    void tellCheckChanged(QTreeWidgetItem *item);
    void showWhole(QTreeWidgetItem *item, int column, const QString &text);
    void showStates(const QList<PortJobState> &states);
    void showResults();
    void checkAll();
    void showButtons();

    Runner run_;
    bool running_ = false;
    QList<Qt::CheckState> checks_; // per row, as last told
    QList<BenchPortResult> results_;
};

} // namespace rw
