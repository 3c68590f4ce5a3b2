#include "arguments.h"

#include "base/settingsfile.h"

namespace rw::cli {

namespace {

struct VerbRule {
    const char *verb;
    int minOperands;
    int maxOperands; // -1: any number
    bool needsPort;
    bool oneProgrammingPort; // several -p only where the verb programs a bench
};

constexpr VerbRule Verbs[] = {
    {"ports", 0, 0, false, true}, {"read", 0, 0, true, true},  {"write", 1, 1, true, false},
    {"verify", 1, 1, true, true}, {"dump", 1, 1, false, true}, {"diff", 2, 2, false, true},
    {"set", 2, -1, false, true},
};

const VerbRule *ruleFor(const QString &verb)
{
    for (const VerbRule &r : Verbs) {
        if (verb == QLatin1String(r.verb))
            return &r;
    }
    return nullptr;
}

} // namespace

QString usageText()
{
    return QStringLiteral(
               "Usage:\n"
               "  rw830kt-cli ports\n"
               "  rw830kt-cli read   -p PORT -o FILE.tbl\n"
               "  rw830kt-cli write  -p PORT [-p PORT ...] FILE.tbl\n"
               "  rw830kt-cli verify -p PORT FILE.tbl\n"
               "  rw830kt-cli dump   FILE.tbl [--json]\n"
               "  rw830kt-cli diff   A.tbl B.tbl [--json]\n"
               "  rw830kt-cli set    FILE.tbl NAME=VALUE [NAME=VALUE ...]\n"
               "\n"
               "Verbs:\n"
               "  ports   the serial ports the window lists, in its order, with what is known of "
               "them\n"
               "  read    reads the transmitter's settings and saves them as a table file\n"
               "  write   writes a table file into one transmitter or several at once, verifying\n"
               "          every block\n"
               "  verify  compares the transmitter's settings with a table file, field by field\n"
               "  dump    every field, the frequency, the logo and the thirty messages of a table\n"
               "  diff    the fields and messages that differ between two table files\n"
               "  set     edits a table file with the window's rules; names: frequency, "
               "system-code,\n"
               "          baud (512, 1200 or 2400), range-test, logo, send-twice (0 or 1),\n"
               "          message.N (N from 1 to 30)\n"
               "\n"
               "Options:\n"
               "  -p, --port PORT  the serial port (a name from 'ports', or a device path)\n"
               "  -o, --output FILE  the table file that 'read' saves\n"
               "  --json           machine-readable output for dump and diff\n"
               "  --trace FILE     writes every byte sent and received, with time and direction\n"
               "  --quiet          prints nothing but errors\n"
               "  --help           shows this text\n"
               "  --version        shows the version\n"
               "\n"
               "Exit status: 0 success; 1 a failed transfer, a refused value or differences "
               "found;\n"
               "2 a usage error; 3 a file that cannot be read or written;\n"
               "130, 143, 129 a transfer stopped by SIGINT (Ctrl+C), SIGTERM, SIGHUP.\n"
               "The settings file %1 of the current folder names extra ports (ports)\n"
               "and holds the oscillator settings (dump, set frequency=).\n")
        .arg(SettingsFileName);
}

std::optional<Arguments> parseArguments(const QStringList &args, QString &error)
{
    Arguments a;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        auto value = [&](const QString &option) -> std::optional<QString> {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(option);
                return std::nullopt;
            }
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            a.help = true;
        } else if (arg == "--version") {
            a.version = true;
        } else if (arg == "--json") {
            a.json = true;
        } else if (arg == "--quiet" || arg == "-q") {
            a.quiet = true;
        } else if (arg == "-p" || arg == "--port") {
            const auto v = value(arg);
            if (!v)
                return std::nullopt;
            a.ports << *v;
        } else if (arg == "-o" || arg == "--output") {
            const auto v = value(arg);
            if (!v)
                return std::nullopt;
            a.output = *v;
        } else if (arg == "--trace") {
            const auto v = value(arg);
            if (!v)
                return std::nullopt;
            a.traceFile = *v;
        } else if (arg.startsWith('-') && arg.size() > 1) {
            error = QStringLiteral("unknown option %1").arg(arg);
            return std::nullopt;
        } else if (a.verb.isEmpty()) {
            a.verb = arg;
        } else {
            a.operands << arg;
        }
    }
    if (a.help || a.version)
        return a;
    if (a.verb.isEmpty()) {
        error = QStringLiteral("no verb given");
        return std::nullopt;
    }
    const VerbRule *rule = ruleFor(a.verb);
    if (!rule) {
        error = QStringLiteral("unknown verb %1").arg(a.verb);
        return std::nullopt;
    }
    const int n = static_cast<int>(a.operands.size());
    if (n < rule->minOperands || (rule->maxOperands >= 0 && n > rule->maxOperands)) {
        error = QStringLiteral("wrong number of operands for %1").arg(a.verb);
        return std::nullopt;
    }
    if (rule->needsPort && a.ports.isEmpty()) {
        error = QStringLiteral("%1 needs a port (-p PORT)").arg(a.verb);
        return std::nullopt;
    }
    if (!rule->needsPort && !a.ports.isEmpty()) {
        error = QStringLiteral("%1 takes no port").arg(a.verb);
        return std::nullopt;
    }
    if (rule->oneProgrammingPort && a.ports.size() > 1) {
        error = QStringLiteral("%1 takes one port").arg(a.verb);
        return std::nullopt;
    }
    if (a.ports.removeDuplicates() > 0) {
        error = QStringLiteral("a port is given twice");
        return std::nullopt;
    }
    if (a.verb == "read" && a.output.isEmpty()) {
        error = QStringLiteral("read needs the table file to save (-o FILE.tbl)");
        return std::nullopt;
    }
    if (a.verb != "read" && !a.output.isEmpty()) {
        error = QStringLiteral("-o belongs to read");
        return std::nullopt;
    }
    if (a.json && a.verb != "dump" && a.verb != "diff") {
        error = QStringLiteral("--json belongs to dump and diff");
        return std::nullopt;
    }
    return a;
}

} // namespace rw::cli
