#include "cli/linkverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/linkcommands.h"
#include "link/flows/calibrateflow.h"
#include "link/flows/modeflow.h"
#include "link/flows/setcanidflow.h"
#include "link/flows/zeroflow.h"
#include "link/linkstates.h"
#include "link/motionguard.h"
#include "link/motorstates.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("LinkVerb", text);
}

struct VerbText {
    LinkVerb::Kind kind;
    const char* name;
    const char* arguments;
    const char* description;
};

const VerbText kVerbs[] = {
    {LinkVerb::Kind::Scan, "scan", "", "Detect the motors and list MCU ID, CAN ID and model code of each."},
    {LinkVerb::Kind::Mode, "mode", "reset|motor|brake", "Switch the target into reset, motor or brake mode."},
    {LinkVerb::Kind::RunMode, "run-mode", "<n>", "Write run mode n (0 MIT control ... 8 open loop mode)."},
    {LinkVerb::Kind::Mit, "mit", "<torque> <pos> <vel> <kp> <kd>",
     "Send one MIT control set-point (refused outside the model's ranges)."},
    {LinkVerb::Kind::Sdo, "sdo", "<index> <value> [--uint]",
     "Write one object (float, or unsigned with --uint)."},
    {LinkVerb::Kind::Jog, "jog", "<speed>|stop", "Jog at speed (rad/s), or stop jogging."},
    {LinkVerb::Kind::Zero, "zero", "", "Set the mechanical zero at the present position."},
    {LinkVerb::Kind::ClearAlarm, "clear-alarm", "", "Clear the target's alarm."},
    {LinkVerb::Kind::SetCanId, "set-can-id", "<new>", "Give the target a new CAN ID (1..127)."},
    {LinkVerb::Kind::Calibrate, "calibrate", "", "Run the encoder calibration and follow it to its end."},
};

const VerbText& textOf(LinkVerb::Kind kind) {
    for (const VerbText& v : kVerbs) {
        if (v.kind == kind)
            return v;
    }
    return kVerbs[0];
}

// One registrar for the whole family.
const bool kRegistered = [] {
    for (const VerbText& v : kVerbs)
        CliVerbRegistry::instance().add(std::make_unique<LinkVerb>(v.kind));
    return true;
}();

constexpr int kCalibrationTimeoutMs = 120000;

}  // namespace

LinkVerb::LinkVerb(Kind kind) : m_kind(kind) {}

QString LinkVerb::name() const {
    return QString::fromLatin1(textOf(m_kind).name);
}

QString LinkVerb::synopsis() const {
    QString s = name();
    if (*textOf(m_kind).arguments)
        s += QLatin1Char(' ') + QString::fromLatin1(textOf(m_kind).arguments);
    return s + QStringLiteral(
                   " --port <device> [--baud <rate>]|--bus <plugin:interface> [--can-id <id>] [--multi] "
                   "[--json]");
}

QString LinkVerb::description() const {
    return tr(textOf(m_kind).description);
}

bool LinkVerb::parseArguments(const QStringList& args, QString* error) {
    auto numbers = [&](int count) {
        if (args.size() != count) {
            *error = tr("%1 expects %2 argument(s).").arg(name()).arg(count);
            return false;
        }
        for (const QString& a : args) {
            bool ok = false;
            const double v = a.startsWith(QLatin1String("0x")) ? double(a.toUInt(&ok, 16)) : a.toDouble(&ok);
            if (!ok) {
                *error = tr("Not a number: %1").arg(a);
                return false;
            }
            m_numbers << v;
        }
        return true;
    };
    // Indices, modes and CAN IDs travel as whole numbers of a fixed width: a fraction or a
    // value past the width would be cut into a different number, not refused.
    auto whole = [&](int i, double min, double max) {
        const double v = m_numbers.value(i);
        if (!(v == std::floor(v) && v >= min && v <= max)) {
            *error =
                tr("%1 expects a whole number from %2 to %3: %4").arg(name()).arg(min).arg(max).arg(args[i]);
            return false;
        }
        return true;
    };
    switch (m_kind) {
        case Kind::Scan:
        case Kind::Zero:
        case Kind::ClearAlarm:
        case Kind::Calibrate:
            return numbers(0);
        case Kind::Mode:
            m_word = args.value(0);
            if (args.size() != 1 || !QStringList{"reset", "motor", "brake"}.contains(m_word)) {
                *error = tr("mode expects reset, motor or brake.");
                return false;
            }
            return true;
        case Kind::RunMode:
            // The motors know run modes 0 to 8; any other byte would be stored as it is.
            return numbers(1) && whole(0, 0, 8);
        case Kind::SetCanId:
            return numbers(1) && whole(0, 1, 127);
        case Kind::Mit:
            return numbers(5);
        case Kind::Sdo:
            return numbers(2) && whole(0, 0, 0xFFFF);
        case Kind::Jog:
            if (args.size() == 1 && args[0] == QLatin1String("stop")) {
                m_word = args[0];
                return true;
            }
            return numbers(1);
    }
    return false;
}

int LinkVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    LinkSession session;
    session.addOptions(&parser);
    const QCommandLineOption uintOption(QStringLiteral("uint"), tr("Send the value as an unsigned integer."));
    if (m_kind == Kind::Sdo)
        parser.addOption(uintOption);
    parser.addPositionalArgument(QStringLiteral("arguments"), QString::fromLatin1(textOf(m_kind).arguments));
    if (const int code = session.parseCommandLine(&parser, arguments); code >= 0)
        return code;
    QString error;
    m_uint = m_kind == Kind::Sdo && parser.isSet(uintOption);
    if (!parseArguments(parser.positionalArguments(), &error))
        return session.usageError(error);
    if (!session.open())
        return session.finish(false);
    return act(&session);
}

int LinkVerb::act(LinkSession* s) {
    switch (m_kind) {
        case Kind::Scan:
            return scan(s);
        case Kind::Mode: {
            const ModeFlow::Mode mode = m_word == QLatin1String("motor")   ? ModeFlow::Mode::Motor
                                        : m_word == QLatin1String("reset") ? ModeFlow::Mode::Reset
                                                                           : ModeFlow::Mode::Brake;
            return finishFlow(s, ModeFlow(s->targetId(), mode).run());
        }
        case Kind::RunMode: {
            const bool ok = LinkCommands::send(LinkCommand::setRunMode(s->targetId(), int(m_numbers[0])));
            s->flush();
            return s->finish(ok);
        }
        case Kind::Mit: {
            // Set-points are checked and scaled against the target's own ranges.
            s->queryModel(s->targetId());
            MotorFrames::MitSetpoints sp;
            sp.torque = float(m_numbers[0]);
            sp.position = float(m_numbers[1]);
            sp.velocity = float(m_numbers[2]);
            sp.kp = float(m_numbers[3]);
            sp.kd = float(m_numbers[4]);
            const bool ok = LinkCommands::send(LinkCommand::mitControl(s->targetId(), sp));
            s->flush();
            return s->finish(ok);
        }
        case Kind::Sdo: {
            const bool ok = LinkCommands::send(
                m_uint ? LinkCommand::sdoUint(s->targetId(), int(m_numbers[0]), m_numbers[1])
                       : LinkCommand::sdoFloat(s->targetId(), int(m_numbers[0]), m_numbers[1]));
            s->flush();
            return s->finish(ok);
        }
        case Kind::Jog: {
            const bool stop = m_word == QLatin1String("stop");
            if (!stop)
                s->queryModel(s->targetId());
            const bool ok =
                LinkCommands::send(LinkCommand::jog(s->targetId(), stop ? 0.0 : m_numbers[0], !stop));
            s->flush();
            return s->finish(ok);
        }
        case Kind::Zero:
            return finishFlow(s, ZeroFlow(s->targetId()).run());
        case Kind::ClearAlarm: {
            const bool ok = LinkCommands::send(LinkCommand::clearAlarm(s->targetId()));
            s->flush();
            return s->finish(ok);
        }
        case Kind::SetCanId: {
            const FlowResult r = SetCanIdFlow(s->targetId(), int(m_numbers[0])).run();
            s->addResult(QStringLiteral("can_id"),
                         s->target()->r(QStringLiteral("info.can_id"))->get().toInt());
            return finishFlow(s, r);
        }
        case Kind::Calibrate:
            return calibrate(s);
    }
    return s->finish(false);
}

int LinkVerb::scan(LinkSession* s) {
    QJsonArray list;
    for (kx::DataObject* device : s->devices()) {
        const quint64 mcu = device->r(QStringLiteral("info.mcu_id"))->get().toULongLong();
        const quint8 canId = MotionGuard::canIdOf(device);
        const int model = s->queryModel(canId) ? MotorStates::get(canId).modelCode : -1;
        QJsonObject entry;
        entry.insert(QStringLiteral("mcu_id"), QString::number(mcu, 16));
        entry.insert(QStringLiteral("can_id"), canId);
        entry.insert(QStringLiteral("model"), model);
        list.append(entry);
        if (!s->json()) {
            LinkSession::printOut(tr("MCU ID: 0x%1  CAN ID: %2  model: %3")
                                      .arg(QString::number(mcu, 16))
                                      .arg(canId)
                                      .arg(model >= 0 ? QString::number(model) : tr("unknown")));
        }
    }
    s->addResult(QStringLiteral("devices"), list);
    return s->finish(!list.isEmpty());
}

int LinkVerb::calibrate(LinkSession* s) {
    // Progress and result lines are echoed as the link posts them; the flow says how it ended.
    const FlowResult r = CalibrateFlow({s->targetId()}, kCalibrationTimeoutMs).run();
    if (r.ok())
        s->addResult(QStringLiteral("offset"), r.values.value(QStringLiteral("offset")).toDouble());
    return finishFlow(s, r);
}

int LinkVerb::finishFlow(LinkSession* s, const FlowResult& result) {
    if (!result.ok() && !result.reason.isEmpty())
        LinkSession::printErr(result.reason);
    return s->finish(result.ok());
}
