// SPDX-License-Identifier: GPL-3.0-or-later
// One walk over the settings catalogue: every list item and both ends of every range (and
// one past each) through the window's control and through `set` end in the same bytes or
// the same refusal; and `build` of an empty document is the table the window starts with.

#include "model/settingcatalogue.h"
#include "offerpage.h"
#include "report/settingnames.h"
#include "report/tabledocument.h"
#include "synth/synthesizer.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QProcess>

using namespace rw;

namespace {

// One step of the walk: what the window's control is given, and the same value for set
// (for the hidden pages' settings, which set does not take: for build).
struct Step {
    const SettingEntry *setting;
    QString value;
    QWidget *control;
    std::function<void(WindowFixture &)> byWindow;
};

// The control of a setting, named after its field with the control's prefix.
template <class C> C *controlOf(TfmMain &w, const SettingEntry &e, const char *prefix)
{
    if (e.kind == SettingKind::Frequency)
        return qobject_cast<C *>(w.edtFreq);
    return w.findChild<C *>(prefix + latin1(fieldEntry(e.field).name));
}

QList<Step> walk(TfmMain &w)
{
    QList<Step> steps;
    for (const SettingEntry &e : settingCatalogue()) {
        auto typed = [&steps, &e, &w](const QString &v) {
            QLineEdit *edit = controlOf<QLineEdit>(w, e, "edt");
            if (e.editLength == 0 || v.size() <= e.editLength) // 1000 cannot be typed into 3
                steps.append({&e, v, edit, [edit, v](WindowFixture &f) {
                                  // The function-bit edits keep their text on entry.
                                  f.clickInto(edit);
                                  edit->selectAll();
                                  QTest::keyClicks(edit, v);
                                  f.w().parkFocus();
                                  QApplication::processEvents();
                              }});
        };
        // Pasted, as only pasting can bring a control character in.
        auto pasted = [&steps, &e](const QString &v, QWidget *control) {
            steps.append({&e, v, control, [v, control](WindowFixture &f) {
                              f.clickInto(control);
                              QApplication::clipboard()->setText(v);
                              QMetaObject::invokeMethod(control, "selectAll");
                              QMetaObject::invokeMethod(control, "paste");
                              f.w().parkFocus();
                              QApplication::processEvents();
                          }});
        };
        switch (e.kind) {
        case SettingKind::Frequency:
            for (const char *hz : {"462025000", "459997500", "462026000", "0"})
                typed(QString::fromLatin1(hz));
            break;
        case SettingKind::Number: {
            const NumberRange &r = e.range;
            for (const qint32 v : {r.min - 1, r.min, r.max, r.max + 1, 0}) {
                if (v >= 0) // the key filter lets no sign through
                    typed(QString::number(v));
            }
            break;
        }
        case SettingKind::List:
            // Every item the window's list holds, by the word set takes for it.
            for (int i = 0; i < controlOf<QComboBox>(w, e, "cbo")->count(); ++i) {
                auto *list = controlOf<QComboBox>(w, e, "cbo");
                const auto at = static_cast<std::size_t>(i);
                const QString word = at < e.words.size() ? latin1(e.words[at]) : QString();
                steps.append(
                    {&e, e.offered ? word : QString::number(i), list, [i, list](WindowFixture &) {
                         list->setCurrentIndex(i);
                         emit list->activated(i);
                     }});
            }
            break;
        case SettingKind::Flag:
            for (const bool on : {false, true, false}) {
                auto *box = controlOf<QCheckBox>(w, e, "chk");
                steps.append({&e, on ? "1" : "0", box, [on, box](WindowFixture &) {
                                  if (box->isChecked() != on)
                                      box->click();
                              }});
            }
            break;
        case SettingKind::Logo:
            for (const QString &t : {QString("  HELLO"), QString(e.editLength, 'L'),
                                     QString("A\x1b[31mB"), QString("A\tB"), QString("Z")})
                pasted(t, w.edtPowLogo);
            break;
        case SettingKind::Message:
            for (const QString &t : {QString(e.editLength, 'm'), QString(e.editLength + 1, 'm'),
                                     QString("One\nTwo\tthree"),
                                     QString("A\x07"
                                             "B"),
                                     QString("Clear") + QChar(0x9B) + "2J", QString("Call")})
                pasted(t, w.MsgMemos[0]);
            break;
        }
    }
    return steps;
}

// What set, or for a hidden page's setting build, makes of the step's value.
std::optional<QString> bySetOrBuild(SettingsTable &table, const Step &s, const QString &folder)
{
    const QString name = latin1(s.setting->name);
    if (!s.setting->offered) {
        const DocumentOutcome out = applyTableDocument(
            QStringLiteral("{\"%1\": %2}").arg(name, s.value).toUtf8(), table, folder);
        if (out.applied())
            return std::nullopt;
        return out.problems.first().text.mid(name.size() + 2); // after "NAME: "
    }
    Synthesizer synth(table);
    synth.readSettings(folder);
    synth.followTable();
    const bool message = s.setting->kind == SettingKind::Message;
    return applySetting(table, synth, message ? QString("message.1") : name, s.value);
}

// The page of the window that holds a control.
QWidget *pageOf(TfmMain &w, QWidget *control)
{
    while (control && w.PageControl1->indexOf(control) < 0)
        control = control->parentWidget();
    return control;
}

} // namespace

class TestSettingCatalogue : public QObject {
    Q_OBJECT
private slots:
    void theWindowAndSetGiveTheSameBytesOrTheSameRefusal()
    {
        WindowFixture f;
        int refusals = 0;
        const QList<Step> steps = walk(f.w());
        // Offered: frequency 4, system code 4, range test 5, baud 3, send twice 3, logo 5,
        // message 6. Hidden: heart beat 4, flash length 3, the reminder lists 5 + 4, each
        // profile 3 x 3 + 25 + 3, function bit A 5 + 4, B to D 28 + 4 + 4 each. The lists'
        // counts are the window's: an item added to or lost from a list changes this.
        QCOMPARE(steps.size(), 30 + 4 + 3 + 9 + 4 * 37 + 9 + 3 * 36);
        for (const Step &s : steps) {
            QVERIFY2(s.control, s.setting->name.data());
            const QString what = latin1(s.setting->name) + '=' + s.value;
            SettingsTable bySet = f.table;
            const std::optional<QString> refused = bySetOrBuild(bySet, s, f.dir.path());
            if (QWidget *page = pageOf(f.w(), s.control);
                page && f.w().PageControl1->currentWidget() != page)
                offerPage(f.w(), page);

            const QByteArray before = f.table.buildImage();
            f.dialogs.clear();
            s.byWindow(f);
            if (refused) {
                ++refusals;
                QVERIFY2(f.dialogs.texts().contains(*refused),
                         qPrintable(what + ": " + f.dialogs.texts().join('|')));
                QCOMPARE(f.table.buildImage(), before);
                // Leave the control the refusal gave the focus back to, showing the table.
                f.w().RefreshControls();
                f.w().parkFocus();
                QApplication::processEvents();
                QCOMPARE(f.table.buildImage(), before);
            } else {
                QVERIFY2(f.dialogs.texts().isEmpty(), qPrintable(what));
                QVERIFY2(f.table.buildImage() == bySet.buildImage(), qPrintable(what));
            }
        }
        // 462026000 Hz, 2001, 9, 241, the logo's ESC and tab, 51 characters, a BEL, a CSI;
        // heart beat 29; 1000 for the seven function-bit lengths.
        QCOMPARE(refusals, 9 + 1 + 7);
    }

    void buildOfAnEmptyDocumentIsTheDefaultTableTheWindowSaves()
    {
        WindowFixture f([](const QString &dir) {
            QFile ini(dir + "/RW830KT2485E.ini");
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[System]\r\nOSCFreq=12800000\r\n[Reg 0]\r\nRF_N=60\r\nRF_FN=100\r\n");
        });
        f.dialogs.nextAnswer = BoxAnswer::Yes;
        f.w().mnuSaveClick();
        QFile saved(f.dir.filePath("default.tbl"));
        QVERIFY(saved.open(QIODevice::ReadOnly));

        QProcess cli;
        cli.setWorkingDirectory(f.dir.path());
        cli.start(QStringLiteral(RW830KT_CLI), {"build", "-", "-o", "-"});
        cli.write("{}");
        cli.closeWriteChannel();
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        const QByteArray built = cli.readAllStandardOutput();
        QCOMPARE(built.size(), 2048);
        QCOMPARE(built, saved.readAll());
        QVERIFY(built != SettingsTable().buildImage()); // the settings file's words are in it
    }
};

QTEST_MAIN(TestSettingCatalogue)
#include "test_setting_catalogue.moc"
