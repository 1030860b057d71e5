// The Records page, the device info page's last result and the status bar's count, on a real
// station file in the case's working directory.
#include "app/apptest.h"
#include "app/editor/editor.h"
#include "app/editor/titlewidget.h"
#include "app/shell/mainwindow.h"
#include "app/shell/statusbar.h"
#include "app/shell/toolwidget.h"
#include "records/recordsstore.h"
#include "records/stationrecords.h"
#include "workbench/device/deviceinfopage.h"
#include "workbench/records/lastrunlabel.h"
#include "workbench/records/paramcompareview.h"
#include "workbench/records/recordspage.h"
#include "workbench/records/rundetailview.h"
#include "workbench/records/runtablemodel.h"
#include "workbench/records/timelinemodel.h"
#include "workbench/workbenchscreens.h"

#include <QAbstractItemModelTester>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>

namespace {

const QDateTime kT0 = QDateTime(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC);
constexpr quint64 kMotor = 0x3a10c5e700001001ull;

// A parameter table as the runner attaches it.
Attachment table(double maxSpeed) {
    QJsonArray entries;
    entries.append(QJsonObject{{"code", 0x1001},
                               {"group", 1},
                               {"name", "AppCodeVersion"},
                               {"type", "string"},
                               {"value", "1.4.0"},
                               {"writable", false}});
    entries.append(QJsonObject{{"code", 0x2008},
                               {"group", 2},
                               {"name", "limit_spd"},
                               {"type", "float"},
                               {"value", QString::number(maxSpeed)},
                               {"writable", true}});
    return {QStringLiteral("step02-params.json"), QStringLiteral("application/json"),
            QJsonDocument(entries).toJson()};
}

RunRecord runOf(int n, const QDateTime& start, quint64 mcu, const QString& firmware, double maxSpeed,
                Outcome outcome) {
    RunRecord run;
    run.uuid = QStringLiteral("00000000-0000-4000-8000-%1").arg(n, 12, 10, QLatin1Char('0'));
    run.planName = QStringLiteral("joint-acceptance");
    run.station = QStringLiteral("bench-3");
    run.startUtc = start;
    run.endUtc = start.addSecs(40);
    MotorRecord m;
    m.mcuId = mcu;
    m.canId = 1;
    m.firmware = firmware;
    m.paramSha256 = QString::number(maxSpeed).leftJustified(64, QLatin1Char('0'));
    StepRecord detect;
    detect.index = 1;
    detect.title = QStringLiteral("detect");
    StepRecord params;
    params.index = 2;
    params.title = QStringLiteral("read parameters");
    params.outcome = outcome;
    params.attachments << table(maxSpeed);
    m.steps << detect << params;
    run.motors << m;
    run.settleOutcomes();
    return run;
}

// The station's file in the case's working directory, holding the runs.
void keep(const QVector<RunRecord>& runs, const RecordsLocation& server = RecordsLocation()) {
    RecordsSettings settings;
    settings.local = RecordsLocation::sqlite(QDir::current().filePath(QStringLiteral("records.db")));
    settings.server = server;
    StationRecords::instance()->configure(settings);
    for (const RunRecord& run : runs) {
        QString error;
        QVERIFY2(StationRecords::instance()->record(run, &error), qPrintable(error));
    }
}

}  // namespace

class TestRecordsPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { registerWorkbenchScreens(); }

    void searchesTimelineAndCompares() {
        CaseEnvironment env;
        keep({runOf(1, kT0, kMotor, "1.4.0", 10, Outcome::Pass),
              runOf(2, kT0.addDays(1), kMotor, "1.4.0", 10, Outcome::Fail),
              runOf(3, kT0.addDays(2), kMotor, "1.5.0", 12, Outcome::Pass),
              runOf(4, kT0.addDays(3), 0x77, "1.5.0", 12, Outcome::Pass)});
        RecordsPage page;
        QAbstractItemModelTester runsTester(page.runs());
        QAbstractItemModelTester timelineTester(page.timeline());
        QSignalSpy searched(&page, &RecordsPage::searched);
        QVERIFY(searched.wait(20000));
        QCOMPARE(page.runs()->rowCount(), 4);
        QVERIFY2(page.statusText().contains(QLatin1String("4")), qPrintable(page.statusText()));

        // A motor's search also shows its timeline, newest first, the changes marked.
        page.findChild<QLineEdit*>(QStringLiteral("edtMcuId"))->setText(QStringLiteral("0x3A10C5E700001001"));
        QSignalSpy timeline(&page, &RecordsPage::timelineShown);
        page.findChild<QPushButton*>(QStringLiteral("btnSearch"))->click();
        QVERIFY(searched.wait(20000));
        QCOMPARE(page.runs()->rowCount(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(timeline.size(), 1, 20000);
        TimelineModel* model = page.timeline();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->runAt(0)->runUuid, runOf(3, kT0, 0, "", 0, Outcome::Pass).uuid);
        QVERIFY(model->data(model->index(0, TimelineModel::Firmware), Qt::BackgroundRole).isValid());
        QVERIFY(model->data(model->index(0, TimelineModel::Parameters), Qt::BackgroundRole).isValid());
        QVERIFY(!model->data(model->index(1, TimelineModel::Firmware), Qt::BackgroundRole).isValid());
        QCOMPARE(model->data(model->index(1, TimelineModel::Result)).toString(), QStringLiteral("FAIL"));

        // A run's details, and its report written for the browser.
        QSignalSpy shown(&page, &RecordsPage::runShown);
        page.runsView()->selectRow(1);
        QVERIFY(shown.wait(20000));
        QCOMPARE(page.detail()->run().uuid, runOf(2, kT0, 0, "", 0, Outcome::Pass).uuid);
        const QString report = page.writeReport();
        QFile html(report);
        QVERIFY(html.open(QIODevice::ReadOnly));
        QVERIFY(html.readAll().contains("joint-acceptance"));

        // The oldest and the newest run's tables: the writable entry that changed.
        QSignalSpy compared(&page, &RecordsPage::compared);
        page.timelineView()->selectRow(0);
        page.timelineView()->selectRow(2);
        QVERIFY(page.findChild<QPushButton*>(QStringLiteral("btnCompareParams"))->isEnabled());
        page.compareSelected();
        QVERIFY(compared.wait(20000));
        QTableWidget* diff = page.compare()->table();
        QCOMPARE(diff->rowCount(), 1);
        QCOMPARE(diff->item(0, 1)->text(), QStringLiteral("limit_spd"));
        QCOMPARE(diff->item(0, 2)->text(), QStringLiteral("10"));
        QCOMPARE(diff->item(0, 3)->text(), QStringLiteral("12"));
        QVERIFY(page.compare()->summary().contains(QLatin1String("1 writable")));
    }

    void unreachableServerLeavesTheStationsRuns() {
        CaseEnvironment env;
        RecordsLocation nowhere;
        nowhere.kind = RecordsLocation::Kind::Postgres;
        nowhere.host = env.path(QStringLiteral("no-server"));
        nowhere.database = QStringLiteral("line");
        keep({runOf(5, kT0, kMotor, "1.4.0", 10, Outcome::Pass)}, nowhere);
        RecordsPage page;
        QSignalSpy searched(&page, &RecordsPage::searched);
        QVERIFY(searched.wait(30000));
        QCOMPARE(page.runs()->rowCount(), 1);
        QVERIFY2(page.statusText().contains(QLatin1String("cannot be reached")),
                 qPrintable(page.statusText()));
        // Kept here and not on the server yet: marked.
        QVERIFY(page.runs()
                    ->data(page.runs()->index(0, RunTableModel::Run))
                    .toString()
                    .endsWith(QLatin1Char('*')));
    }

    void deviceInfoShowsTheLastRun() {
        CaseEnvironment env;
        keep({runOf(6, kT0, kMotor, "1.4.0", 10, Outcome::Pass),
              runOf(7, kT0.addDays(1), kMotor, "1.4.0", 10, Outcome::Fail)});
        Editor editor;
        Helper::instance()->setCurrentDeviceDobj(addDevice(QString::number(kMotor, 16), 1));
        kx::d(QStringLiteral("trigger.device.info.new"))->trigger();
        auto* info = qobject_cast<DeviceInfoPage*>(editor.page(0));
        QVERIFY(info);
        auto* last = info->findChild<LastRunLabel*>();
        QVERIFY(last);
        QTRY_VERIFY_WITH_TIMEOUT(!last->isHidden(), 20000);
        QVERIFY2(last->text().contains(QLatin1String("FAIL")) &&
                     last->text().contains(RunTableModel::timeText(kT0.addDays(1))),
                 qPrintable(last->text()));

        // A new run kept by this program shows at once.
        QSignalSpy looked(last, &LastRunLabel::looked);
        QString error;
        QVERIFY(StationRecords::instance()->record(
            runOf(8, kT0.addDays(2), kMotor, "1.4.0", 10, Outcome::Pass), &error));
        QTRY_VERIFY_WITH_TIMEOUT(last->text().contains(QLatin1String("PASS")), 20000);

        // "History" opens the Records page on this motor.
        emit last->historyAsked();
        QCOMPARE(editor.count(), 2);
        auto* records = qobject_cast<RecordsPage*>(editor.page(1));
        QVERIFY(records);
        QCOMPARE(editor.title(1)->text().startsWith(QLatin1String("Records")), true);
        QSignalSpy timeline(records, &RecordsPage::timelineShown);
        QVERIFY(timeline.wait(20000));
        QCOMPARE(records->timeline()->rowCount(), 3);

        // A motor the records do not know shows nothing.
        Helper::instance()->setCurrentDeviceDobj(addDevice(QStringLiteral("abc"), 2));
        kx::d(QStringLiteral("trigger.device.info.new"))->trigger();
        auto* other = qobject_cast<DeviceInfoPage*>(editor.page(editor.count() - 1));
        QVERIFY(other);
        auto* none = other->findChild<LastRunLabel*>();
        QSignalSpy noneLooked(none, &LastRunLabel::looked);
        QVERIFY(noneLooked.wait(20000));
        QVERIFY(none->isHidden());
    }

    void statusBarCountsWaitingRuns() {
        CaseEnvironment env;
        StatusBar bar;
        kx::DataObject* node = kx::d(QStringLiteral("wnd.status.records_waiting"));
        QVERIFY(!node->isEmpty());
        node->set(nullptr, 3);
        QCOMPARE(bar.waitingText(), QStringLiteral("3 runs waiting to be sent"));
        node->set(nullptr, 0);
        QVERIFY(bar.waitingText().isEmpty());
        node->set(nullptr, -1);
        QVERIFY(bar.waitingText().isEmpty());
    }

    void deviceTabOpensThePage() {
        CaseEnvironment env;
        keep({});
        MainWindow window;
        auto* button = window.toolWidget()->findChild<QPushButton*>(QStringLiteral("btnRecords"));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("Records"));
        button->click();
        Editor* editor = window.editor();
        QCOMPARE(editor->count(), 1);
        QVERIFY(qobject_cast<RecordsPage*>(editor->page(0)));
        // Asked again, the open page comes to the front instead of a second one.
        button->click();
        QCOMPARE(editor->count(), 1);
    }
};

QTEST_MAIN(TestRecordsPage)
#include "tst_recordspage.moc"
