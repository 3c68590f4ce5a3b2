// SPDX-License-Identifier: GPL-3.0-or-later
// settings: every setting of the catalogue with its label, what it accepts and its value in
// the table the window starts with here, so a site file can be written from it.

#include "console.h"
#include "exitstatus.h"
#include "model/settingcatalogue.h"
#include "model/settingstable.h"
#include "report/jsontext.h"
#include "report/settingvalues.h"
#include "synth/startingtable.h"
#include "synthcontext.h"
#include "verbs.h"

#include <QDir>

namespace rw::cli {

namespace {

JsonNode settingNode(const SettingEntry &e, const QString &value)
{
    JsonNode node = JsonNode::object()
                        .add("name", JsonNode::string(latin1(e.name)))
                        .add("label", JsonNode::string(latin1(e.label)))
                        .add("accepts", JsonNode::string(acceptsText(e)))
                        .add("default", JsonNode::string(value))
                        .add("set", JsonNode::truth(e.offered));
    if (e.kind == SettingKind::List) {
        JsonNode items = JsonNode::array();
        for (const std::string_view item : e.items)
            items.append(JsonNode::string(latin1(item)));
        node.add("items", items);
    }
    return node;
}

} // namespace

// Tab-separated lines, the settings set takes first; after an empty line and a heading,
// the settings of the window's hidden pages, which build takes by these names.
int listSettings(const Arguments &a)
{
    SettingsTable start;
    loadStartingTable(start, QDir::currentPath());
    SettingsTable scratch = start;
    const SynthContext synth(scratch); // tells once what reading the settings file reported
    JsonNode list = JsonNode::array();
    QString offered;
    QString hidden;
    for (const SettingEntry &e : settingCatalogue()) {
        const QString value = settingValueText(e, start, synth.state());
        list.append(settingNode(e, value));
        (e.offered ? offered : hidden) +=
            QStringLiteral("%1\t%2\t%3\t%4\n")
                .arg(latin1(e.name), latin1(e.label), acceptsText(e), value);
    }
    if (a.json)
        printBytes(writeJson(JsonNode::object().add("settings", list)));
    else
        printOut(offered +
                 QStringLiteral("\nOn the window's hidden pages (build takes them by name):\n") +
                 hidden);
    return Success;
}

} // namespace rw::cli
