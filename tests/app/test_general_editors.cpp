// The window shell: controls, menus, status bar, focus parking, re-layout.
#include "windowfixture.h"
#include <QTest>
using namespace rw;
class TestGeneralEditors : public QObject {
    Q_OBJECT
private slots:
    void placeholder() { WindowFixture f; QCOMPARE(f.w().windowTitle(), QString("RW830KT  V1.0.7")); }
};
QTEST_MAIN(TestGeneralEditors)
#include "test_general_editors.moc"
