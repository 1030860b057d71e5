// Both link threads at full tilt: the loop concludes and abandons steps while the test thread
// (the port's thread) feeds replies through the receive path and fires commands. Run under
// ThreadSanitizer in CI; here it must simply end with a consistent link.
#include <QElapsedTimer>
#include <QtTest>

#include <random>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/motormodel.h"
#include "link/motorstates.h"
#include "link/otathread.h"
#include "link/serialrecord.h"
#include "linktest.h"

namespace {

QByteArray record(quint32 id, const std::array<quint8, 8>& data) {
    CanFrame f;
    f.id = id;
    f.length = 8;
    f.data = data;
    return SerialRecord::fromFrame(f);
}

QByteArray feedback(int mode) {
    return record((2u << 24) | (quint32(mode) << 22) | (1u << 8) | 0xFD,
                  {0x80, 0, 0x7F, 0xFF, 0x7F, 0xFF, 0, 0});
}

QByteArray announce(quint64 mcu, quint8 canId) {
    std::array<quint8, 8> data{};
    for (int i = 0; i < 8; ++i)
        data[i] = quint8(mcu >> (8 * i));
    return record(CanFrame::makeId(0, canId, 0xFE), data);
}

}  // namespace

class TestLinkStress : public QObject {
    Q_OBJECT

private slots:
    void stepsCommandsAndReplies();
};

void TestLinkStress::stepsCommandsAndReplies() {
    linktest::WorkDir dir;
    Helper* helper = Helper::instance();
    kx::d("config.setting.enable_multiple_devices")->set(nullptr, true);
    kx::d("config.setting.record_write_raw_data")->set(nullptr, false);
    MotorStates::applyModel(1, 0, 2);
    helper->createBackends();
    otaThread* link = helper->worker()->link();
    int statuses = 0;
    connect(link, &otaThread::sendState, this, [&statuses](int, int) { ++statuses; });
    kx::DataObject* device = kx::d("project.device")->append(nullptr, QStringLiteral("1001"));
    device->set(nullptr, QStringLiteral("info.can_id"), 1, true);
    helper->setCurrentDeviceDobj(device);

    std::mt19937 rng(42);
    const int rounds = 4000;
    for (int i = 0; i < rounds; ++i) {
        switch (rng() % 8) {
            case 0:
                LinkCommands::send(LinkCommand::setMode(1, int(rng() % 3)));
                break;
            case 1:
                LinkCommands::send(LinkCommand::mitControl(1, {1.0f, 0.5f, 1.0f, 10.0f, 0.5f}));
                break;
            case 2:
                link->startStep(STEP_MOTOR_CTRL_CONTINUOUS);
                break;
            case 3:
                link->startStep(STEP_INIT);
                link->getSerialData("OK\r\n");
                break;
            case 4:
                link->startStep(STEP_GET_DEV_INFO);
                link->getSerialData(announce(0x1000 + rng() % 20, quint8(1 + rng() % 20)));
                break;
            case 5:
                link->getSerialData(feedback(int(rng() % 4)));
                break;
            case 6:
                LinkCommands::send(LinkCommand::jog(1, 1.5, true));
                break;
            default:
                link->startStep(STEP_STOP);
                break;
        }
        // Let queued statuses and writes reach this thread, and now and then give the loop
        // time to conclude a step by answer or time-out.
        if (i % 100 == 99)
            QTest::qWait(25);
        else
            QCoreApplication::processEvents();
        (void)MotorStates::get(1);
        (void)link->deviceTable();
    }
    link->startStep(STEP_STOP);
    QTRY_COMPARE_WITH_TIMEOUT(link->step(), int(STEP_STOP), 5000);
    QVERIFY(statuses > 0);
    QVERIFY(link->deviceCount() <= otaThread::kMaxDevices);
    helper->setCurrentDeviceDobj(nullptr);
    QElapsedTimer join;
    join.start();
    helper->destroyBackends();
    QVERIFY(join.elapsed() < 5000);
    QCOMPARE(linktest::affinityWarnings().load(), 0);
}

LINK_TEST_MAIN(TestLinkStress)
#include "tst_linkstress.moc"
