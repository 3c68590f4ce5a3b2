// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesizer's settings file: the reading table with its ranges and messages,
// the keys written at close, and what happens to the lines already in the file.

#include "base/profilefile.h"
#include "base/settingsfile.h"
#include "synth/synthsettings.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace rw;
using F = SynthField;
using O = SynthLoadResult::Outcome;

namespace {

// The reading table as the transmitter's documentation gives it, row by row.
struct Row {
    const char *section;
    const char *key;
    const char *defaultText;
    qint32 min, max;
    const char *refusal;
    const char *emptyMessage;
    const char *fileValue; // a value in range that differs from the start and default
    std::optional<F> field;
};

// Values in the full file below: RF_P is 1 (RF_N up to 2045) and IF_P is 0.
const QList<Row> ReadingRows{
    {"System", "OSCFreq", "14850000", 0, 99990000, " 0 < Oscillator Frequency < 99990000 !",
     "Get Oscillator Frequency Failed!\nDefault=14.85MHz", "12800000", std::nullopt},
    {"System", "ChannelSpace", "0", 0, 4, " 0 < Channel Space < 5 !",
     "Get Channel Space Failed!\nDefault=6.25KHz", "3", std::nullopt},
    {"Reg 1", "RF_P", "0", 0, 1, "This bit is set to 0 or 1 !", nullptr, "1", F::RF_P},
    {"Reg 0", "RF_N", "54", 49, 2045, "49 < RF_N < 2046 !", nullptr, "1000", F::RF_N},
    {"Reg 0", "RF_FN", "360", 0, 4095, "0 < RF_FN < 4096 !", nullptr, "100", F::RF_FN},
    {"Reg 1", "RF_PD", "0", 0, 1, "This bit is set to 0 or 1 !", nullptr, "1", F::RF_PD},
    {"Reg 1", "RF_R", "1", 1, 63, " 1 < RF_R < 64 !", nullptr, "2", F::RF_R},
    {"Reg 1", "RF_FD", "1188", 0, 4095, "0 < RF_FD < 4095 !", nullptr, "4095", F::RF_FD},
    {"Reg 2", "IF_PD", "1", 0, 1, "This bit is set to 0 or 1 !", nullptr, "0", F::IF_PD},
    {"Reg 4", "IF_P", "1", 0, 1, "This bit is set to 0 or 1 !", nullptr, "0", F::IF_P},
    {"Reg 2", "IF_N", "15400", 23, 262143, " 23 < IF_N < 262144 !", nullptr, "30000", F::IF_N},
    {"Reg 3", "ACCESS", "1", 1, 15, " 1 < ACCESS < 16!", nullptr, "2", F::ACCESS},
    {"Reg 3", "RF_CPG", "3", 0, 15, " 0 < RF_CPG < 16!", nullptr, "4", F::RF_CPG},
    {"Reg 3", "IF_R", "200", 3, 4095, " 3 < IF_R < 4096!", nullptr, "300", F::IF_R},
    {"Reg 4", "ATPU", "0", 0, 1, "This bit is set to 0 or 1 !", nullptr, "1", F::ATPU},
    {"Reg 4", "DITH", "1", 0, 3, "0 < DITH < 4 ", nullptr, "2", F::DITH},
    {"Reg 4", "FM", "3", 0, 3, "0 < FM < 4 ", nullptr, "1", F::FM},
    {"Reg 4", "OSC_2X", "0", 0, 1, "This bit is set to 0 or 1 !", nullptr, "1", F::OSC_2X},
    {"Reg 4", "OSC_OUT", "0", 0, 1, "This bit is set to 0 or 1 !", nullptr, "1", F::OSC_OUT},
    {"Reg 4", "IF_CPP", "1", 0, 1, "This bit is set to 0 or 1 !", nullptr, "0", F::IF_CPP},
    {"Reg 4", "RF_CPP", "1", 0, 1, "This bit is set to 0 or 1 !", nullptr, "0", F::RF_CPP},
    {"Reg 4", "MUX", "9", 0, 15, "0 < MUX < 16 ", nullptr, "5", F::MUX},
    {"Reg 5", "RF_FD", "0", 0, 4095, "0 < RF_FD < 4096 !", nullptr, "7", F::R5_RF_FD},
    {"Reg 5", "RF_FN", "0", 0, 4095, "1 < RF_FN < 4096 !", nullptr, "8", F::R5_RF_FN},
    {"Reg 6", "CSR", "1", 0, 3, "0 < CSR < 4 ", nullptr, "2", F::CSR},
    {"Reg 6", "RF_CPF", "11", 0, 15, "0 < RF_CPF < 16", nullptr, "6", F::RF_CPF},
    {"Reg 6", "RF_TOC", "4", 0, 16383, "0 < RF_TOC < 16384 !", nullptr, "16383", F::RF_TOC},
    {"Reg 7", "DIV4", "0", 0, 1, "This bit is set to 0 or 1 !", nullptr, "1", F::DIV4},
    {"Reg 7", "IF_RST", "1", 0, 1, "This bit is set to 0 or 1 !", nullptr, "0", F::IF_RST},
    {"Reg 7", "RF_RST", "0", 0, 1, "This bit is set to 0 or 1 !", nullptr, "1", F::RF_RST},
    {"Reg 7", "IF_CPT", "0", 0, 1, "This bit is set to 0 or 1 !", nullptr, "1", F::IF_CPT},
    {"Reg 7", "RF_CPT", "0", 0, 1, "This bit is set to 0 or 1 !", nullptr, "1", F::RF_CPT},
};

QString emptyMessage(const Row &r)
{
    if (r.emptyMessage)
        return r.emptyMessage;
    return QString("Get %1 Failed!\nDefault=%2").arg(r.key, r.defaultText);
}

// The variable a row fills, as the reader leaves it.
qint64 observed(const SynthState &s, const Row &r)
{
    if (r.field)
        return s.fields[*r.field];
    return QString(r.key) == "OSCFreq" ? s.OSCFreq : s.ChannelSpaceHz;
}

qint64 expectedAfterReading(const Row &r)
{
    if (QString(r.key) == "ChannelSpace")
        return 10000; // code 3
    return QString(r.fileValue).toLongLong();
}

using Values = QList<QPair<QString, QString>>; // "Section/Key" -> text, in file order

Values fullFile()
{
    Values v;
    for (const Row &r : ReadingRows)
        v.append({QString("%1/%2").arg(r.section, r.key), r.fileValue});
    return v;
}

void setValue(Values &v, const QString &sectionKey, const QString &text)
{
    for (auto &p : v)
        if (p.first == sectionKey)
            p.second = text;
}

QString writeFile(const QTemporaryDir &dir, const Values &values)
{
    // One block per section, in the order the sections first appear.
    QStringList sections;
    for (const auto &p : values)
        if (!sections.contains(p.first.section('/', 0, 0)))
            sections.append(p.first.section('/', 0, 0));
    QByteArray text;
    for (const QString &section : sections) {
        text += "[" + section.toLatin1() + "]\r\n";
        for (const auto &[sectionKey, value] : values)
            if (sectionKey.section('/', 0, 0) == section)
                text += sectionKey.section('/', 1).toLatin1() + "=" + value.toLatin1() + "\r\n";
    }
    const QString path = settingsFilePath(dir.path());
    ::writeFile(path, text);
    return path;
}

// Rows before `stop` hold the file's values; `stop` and all after keep the start values.
void checkReadUpTo(const SynthState &s, qsizetype stop)
{
    const SynthState start;
    for (qsizetype i = 0; i < ReadingRows.size(); ++i) {
        const Row &r = ReadingRows[i];
        const qint64 expected = i < stop ? expectedAfterReading(r) : observed(start, r);
        if (observed(s, r) != expected)
            QFAIL(qPrintable(QString("%1 of %2 holds %3, expected %4")
                                 .arg(r.key, r.section)
                                 .arg(observed(s, r))
                                 .arg(expected)));
    }
}

// What a start without the file and an immediate close write.
const QByteArray CreatedFile = "[System]\r\n"
                               "OSCFreq=14850000\r\n"
                               "ChannelSpace=4\r\n"
                               "\r\n[Reg 0]\r\nRF_N=54\r\nRF_FN=360\r\nR0_C=0\r\n"
                               "\r\n[Reg 1]\r\nRF_FD=1188\r\nRF_P=0\r\nRF_PD=0\r\nRF_R=1\r\n"
                               "R1_C=3\r\n"
                               "\r\n[Reg 2]\r\nIF_N=15400\r\nIF_PD=1\r\nR2_C=5\r\n"
                               "\r\n[Reg 3]\r\nACCESS=1\r\nIF_R=200\r\nRF_CPG=3\r\nR3_C=7\r\n"
                               "\r\n[Reg 4]\r\nATPU=0\r\nDITH=1\r\nFixed1=1\r\nFixed2=0\r\nFM=3\r\n"
                               "IF_CPP=1\r\nIF_P=1\r\nMUX=9\r\nOSC_2X=0\r\nOSC_OUT=0\r\n"
                               "RF_CPP=1\r\nR4_C=9\r\n"
                               "\r\n[Reg 5]\r\nRF_FD=0\r\nRF_FN=0\r\nR5_C=11\r\n"
                               "\r\n[Reg 6]\r\nCSR=1\r\nRF_CPF=11\r\nRF_TOC=4\r\nR6_C=13\r\n"
                               "\r\n[Reg 7]\r\nDIV4=0\r\nFixed1=0\r\nFixed2=9\r\nIF_CPT=0\r\n"
                               "IF_RST=1\r\nRF_CPT=0\r\nRF_RST=0\r\nR7_C=15\r\n";

// The state after a start without the file: loaded defaults, packed, unpacked, refreshed.
SynthState startedWithoutFile()
{
    SynthState s;
    readSynthSettings(QStringLiteral("/nonexistent/RW830KT2485E.ini"), s);
    s.ChannelSpaceHz = 12500; // what the start-up refresh finds
    return s;
}

} // namespace

class TestSynthSettings : public QObject {
    Q_OBJECT
private slots:
    void without_a_file_every_key_takes_its_default()
    {
        SynthState s;
        const SynthLoadResult r = readSynthSettings(QString("/nonexistent/x.ini"), s);
        QCOMPARE(r.outcome, O::Complete);
        QVERIFY(r.message.isEmpty());
        for (const Row &row : ReadingRows)
            if (row.field)
                QCOMPARE(s.fields[*row.field], QString(row.defaultText).toInt());
        QCOMPARE(s.OSCFreq, 14850000);
        QCOMPARE(s.CompareFreq, 14850000);
        QCOMPARE(s.ChannelSpaceHz, 2500);
        QCOMPARE(s.PrescalerModulus, 8);
        const SynthRegisters expected{0x06C2D0, 0x014A43, 0x83C285, 0x130C87,
                                      0x05C799, 0x00000B, 0x6C004D, 0x00098F};
        QCOMPARE(packSynthWords(s.fields), expected);
    }

    void a_full_file_is_read_with_its_follow_up_values()
    {
        QTemporaryDir dir;
        SynthState s;
        const SynthLoadResult r = readSynthSettings(writeFile(dir, fullFile()), s);
        QCOMPARE(r.outcome, O::Complete);
        checkReadUpTo(s, ReadingRows.size());
        QCOMPARE(s.PrescalerModulus, 16);
        QCOMPARE(s.CompareFreq, 12800000 / 2);
    }

    void an_empty_value_gives_its_message_and_ends_the_reading_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < ReadingRows.size(); ++i)
            QTest::newRow(
                QString("%1 %2").arg(ReadingRows[i].section, ReadingRows[i].key).toLatin1())
                << i;
    }
    void an_empty_value_gives_its_message_and_ends_the_reading()
    {
        QFETCH(int, row);
        const Row &r = ReadingRows[row];
        QTemporaryDir dir;
        Values v = fullFile();
        setValue(v, QString("%1/%2").arg(r.section, r.key), "");
        SynthState s;
        const SynthLoadResult result = readSynthSettings(writeFile(dir, v), s);
        QCOMPARE(result.outcome, O::Refused);
        QCOMPARE(result.message, emptyMessage(r));
        checkReadUpTo(s, row);
    }

    void a_value_out_of_range_gives_its_message_and_ends_the_reading_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("selector"); // "RF_P=0" etc., or empty
        QTest::addColumn<QString>("message");
        for (int i = 0; i < ReadingRows.size(); ++i) {
            const Row &r = ReadingRows[i];
            const QString name = QString("%1 %2").arg(r.section, r.key);
            QTest::newRow(qPrintable(name + " below"))
                << i << QString::number(qint64(r.min) - 1) << QString() << QString(r.refusal);
            QTest::newRow(qPrintable(name + " above"))
                << i << QString::number(qint64(r.max) + 1) << QString() << QString(r.refusal);
        }
        QTest::newRow("RF_N 24 with RF_P 0") << 3 << "24"
                                             << "Reg 1/RF_P=0"
                                             << "25 < RF_N < 1024 !";
        QTest::newRow("RF_N 1024 with RF_P 0") << 3 << "1024"
                                               << "Reg 1/RF_P=0"
                                               << "25 < RF_N < 1024 !";
        QTest::newRow("IF_N 46 with IF_P 1") << 10 << "46"
                                             << "Reg 4/IF_P=1"
                                             << " 47 < IF_N < 524287!";
        QTest::newRow("IF_N 524288 with IF_P 1") << 10 << "524288"
                                                 << "Reg 4/IF_P=1"
                                                 << " 47 < IF_N < 524287!";
        QTest::newRow("OSCFreq 99990000.5")
            << 0 << "99990000.5" << QString() << " 0 < Oscillator Frequency < 99990000 !";
        QTest::newRow("OSCFreq -0.5")
            << 0 << "-0.5" << QString() << " 0 < Oscillator Frequency < 99990000 !";
    }
    void a_value_out_of_range_gives_its_message_and_ends_the_reading()
    {
        QFETCH(int, row);
        QFETCH(QString, value);
        QFETCH(QString, selector);
        QFETCH(QString, message);
        const Row &r = ReadingRows[row];
        QTemporaryDir dir;
        Values v = fullFile();
        setValue(v, QString("%1/%2").arg(r.section, r.key), value);
        if (!selector.isEmpty())
            setValue(v, selector.section('=', 0, 0), selector.section('=', 1));
        SynthState s;
        const SynthLoadResult result = readSynthSettings(writeFile(dir, v), s);
        QCOMPARE(result.outcome, O::Refused);
        QCOMPARE(result.message, message);
        if (selector.isEmpty())
            checkReadUpTo(s, row);
        else
            QCOMPARE(observed(s, r), observed(SynthState(), r));
    }

    void the_bounds_themselves_are_accepted_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<qint64>("stored");
        for (int i = 0; i < ReadingRows.size(); ++i) {
            const Row &r = ReadingRows[i];
            if (QString(r.key) == "ChannelSpace")
                continue;
            const QString name = QString("%1 %2").arg(r.section, r.key);
            QTest::newRow(qPrintable(name + " min"))
                << i << QString::number(r.min) << QString() << qint64(r.min);
            QTest::newRow(qPrintable(name + " max"))
                << i << QString::number(r.max) << QString() << qint64(r.max);
        }
        QTest::newRow("RF_N 25 with RF_P 0") << 3 << "25"
                                             << "Reg 1/RF_P=0" << qint64(25);
        QTest::newRow("RF_N 1023 with RF_P 0") << 3 << "1023"
                                               << "Reg 1/RF_P=0" << qint64(1023);
        QTest::newRow("IF_N 47 with IF_P 1") << 10 << "47"
                                             << "Reg 4/IF_P=1" << qint64(47);
        QTest::newRow("IF_N 524287 with IF_P 1") << 10 << "524287"
                                                 << "Reg 4/IF_P=1" << qint64(524287);
        QTest::newRow("OSCFreq fraction dropped")
            << 0 << "14850000.9" << QString() << qint64(14850000);
        QTest::newRow("OSCFreq with exponent") << 0 << "1.485E7" << QString() << qint64(14850000);
        QTest::newRow("blanks around a value") << 3 << "  60 " << QString() << qint64(60);
        QTest::newRow("a plus sign") << 3 << "+60" << QString() << qint64(60);
    }
    void the_bounds_themselves_are_accepted()
    {
        QFETCH(int, row);
        QFETCH(QString, value);
        QFETCH(QString, selector);
        QFETCH(qint64, stored);
        const Row &r = ReadingRows[row];
        QTemporaryDir dir;
        Values v = fullFile();
        setValue(v, QString("%1/%2").arg(r.section, r.key), value);
        if (!selector.isEmpty())
            setValue(v, selector.section('=', 0, 0), selector.section('=', 1));
        SynthState s;
        const SynthLoadResult result = readSynthSettings(writeFile(dir, v), s);
        QCOMPARE(result.outcome, O::Complete);
        QCOMPARE(observed(s, r), stored);
    }

    void every_channel_space_code_gives_its_spacing()
    {
        const QList<int> hz{2500, 5000, 6250, 10000, 12500};
        for (int code = 0; code < 5; ++code) {
            QTemporaryDir dir;
            Values v = fullFile();
            setValue(v, "System/ChannelSpace", QString::number(code));
            SynthState s;
            QCOMPARE(readSynthSettings(writeFile(dir, v), s).outcome, O::Complete);
            QCOMPARE(s.ChannelSpaceHz, hz[code]);
        }
    }

    void a_value_that_is_no_number_is_a_conversion_error_data()
    {
        QTest::addColumn<QString>("sectionKey");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("row");
        QTest::newRow("letters") << "Reg 0/RF_N"
                                 << "abc"
                                 << "'abc' is not a valid integer value" << 3;
        QTest::newRow("a fraction") << "Reg 1/RF_R"
                                    << "1.5"
                                    << "'1.5' is not a valid integer value" << 6;
        QTest::newRow("beyond 32 bits") << "Reg 2/IF_N"
                                        << "99999999999"
                                        << "'99999999999' is not a valid integer value" << 10;
        QTest::newRow("oscillator") << "System/OSCFreq"
                                    << "14.85MHz"
                                    << "'14.85MHz' is not a valid floating point value" << 0;
        QTest::newRow("oscillator nan") << "System/OSCFreq"
                                        << "nan"
                                        << "'nan' is not a valid floating point value" << 0;
    }
    void a_value_that_is_no_number_is_a_conversion_error()
    {
        QFETCH(QString, sectionKey);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(int, row);
        QTemporaryDir dir;
        Values v = fullFile();
        setValue(v, sectionKey, value);
        SynthState s;
        const SynthLoadResult r = readSynthSettings(writeFile(dir, v), s);
        QCOMPARE(r.outcome, O::NotANumber);
        QVERIFY(r.conversionError());
        QCOMPARE(r.message, message);
        checkReadUpTo(s, row);
    }

    void rf_p_is_read_before_rf_n()
    {
        QTemporaryDir dir;
        SynthState s;
        const Values v{{"Reg 0/RF_N", "2000"}, {"Reg 1/RF_P", "1"}};
        QCOMPARE(readSynthSettings(writeFile(dir, v), s).outcome, O::Complete);
        QCOMPARE(s.fields[F::RF_N], 2000);
    }

    void control_bits_and_fixed_fields_in_the_file_are_not_taken_back()
    {
        QTemporaryDir dir;
        Values v = fullFile();
        v.append(qMakePair(QString("Reg 4/R4_C"), QString("3")));
        v.append(qMakePair(QString("Reg 4/Fixed1"), QString("7")));
        v.append(qMakePair(QString("Reg 7/Fixed2"), QString("1")));
        SynthState s;
        QCOMPARE(readSynthSettings(writeFile(dir, v), s).outcome, O::Complete);
        QCOMPARE(s.fields[F::R4_C], 9);
        QCOMPARE(s.fields[F::R4_Fixed1], 1);
        QCOMPARE(s.fields[F::R7_Fixed2], 9);
    }

    void a_start_without_the_file_then_a_close_creates_exactly_this_file()
    {
        QTemporaryDir dir;
        const QString path = settingsFilePath(dir.path());
        QVERIFY(writeSynthSettingsFile(path, startedWithoutFile()));
        QCOMPARE(contents(path), CreatedFile);
        // and it reads back to the same fields
        SynthState again;
        QCOMPARE(readSynthSettings(path, again).outcome, O::Complete);
        QVERIFY(again.fields == startedWithoutFile().fields);
    }

    void writing_keeps_every_other_line_of_an_existing_file()
    {
        QTemporaryDir dir;
        const QString path = settingsFilePath(dir.path());
        QByteArray before = "; settings of the bench transmitter\n"
                            "[serial]\n"
                            "ExtraPorts=/dev/ttyUSB0\n"
                            "\n"
                            "[reg 0]\n"
                            "rf_n = 60   \n"
                            "Note=keep me\n"
                            "\n"
                            "[Other]\n"
                            "RF_N=999\n";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
        f.close();
        QVERIFY(writeSynthSettingsFile(path, startedWithoutFile()));
        const QByteArray after = contents(path);
        QVERIFY2(after.startsWith("; settings of the bench transmitter\n"
                                  "[serial]\n"
                                  "ExtraPorts=/dev/ttyUSB0\n"
                                  "\n"
                                  "[reg 0]\n"
                                  "rf_n =54\n"
                                  "Note=keep me\n"
                                  "RF_FN=360\n"
                                  "R0_C=0\n"
                                  "\n"
                                  "[Other]\n"
                                  "RF_N=999\n"
                                  "\n"
                                  "[System]\n"
                                  "OSCFreq=14850000\n"
                                  "ChannelSpace=4\n"
                                  "\n"
                                  "[Reg 1]\n"),
                 after.constData());
        QCOMPARE(after.count("=") - before.count("="), 44 - 1);
        QCOMPARE(ProfileFile(path).read("Serial", "ExtraPorts", ""), QString("/dev/ttyUSB0"));
    }

    void a_spacing_that_is_none_of_the_five_is_saved_as_the_nearest_code()
    {
        QTemporaryDir dir;
        const QString path = settingsFilePath(dir.path());
        SynthState s = startedWithoutFile();
        s.ChannelSpaceHz = 7000;
        QVERIFY(writeSynthSettingsFile(path, s));
        QCOMPARE(ProfileFile(path).read("System", "ChannelSpace", "x"), QString("2"));
        s.ChannelSpaceHz = 0; // a refresh that found a denominator above the reference
        QVERIFY(writeSynthSettingsFile(path, s));
        QCOMPARE(ProfileFile(path).read("System", "ChannelSpace", "x"), QString("0"));
    }

    // What the run holds is written even where the next start refuses it: that start
    // names the key, where an older line kept would change the frequency unsaid.
    void a_value_the_next_start_refuses_is_written_and_then_named()
    {
        QTemporaryDir dir;
        const QString path = settingsFilePath(dir.path());
        ::writeFile(path, "[Reg 0]\r\nRF_N=60\r\n");
        SynthState s = startedWithoutFile();
        s.fields[F::RF_P] = 1;
        s.fields[F::RF_N] = 31; // 462025000 Hz entered with the prescaler at 16
        s.fields[F::IF_N] = -1; // 4294967295 as the file holds it
        QVERIFY(writeSynthSettingsFile(path, s));
        QCOMPARE(ProfileFile(path).read("Reg 0", "RF_N", "none"), QString("31"));
        QCOMPARE(ProfileFile(path).read("Reg 2", "IF_N", "none"), QString("4294967295"));

        SynthState back;
        const SynthLoadResult r = readSynthSettings(path, back);
        QCOMPARE(r.message, QString("49 < RF_N < 2046 !"));
        QCOMPARE(r.advice, "Key RF_N in section [Reg 0] of " + QDir::toNativeSeparators(path) +
                               " holds 31. Correct or delete that line; until then the "
                               "built-in values are used from that key on.");
    }

    void an_out_of_range_value_is_told_with_its_file_key_and_remedy()
    {
        QTemporaryDir dir;
        Values v = fullFile();
        setValue(v, "Reg 3/IF_R", "2");
        const QString path = writeFile(dir, v);
        SynthState s;
        const SynthLoadResult r = readSynthSettings(path, s);
        QCOMPARE(r.message, QString(" 3 < IF_R < 4096!"));
        QCOMPARE(r.advice, "Key IF_R in section [Reg 3] of " + QDir::toNativeSeparators(path) +
                               " holds 2. Correct or delete that line; until then the built-in "
                               "values are used from that key on.");
    }

    void a_refused_value_leaves_its_own_line_and_every_later_one()
    {
        QTemporaryDir dir;
        Values v = fullFile();
        setValue(v, "Reg 3/IF_R", "2");
        const QString path = writeFile(dir, v);
        const QByteArray before = contents(path);
        SynthState s;
        QCOMPARE(readSynthSettings(path, s).outcome, O::Refused);
        // Values the run holds for keys it never read are not the user's.
        s.fields[F::IF_R] = 1234;
        s.fields[F::RF_CPT] = 0;
        QVERIFY(writeSynthSettingsFile(path, s));
        const QByteArray after = contents(path);
        // Every key of the file was read up to IF_R: all lines stay, the never-read keys
        // are added at the ends of their sections.
        QVERIFY(after.contains("[Reg 2]\r\nIF_PD=0\r\nIF_N=30000\r\nR2_C=5\r\n"));
        QVERIFY(after.contains("[Reg 3]\r\nACCESS=2\r\nRF_CPG=4\r\nIF_R=2\r\nR3_C=7\r\n"));
        QVERIFY(after.contains("[Reg 7]\r\nDIV4=1\r\nIF_RST=0\r\nRF_RST=1\r\nIF_CPT=1\r\n"
                               "RF_CPT=1\r\n"));
        QCOMPARE(after.count("="), before.count("=") + 12);
    }
};

QTEST_APPLESS_MAIN(TestSynthSettings)
#include "test_synthsettings.moc"
