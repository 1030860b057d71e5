#include "workbench/records/recordsscreens.h"

#include "app/shell/shellregistry.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "records/stationrecords.h"
#include "workbench/records/recordspage.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtGlobal>

static void initRecordsResources() {
    Q_INIT_RESOURCE(records);
}

namespace {

const QString kWaitingNode = QStringLiteral("wnd.status.records_waiting");
const QString kTrigger = QStringLiteral("trigger.records.new");

// Once the event loop runs, config.xml has been read: the server it names, if any, gets this
// station's runs from now on.
void startSending() {
    StationRecords* records = StationRecords::instance();
    RecordsSettings settings;
    QString error;
    if (!RecordsSettings::resolve(kx::d(QStringLiteral("config.records.url"))->getString(), QString(),
                                  &settings, &error)) {
        Helper::instance()->postStatus(error, QStringLiteral("ERROR"));
        return;
    }
    records->configure(settings);
    QObject::connect(records, &StationRecords::waitingChanged, records,
                     [](int count) { kx::d(kWaitingNode)->set(nullptr, count); });
    QObject::connect(records, &StationRecords::sendFailed, records, [](const QString& reason) {
        Helper::instance()->postStatus(
            QCoreApplication::translate("RecordsScreens", "Runs cannot be sent to the records server: %1")
                .arg(reason),
            QStringLiteral("ERROR"));
    });
    QObject::connect(records, &StationRecords::sendRecovered, records, [] {
        Helper::instance()->postStatus(
            QCoreApplication::translate("RecordsScreens", "The records server can be reached again."));
    });
    records->startSending();
}

}  // namespace

void registerRecordsScreens() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    initRecordsResources();
    kx::d().regist(nullptr, kWaitingNode)->set(nullptr, -1);

    ShellRegistry::PageEntry page;
    page.kind = QLatin1String(RecordsPage::kKind);
    page.title = {"RecordsScreens", QT_TRANSLATE_NOOP("RecordsScreens", "Records")};
    page.trigger = kTrigger;
    page.needsDevice = false;
    page.factory = [](QWidget* parent) { return new RecordsPage(parent); };
    ShellRegistry::addPage(page);

    ShellRegistry::ActionEntry action;
    action.tab = QStringLiteral("device");
    action.objectName = QStringLiteral("btnRecords");
    action.text = {"RecordsScreens", QT_TRANSLATE_NOOP("RecordsScreens", "Records")};
    action.icon = QStringLiteral(":/images/records.svg");
    action.order = 50;
    action.trigger = kTrigger;
    ShellRegistry::addAction(action);

    QTimer::singleShot(0, QCoreApplication::instance(), [] { startSending(); });
}

void openRecordsFor(kx::DataObject* device) {
    if (device && !device->isEmpty())
        Helper::instance()->setCurrentDeviceDobj(device);
    kx::d(kTrigger)->trigger();
}
