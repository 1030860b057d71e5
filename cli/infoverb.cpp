#include "cli/infoverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/motorstates.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonObject>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("InfoVerb", text);
}

const CliVerbRegistrar<InfoVerb> registrar;

}  // namespace

QString InfoVerb::name() const {
    return QStringLiteral("info");
}

QString InfoVerb::synopsis() const {
    return QStringLiteral(
        "info --port <device> [--baud <rate>]|--bus <plugin:interface> [--can-id <id>] [--multi] [--json]");
}

QString InfoVerb::description() const {
    return tr("Show the target's name, MCU ID, CAN ID and model code.");
}

int InfoVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    LinkSession session;
    session.addOptions(&parser);
    if (const int code = session.parseCommandLine(&parser, arguments); code >= 0)
        return code;
    if (!parser.positionalArguments().isEmpty()) {
        return session.usageError(
            tr("info takes no arguments: %1").arg(parser.positionalArguments().join(' ')));
    }
    if (!session.open())
        return session.finish(false);

    kx::DataObject* target = session.target();
    const quint64 mcu = target->r(QStringLiteral("info.mcu_id"))->get().toULongLong();
    const int canId = qint8(target->r(QStringLiteral("info.can_id"))->get().toInt());
    // The target's own model: asked for unless its reply came in during detection.
    session.queryModel(quint8(canId));
    const MotorState state = MotorStates::get(quint8(canId));
    const int model = state.modelKnown ? state.modelCode : -1;

    const QString name = CANWorker::deviceDisplayName(target);
    session.addResult(QStringLiteral("name"), name);
    session.addResult(QStringLiteral("mcu_id"), QString::number(mcu, 16));
    session.addResult(QStringLiteral("can_id"), canId);
    session.addResult(QStringLiteral("model"), model);
    if (!session.json()) {
        LinkSession::printOut(tr("Name: %1").arg(name));
        LinkSession::printOut(tr("MCU ID: 0x%1").arg(QString::number(mcu, 16)));
        LinkSession::printOut(tr("CAN ID: %1").arg(canId));
        LinkSession::printOut(tr("Model code: %1").arg(model >= 0 ? QString::number(model) : tr("unknown")));
    }
    if (model < 0)
        LinkSession::printErr(tr("The motor did not answer the model query."));
    return session.finish(model >= 0);
}
