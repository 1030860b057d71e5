#include "cli/estopverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/linkstates.h"
#include "link/motionguard.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("EstopVerb", text);
}

const CliVerbRegistrar<EstopVerb> registrar;

constexpr int kConfirmTimeoutMs = 3000;

}  // namespace

QString EstopVerb::name() const {
    return QStringLiteral("estop");
}

QString EstopVerb::synopsis() const {
    return QStringLiteral(
        "estop [--all] --port <device> [--baud <rate>]|--bus <plugin:interface> [--can-id <id>] [--json]");
}

QString EstopVerb::description() const {
    return tr("Brake the target motor at once, or every motor detected with --all.");
}

int EstopVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    LinkSession session;
    session.addOptions(&parser);
    const QCommandLineOption allOption(QStringLiteral("all"), tr("Brake every motor on the bus."));
    parser.addOption(allOption);
    if (const int code = session.parseCommandLine(&parser, arguments); code >= 0)
        return code;
    const bool all = parser.isSet(allOption);
    // Every motor means the whole bus is scanned, not just the first motor to answer.
    if (all)
        session.scanWholeBus();
    if (!parser.positionalArguments().isEmpty()) {
        return session.usageError(
            tr("estop takes no arguments: %1").arg(parser.positionalArguments().join(' ')));
    }
    if (!session.open())
        return session.finish(false);

    const QList<kx::DataObject*> targets = all ? session.devices() : QList<kx::DataObject*>{session.target()};
    QList<quint8> ids;
    for (kx::DataObject* device : targets)
        ids << MotionGuard::canIdOf(device);
    Helper* helper = Helper::instance();
    LinkSession::printErr(
        QCoreApplication::translate("EstopVerb", "Braking %n motor(s)...", nullptr, ids.size()));
    MotionGuard::of(helper->worker())->brake(ids);

    bool ok = true;
    QJsonArray motors;
    for (kx::DataObject* device : targets) {
        LinkCommands::send(LinkCommand::setMode(MotionGuard::canIdOf(device), 0));
        const int status =
            session.waitStatus({OTA_STA_BRAKE_MODE_SUCCESS, OTA_STA_BRAKE_MODE_OVER_TIME}, kConfirmTimeoutMs);
        const bool braked = status == OTA_STA_BRAKE_MODE_SUCCESS;
        ok = ok && braked;
        const int canId = MotionGuard::canIdOf(device);
        if (!braked)
            LinkSession::printErr(tr("Motor %1 did not confirm brake mode.").arg(canId));
        motors.append(QJsonObject{{QStringLiteral("can_id"), canId}, {QStringLiteral("braked"), braked}});
    }
    session.addResult(QStringLiteral("motors"), motors);
    return session.finish(ok);
}
