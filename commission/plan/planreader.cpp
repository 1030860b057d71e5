#include "commission/plan/planreader.h"

#include "commission/plan/yamlmap.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cmath>

namespace {

// "5%" -> 5; nullopt for anything else.
std::optional<double> percentOf(const YAML::Node& node) {
    if (!node.IsScalar())
        return std::nullopt;
    static const QRegularExpression pattern(QStringLiteral("^\\s*([0-9]*\\.?[0-9]+)\\s*%\\s*$"));
    const QRegularExpressionMatch m = pattern.match(QString::fromStdString(node.Scalar()));
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toDouble();
}

}  // namespace

std::optional<Plan> PlanReader::readFile(const QString& path, QVector<PlanProblem>* problems) {
    PlanProblems found(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        found.add({}, tr("cannot read the plan: %1").arg(file.errorString()));
        *problems = found.list();
        return std::nullopt;
    }
    // One byte past the limit tells a file that is too big from one that just fits.
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        found.add({}, tr("cannot read the plan: %1").arg(file.errorString()));
        *problems = found.list();
        return std::nullopt;
    }
    if (bytes.size() > kMaxFileBytes) {
        found.add({}, tr("the plan is larger than %1 bytes; it is not a plan").arg(kMaxFileBytes));
        *problems = found.list();
        return std::nullopt;
    }
    const QFileInfo info(path);
    std::optional<Plan> plan = read(bytes, path, info.absolutePath(), problems);
    if (plan)
        plan->path = info.absoluteFilePath();
    return plan;
}

std::optional<Plan> PlanReader::read(const QByteArray& yaml, const QString& fileName, const QString& folder,
                                     QVector<PlanProblem>* problems) {
    PlanProblems found(fileName);
    Context context{folder, &found};
    YAML::Node root;
    try {
        root = YAML::Load(yaml.toStdString());
    } catch (const YAML::Exception& e) {
        const PlanPosition at =
            e.mark.line >= 0 ? PlanPosition{e.mark.line + 1, e.mark.column + 1} : PlanPosition{};
        found.add(at, tr("not valid YAML: %1").arg(QString::fromStdString(e.msg)));
        *problems = found.list();
        return std::nullopt;
    }
    if (!root.IsDefined() || root.IsNull()) {
        found.add({}, tr("the plan is empty"));
        *problems = found.list();
        return std::nullopt;
    }

    Plan plan;
    plan.folder = folder;
    plan.sha256 = QString::fromLatin1(QCryptographicHash::hash(yaml, QCryptographicHash::Sha256).toHex());
    YamlMap top(root, tr("the plan"), &found, {1, 1});
    if (top.isMap()) {
        if (const auto format = top.integer(QStringLiteral("format"), 1, 1000)) {
            if (*format != Plan::kFormatVersion)
                found.add(
                    top.at(QStringLiteral("format")),
                    tr("this plan is written for plan format %1; this version of Trivane reads format %2")
                        .arg(*format)
                        .arg(Plan::kFormatVersion));
        }
        if (const auto name = top.text(QStringLiteral("name"), YamlMap::Need::Required)) {
            plan.name = name->trimmed();
            if (plan.name.isEmpty())
                found.add(top.at(QStringLiteral("name")), tr("name must not be empty"));
        }
        plan.description = top.text(QStringLiteral("description")).value_or(QString()).trimmed();
        const bool continues = top.flag(QStringLiteral("continue_on_fail")).value_or(false);
        const YAML::Node steps = top.value(QStringLiteral("steps"));
        if (!steps.IsDefined()) {
            top.missing(QStringLiteral("steps"));
        } else if (!steps.IsSequence() || steps.size() == 0) {
            found.add(top.at(QStringLiteral("steps")), tr("steps must be a list of at least one step"));
        } else if (steps.size() > size_t(kMaxSteps)) {
            found.add(top.at(QStringLiteral("steps")), tr("a plan has at most %1 steps").arg(kMaxSteps));
        } else {
            for (size_t i = 0; i < steps.size(); ++i)
                readStep(steps[i], int(i) + 1, continues, context, &plan);
        }
        top.finish();
    }

    // Detection decides which motors the run covers, so it can only come first.
    for (const PlanStep& step : plan.steps) {
        if (step.kind == QLatin1String("detect") && step.index != 1)
            found.add(step.at, tr("detect must be the first step (it finds the motors the run covers)"));
    }

    // In file order, as an editor lists them.
    *problems = found.list();
    std::stable_sort(problems->begin(), problems->end(), [](const PlanProblem& a, const PlanProblem& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    if (!found.isEmpty())
        return std::nullopt;
    return plan;
}

void PlanReader::readStep(const YAML::Node& node, int index, bool planContinues, const Context& context,
                          Plan* plan) {
    YamlMap map(node, tr("step %1").arg(index), context.problems, {});
    if (!map.isMap())
        return;
    PlanStep step;
    step.index = index;
    step.at = YamlMap::positionOf(node, {});
    const std::optional<QString> kind = map.text(QStringLiteral("step"), YamlMap::Need::Required);
    if (!kind) {
        map.finish();
        return;
    }
    step.kind = kind->trimmed();
    if (!Plan::kinds().contains(step.kind)) {
        QString message = tr("unknown step \"%1\"").arg(step.kind);
        const QString hint = YamlMap::nearest(step.kind, Plan::kinds());
        message += hint.isEmpty() ? tr(" (steps are: %1)").arg(Plan::kinds().join(QStringLiteral(", ")))
                                  : tr(" (did you mean \"%1\"?)").arg(hint);
        context.problems->add(map.at(QStringLiteral("step")), message);
        return;  // its other keys cannot be judged without a kind
    }
    map.setWhat(tr("step %1 (%2)").arg(index).arg(step.kind));
    step.title = map.text(QStringLiteral("name")).value_or(QString()).trimmed();
    if (step.title.isEmpty())
        step.title = step.kind;
    step.continueOnFail = map.flag(QStringLiteral("continue_on_fail")).value_or(planContinues);
    step.allMotors = map.flag(QStringLiteral("all_motors")).value_or(false);
    if (step.allMotors && !Plan::allowsAllMotors(step.kind))
        context.problems->add(map.at(QStringLiteral("all_motors")),
                              tr("all_motors is allowed only on calibrate, params and capture steps"));
    const bool ok = readSettings(step.kind, map, context, &step.settings);
    map.finish();
    if (ok)
        plan->steps.append(step);
}

std::optional<Limit> PlanReader::readLimit(YamlMap& parent, const QString& key, bool allowCount,
                                           std::optional<double> implicitExpect) {
    const YAML::Node node = parent.value(key);
    const PlanPosition at = parent.at(key);
    if (allowCount && node.IsScalar()) {
        const auto n = YamlMap::toInteger(node, key, 0, 1000000, parent.problems(), at);
        return n ? std::optional<Limit>(Limit::exactly(*n)) : std::nullopt;
    }
    YamlMap map(node, tr("the limit \"%1\"").arg(key), parent.problems(), at);
    if (!map.isMap())
        return std::nullopt;
    std::optional<Limit> limit = readLimitKeys(map, implicitExpect);
    map.finish();
    return limit;
}

std::optional<Limit> PlanReader::readLimitKeys(YamlMap& map, std::optional<double> implicitExpect) {
    PlanProblems* problems = map.problems();
    const int before = problems->size();
    const QString kMin = QStringLiteral("min"), kMax = QStringLiteral("max"),
                  kExpect = QStringLiteral("expect"), kTolerance = QStringLiteral("tolerance"),
                  kMarginal = QStringLiteral("marginal");
    const std::optional<double> min = map.number(kMin);
    const std::optional<double> max = map.number(kMax);
    std::optional<double> expect = map.number(kExpect);
    Limit limit;
    if (expect) {
        limit.hasExpect = true;
        limit.expect = *expect;
    }
    if (map.has(kTolerance)) {
        const YAML::Node node = map.value(kTolerance);
        const PlanPosition at = map.at(kTolerance);
        if (map.has(kMin) || map.has(kMax)) {
            problems->add(at, tr("give either expect with a tolerance, or min and max, not both"));
        } else if (!expect && !implicitExpect) {
            problems->add(at, tr("a tolerance needs \"expect\", the value it is around"));
        } else {
            const double centre = expect ? *expect : *implicitExpect;
            double tolerance = -1;
            if (const auto percent = percentOf(node)) {
                if (centre == 0)
                    problems->add(at, tr("a tolerance in % needs an expected value other than 0"));
                else
                    tolerance = std::abs(centre) * *percent / 100;
            } else if (const auto t = YamlMap::toNumber(node, kTolerance, problems, at)) {
                if (*t < 0)
                    problems->add(at, tr("tolerance must not be negative"));
                else
                    tolerance = *t;
            }
            if (tolerance >= 0) {
                limit.hasExpect = true;
                limit.expect = centre;
                limit.hasLow = limit.hasHigh = true;
                limit.low = centre - tolerance;
                limit.high = centre + tolerance;
            }
        }
    } else {
        if (min) {
            limit.hasLow = true;
            limit.low = *min;
        }
        if (max) {
            limit.hasHigh = true;
            limit.high = *max;
        }
        if (min && max && *min > *max)
            problems->add(map.at(kMin),
                          tr("min (%1) is above max (%2): no value could pass").arg(*min).arg(*max));
        if (!map.has(kMin) && !map.has(kMax)) {
            problems->add(map.at(kExpect), expect ? tr("expect needs a tolerance (or give min and max)")
                                                  : tr("a limit needs min, max, or expect with a tolerance"));
        }
    }
    if (map.has(kMarginal)) {
        const YAML::Node node = map.value(kMarginal);
        const PlanPosition at = map.at(kMarginal);
        const bool twoSided = limit.hasLow && limit.hasHigh;
        const double half = twoSided ? (limit.high - limit.low) / 2 : 0;
        if (const auto percent = percentOf(node)) {
            if (!twoSided)
                problems->add(at, tr("a marginal band in % needs both limits (min and max, or a tolerance)"));
            else
                limit.marginal = half * *percent / 100;
        } else if (const auto m = YamlMap::toNumber(node, kMarginal, problems, at)) {
            if (*m < 0)
                problems->add(at, tr("marginal must not be negative"));
            else
                limit.marginal = *m;
        }
        if (twoSided && limit.marginal > 0 && limit.marginal >= half)
            problems->add(at, tr("the marginal band covers the whole range: no value could pass"));
    }
    if (problems->size() != before)
        return std::nullopt;
    return limit;
}

std::optional<TextCheck> PlanReader::readTextCheck(const YAML::Node& node, const QString& label,
                                                   PlanProblems* problems, const PlanPosition& at) {
    TextCheck check;
    if (node.IsScalar()) {
        check.value = QString::fromStdString(node.Scalar());
        return check;  // a plain text: it must be exactly that
    }
    YamlMap map(node, tr("the check of \"%1\"").arg(label), problems, at);
    if (!map.isMap())
        return std::nullopt;
    const int before = problems->size();
    int given = 0;
    if (const auto equals = map.text(QStringLiteral("equals"))) {
        check = {TextCheck::Kind::Equals, *equals};
        ++given;
    }
    if (const auto pattern = map.text(QStringLiteral("matches"))) {
        check = {TextCheck::Kind::Matches, *pattern};
        ++given;
        const QRegularExpression re(*pattern);
        if (!re.isValid())
            problems->add(map.at(QStringLiteral("matches")),
                          tr("not a valid pattern: %1").arg(re.errorString()));
    }
    if (const auto least = map.text(QStringLiteral("at_least"))) {
        check = {TextCheck::Kind::AtLeast, *least};
        ++given;
        QVector<qint64> parts;
        if (!TextCheck::parseVersion(*least, &parts))
            problems->add(map.at(QStringLiteral("at_least")),
                          tr("at_least needs a version such as 1.2.0, not \"%1\"").arg(*least));
    }
    if (given != 1 && problems->size() == before)
        problems->add(at, tr("give one of equals, matches or at_least for \"%1\"").arg(label));
    map.finish();
    if (problems->size() != before)
        return std::nullopt;
    return check;
}

QVector<int> PlanReader::readModels(YamlMap& map, const QString& key) {
    QVector<int> models;
    const YAML::Node node = map.value(key);
    if (!node.IsDefined())
        return models;
    if (node.IsSequence()) {
        for (size_t i = 0; i < node.size(); ++i) {
            if (const auto m = YamlMap::toInteger(node[i], tr("a model code"), 0, 255, map.problems(),
                                                  YamlMap::positionOf(node[i], map.at(key))))
                models << *m;
        }
        if (node.size() == 0)
            map.problems()->add(map.at(key), tr("%1 must name at least one model code").arg(key));
    } else if (const auto m = YamlMap::toInteger(node, key, 0, 255, map.problems(), map.at(key))) {
        models << *m;
    }
    return models;
}

QString PlanReader::resolve(const QString& folder, const QString& path) {
    return QDir::cleanPath(QDir(folder).absoluteFilePath(path));
}
