// The bus monitor page: its models under QAbstractItemModelTester while records arrive, wrap,
// pause and filter; the page fed by the link's tap through the live trace; saving and opening
// trace files.
#include "framework/data/datamanager.h"
#include "link/helper.h"
#include "link/monitor/tracestore.h"
#include "link/tap/frametap.h"
#include "tests/link/linktest.h"
#include "workbench/monitor/busmonitorpage.h"
#include "workbench/monitor/livetrace.h"
#include "workbench/monitor/statisticsmodel.h"
#include "workbench/monitor/tracemodel.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

TraceRecord frame(TraceRecord::Direction dir, quint32 id, const char* hex, qint64 timeUs) {
    TraceRecord r;
    r.direction = dir;
    r.timeUs = timeUs;
    r.frame.id = id;
    const QByteArray bytes = QByteArray::fromHex(hex);
    r.frame.length = quint8(bytes.size());
    for (int i = 0; i < bytes.size(); ++i)
        r.frame.data[size_t(i)] = quint8(bytes[i]);
    return r;
}

constexpr auto Tx = TraceRecord::Direction::Tx;
constexpr auto Rx = TraceRecord::Direction::Rx;

// i-th record of a small conversation with motor 1 (request, feedback, now and then a fault).
TraceRecord conversation(int i) {
    const qint64 t = 1700000000000000 + qint64(i) * 1000;
    switch (i % 3) {
        case 0:
            return frame(Tx, 0x017FFF01, "7FFF7FFF00000000", t);
        case 1:
            return frame(Rx, 0x028001FD, "8000800080000000", t);
        default:
            return i % 9 == 2 ? frame(Rx, 0x150001FD, "0100000000000000", t)
                              : frame(Rx, 0x028001FD, "8001800080000000", t);
    }
}

QString cell(QAbstractItemModel* model, int row, int column) {
    return model->data(model->index(row, column)).toString();
}

}  // namespace

class TstBusMonitorPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void modelFollowsWrapsAndPauses();
    void filtersWhileRecording();
    void viewThatFellBehindCountsWhatPassed();
    void statisticsModel();
    void pageShowsTheTap();
    void saveWholeOrShownAndOpenBack();
    void unreadableFileKeepsTheLiveTrace();

private:
    std::unique_ptr<linktest::WorkDir> m_dir;
    linktest::RecordingPrompt m_prompt;
};

void TstBusMonitorPage::initTestCase() {
    Helper::instance()->setPrompt(&m_prompt);
}

void TstBusMonitorPage::init() {
    m_dir = std::make_unique<linktest::WorkDir>();
    m_prompt.clear();
    LiveTrace::instance().start();
    LiveTrace::instance().store()->clear();
}

void TstBusMonitorPage::cleanup() {
    m_dir.reset();
}

void TstBusMonitorPage::modelFollowsWrapsAndPauses() {
    TraceStore store(30);
    TraceModel model(&store);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 0);
    for (int i = 0; i < 10; ++i)
        store.append(conversation(i));
    QVERIFY(model.update());
    QCOMPARE(model.rowCount(), 10);
    QCOMPARE(cell(&model, 0, TraceModel::Type), QStringLiteral("MOTOR_CTRL"));
    QCOMPARE(cell(&model, 0, TraceModel::From), QStringLiteral("host"));
    QCOMPARE(cell(&model, 1, TraceModel::From), QStringLiteral("1"));
    QCOMPARE(cell(&model, 1, TraceModel::Identifier), QStringLiteral("028001FD"));
    QCOMPARE(cell(&model, 1, TraceModel::Data), QStringLiteral("80 00 80 00 80 00 00 00"));
    QVERIFY(cell(&model, 2, TraceModel::Fields).startsWith(QStringLiteral("fault=0x00000001")));
    QVERIFY(!model.update());  // nothing new

    // Paused: rows hold still while records keep arriving and wait.
    model.setPaused(true);
    for (int i = 10; i < 25; ++i)
        store.append(conversation(i));
    model.update();
    QCOMPARE(model.rowCount(), 10);
    QCOMPARE(model.waiting(), 15);
    model.setPaused(false);
    QCOMPARE(model.rowCount(), 25);
    QCOMPARE(model.sequenceAt(24), 24u);

    // The ring wraps: the oldest rows leave the view from the top.
    for (int i = 25; i < 45; ++i)
        store.append(conversation(i));
    model.update();
    QCOMPARE(model.rowCount(), 30);
    QCOMPARE(model.sequenceAt(0), 15u);
    QCOMPARE(store.droppedFromStart(), 15u);
    QCOMPARE(model.viewDropped(), 0u);

    // Paused long enough for the ring to wrap under the rows: they say so instead of lying.
    model.setPaused(true);
    for (int i = 45; i < 80; ++i)
        store.append(conversation(i));
    model.update();
    QCOMPARE(model.rowCount(), 30);
    QCOMPARE(cell(&model, 0, TraceModel::Fields), QStringLiteral("(no longer in the trace)"));
    model.setPaused(false);
    QCOMPARE(model.rowCount(), 30);
    QCOMPARE(model.sequenceAt(0), 50u);

    model.reset();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(model.statistics().isEmpty());
}

void TstBusMonitorPage::filtersWhileRecording() {
    TraceStore store(1000);
    TraceModel model(&store);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (int i = 0; i < 9; ++i)
        store.append(conversation(i));
    model.update();
    TraceFilter filter;
    QString error;
    QVERIFY(TraceFilter::parse(QStringLiteral("dir=rx type=FAULT_WARN"), &filter, &error));
    model.setFilter(filter);
    QCOMPARE(model.rowCount(), 1);
    // The filter applies to what arrives next.
    for (int i = 9; i < 27; ++i)
        store.append(conversation(i));
    model.update();
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(TraceFilter::parse(QStringLiteral("80 01"), &filter, &error));
    model.setFilter(filter);
    QCOMPARE(model.rowCount(), 6);  // the feedback frames with data 80 01 (the fault frames' slot)
    model.setFilter(TraceFilter());
    QCOMPARE(model.rowCount(), 27);
}

void TstBusMonitorPage::viewThatFellBehindCountsWhatPassed() {
    TraceStore store(10);
    TraceModel model(&store);
    for (int i = 0; i < 25; ++i)
        store.append(conversation(i));
    model.update();
    QCOMPARE(model.rowCount(), 10);
    QCOMPARE(model.viewDropped(), 15u);
    QCOMPARE(model.statistics().rows().first().records, 10u);  // counted from what the view saw
}

void TstBusMonitorPage::statisticsModel() {
    TraceStatistics statistics;
    StatisticsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (int i = 0; i < 9; ++i)
        statistics.add(conversation(i));
    statistics.add(frame(Tx, 0x0000FD07, "00", 1700000000100000));  // a probe nobody answered
    model.refresh(statistics);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(cell(&model, 0, StatisticsModel::CanId), QStringLiteral("1"));
    QCOMPARE(cell(&model, 0, StatisticsModel::Records), QStringLiteral("9"));
    QCOMPARE(cell(&model, 0, StatisticsModel::Feedback), QStringLiteral("5"));
    QCOMPARE(cell(&model, 0, StatisticsModel::IntervalMin), QStringLiteral("1.000"));
    QCOMPARE(cell(&model, 0, StatisticsModel::IntervalMax), QStringLiteral("3.000"));
    QCOMPARE(cell(&model, 0, StatisticsModel::LastFault), QStringLiteral("0x00000001"));
    statistics.add(frame(Rx, 0x028002FD, "8000800080000000", 1700000000200000));
    model.refresh(statistics);
    QCOMPARE(model.rowCount(), 2);
    statistics.add(frame(Rx, 0x028002FD, "8000800080000000", 1700000000201000));
    model.refresh(statistics);
    QCOMPARE(cell(&model, 1, StatisticsModel::Records), QStringLiteral("2"));
}

void TstBusMonitorPage::pageShowsTheTap() {
    BusMonitorPage page;
    page.resize(1000, 600);
    page.show();
    QAbstractItemModelTester tester(page.traceModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(page.isLive());
    const int before = page.traceModel()->rowCount();
    // What the link publishes reaches the page through the recorder's thread.
    FrameTap& tap = FrameTap::instance();
    CanFrame f;
    f.id = 0x028005FD;
    f.length = 8;
    for (int i = 0; i < 100; ++i)
        tap.publishFrame(TapRecord::Direction::Rx, f, QByteArray());
    tap.publishText(TapRecord::Direction::Tx, "AT+AT\r\n");
    tap.publishGarbage("\x01\x02\x03");
    QTRY_COMPARE_WITH_TIMEOUT(page.traceModel()->rowCount(), before + 102, 10000);
    TraceModel* model = page.traceModel();
    QCOMPARE(cell(model, model->rowCount() - 2, TraceModel::Fields), QStringLiteral("AT+AT"));
    QCOMPARE(cell(model, model->rowCount() - 1, TraceModel::Type), QStringLiteral("SKIPPED"));
    // The view followed the end.
    QTableView* view = page.traceView();
    QTRY_VERIFY(view->rowAt(view->viewport()->height() - 2) == model->rowCount() - 1 ||
                view->rowAt(view->viewport()->height() - 2) == -1);

    // The type filter of the page.
    auto* type = page.findChild<QComboBox*>(QStringLiteral("cmbType"));
    QVERIFY(type);
    type->setCurrentIndex(type->findData(TraceFilter::kSkippedType));
    QCOMPARE(model->rowCount(), 1);
    auto* ids = page.findChild<QLineEdit*>(QStringLiteral("edtCanIds"));
    type->setCurrentIndex(0);
    ids->setText(QStringLiteral("5"));
    QTRY_COMPARE(model->rowCount(), 100);
    ids->clear();
    QTRY_COMPARE(model->rowCount(), before + 102);

    // Pause holds the rows; new records wait.
    auto* pause = page.findChild<QPushButton*>(QStringLiteral("btnPause"));
    pause->setChecked(true);
    for (int i = 0; i < 10; ++i)
        tap.publishFrame(TapRecord::Direction::Rx, f, QByteArray());
    QTRY_COMPARE_WITH_TIMEOUT(model->waiting(), 10, 10000);
    QCOMPARE(model->rowCount(), before + 102);
    pause->setChecked(false);
    QCOMPARE(model->rowCount(), before + 112);

    page.clear();
    QCOMPARE(model->rowCount(), 0);
}

void TstBusMonitorPage::saveWholeOrShownAndOpenBack() {
    TraceStore* live = LiveTrace::instance().store();
    for (int i = 0; i < 30; ++i)
        live->append(conversation(i));
    TraceRecord at;
    at.kind = TraceRecord::Kind::Text;
    at.bytes = "OK\r\n";
    live->append(at);
    BusMonitorPage page;
    QCOMPARE(page.traceModel()->rowCount(), 31);
    QVERIFY(page.saveTo(QStringLiteral("all.log"), false));
    TraceFilter filter;
    QString error;
    QVERIFY(TraceFilter::parse(QStringLiteral("type=FAULT_WARN"), &filter, &error));
    page.traceModel()->setFilter(filter);
    QVERIFY(page.saveTo(QStringLiteral("faults.asc"), true));

    QVERIFY(page.openFrom(QStringLiteral("all.log")));
    QVERIFY(!page.isLive());
    QCOMPARE(page.store()->size(), 30u);         // the AT line has no place in a candump log
    QCOMPARE(page.traceModel()->rowCount(), 4);  // the filter still applies
    page.traceModel()->setFilter(TraceFilter());
    QCOMPARE(page.traceModel()->rowCount(), 30);
    QCOMPARE(cell(page.traceModel(), 28, TraceModel::Fields),
             QStringLiteral("pos=0.000 vel_raw=32768 torque_raw=32768 mode=run faults=-"));
    // Meanwhile the live trace goes on.
    live->append(conversation(30));
    QVERIFY(page.openFrom(QStringLiteral("faults.asc")));
    QCOMPARE(page.store()->size(), 4u);
    page.showLive();
    QVERIFY(page.isLive());
    QCOMPARE(page.traceModel()->rowCount(), 32);
    QVERIFY(m_prompt.boxes().isEmpty());
}

void TstBusMonitorPage::unreadableFileKeepsTheLiveTrace() {
    LiveTrace::instance().store()->append(conversation(0));
    BusMonitorPage page;
    QVERIFY(!page.openFrom(QStringLiteral("missing.log")));
    QVERIFY(page.isLive());
    QCOMPARE(page.traceModel()->rowCount(), 1);
    QCOMPARE(m_prompt.boxes().size(), 1);
    QVERIFY(m_prompt.boxes().first().contains(QStringLiteral("missing.log")));

    // A file with bad lines loads what it can and says what it skipped.
    QFile bad(QStringLiteral("bad.log"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("(1700000000.000100) can0 0300FD01#00 T\nrubbish\n(1700000000.000300) can0 123#00\n");
    bad.close();
    m_prompt.clear();
    QVERIFY(page.openFrom(QStringLiteral("bad.log")));
    QCOMPARE(page.traceModel()->rowCount(), 1);
    QCOMPARE(m_prompt.boxes().size(), 1);
    QVERIFY(m_prompt.boxes().first().contains(QStringLiteral("line 2")));
    QVERIFY(!page.saveTo(QStringLiteral("no/such/dir/x.log"), false));
}

QTEST_MAIN(TstBusMonitorPage)
#include "tst_busmonitorpage.moc"
