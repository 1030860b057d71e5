#include "commission/runrecord.h"

#include <QCoreApplication>
#include <QJsonArray>

namespace {

const char* const kNames[] = {"PASS", "MARGINAL", "SKIPPED", "FAIL", "ERROR"};

int rank(Outcome o) {
    switch (o) {
        case Outcome::Pass:
        case Outcome::Skipped:
            return 0;
        case Outcome::Marginal:
            return 1;
        case Outcome::Fail:
            return 2;
        case Outcome::Error:
            return 3;
    }
    return 3;
}

QString time(const QDateTime& t) {
    return t.isValid() ? t.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QDateTime parseTime(const QJsonValue& v) {
    QDateTime t = QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
    if (t.isValid())
        t = t.toUTC();
    return t;
}

// 64-bit MCU IDs do not fit a JSON double: they travel as hexadecimal text.
QString mcuText(quint64 id) {
    return QString::number(id, 16);
}

QJsonObject measurementJson(const Measurement& m) {
    QJsonObject o;
    o.insert(QStringLiteral("name"), m.name);
    if (!m.unit.isEmpty())
        o.insert(QStringLiteral("unit"), m.unit);
    if (m.numeric) {
        o.insert(QStringLiteral("value"), m.value);
        if (m.hasLow)
            o.insert(QStringLiteral("low"), m.low);
        if (m.hasHigh)
            o.insert(QStringLiteral("high"), m.high);
        if (m.marginal > 0)
            o.insert(QStringLiteral("marginal"), m.marginal);
    } else {
        o.insert(QStringLiteral("text"), m.text);
        if (!m.expected.isEmpty())
            o.insert(QStringLiteral("expected"), m.expected);
    }
    o.insert(QStringLiteral("outcome"), Outcomes::name(m.outcome));
    return o;
}

bool outcomeOf(const QJsonObject& o, Outcome* out, QString* error) {
    if (Outcomes::fromName(o.value(QStringLiteral("outcome")).toString(), out))
        return true;
    *error = QStringLiteral("unknown outcome \"%1\"").arg(o.value(QStringLiteral("outcome")).toString());
    return false;
}

}  // namespace

QString Outcomes::name(Outcome outcome) {
    return QString::fromLatin1(kNames[int(outcome)]);
}

QString Outcomes::label(Outcome outcome) {
    static const char* const kLabels[] = {
        QT_TRANSLATE_NOOP("Outcomes", "PASS"), QT_TRANSLATE_NOOP("Outcomes", "MARGINAL"),
        QT_TRANSLATE_NOOP("Outcomes", "SKIPPED"), QT_TRANSLATE_NOOP("Outcomes", "FAIL"),
        QT_TRANSLATE_NOOP("Outcomes", "ERROR")};
    return QCoreApplication::translate("Outcomes", kLabels[int(outcome)]);
}

bool Outcomes::fromName(const QString& name, Outcome* outcome) {
    for (int i = 0; i < 5; ++i) {
        if (name == QLatin1String(kNames[i])) {
            *outcome = Outcome(i);
            return true;
        }
    }
    return false;
}

Outcome Outcomes::worst(Outcome a, Outcome b) {
    return rank(b) > rank(a) ? b : a;
}

void RunRecord::settleOutcomes() {
    Outcome run = Outcome::Pass;
    for (MotorRecord& motor : motors) {
        Outcome m = Outcome::Pass;
        for (const StepRecord& step : motor.steps)
            m = Outcomes::worst(m, step.outcome == Outcome::Skipped ? Outcome::Pass : step.outcome);
        motor.outcome = m;
        run = Outcomes::worst(run, m);
    }
    // A run that ended early (or found no motor) never passes.
    if (motors.isEmpty() || !message.isEmpty())
        run = Outcomes::worst(run, Outcome::Error);
    outcome = run;
}

QJsonObject RunRecord::toJson() const {
    QJsonObject root;
    root.insert(QStringLiteral("format"), QStringLiteral("trivane-run"));
    root.insert(QStringLiteral("version"), kFormatVersion);
    root.insert(QStringLiteral("uuid"), uuid);
    root.insert(QStringLiteral("plan"), QJsonObject{{QStringLiteral("name"), planName},
                                                    {QStringLiteral("path"), planPath},
                                                    {QStringLiteral("sha256"), planSha256}});
    root.insert(QStringLiteral("station"), station);
    root.insert(QStringLiteral("operator"), operatorName);
    root.insert(QStringLiteral("tool_version"), toolVersion);
    root.insert(QStringLiteral("start"), time(startUtc));
    root.insert(QStringLiteral("end"), time(endUtc));
    root.insert(QStringLiteral("outcome"), Outcomes::name(outcome));
    if (!message.isEmpty())
        root.insert(QStringLiteral("message"), message);
    QJsonArray motorList;
    for (const MotorRecord& motor : motors) {
        QJsonObject m;
        m.insert(QStringLiteral("mcu_id"), mcuText(motor.mcuId));
        m.insert(QStringLiteral("can_id"), motor.canId);
        m.insert(QStringLiteral("model"), motor.modelCode);
        m.insert(QStringLiteral("firmware"), motor.firmware);
        m.insert(QStringLiteral("param_sha256"), motor.paramSha256);
        m.insert(QStringLiteral("outcome"), Outcomes::name(motor.outcome));
        m.insert(QStringLiteral("start"), time(motor.startUtc));
        m.insert(QStringLiteral("end"), time(motor.endUtc));
        QJsonArray steps;
        for (const StepRecord& step : motor.steps) {
            QJsonObject s;
            s.insert(QStringLiteral("index"), step.index);
            s.insert(QStringLiteral("kind"), step.kind);
            s.insert(QStringLiteral("title"), step.title);
            s.insert(QStringLiteral("outcome"), Outcomes::name(step.outcome));
            if (!step.message.isEmpty())
                s.insert(QStringLiteral("message"), step.message);
            s.insert(QStringLiteral("start"), time(step.startUtc));
            s.insert(QStringLiteral("seconds"), step.seconds);
            QJsonArray ms;
            for (const Measurement& measurement : step.measurements)
                ms.append(measurementJson(measurement));
            s.insert(QStringLiteral("measurements"), ms);
            s.insert(QStringLiteral("log"), QJsonArray::fromStringList(step.log));
            QJsonArray files;
            for (const Attachment& a : step.attachments) {
                files.append(QJsonObject{{QStringLiteral("name"), a.name},
                                         {QStringLiteral("mime"), a.mimeType},
                                         {QStringLiteral("data"), QString::fromLatin1(a.data.toBase64())}});
            }
            s.insert(QStringLiteral("attachments"), files);
            steps.append(s);
        }
        m.insert(QStringLiteral("steps"), steps);
        motorList.append(m);
    }
    root.insert(QStringLiteral("motors"), motorList);
    return root;
}

bool RunRecord::fromJson(const QJsonObject& root, RunRecord* record, QString* error) {
    if (root.value(QStringLiteral("format")).toString() != QLatin1String("trivane-run")) {
        *error = QStringLiteral("not a run record");
        return false;
    }
    const int version = root.value(QStringLiteral("version")).toInt(-1);
    if (version < 1 || version > kFormatVersion) {
        *error = QStringLiteral("run record version %1 is not supported").arg(version);
        return false;
    }
    RunRecord r;
    r.uuid = root.value(QStringLiteral("uuid")).toString();
    const QJsonObject plan = root.value(QStringLiteral("plan")).toObject();
    r.planName = plan.value(QStringLiteral("name")).toString();
    r.planPath = plan.value(QStringLiteral("path")).toString();
    r.planSha256 = plan.value(QStringLiteral("sha256")).toString();
    r.station = root.value(QStringLiteral("station")).toString();
    r.operatorName = root.value(QStringLiteral("operator")).toString();
    r.toolVersion = root.value(QStringLiteral("tool_version")).toString();
    r.startUtc = parseTime(root.value(QStringLiteral("start")));
    r.endUtc = parseTime(root.value(QStringLiteral("end")));
    r.message = root.value(QStringLiteral("message")).toString();
    if (!outcomeOf(root, &r.outcome, error))
        return false;
    for (const QJsonValue& mv : root.value(QStringLiteral("motors")).toArray()) {
        const QJsonObject m = mv.toObject();
        MotorRecord motor;
        bool ok = false;
        motor.mcuId = m.value(QStringLiteral("mcu_id")).toString().toULongLong(&ok, 16);
        if (!ok) {
            *error = QStringLiteral("a motor without a valid MCU ID");
            return false;
        }
        motor.canId = m.value(QStringLiteral("can_id")).toInt();
        motor.modelCode = m.value(QStringLiteral("model")).toInt(-1);
        motor.firmware = m.value(QStringLiteral("firmware")).toString();
        motor.paramSha256 = m.value(QStringLiteral("param_sha256")).toString();
        motor.startUtc = parseTime(m.value(QStringLiteral("start")));
        motor.endUtc = parseTime(m.value(QStringLiteral("end")));
        if (!outcomeOf(m, &motor.outcome, error))
            return false;
        for (const QJsonValue& sv : m.value(QStringLiteral("steps")).toArray()) {
            const QJsonObject s = sv.toObject();
            StepRecord step;
            step.index = s.value(QStringLiteral("index")).toInt();
            step.kind = s.value(QStringLiteral("kind")).toString();
            step.title = s.value(QStringLiteral("title")).toString();
            step.message = s.value(QStringLiteral("message")).toString();
            step.startUtc = parseTime(s.value(QStringLiteral("start")));
            step.seconds = s.value(QStringLiteral("seconds")).toDouble();
            if (!outcomeOf(s, &step.outcome, error))
                return false;
            for (const QJsonValue& xv : s.value(QStringLiteral("measurements")).toArray()) {
                const QJsonObject x = xv.toObject();
                Measurement mm;
                mm.name = x.value(QStringLiteral("name")).toString();
                mm.unit = x.value(QStringLiteral("unit")).toString();
                mm.numeric = !x.contains(QStringLiteral("text"));
                mm.value = x.value(QStringLiteral("value")).toDouble();
                mm.hasLow = x.contains(QStringLiteral("low"));
                mm.low = x.value(QStringLiteral("low")).toDouble();
                mm.hasHigh = x.contains(QStringLiteral("high"));
                mm.high = x.value(QStringLiteral("high")).toDouble();
                mm.marginal = x.value(QStringLiteral("marginal")).toDouble();
                mm.text = x.value(QStringLiteral("text")).toString();
                mm.expected = x.value(QStringLiteral("expected")).toString();
                if (!outcomeOf(x, &mm.outcome, error))
                    return false;
                step.measurements.append(mm);
            }
            for (const QJsonValue& lv : s.value(QStringLiteral("log")).toArray())
                step.log << lv.toString();
            for (const QJsonValue& av : s.value(QStringLiteral("attachments")).toArray()) {
                const QJsonObject a = av.toObject();
                step.attachments.append(
                    {a.value(QStringLiteral("name")).toString(), a.value(QStringLiteral("mime")).toString(),
                     QByteArray::fromBase64(a.value(QStringLiteral("data")).toString().toLatin1())});
            }
            motor.steps.append(step);
        }
        r.motors.append(motor);
    }
    *record = r;
    return true;
}
