#include "cli/linksession.h"

#include "cli/cliverb.h"
#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/flows/detectflow.h"
#include "link/linkwait.h"
#include "link/motionguard.h"
#include "link/motorframes.h"
#include "link/motorstates.h"
#include "link/otathread.h"
#include "link/transport/canbustransport.h"

#include <QCanBus>
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>

namespace {

// A motor answers its identity request and its model query within a few milliseconds.
constexpr int kProbeTimeoutMs = 1000;

void setConfig(const QString& path, const QVariant& value) {
    kx::d().rootDobj()->set(nullptr, path, value, true);
}

}  // namespace

LinkSession::LinkSession()
    : m_portOption(QStringLiteral("port"), tr("Serial device of the USB-CAN adapter (required)."),
                   tr("device")),
      m_busOption(QStringLiteral("bus"),
                  tr("CAN interface instead of a serial adapter, as PLUGIN:INTERFACE (socketcan:can0, "
                     "virtualcan:tcp://127.0.0.1:35468/can0)."),
                  tr("interface")),
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
    helper->setStatusSink(nullptr);
}

void LinkSession::addOptions(QCommandLineParser* parser) {
    parser->addOption(m_portOption);
    parser->addOption(m_busOption);
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
    const QString bus = parser.value(m_busOption);
    if (!m_port.isEmpty() && !bus.isEmpty()) {
        *error = tr("--port and --bus exclude each other.");
        return false;
    }
    if (!bus.isEmpty()) {
        if (!CanBusTransport::takes(bus)) {
            *error = tr("Not a CAN interface (PLUGIN:INTERFACE with one of %1): %2")
                         .arg(QCanBus::instance()->plugins().join(QStringLiteral(", ")), bus);
            return false;
        }
        m_port = bus;
    }
    if (m_port.isEmpty()) {
        *error = tr("--port or --bus is required.");
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

void LinkSession::statusLine(const QString& line, bool error) {
    m_lines << line;
    if (m_opened && error)
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
    setConfig(QStringLiteral("config.setting.enable_multiple_devices"), m_multi);
    setConfig(QStringLiteral("config.setting.upload_param_on_connected"), false);
    setConfig(QStringLiteral("config.setting.record_write_raw_data"), false);
    setConfig(QStringLiteral("config.setting.record_read_raw_data"), false);
    helper->setStatusSink(this);
    helper->createBackends();
    connect(helper->worker(), &CANWorker::linkStatus, this, [this](int status) { m_statuses << status; });

    DetectFlow::Options options;
    options.address = m_port;
    options.wholeBus = m_multi;
    options.canId = m_canId;
    options.connectOnly = m_noDetection;
    DetectFlow detect(options);
    connect(&detect, &Flow::progress, this, [](const FlowProgress& p) {
        // The flow's own steps worth a line: the named motor was silent, the bus is scanned.
        if (p.text.contains(QLatin1String("CAN ID")))
            printErr(p.text);
    });
    const FlowResult found = detect.run();
    if (!found.ok()) {
        // A port that would not open has told why on the status line already (once), and so
        // has an adapter that could not be set up: a second line would only repeat it.
        const bool explained = std::any_of(m_lines.cbegin(), m_lines.cend(), [](const QString& line) {
            return line.startsWith(QLatin1String("<ERROR>"));
        });
        if (!explained && found.values.value(QStringLiteral("cause")).toString() != QLatin1String("adapter"))
            printErr(found.reason);
        return false;
    }
    if (m_noDetection) {
        m_opened = true;
        m_errors = 0;
        return true;
    }
    // A scan that fell back from a silent named motor detects the whole bus from then on.
    if (m_canId > 0 && !m_multi && devices().size() > 1)
        setConfig(QStringLiteral("config.setting.enable_multiple_devices"), true);
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

int LinkSession::targetId() const {
    return MotionGuard::canIdOf(m_target);
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
    return DetectFlow::connectedDevices();
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
