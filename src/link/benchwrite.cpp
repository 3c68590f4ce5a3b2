// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchwrite.h"

#include "commport.h"
#include "imageprogressview.h"
#include "linetrace.h"
#include "model/fieldlayout.h"
#include "transmitterbackup.h"
#include "transmittercommands.h"
#include "waitclock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <memory>
#include <vector>

namespace rw {

namespace {

constexpr int Blocks = ImageSize / TransferBlockSize;

// "<folder>/<port>-YYYYMMDD-HHMMSS.txt", never an earlier trace's name nor one `taken`.
QString traceFilePath(const QString &folder, const QString &port, const QDateTime &when,
                      const std::vector<QString> &taken)
{
    const auto free = [&taken](const QString &path) {
        return !QFileInfo::exists(path) && !QFileInfo(path).isSymLink() &&
               std::find(taken.begin(), taken.end(), path) == taken.end();
    };
    const QString base = QDir(folder).filePath(portFileStem(port) + u'-' +
                                               when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path = base + QStringLiteral(".txt");
    for (int n = 2; !free(path); ++n)
        path = base + QStringLiteral("-%1.txt").arg(n);
    return path;
}

// The trace of one port's run, on that port's thread: the file is written as the run goes
// and handed back, whole or with the reason it is not.
class PortTrace {
public:
    PortTrace(TCommPort &port, const QString &path, BenchPortResult &result)
        : port_(port), result_(result)
    {
        if (path.isEmpty())
            return;
        file_.setFileName(path);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) ||
            !file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            result_.traceError = file_.errorString();
            return;
        }
        trace_ = std::make_unique<LineTrace>(file_);
        port_.setTrace(trace_.get());
        result_.traceFile = path;
    }
    ~PortTrace()
    {
        if (!trace_)
            return;
        // The port's close belongs in its trace; the trace goes before the port forgets it.
        port_.Close();
        port_.setTrace(nullptr);
        const bool whole = trace_->ok();
        trace_.reset();
        if (!whole || !file_.flush())
            result_.traceError = file_.errorString();
        file_.close();
    }
    PortTrace(const PortTrace &) = delete;
    PortTrace &operator=(const PortTrace &) = delete;

private:
    TCommPort &port_;
    BenchPortResult &result_;
    QFile file_;
    std::unique_ptr<LineTrace> trace_;
};

} // namespace

QList<BenchPortResult> writeBench(const QStringList &ports, const SettingsTable &table,
                                  const BenchChoices &choices,
                                  const std::function<void(const QList<PortJobState> &)> &onTick,
                                  const QDateTime &when)
{
    // One slot per port, written by that port's thread alone and read here only after
    // every thread has ended.
    std::vector<BenchPortResult> results(static_cast<std::size_t>(ports.size()));
    std::vector<QString> tracePaths(results.size());
    for (qsizetype i = 0; i < ports.size(); ++i) {
        results[static_cast<std::size_t>(i)].port = ports[i];
        // Named here, one after another, so that two ports never take one name.
        if (!choices.traceFolder.isEmpty())
            tracePaths[static_cast<std::size_t>(i)] =
                traceFilePath(choices.traceFolder, ports[i], when, tracePaths);
    }
    const PortJob job = [&](TCommPort &port, TransferView &view) {
        const auto i = static_cast<std::size_t>(ports.indexOf(view.selectedPortName()));
        BenchPortResult &result = results[i];
        const PortTrace trace(port, tracePaths[i], result);
        ImageProgressView counted(view);
        if (choices.backupFolder.isEmpty())
            return TransmitterCommands(port, counted, WaitClock::standard()).Write(table);
        return writeWithBackup(port, counted, WaitClock::standard(), table, choices.backupFolder,
                               &result.backupFile);
    };
    const QList<PortJobState> states = runOnPorts(ports, job, nullptr, onTick);
    QList<BenchPortResult> out;
    for (qsizetype i = 0; i < states.size(); ++i) {
        BenchPortResult r = results[static_cast<std::size_t>(i)];
        r.outcome = states[i].outcome;
        r.messages = states[i].messages;
        out << r;
    }
    return out;
}

QString benchBlockText(const PortJobState &state)
{
    if (state.done) {
        if (state.ok)
            return QStringLiteral("%1 of %1").arg(Blocks);
        if (state.outcome.block < 0)
            return {};
        return QStringLiteral("%1 of %2").arg(state.outcome.block + 1).arg(Blocks);
    }
    if (state.maximum <= 0)
        return {};
    const int block = std::min(state.position / TransferBlockSize + 1, Blocks);
    return QStringLiteral("%1 of %2").arg(block).arg(Blocks);
}

QString benchResultText(const BenchPortResult &result)
{
    const TransferOutcome &o = result.outcome;
    const QString box = outcomeBoxText(TransferCommand::Write, o);
    if (o.ok())
        return box;
    // What the port's run said on its way (the port's own reason, a checksum, a backup
    // that could not be kept); the backup's own success is told by its file.
    const QString backupRead = outcomeBoxText(TransferCommand::Read, {});
    QStringList words;
    if (!box.isEmpty())
        words << box;
    for (const QString &m : result.messages) {
        if (m != box && m != backupRead && !words.contains(m))
            words << m;
    }
    QString cause = outcomeSummary(TransferCommand::Write, o);
    if (!o.detail.isEmpty())
        cause += QStringLiteral(": ") + o.detail;
    // A stopped run has no box: its summary is the whole result.
    words << (words.isEmpty() ? cause : QStringLiteral("(%1)").arg(cause));
    return words.join(u' ');
}

QString benchFilesText(const BenchPortResult &result)
{
    QStringList files;
    if (!result.backupFile.isEmpty())
        files << QStringLiteral("backup: %1").arg(result.backupFile);
    if (!result.traceFile.isEmpty())
        files << QStringLiteral("trace: %1").arg(result.traceFile);
    if (!result.traceError.isEmpty())
        files << QStringLiteral("trace incomplete: %1").arg(result.traceError);
    return files.join(QStringLiteral("; "));
}

QString benchReportText(const QList<BenchPortResult> &results)
{
    QString text;
    for (const BenchPortResult &r : results) {
        QStringList line{r.port, benchResultText(r)};
        if (const QString files = benchFilesText(r); !files.isEmpty())
            line << files;
        text += line.join(u'\t') + u'\n';
    }
    return text;
}

} // namespace rw
