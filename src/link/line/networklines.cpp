// SPDX-License-Identifier: GPL-3.0-or-later
#include "networklines.h"

#include "commport.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <atomic>
#include <mutex>

namespace rw {

namespace {

std::atomic<NetworkLineMaker> offered{nullptr};

// The module relative to the program's folder: the same in the build folder (every program
// one folder below it, beside lib/) as installed (/usr/bin and /usr/lib/rw830kt).
QString modulePath()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../lib/rw830kt/rw830kt-network"));
}

// Loads the module once; what went wrong when it offered no lines, else empty.
QString loadModule()
{
    static std::mutex loading;
    static QString error;
    const std::lock_guard lock(loading);
    if (offered.load() || !error.isEmpty())
        return error;
    QLibrary module(modulePath());
    // Loading runs the module's offer; it stays loaded for the rest of the program.
    if (!module.load())
        error = module.errorString();
    else if (!offered.load())
        error = QStringLiteral("%1 offers no network lines").arg(module.fileName());
    return error;
}

// Stands in for a network line when its code cannot be had: opening says why.
class UnavailableLine : public LineBackend {
public:
    explicit UnavailableLine(QString why) : why_(std::move(why)) {}
    void open(const LineSettings &) override
    {
        throw ECommError{OpenFailed, 0,
                         QStringLiteral("Network ports need the program's network module, "
                                        "which could not be loaded: %1")
                             .arg(why_)};
    }
    void close() override {}
    bool usable() const override { return false; }
    bool setBaudRate(uint32_t) override { return false; }
    bool write(const char *, qint64) override { return false; }
    bool readByte(char &) override { return false; }
    qint64 readBytes(char *, qint64) override { return -1; }
    qint64 bytesAvailable() override { return 0; }
    bool purge() override { return false; }
    void wakeWhenAvailable(int) override {}
    void takePending() override {}
    uint32_t systemError() const override { return 0; }

private:
    QString why_;
};

} // namespace

void offerNetworkLines(NetworkLineMaker maker)
{
    offered.store(maker);
}

std::unique_ptr<LineBackend> makeNetworkLine(const QString &portName)
{
    if (const QString error = loadModule(); !error.isEmpty())
        return std::make_unique<UnavailableLine>(error);
    return std::unique_ptr<LineBackend>(offered.load()(portName));
}

} // namespace rw
