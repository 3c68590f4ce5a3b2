// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table shown by name: every field of the general block, the thirty messages, and the
// differences between two tables, as text for a person and as JSON for a program.

#include <QJsonObject>
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

// Everything of one message record other than its text, by name ("message.N.MsgLen",
// "message.N.MsgFixedByte", "message.N.MsgReserved"); the text itself is "message.N".
QList<NamedValue> messageRecordValues(const SettingsTable &table, int k);

struct Difference {
    QString name;
    QString a;
    QString b;
};

// The fields and messages that differ between two tables (bytes 0..1939), by name, in
// image order.
QList<Difference> tableDifferences(const SettingsTable &a, const SettingsTable &b);

// The differences a technician reads first, then the rest: the carrier ("frequency", in
// hertz, worked out from each table's register words with the oscillator of `synth`)
// and the power-up logo ("logo", as text) where they differ, followed by every differing
// field and message (tableDifferences). `verify` and the window's Compare show this list.
QList<Difference> settingDifferences(const SettingsTable &a, const SettingsTable &b,
                                     const SynthState &synth);

// The differences as a person reads them, one a line: "NAME: A -> B".
QString differencesText(const QList<Difference> &d, const QString &aName, const QString &bName);
QJsonObject differencesJson(const QList<Difference> &d, const QString &aName, const QString &bName);

} // namespace rw
