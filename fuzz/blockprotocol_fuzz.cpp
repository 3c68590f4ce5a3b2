// SPDX-License-Identifier: GPL-3.0-or-later
// The block protocol against a line that answers with arbitrary bytes, in arbitrary pieces:
// whatever comes, an operation ends (never hangs), takes no more than its reply, succeeds
// only on a reply that is right, and leaves the image alone unless a read succeeds.
//
// Input: an operation byte (write, read or verify), a block size byte, then pieces of the
// line, each a length byte and that many bytes. The line hands over the next piece each
// time the protocol waits; when the pieces run out, the line falls silent.

#include "link/line/commport.h"
#include "link/line/waitclock.h"
#include "link/protocol/blockprotocol.h"
#include "link/protocol/framecodec.h"
#include "link/protocol/transferview.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>

using namespace rw;

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

class FuzzLine : public TCommPort {
public:
    std::deque<QByteArray> pieces; // still on their way
    QByteArray arrived;            // waiting to be taken
    QByteArray taken;              // taken by the protocol, in order
    int purges = 0;
    int frames = 0;

    bool IsOpen() const override { return true; }
    void Write(const char *, qint64 count) override { frames += count > 0; }
    uint8_t ReadByte() override
    {
        if (arrived.isEmpty())
            throw ECommError{ReadFailed, 0, {}};
        const char c = arrived.front();
        arrived.remove(0, 1);
        taken.append(c);
        return static_cast<uint8_t>(c);
    }
    qint64 ReadBytes(char *buffer, qint64 max) override
    {
        require(max >= 0);
        const qint64 n = std::min<qint64>(max, arrived.size());
        std::copy_n(arrived.constData(), n, buffer);
        taken.append(arrived.first(n));
        arrived.remove(0, n);
        return n;
    }
    uint32_t BytesAvailable() override { return static_cast<uint32_t>(arrived.size()); }
    void Purge() override
    {
        ++purges;
        arrived.clear();
    }
    void WakeWhenAvailable(int count) override
    {
        require(count >= 1);
        next();
    }
    void TakePending() override { next(); }

private:
    void next()
    {
        if (pieces.empty())
            return;
        arrived += pieces.front();
        pieces.pop_front();
    }
};

class QuietView : public TransferView {
public:
    int checksumErrors = 0;
    void setStatusText(const QString &) override {}
    void setProgressRange(int, int) override {}
    void setProgressPosition(int) override {}
    void repaintProgress() override {}
    void setWindowEnabled(bool) override {}
    void warn(const QString &text) override
    {
        require(text == QStringLiteral("Checksum Error !"));
        ++checksumErrors;
    }
    void plainMessage(const QString &) override { require(false); }
    QString selectedPortName() const override { return {}; }
    void showTable() override {}
};

// Protocol time a hundred thousand times faster than the wall clock: a silent line ends a
// wait within a wall millisecond or two.
const WaitClock &fastClock()
{
    static const WaitClock clock(100000);
    return clock;
}

QByteArray patterned()
{
    QByteArray image(2048, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 7 + 3);
    return image;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The waits run an event loop, which needs the application object.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int operation = data[0] % 3;
    const int n = data[1] % 129; // 0 .. 128, the program's block size and smaller
    FuzzLine line;
    for (size_t i = 2; i < size && line.pieces.size() < 64;) {
        const size_t length = std::min<size_t>(data[i], size - i - 1);
        line.pieces.emplace_back(reinterpret_cast<const char *>(data) + i + 1,
                                 static_cast<qsizetype>(length));
        i += 1 + length;
    }
    QuietView view;
    BlockProtocol protocol(line, fastClock(), view);
    const uint16_t address = 0x1000 + 0x80 * (data[1] % 15);
    const qsizetype offset = address - 0x1000;
    const QByteArray before = patterned();
    QByteArray image = before;
    bool ok = false;
    try {
        switch (operation) {
        case 0:
            ok = protocol.WriteBlock(image, address, n);
            require(!ok || line.taken == frame::writeAcknowledgement());
            require(line.taken.size() <= frame::AckSize);
            break;
        case 1:
            ok = protocol.ReadBlock(image, address, n);
            if (ok) {
                require(line.taken.size() == n + 15);
                require(frame::readReplyIntact(line.taken, n));
                require(image.sliced(offset, n) == line.taken.sliced(13, n));
                image.replace(offset, n, before.sliced(offset, n));
            }
            require(image == before);
            require(line.taken.size() <= n + 15);
            break;
        default:
            ok = protocol.VerifyBlock(image, address, n);
            require(!ok || line.taken.sliced(13, n) == before.sliced(offset, n));
            require(image == before);
            require(line.taken.size() <= n + 15);
            break;
        }
    } catch (const ECommError &) {
        std::abort(); // the line never failed: the protocol must not read what is not there
    }
    require(line.frames == 1);
    // A short reply is a time-out, which purges; a complete one never is.
    const qsizetype expected = operation == 0 ? frame::AckSize : n + 15;
    require((line.taken.size() < expected) == (line.purges == 1));
    require(line.purges <= 1 && view.checksumErrors <= 1);
    return 0;
}
