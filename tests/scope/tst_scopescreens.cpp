// The oscilloscope page as the program registers it, opened by its event node.
#include <QtTest>

#include "app/apptest.h"
#include "app/editor/editor.h"
#include "app/editor/titlewidget.h"
#include "scope/oscilloscopepage.h"
#include "scope/scopescreens.h"

class TestScopeScreens : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { registerScopeScreens(); }

    void oscilloscopeNeedsTheParameterTableFirst() {
        CaseEnvironment env;
        Editor editor;
        kx::DataObject* trigger = kx::d(QStringLiteral("trigger.analyze.oscilloscope.new"));
        // No device at all: the table check comes first and names the empty device.
        trigger->trigger();
        QCOMPARE(env.prompt.calls.size(), 1);
        QCOMPARE(env.prompt.calls[0].kind, QStringLiteral("warning"));
        QCOMPARE(env.prompt.calls[0].text, QStringLiteral("Please open param table of Motor 0 first!"));

        kx::DataObject* device = addDevice(QStringLiteral("A1"), 5);
        Helper::instance()->setCurrentDeviceDobj(device);
        trigger->trigger();
        QCOMPARE(env.prompt.calls.last().text, QStringLiteral("Please open param table of Motor 5 first!"));
        QCOMPARE(editor.count(), 0);

        device->set(nullptr, QStringLiteral("param.run_mode"), 1, true);
        trigger->trigger();
        trigger->trigger();
        QCOMPARE(editor.count(), 1);
        QVERIFY(qobject_cast<OscilloscopePage*>(editor.page(0)));
        QCOMPARE(editor.title(0)->text(), QStringLiteral("Oscilloscope"));
        QCOMPARE(env.prompt.calls.size(), 2);
        Helper::instance()->setCurrentDeviceDobj(nullptr);
    }
};

TRIVANE_GUI_TEST_MAIN(TestScopeScreens)
#include "tst_scopescreens.moc"
