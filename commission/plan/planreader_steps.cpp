// The settings of each step kind (the file, the plan and the limits are in planreader.cpp).

#include "commission/plan/planreader.h"

#include "commission/plan/yamlmap.h"
#include "link/canprotocol.h"
#include "link/param/parambackup.h"

#include <QFileInfo>
#include <QSet>

#include <yaml-cpp/yaml.h>

#include <cmath>

namespace {

constexpr int kMaxCanId = 127;
constexpr double kMaxSettleSeconds = 600;
constexpr double kMaxCaptureSeconds = 600;
// Bounds what one capture may hold in memory and in the report.
constexpr int kMaxCaptureSamples = 1000000;
constexpr double kMaxWaitSeconds = 3600;
constexpr double kMaxEstopSeconds = 60;
// The firmware transfer's own limit on an image.
constexpr qint64 kMaxImageBytes = 524288;

const QStringList kMeasures = {
    QStringLiteral("peak"), QStringLiteral("rms"),          QStringLiteral("mean"),    QStringLiteral("min"),
    QStringLiteral("max"),  QStringLiteral("peak_to_peak"), QStringLiteral("rms_diff")};
const QStringList kQuantities = {QStringLiteral("position"), QStringLiteral("velocity"),
                                 QStringLiteral("torque")};

}  // namespace

bool PlanReader::readSettings(const QString& kind, YamlMap& map, const Context& context,
                              StepSettings* settings) {
    PlanProblems* problems = context.problems;
    const int before = problems->size();
    if (kind == QLatin1String("detect")) {
        *settings = readDetect(map);
    } else if (kind == QLatin1String("identify")) {
        *settings = readIdentify(map);
    } else if (kind == QLatin1String("set-can-id")) {
        *settings = readSetCanId(map);
    } else if (kind == QLatin1String("flash")) {
        *settings = readFlash(map, context);
    } else if (kind == QLatin1String("params")) {
        *settings = readParams(map, context);
    } else if (kind == QLatin1String("zero")) {
        *settings = ZeroStep{};
    } else if (kind == QLatin1String("calibrate")) {
        *settings = readCalibrate(map);
    } else if (kind == QLatin1String("move")) {
        *settings = readMove(map);
    } else if (kind == QLatin1String("capture")) {
        *settings = readCapture(map);
    } else if (kind == QLatin1String("estop")) {
        *settings = EstopStep{
            map.duration(QStringLiteral("within"), kMaxEstopSeconds, YamlMap::Need::Required).value_or(0)};
    } else if (kind == QLatin1String("prompt")) {
        PromptStep prompt;
        prompt.text = map.text(QStringLiteral("text"), YamlMap::Need::Required).value_or(QString()).trimmed();
        if (prompt.text.isEmpty() && map.has(QStringLiteral("text")))
            problems->add(map.at(QStringLiteral("text")), tr("a prompt needs a text to show"));
        *settings = prompt;
    } else if (kind == QLatin1String("wait")) {
        *settings = WaitStep{
            map.duration(QStringLiteral("duration"), kMaxWaitSeconds, YamlMap::Need::Required).value_or(0)};
    }
    return problems->size() == before;
}

DetectStep PlanReader::readDetect(YamlMap& map) {
    DetectStep detect;
    if (map.has(QStringLiteral("motors"))) {
        if (auto limit = readLimit(map, QStringLiteral("motors"), true)) {
            // A run never passes on an empty bus, whatever the plan allows.
            if (limit->hasHigh && limit->high < 1) {
                map.problems()->add(
                    map.at(QStringLiteral("motors")),
                    tr("motors must allow at least one motor: a run never passes on an empty bus"));
            } else if (limit->hasLow && limit->low > kMaxCanId) {
                map.problems()->add(map.at(QStringLiteral("motors")),
                                    tr("a bus holds at most %1 motors").arg(kMaxCanId));
            } else {
                detect.motors = limit;
            }
        }
    }
    detect.models = readModels(map, QStringLiteral("models"));
    return detect;
}

IdentifyStep PlanReader::readIdentify(YamlMap& map) {
    IdentifyStep identify;
    identify.models = readModels(map, QStringLiteral("models"));
    identify.firmwareEntry = map.text(QStringLiteral("firmware")).value_or(QString()).trimmed();
    const YAML::Node entries = map.value(QStringLiteral("entries"));
    if (entries.IsDefined()) {
        YamlMap checks(entries, tr("entries"), map.problems(), map.at(QStringLiteral("entries")));
        if (checks.isMap()) {
            for (auto it = entries.begin(); it != entries.end(); ++it) {
                const QString name = QString::fromStdString(it->first.Scalar());
                checks.has(name);  // every entry name is allowed here
                if (auto check = readTextCheck(it->second, name, map.problems(), checks.at(name)))
                    identify.entries.append({name, *check});
            }
        }
    }
    return identify;
}

SetCanIdStep PlanReader::readSetCanId(YamlMap& map) {
    SetCanIdStep step;
    const QString kId = QStringLiteral("id"), kNext = QStringLiteral("next_free");
    if (map.has(kId) == map.has(kNext)) {
        map.problems()->add(map.has(kId) ? map.at(kNext) : map.at(kId),
                            tr("set-can-id needs either \"id\" or \"next_free\" (the first ID to try)"));
        return step;
    }
    step.id = map.integer(kId, 1, kMaxCanId).value_or(-1);
    step.nextFree = map.integer(kNext, 1, kMaxCanId).value_or(-1);
    return step;
}

FlashStep PlanReader::readFlash(YamlMap& map, const Context& context) {
    FlashStep flash;
    if (const auto image = map.text(QStringLiteral("image"), YamlMap::Need::Required)) {
        flash.image = resolve(context.folder, *image);
        const QFileInfo info(flash.image);
        const PlanPosition at = map.at(QStringLiteral("image"));
        if (!info.isFile() || !info.isReadable())
            map.problems()->add(at, tr("no readable firmware image at %1").arg(flash.image));
        else if (info.size() == 0 || info.size() > kMaxImageBytes)
            map.problems()->add(at, tr("a firmware image holds 1 to %1 bytes; %2 has %3")
                                        .arg(kMaxImageBytes)
                                        .arg(flash.image)
                                        .arg(info.size()));
    }
    flash.version =
        map.text(QStringLiteral("version"), YamlMap::Need::Required).value_or(QString()).trimmed();
    flash.versionEntry =
        map.text(QStringLiteral("version_entry"), YamlMap::Need::Required).value_or(QString()).trimmed();
    return flash;
}

ParamsStep PlanReader::readParams(YamlMap& map, const Context& context) {
    ParamsStep params;
    if (const auto profile = map.text(QStringLiteral("profile"))) {
        params.profile = resolve(context.folder, *profile);
        QString error;
        if (!ParamBackup::load(params.profile, &error))
            map.problems()->add(map.at(QStringLiteral("profile")),
                                tr("cannot use the profile %1: %2").arg(params.profile, error));
    }
    if (const auto save = map.flag(QStringLiteral("save"))) {
        params.save = *save;
        if (params.profile.isEmpty())
            map.problems()->add(map.at(QStringLiteral("save")),
                                tr("save applies to a profile; this step has none"));
    }
    const YAML::Node check = map.value(QStringLiteral("check"));
    if (check.IsDefined()) {
        YamlMap checks(check, tr("check"), map.problems(), map.at(QStringLiteral("check")));
        if (checks.isMap()) {
            for (auto it = check.begin(); it != check.end(); ++it) {
                const QString entry = QString::fromStdString(it->first.Scalar());
                checks.has(entry);
                if (auto limit = readLimit(checks, entry))
                    params.checks.append({entry, *limit});
            }
        }
    }
    if (params.profile.isEmpty() && !check.IsDefined())
        map.problems()->add(map.keyAt(QStringLiteral("step")),
                            tr("a params step needs a profile to apply, entries to check, or both"));
    return params;
}

CalibrateStep PlanReader::readCalibrate(YamlMap& map) {
    CalibrateStep calibrate;
    if (map.has(QStringLiteral("offset")))
        calibrate.offset = readLimit(map, QStringLiteral("offset"));
    return calibrate;
}

MoveStep PlanReader::readMove(YamlMap& map) {
    MoveStep move;
    PlanProblems* problems = map.problems();
    const QString kMode = QStringLiteral("mode");
    const std::optional<QString> mode = map.text(kMode, YamlMap::Need::Required);
    QString controlled;  // the feedback quantity the target is for
    if (mode) {
        const QStringList modes = {QStringLiteral("mit"), QStringLiteral("position"),
                                   QStringLiteral("velocity"), QStringLiteral("current")};
        const int at = modes.indexOf(mode->trimmed());
        if (at < 0) {
            problems->add(map.at(kMode), tr("mode must be one of %1").arg(modes.join(QStringLiteral(", "))));
        } else {
            move.mode = MoveMode(at);
            if (move.mode == MoveMode::Mit || move.mode == MoveMode::Position)
                controlled = QStringLiteral("position");
            else if (move.mode == MoveMode::Velocity)
                controlled = QStringLiteral("velocity");
        }
    }
    const std::optional<double> target = map.number(QStringLiteral("target"), YamlMap::Need::Required);
    move.target = target.value_or(0);
    if (target && mode && move.mode == MoveMode::Mit &&
        (move.target < CanProtocol::kPosMin || move.target > CanProtocol::kPosMax))
        problems->add(
            map.at(QStringLiteral("target")),
            tr("an MIT target lies within %1 .. %2 rad").arg(CanProtocol::kPosMin).arg(CanProtocol::kPosMax));

    const bool mit = mode && move.mode == MoveMode::Mit;
    if (const auto speed = map.number(QStringLiteral("speed"))) {
        if (!mode || move.mode != MoveMode::Position)
            problems->add(map.at(QStringLiteral("speed")), tr("speed applies to position moves only"));
        else if (!(*speed > 0))
            problems->add(map.at(QStringLiteral("speed")), tr("speed must be above 0"));
        else
            move.speed = speed;
    }
    for (const QString& gain : {QStringLiteral("kp"), QStringLiteral("kd")}) {
        const std::optional<double> v =
            map.number(gain, mit ? YamlMap::Need::Required : YamlMap::Need::Optional);
        if (!v)
            continue;
        if (!mit)
            problems->add(map.at(gain), tr("%1 applies to mit moves only").arg(gain));
        else if (*v < 0)
            problems->add(map.at(gain), tr("%1 must not be negative").arg(gain));
        (gain == QLatin1String("kp") ? move.kp : move.kd) = *v;
    }
    move.settleSeconds = map.duration(QStringLiteral("settle"), kMaxSettleSeconds).value_or(1.0);

    const YAML::Node check = map.value(QStringLiteral("check"));
    if (check.IsDefined()) {
        YamlMap checks(check, tr("check"), problems, map.at(QStringLiteral("check")));
        if (checks.isMap()) {
            for (const QString& quantity : kQuantities) {
                if (!checks.has(quantity))
                    continue;
                std::optional<double> implicit;
                if (quantity == controlled && target)
                    implicit = move.target;
                if (auto limit = readLimit(checks, quantity, false, implicit))
                    move.checks.append({quantity, *limit});
            }
            checks.finish();
        }
    }
    return move;
}

CaptureStep PlanReader::readCapture(YamlMap& map) {
    CaptureStep capture;
    PlanProblems* problems = map.problems();
    const QString kChannels = QStringLiteral("channels");
    const YAML::Node channels = map.value(kChannels);
    QSet<QString> keys;
    if (!channels.IsDefined()) {
        map.missing(kChannels);
    } else if (!channels.IsSequence() || channels.size() < 1 || channels.size() > 8) {
        problems->add(map.at(kChannels), tr("channels must be a list of one to eight channels"));
    } else {
        for (size_t i = 0; i < channels.size(); ++i) {
            const PlanPosition at = YamlMap::positionOf(channels[i], map.at(kChannels));
            const auto channel = YamlMap::toText(channels[i], tr("a channel"), problems, at);
            if (!channel)
                continue;
            const QString c = channel->trimmed();
            if (c.isEmpty() || keys.contains(Plan::channelKey(c))) {
                problems->add(at, c.isEmpty() ? tr("a channel needs a name or code")
                                              : tr("channel %1 is listed twice").arg(c));
                continue;
            }
            keys.insert(Plan::channelKey(c));
            capture.channels << c;
        }
    }
    capture.rate = map.integer(QStringLiteral("rate"), 1, 0xFFFF, YamlMap::Need::Required).value_or(0);
    capture.seconds =
        map.duration(QStringLiteral("duration"), kMaxCaptureSeconds, YamlMap::Need::Required).value_or(0);
    if (capture.rate > 0 && capture.seconds > 0 &&
        capture.rate * capture.seconds > double(kMaxCaptureSamples))
        problems->add(
            map.at(QStringLiteral("duration")),
            tr("a capture holds at most %1 samples per channel (rate x duration)").arg(kMaxCaptureSamples));

    const YAML::Node checks = map.value(QStringLiteral("checks"));
    if (!checks.IsDefined())
        return capture;
    if (!checks.IsSequence()) {
        problems->add(map.at(QStringLiteral("checks")), tr("checks must be a list"));
        return capture;
    }
    for (size_t i = 0; i < checks.size(); ++i) {
        YamlMap item(checks[i], tr("capture check %1").arg(i + 1), problems,
                     map.at(QStringLiteral("checks")));
        if (!item.isMap())
            continue;
        CaptureCheck check;
        const int before = problems->size();
        if (const auto measure = item.text(QStringLiteral("measure"), YamlMap::Need::Required)) {
            check.measure = measure->trimmed();
            if (!kMeasures.contains(check.measure))
                problems->add(item.at(QStringLiteral("measure")),
                              tr("measure must be one of %1").arg(kMeasures.join(QStringLiteral(", "))));
        }
        const bool difference = check.measure == QLatin1String("rms_diff");
        if (difference) {
            const YAML::Node pair = item.value(QStringLiteral("channels"));
            if (!pair.IsSequence() || pair.size() != 2) {
                problems->add(item.at(QStringLiteral("channels")),
                              tr("rms_diff needs \"channels\" with two channels"));
            } else {
                for (size_t k = 0; k < 2; ++k) {
                    if (auto c = YamlMap::toText(
                            pair[k], tr("a channel"), problems,
                            YamlMap::positionOf(pair[k], item.at(QStringLiteral("channels")))))
                        check.channels << c->trimmed();
                }
            }
        } else if (const auto channel = item.text(QStringLiteral("channel"), YamlMap::Need::Required)) {
            check.channels << channel->trimmed();
        }
        for (const QString& c : check.channels) {
            if (!keys.contains(Plan::channelKey(c)))
                problems->add(item.at(difference ? QStringLiteral("channels") : QStringLiteral("channel")),
                              tr("%1 is not one of this capture's channels").arg(c));
        }
        const std::optional<Limit> limit = readLimitKeys(item, std::nullopt);
        item.finish();
        if (limit && problems->size() == before) {
            check.limit = *limit;
            capture.checks.append(check);
        }
    }
    return capture;
}
