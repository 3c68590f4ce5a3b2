// SPDX-License-Identifier: GPL-3.0-or-later
#include "networklines.h"

#include "base/programmodule.h"
#include "commport.h"

#include <atomic>

namespace rw {

namespace {

std::atomic<NetworkLineMaker> offered{nullptr};

// Loads the module once; what went wrong when it offered no lines, else empty.
QString loadModule()
{
    if (offered.load())
        return {};
    const QString error = loadProgramModule(QStringLiteral("rw830kt-network"));
    if (!error.isEmpty() || offered.load())
        return error;
    return QStringLiteral("the network module offers no network lines");
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
