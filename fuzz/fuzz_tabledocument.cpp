// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the table-document reader: any bytes as a document. The reader must
// never crash or hang, what it reads must read back the same once written, and a table that
// a document built must come back byte for byte through its own document.

#include "model/settingstable.h"
#include "report/jsontext.h"
#include "report/tabledocument.h"

#include <cstdint>
#include <cstdlib>

using namespace rw;

namespace {

// No synthesizer settings file there: the built-in oscillator.
const QString NoSettingsFolder = QStringLiteral("/nonexistent-rw830kt-fuzz");

bool sameTree(const JsonNode &a, const JsonNode &b)
{
    if (a.type != b.type || a.text != b.text || a.boolean != b.boolean ||
        a.items.size() != b.items.size() || a.members.size() != b.members.size())
        return false;
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        if (!sameTree(a.items[i], b.items[i]))
            return false;
    }
    for (std::size_t i = 0; i < a.members.size(); ++i) {
        if (a.members[i].key != b.members[i].key ||
            !sameTree(a.members[i].value, b.members[i].value))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const JsonReadResult read = readJson(text);
    if (read.root) {
        const JsonReadResult again = readJson(writeJson(*read.root));
        if (!again.root || !sameTree(*read.root, *again.root))
            std::abort();
    }

    SettingsTable table;
    if (!applyTableDocument(text, table, NoSettingsFolder).applied())
        return 0;
    JsonNode document = tableDocument(table, QString());
    document.members.erase(document.members.begin()); // the shown frequency: not needed here
    SettingsTable copy;
    if (!applyTableDocument(writeJson(document), copy, NoSettingsFolder).applied() ||
        copy.buildImage() != table.buildImage())
        std::abort();
    return 0;
}
