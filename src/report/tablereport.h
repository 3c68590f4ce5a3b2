// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table shown by name: every field of the general block, the thirty messages, and the
// differences between two tables, as text for a person and as JSON for a program.

#include "jsontext.h"

#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

namespace rw {

class SettingsTable;
struct SynthState;

struct NamedValue {
    QString name;
    QString text;    // for a person
    QJsonValue json; // numbers as unsigned numbers, SysCode as text, other bytes as hex
};

// Every field of the general block by its name, in image order.
QList<NamedValue> generalFieldValues(const SettingsTable &table);

// The thirty messages as the export writes them: the stored text up to its first zero
// byte, Latin-1.
QStringList messageTexts(const SettingsTable &table);

struct Difference {
    QString name;  // the setting's name as set takes it, or the raw field's name
    QString label; // the window's label beside the setting's control; the name for raw fields
    QString a;
    QString b;
};

// The differences between two tables (bytes 0..1939), each changed setting of the catalogue
// once, in its order, with both values as a person reads them (the frequency in hertz from
// each table's register words, with the oscillator of `synth`); then, in image order, the
// bytes that no line above shows: opaque and reserved bytes, the rest of a message record,
// a register word whose change the frequency does not show. `diff`, `verify` and the
// window's Compare show this list.
QList<Difference> settingDifferences(const SettingsTable &a, const SettingsTable &b,
                                     const SynthState &synth);

enum class DifferenceNames { Names, Labels };

// The differences as a person reads them, one a line: "NAME: A -> B" (or "LABEL: A -> B").
QString differencesText(const QList<Difference> &d, const QString &aName, const QString &bName,
                        DifferenceNames names = DifferenceNames::Names);
JsonNode differencesJson(const QList<Difference> &d, const QString &aName, const QString &bName);

} // namespace rw
