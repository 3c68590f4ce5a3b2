// SPDX-License-Identifier: GPL-3.0-or-later
#include "arguments.h"

#include "stopsignals.h"

#include "exitstatus.h"

#include "base/settingsfile.h"
#include "model/textrules.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <array>

namespace rw::cli {

namespace {

// An option: its letter ('\0' for none), its long name, the name of its value (empty for
// a switch), whether every verb takes it, and its line in --help.
struct OptionEntry {
    char letter;
    const char *name;
    const char *valueName;
    bool everyVerb;
    const char *help;

    bool takesValue() const { return *valueName != '\0'; }
};

constexpr OptionEntry Options[] = {
    {'p', "port", "PORT", false,
     "the serial port: a name from 'ports', a device path, or\nrfc2217://HOST:PORT or "
     "socket://HOST:PORT on a serial server"},
    {'o', "output", "FILE", false,
     "the file that read, build and sheet write ('-' for build and sheet:\nstandard output)"},
    {'\0', "base", "FILE", false,
     "the table that build starts from (without it: the table the window\nstarts with in "
     "the current folder)"},
    {'\0', "backup", "DIR", false,
     "write first reads each transmitter and keeps what it held in DIR"},
    {'\0', "pad", "", false,
     "write takes a file that is not 2048 bytes long as the window opens it:\n"
     "zero bytes after a short file's end, a long file's excess left out"},
    {'\0', "trace", "FILE", false, "writes what happened on the line, with times, as it happens"},
    {'\0', "json", "", false, "machine-readable output for dump, diff and settings"},
    {'q', "quiet", "", true, "prints nothing but errors"},
    {'h', "help", "", true, "shows this text"},
    {'\0', "version", "", true, "shows the version"},
};

// How a verb takes a value option: at most once, exactly once, or once or more. A switch
// may be given any number of times.
enum class Use { Optional, Required, Repeated };

struct OptionUse {
    const char *option = nullptr; // long name; null ends the list
    Use use = Use::Optional;
};

// A verb: its name, its operands as --help shows them, how many it takes (-1: no upper
// bound), the options it takes besides those every verb takes, and its text in --help
// (lines after the first are indented to match).
struct VerbEntry {
    const char *name;
    const char *operands;
    int minOperands;
    int maxOperands;
    std::array<OptionUse, 6> options;
    const char *help;
};

constexpr VerbEntry Verbs[] = {
    {"ports",
     "",
     0,
     0,
     {},
     "the serial ports the window lists, in its order, with what is known of them"},
    {"read",
     "",
     0,
     0,
     {{{"port", Use::Required}, {"output", Use::Required}, {"trace", Use::Optional}}},
     "reads the transmitter's settings and saves them as a table file"},
    {"write",
     "FILE.tbl",
     1,
     1,
     {{{"port", Use::Repeated},
       {"backup", Use::Optional},
       {"trace", Use::Optional},
       {"pad", Use::Optional}}},
     "writes a table file into one transmitter or several at once, verifying\nevery block; "
     "a file that is not 2048 bytes long only with --pad"},
    {"verify",
     "FILE.tbl",
     1,
     1,
     {{{"port", Use::Required}, {"trace", Use::Optional}}},
     "compares the transmitter's settings with a table file, field by field"},
    {"dump",
     "FILE.tbl",
     1,
     1,
     {{{"json", Use::Optional}}},
     "every field, the frequency, the logo and the thirty messages of a table"},
    {"diff",
     "A.tbl B.tbl",
     2,
     2,
     {{{"json", Use::Optional}}},
     "the fields and messages that differ between two table files"},
    {"set",
     "FILE.tbl NAME=VALUE [NAME=VALUE ...]",
     2,
     -1,
     {},
     "edits a table file with the window's rules; 'settings' lists the names\n"
     "and what each takes; blanks around a number are ignored"},
    {"build",
     "SITE.json",
     1,
     1,
     {{{"output", Use::Required}, {"base", Use::Optional}}},
     "makes a table file from a JSON document: a whole one as dump --json\n"
     "writes it, or a few names over the base table: the names 'settings'\n"
     "lists, \"messages\": {\"N\": TEXT}, and the field names of dump --json;\n"
     "'-' reads standard input. A refused value (status 1) or a document that\n"
     "is not one (status 2) is named by line and column, and nothing is written"},
    {"sheet",
     "FILE.tbl",
     1,
     1,
     {{{"output", Use::Required}}},
     "the settings sheet of a table as a PDF of one page (A4, or Letter where\n"
     "the system's locale uses it): the frequency and the synthesizer words,\n"
     "the codes, the alerts, the thirty messages and the CRC-32 that dump prints"},
    {"settings",
     "",
     0,
     0,
     {{{"json", Use::Optional}}},
     "every setting: its name, the window's label, what it takes, and its value\n"
     "in the table the window starts with in the current folder"},
};

const OptionEntry *optionNamed(QStringView name)
{
    for (const OptionEntry &o : Options) {
        if (name == QLatin1String(o.name))
            return &o;
    }
    return nullptr;
}

const OptionEntry *optionLettered(QChar letter)
{
    for (const OptionEntry &o : Options) {
        if (o.letter != '\0' && letter == QLatin1Char(o.letter))
            return &o;
    }
    return nullptr;
}

const VerbEntry *verbNamed(const QString &name)
{
    for (const VerbEntry &v : Verbs) {
        if (name == QLatin1String(v.name))
            return &v;
    }
    return nullptr;
}

const OptionUse *useOf(const VerbEntry &verb, const OptionEntry &option)
{
    for (const OptionUse &u : verb.options) {
        if (u.option && QLatin1String(u.option) == QLatin1String(option.name))
            return &u;
    }
    return nullptr;
}

// The option as a user types it most briefly: -p, --trace.
QString shortest(const OptionEntry &o)
{
    return o.letter != '\0' ? QStringLiteral("-%1").arg(QLatin1Char(o.letter))
                            : QStringLiteral("--%1").arg(QLatin1String(o.name));
}

QString withValue(const OptionEntry &o)
{
    return o.takesValue() ? shortest(o) + ' ' + QLatin1String(o.valueName) : shortest(o);
}

// A value option given alone whose next argument is another option ("-p -o x.tbl"): the
// parser would take "-o" as the port. Nullopt when there is none; the text of the error
// otherwise. A value that begins with '-' is given joined: --output=-x.tbl, -o-x.tbl.
std::optional<QString> optionInPlaceOfValue(const QStringList &args)
{
    for (qsizetype i = 0; i + 1 < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--"))
            return std::nullopt;
        const OptionEntry *needsNext = nullptr;
        if (arg.startsWith(QLatin1String("--"))) {
            const OptionEntry *o = optionNamed(QStringView(arg).mid(2));
            if (o && o->takesValue())
                needsNext = o;
        } else if (arg.startsWith(u'-')) {
            // Letters run together (-qp PORT): the first that takes a value takes the rest
            // of the argument, or the next argument when nothing follows it.
            for (qsizetype k = 1; k < arg.size(); ++k) {
                const OptionEntry *o = optionLettered(arg[k]);
                if (!o)
                    break;
                if (o->takesValue()) {
                    if (k + 1 == arg.size())
                        needsNext = o;
                    break;
                }
            }
        }
        if (!needsNext)
            continue;
        const QString &next = args[i + 1];
        if (next.startsWith(u'-') && next.size() > 1)
            return QStringLiteral("%1 needs a value, not the option %2")
                .arg(shortest(*needsNext), next);
        ++i; // the value
    }
    return std::nullopt;
}

QString withoutFinalStop(QString text)
{
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace

namespace {

// One line per verb: its options and operands, the optional ones last.
QString usageLines(qsizetype verbWidth)
{
    QString out = QStringLiteral("Usage:\n");
    for (const VerbEntry &v : Verbs) {
        QStringList parts{QStringLiteral("  rw830kt-cli"),
                          QLatin1String(v.name).toString().leftJustified(verbWidth)};
        QStringList optional;
        for (const OptionUse &u : v.options) {
            if (!u.option)
                continue;
            const OptionEntry &o = *optionNamed(QString::fromLatin1(u.option));
            if (u.use == Use::Optional)
                optional << QStringLiteral("[%1]").arg(withValue(o));
            else
                parts << withValue(o);
            if (u.use == Use::Repeated)
                parts << QStringLiteral("[%1 ...]").arg(withValue(o));
        }
        if (*v.operands != '\0')
            parts << QLatin1String(v.operands);
        QString line = (parts + optional).join(u' ');
        while (line.endsWith(u' ')) // a verb without operands or options
            line.chop(1);
        out += line + u'\n';
    }
    return out;
}

QString verbsSection(qsizetype verbWidth)
{
    QString out = QStringLiteral("\nVerbs:\n");
    const QString verbIndent(verbWidth + 4, u' ');
    for (const VerbEntry &v : Verbs)
        out += QStringLiteral("  %1  %2\n")
                   .arg(QLatin1String(v.name).toString().leftJustified(verbWidth),
                        QString::fromLatin1(v.help).replace(u'\n', u'\n' + verbIndent));
    return out;
}

QString optionsSection()
{
    QString out = QStringLiteral("\nOptions:\n");
    QStringList heads;
    qsizetype headWidth = 0;
    for (const OptionEntry &o : Options) {
        QString head = o.letter != '\0' ? QStringLiteral("-%1, ").arg(QLatin1Char(o.letter))
                                        : QStringLiteral("    ");
        head += QStringLiteral("--") + QLatin1String(o.name);
        if (o.takesValue())
            head += u' ' + QLatin1String(o.valueName);
        headWidth = qMax(headWidth, head.size());
        heads << head;
    }
    for (qsizetype k = 0; k < heads.size(); ++k)
        out += QStringLiteral("  %1  %2\n")
                   .arg(heads[k].leftJustified(headWidth),
                        QString::fromLatin1(Options[k].help)
                            .replace(u'\n', u'\n' + QString(headWidth + 4, u' ')));
    return out;
}

// The exit statuses, from their table and from the signals that stop a run.
QString exitStatusSection()
{
    QString out = QStringLiteral("\nExit status:\n");
    for (const ExitStatusMeaning &m : ExitStatusMeanings)
        out += QStringLiteral("  %1  %2\n").arg(m.status).arg(QLatin1String(m.meaning));
    QStringList statuses, names;
    for (int s : stopSignals()) {
        statuses << QString::number(stoppedExitStatus(s));
        names << stopSignalHelpName(s);
    }
    return out + QStringLiteral("  %1  a transfer stopped by %2\n")
                     .arg(statuses.join(QStringLiteral(", ")), names.join(QStringLiteral(", ")));
}

} // namespace

QString usageText()
{
    qsizetype verbWidth = 0;
    for (const VerbEntry &v : Verbs)
        verbWidth = qMax(verbWidth, static_cast<qsizetype>(qstrlen(v.name)));
    return usageLines(verbWidth) + verbsSection(verbWidth) + optionsSection() +
           QStringLiteral(
               "\nOptions may come before or after the operands; '--' ends the options.\n"
               "A value is given as '-p PORT', '-pPORT' or '--port=PORT'; one that begins\n"
               "with '-' only joined to its option.\n") +
           exitStatusSection() +
           QStringLiteral("\nThe settings file %1 of the current folder names extra ports (ports)\n"
                          "and holds the oscillator settings (dump, set frequency=, build).\n")
               .arg(SettingsFileName);
}

namespace {

// Qt's parser over the table of options: every option given, by its long name, with
// --help and --version read, and the positional arguments left in `positional`. Nullopt,
// with `error` set, when the parser refuses the arguments.
std::optional<Arguments> readOptions(const QStringList &args, QStringList &positional,
                                     QString &error)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const OptionEntry &o : Options) {
        QStringList names;
        if (o.letter != '\0')
            names << QString(QLatin1Char(o.letter));
        names << QLatin1String(o.name);
        parser.addOption(
            QCommandLineOption(names, QLatin1String(o.help), QLatin1String(o.valueName)));
    }
    // The parser skips its first argument, the program's name.
    if (!parser.parse(QStringList{QStringLiteral("rw830kt-cli")} + args)) {
        error = withoutFinalStop(parser.errorText());
        return std::nullopt;
    }

    Arguments a;
    for (const OptionEntry &o : Options) {
        const QString name = QLatin1String(o.name);
        if (!parser.isSet(name))
            continue;
        const QStringList values = parser.values(name);
        a.options.insert(name, o.takesValue() ? values : QStringList{QString()});
    }
    a.help = a.isSet(QStringLiteral("help"));
    a.version = a.isSet(QStringLiteral("version"));
    positional = parser.positionalArguments();
    return a;
}

// The verb and its operands, taken from the positional arguments into `a`. Null, with
// `error` set, when the verb is missing, empty or unknown, or its operands do not fit it.
const VerbEntry *takeVerb(Arguments &a, const QStringList &positional, QString &error)
{
    if (positional.isEmpty()) {
        error = QStringLiteral("no verb given");
        return nullptr;
    }
    a.verb = positional.first();
    a.operands = positional.mid(1);
    if (a.verb.isEmpty()) {
        error = QStringLiteral("the verb is empty");
        return nullptr;
    }
    const VerbEntry *verb = verbNamed(a.verb);
    if (!verb) {
        error = QStringLiteral("unknown verb %1").arg(a.verb);
        return nullptr;
    }
    const int n = static_cast<int>(a.operands.size());
    if (n < verb->minOperands || (verb->maxOperands >= 0 && n > verb->maxOperands)) {
        error = QStringLiteral("%1 takes %2")
                    .arg(a.verb, verb->operands[0] != '\0' ? QLatin1String(verb->operands)
                                                           : QLatin1String("no operands"));
        return nullptr;
    }
    if (a.operands.contains(QString())) {
        error = QStringLiteral("an operand of %1 is empty").arg(a.verb);
        return nullptr;
    }
    return verb;
}

// What is wrong with the way option `o` is given (or missing) for the verb, as the error's
// text; nullopt when nothing is.
std::optional<QString> optionMisuse(const Arguments &a, const VerbEntry &verb, const OptionEntry &o)
{
    const QString name = QLatin1String(o.name);
    const OptionUse *use = useOf(verb, o);
    if (!a.isSet(name)) {
        if (use && use->use != Use::Optional)
            return QStringLiteral("%1 needs %2").arg(a.verb, withValue(o));
        return std::nullopt;
    }
    if (o.everyVerb)
        return std::nullopt;
    if (!use)
        return QStringLiteral("%1 takes no %2").arg(a.verb, shortest(o));
    if (!o.takesValue())
        return std::nullopt;
    const QStringList values = a.options.value(name);
    if (values.contains(QString()))
        return QStringLiteral("%1 needs a value").arg(shortest(o));
    if (use->use != Use::Repeated && values.size() > 1)
        return QStringLiteral("%1 takes one %2").arg(a.verb, shortest(o));
    for (qsizetype k = 1; k < values.size(); ++k) {
        if (values.indexOf(values[k]) < k)
            return QStringLiteral("%1 %2 is given twice").arg(shortest(o), values[k]);
    }
    return std::nullopt;
}

std::optional<Arguments> parseUnchecked(const QStringList &args, QString &error)
{
    if (const auto e = optionInPlaceOfValue(args)) {
        error = *e;
        return std::nullopt;
    }
    QStringList positional;
    std::optional<Arguments> a = readOptions(args, positional, error);
    if (!a || a->help || a->version)
        return a;
    const VerbEntry *verb = takeVerb(*a, positional, error);
    if (!verb)
        return std::nullopt;
    for (const OptionEntry &o : Options) {
        if (const auto e = optionMisuse(*a, *verb, o)) {
            error = *e;
            return std::nullopt;
        }
    }

    a->ports = a->options.value(QStringLiteral("port"));
    a->output = a->value(QStringLiteral("output"));
    a->traceFile = a->value(QStringLiteral("trace"));
    a->base = a->value(QStringLiteral("base"));
    a->backupDir = a->value(QStringLiteral("backup"));
    a->json = a->isSet(QStringLiteral("json"));
    a->pad = a->isSet(QStringLiteral("pad"));
    a->quiet = a->isSet(QStringLiteral("quiet"));
    return a;
}

} // namespace

std::optional<Arguments> parseArguments(const QStringList &args, QString &error)
{
    std::optional<Arguments> a = parseUnchecked(args, error);
    if (!a)
        error = escapedControls(error); // one line, whatever an argument brought in
    return a;
}

} // namespace rw::cli
