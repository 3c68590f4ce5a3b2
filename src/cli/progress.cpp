// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress.h"

#include "console.h"
#include "model/textrules.h"

namespace rw::cli {

namespace {

constexpr int BarWidth = 30;

int percent(const PortJobState &s)
{
    return s.maximum > 0 ? s.position * 100 / s.maximum : 0;
}

class QuietProgress : public Progress {
public:
    void show(const QList<PortJobState> &) override {}
};

// One line per port, redrawn in place.
class TerminalProgress : public Progress {
public:
    void show(const QList<PortJobState> &states) override
    {
        QString out;
        if (drawn_)
            out += QStringLiteral("\x1b[%1A").arg(states.size()); // back to the first bar
        for (const PortJobState &s : states) {
            const int filled = s.done && s.ok ? BarWidth : percent(s) * BarWidth / 100;
            const QString status = s.done
                                       ? (s.ok ? QStringLiteral("done") : QStringLiteral("FAILED"))
                                       : escapedControls(s.status);
            // The bar's own escape sequences only: the port's name is shown escaped.
            out += QStringLiteral("\r\x1b[2K%1 [%2%3] %4% %5\n")
                       .arg(escapedControls(s.port), QString(filled, '#'),
                            QString(BarWidth - filled, '.'))
                       .arg(s.done && s.ok ? 100 : percent(s), 3)
                       .arg(status);
        }
        printOut(out);
        drawn_ = true;
    }

private:
    bool drawn_ = false;
};

// A line whenever a port's status changes and at every quarter of the way.
class PlainProgress : public Progress {
public:
    void show(const QList<PortJobState> &states) override
    {
        for (const PortJobState &s : states) {
            Seen &seen = seen_[s.port];
            if (!s.status.isEmpty() && s.status != seen.status && !s.done) {
                seen.status = s.status;
                printOut(QStringLiteral("%1: %2\n")
                             .arg(escapedControls(s.port), escapedControls(s.status)));
            }
            const int quarter = percent(s) / 25;
            if (!s.done && quarter > seen.quarter && quarter < 4) {
                seen.quarter = quarter;
                printOut(
                    QStringLiteral("%1: %2%\n").arg(escapedControls(s.port)).arg(quarter * 25));
            }
        }
    }

private:
    struct Seen {
        QString status;
        int quarter = 0;
    };
    QHash<QString, Seen> seen_;
};

} // namespace

std::unique_ptr<Progress> Progress::make(bool quiet)
{
    if (quiet)
        return std::make_unique<QuietProgress>();
    if (outputIsTerminal())
        return std::make_unique<TerminalProgress>();
    return std::make_unique<PlainProgress>();
}

} // namespace rw::cli
