#include "cli/linksession.h"

#include "cli/cliverb.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/linkwait.h"
#include "link/motionguard.h"
#include "link/motorframes.h"
#include "link/motorstates.h"
#include "link/otathread.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>

namespace {

// Detection is over within a few seconds on a real bench; a full multi-device scan probes
// 144 IDs at 20 ms each, and the adapter fallback may try eleven rates first.
constexpr int kDetectTimeoutMs = 30000;
// A motor answers its identity request and its model query within a few milliseconds.
constexpr int kProbeTimeoutMs = 1000;

void setConfig(const QString& path, const QVariant& value) {
    kx::d().rootDobj()->set(nullptr, path, value, true);
}

}  // namespace

LinkSession::LinkSession()
    : m_portOption(QStringLiteral("port"), tr("Serial device of the USB-CAN adapter (required)."),
                   tr("device")),
      m_baudOption(QStringLiteral("baud"), tr("Line rate of the adapter (default: config.baud_rate)."),
                   tr("rate")),
      m_canIdOption(QStringLiteral("can-id"),
                    tr("CAN ID of the target motor (default: the first one detected)."), tr("id")),
      m_multiOption(QStringLiteral("multi"), tr("Detect every motor on the bus.")),
      m_jsonOption(QStringLiteral("json"), tr("Machine-readable output.")) {}

LinkSession::~LinkSession() {
    Helper* helper = Helper::instance();
    helper->setCurrentDeviceDobj(nullptr);
    if (helper->worker())
        helper->worker()->disconnectPort();
    helper->destroyBackends();
}

void LinkSession::addOptions(QCommandLineParser* parser) {
    parser->addOption(m_portOption);
    parser->addOption(m_baudOption);
    parser->addOption(m_canIdOption);
    parser->addOption(m_multiOption);
    parser->addOption(m_jsonOption);
}

QStringList LinkSession::valuesNotOptions(const QStringList& arguments) {
    QStringList args = arguments;
    for (int i = 1; i < args.size(); ++i) {
        bool isNumber = false;
        args[i].toDouble(&isNumber);
        if (isNumber && args[i].startsWith(QLatin1Char('-')))
            args[i].prepend(QLatin1Char(' '));
    }
    return args;
}

int LinkSession::parseCommandLine(QCommandLineParser* parser, const QStringList& arguments) {
    if (!parser->parse(valuesNotOptions(arguments))) {
        printErr(parser->errorText());
        return CliVerb::kExitUsage;
    }
    if (parser->isSet(QStringLiteral("help"))) {
        printOut(parser->helpText());
        return CliVerb::kExitOk;
    }
    QString error;
    if (!readOptions(*parser, &error)) {
        m_json = parser->isSet(m_jsonOption);
        return usageError(error);
    }
    return -1;
}

bool LinkSession::readOptions(const QCommandLineParser& parser, QString* error) {
    m_port = parser.value(m_portOption);
    if (m_port.isEmpty()) {
        *error = tr("--port is required.");
        return false;
    }
    bool ok = true;
    if (parser.isSet(m_baudOption)) {
        m_baud = parser.value(m_baudOption).toInt(&ok);
        if (!ok || m_baud <= 0) {
            *error = tr("Invalid baud rate: %1").arg(parser.value(m_baudOption));
            return false;
        }
    }
    if (parser.isSet(m_canIdOption)) {
        m_canId = parser.value(m_canIdOption).toInt(&ok, 0);
        if (!ok || m_canId < 1 || m_canId > 127) {
            *error = tr("Invalid CAN ID (1..127): %1").arg(parser.value(m_canIdOption));
            return false;
        }
    }
    m_multi = parser.isSet(m_multiOption);
    m_json = parser.isSet(m_jsonOption);
    return true;
}

void LinkSession::printOut(const QString& text) {
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}

void LinkSession::printErr(const QString& text) {
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void LinkSession::onStatusLine(const QString& line) {
    m_lines << line;
    if (m_opened && line.startsWith(QLatin1String("<ERROR>")))
        ++m_errors;
    // Status lines are not results: stdout stays for what the verb was asked for.
    printErr(line);
}

bool LinkSession::open() {
    Helper* helper = Helper::instance();
    // The user's configuration applies as in the workbench; the options override it.
    if (QFileInfo::exists(QStringLiteral("config.xml")))
        kx::DataManager::readFromXmlFile(nullptr, kx::d("config"), QStringLiteral("config.xml"));
    if (m_baud > 0)
        setConfig(QStringLiteral("config.baud_rate"), m_baud);
    // A target named by CAN ID is probed first; the bus is scanned only when it is silent.
    const bool probeFirst = m_canId > 0 && !m_multi;
    setConfig(QStringLiteral("config.setting.enable_multiple_devices"), m_multi);
    setConfig(QStringLiteral("config.setting.upload_param_on_connected"), false);
    setConfig(QStringLiteral("config.setting.record_write_raw_data"), false);
    setConfig(QStringLiteral("config.setting.record_read_raw_data"), false);
    connect(kx::d("wnd.status.msg"), &kx::DataObject::changed, this,
            [this](QVariant value, QVariant, QObject*) { onStatusLine(value.toString()); });
    helper->createBackends();
    CANWorker* worker = helper->worker();
    connect(worker, &CANWorker::linkStatus, this, [this](int status) { m_statuses << status; });

    worker->connectPort(m_port);
    if (!worker->isConnected()) {
        QCoreApplication::processEvents();  // the port's error box text
        // The port's error went out once already; a second line would only repeat it.
        const bool explained = std::any_of(m_lines.cbegin(), m_lines.cend(), [](const QString& line) {
            return line.startsWith(QLatin1String("<ERROR>"));
        });
        if (!explained)
            printErr(tr("Cannot open %1.").arg(m_port));
        return false;
    }
    otaThread* link = worker->link();
    bool scanAll = m_multi;
    bool scanDone = false;
    bool adapterReady = false;
    // The flags live on this stack frame: the connections must not outlive it (a scan that
    // ends after a time-out would otherwise write into a finished call).
    struct ScopedConnection {
        QMetaObject::Connection connection;
        ~ScopedConnection() { QObject::disconnect(connection); }
    };
    ScopedConnection scanWatch{
        connect(link, &otaThread::scanFinished, this, [&scanDone] { scanDone = true; })};
    // The worker starts the bus scan once the adapter answers; a named target is asked first
    // instead, and in single-device mode its announcement brings its model query along.
    ScopedConnection readyWatch{connect(worker, &CANWorker::linkStatus, this, [&](int status) {
        if (status != OTA_STA_CONNECT_SUCCESS || adapterReady)
            return;
        adapterReady = true;
        if (probeFirst) {
            link->startStep(STEP_STOP);
            link->sendFrame(MotorFrames::identityRequest(quint8(m_canId)));
        }
    })};
    const auto failed = [this] {
        return m_lines.contains(
            QStringLiteral("<ERROR> USB-CAN module configuration failed, please check physical device!"));
    };
    const auto modelKnown = [this] {
        const QList<kx::DataObject*> found = devices();
        return !found.isEmpty() && MotorStates::get(MotionGuard::canIdOf(found.first())).modelKnown;
    };
    bool finished = false;
    if (probeFirst) {
        finished = waitUntil([&] { return failed() || adapterReady; }, kDetectTimeoutMs);
        if (finished && !failed()) {
            waitUntil([&] { return findDevice(m_canId) != nullptr; }, kProbeTimeoutMs);
            if (findDevice(m_canId)) {
                waitUntil(modelKnown, kProbeTimeoutMs);
            } else {
                printErr(tr("CAN ID %1 did not answer: scanning the bus.").arg(m_canId));
                setConfig(QStringLiteral("config.setting.enable_multiple_devices"), true);
                scanAll = true;
                link->resetDeviceCount();
                link->startStep(STEP_GET_DEV_INFO);
                finished = waitUntil([&] { return failed() || scanDone; }, kDetectTimeoutMs);
            }
        }
    } else {
        const auto detected = [&] {
            if (failed())
                return true;
            if (scanAll)
                return scanDone;
            // One motor: done once it is registered and its model reply set the ranges.
            return modelKnown();
        };
        finished = waitUntil(detected, kDetectTimeoutMs);
        if (!scanAll && !devices().isEmpty() && !modelKnown())
            waitUntil(modelKnown, kProbeTimeoutMs);
    }
    if (failed() || !worker->isConnected())
        return false;
    if (devices().isEmpty()) {
        printErr(finished ? tr("No motor answered on %1.").arg(m_port)
                          : tr("Detection timed out on %1.").arg(m_port));
        return false;
    }
    m_target = m_canId > 0 ? findDevice(m_canId) : devices().first();
    if (!m_target) {
        printErr(tr("No motor with CAN ID %1 on %2.").arg(m_canId).arg(m_port));
        return false;
    }
    helper->setCurrentDeviceDobj(m_target);
    m_opened = true;
    m_errors = 0;
    return true;
}

kx::DataObject* LinkSession::findDevice(int canId) const {
    for (kx::DataObject* device : devices()) {
        if (MotionGuard::canIdOf(device) == canId)
            return device;
    }
    return nullptr;
}

bool LinkSession::queryModel(quint8 canId) {
    if (MotorStates::get(canId).modelKnown)
        return true;
    Helper::instance()->worker()->link()->sendFrame(MotorFrames::modelQuery(canId));
    return waitUntil([canId] { return MotorStates::get(canId).modelKnown; }, kProbeTimeoutMs);
}

QList<kx::DataObject*> LinkSession::devices() const {
    QList<kx::DataObject*> list;
    for (kx::DataObject* device : kx::d("project.device")->cdobjs()) {
        if (device->r(QStringLiteral("_connected"))->getBool())
            list << device;
    }
    return list;
}

bool LinkSession::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    return LinkWait::until(done, timeoutMs) == LinkWait::Result::Done;
}

int LinkSession::waitStatus(const QList<int>& statuses, int timeoutMs) {
    const int from = m_statuses.size();
    int found = -1;
    waitUntil(
        [&] {
            for (int i = from; i < m_statuses.size(); ++i) {
                if (statuses.contains(m_statuses[i])) {
                    found = m_statuses[i];
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

void LinkSession::flush() {
    // Writes from the link thread arrive queued; give them a moment to reach the port.
    LinkCommands::waitProcessing(100);
}

int LinkSession::fail(const QString& reason) {
    printErr(reason);
    addResult(QStringLiteral("error"), reason);
    return finish(false);
}

int LinkSession::usageError(const QString& reason) {
    printErr(reason);
    if (m_json) {
        const QJsonObject out{{QStringLiteral("ok"), false}, {QStringLiteral("error"), reason}};
        printOut(QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Compact)));
    }
    return CliVerb::kExitUsage;
}

int LinkSession::finish(bool ok) {
    ok = ok && m_errors == 0;
    if (m_json) {
        QJsonObject out;
        out.insert(QStringLiteral("ok"), ok);
        out.insert(QStringLiteral("port"), m_port);
        out.insert(QStringLiteral("status"), QJsonArray::fromStringList(m_lines));
        for (const QJsonValue& pair : m_results)
            out.insert(pair.toArray().at(0).toString(), pair.toArray().at(1));
        printOut(QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Compact)));
    }
    return ok ? CliVerb::kExitOk : CliVerb::kExitFailure;
}
