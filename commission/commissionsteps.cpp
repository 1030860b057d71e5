// The step kinds of a commissioning run: each asks the link's flows for the work and turns
// their values into measurements (the run's order and its safety are in commissionrunner.cpp).

#include "commission/capturetable.h"
#include "commission/commissionrunner.h"
#include "link/linkwait.h"
#include "link/param/parambackup.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace {

// An entry of a read parameter table by its name or its code ("0x1002").
std::optional<QVariantMap> findEntry(const QVariantList& entries, const QString& key) {
    const std::optional<quint16> code =
        key.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? ParamBackup::parseCode(key) : std::nullopt;
    for (const QVariant& v : entries) {
        const QVariantMap e = v.toMap();
        if (code ? e.value(QStringLiteral("code")).toInt() == *code
                 : e.value(QStringLiteral("name")).toString() == key)
            return e;
    }
    return std::nullopt;
}

Measurement textMeasurement(const QString& name, const QString& text, const QString& expected,
                            Outcome outcome) {
    Measurement m;
    m.name = name;
    m.numeric = false;
    m.text = text;
    m.expected = expected;
    m.outcome = outcome;
    return m;
}

Measurement missingEntry(const QString& key) {
    return textMeasurement(key, CommissionRunner::tr("(no such entry)"), QString(), Outcome::Fail);
}

// The fingerprint of a motor's stored parameters: every entry but the live measurements
// (group 3), by code, so the same settings give the same hash whatever the read order.
QString tableSha256(const QVariantList& entries) {
    QMap<int, QString> lines;
    for (const QVariant& v : entries) {
        const QVariantMap e = v.toMap();
        if (e.value(QStringLiteral("group")).toInt() == 3)
            continue;
        const int code = e.value(QStringLiteral("code")).toInt();
        lines.insert(
            code, QStringLiteral("%1\t%2\t%3\t%4\n")
                      .arg(ParamBackup::codeText(quint16(code)), e.value(QStringLiteral("name")).toString(),
                           e.value(QStringLiteral("type")).toString(),
                           e.value(QStringLiteral("value")).toString()));
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& line : lines)
        hash.addData(line.toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

QByteArray entriesJson(const QVariantList& entries) {
    return QJsonDocument(QJsonArray::fromVariantList(entries)).toJson(QJsonDocument::Indented);
}

QString stepFile(int index, const QString& what) {
    return QStringLiteral("step%1-%2").arg(index, 2, 10, QLatin1Char('0')).arg(what);
}

}  // namespace

void CommissionRunner::stepIdentify(int motor, const IdentifyStep& s, StepRecord* r) {
    MotorRecord& record = m_record.motors[motor];
    const QString model = record.modelCode < 0 ? tr("unknown") : QString::number(record.modelCode);
    if (!s.models.isEmpty()) {
        QStringList names;
        for (int m : s.models)
            names << QString::number(m);
        addMeasurement(
            r, textMeasurement(tr("model"), model, tr("one of %1").arg(names.join(QStringLiteral(", "))),
                               s.models.contains(record.modelCode) ? Outcome::Pass : Outcome::Fail));
    } else {
        addMeasurement(r, textMeasurement(tr("model"), model, tr("known"),
                                          record.modelCode < 0 ? Outcome::Fail : Outcome::Pass));
    }
    if (s.firmwareEntry.isEmpty() && s.entries.isEmpty())
        return;
    const FlowResult read = runFlow(m_flows->readParams(record.canId), motor, r->index, r);
    if (judgeFlow(read, r) != Outcome::Pass)
        return;
    const QVariantList entries = read.values.value(QStringLiteral("entries")).toList();
    if (!s.firmwareEntry.isEmpty()) {
        if (const auto e = findEntry(entries, s.firmwareEntry)) {
            record.firmware = e->value(QStringLiteral("value")).toString();
            addMeasurement(r, textMeasurement(s.firmwareEntry, record.firmware, QString(), Outcome::Pass));
        } else {
            addMeasurement(r, missingEntry(s.firmwareEntry));
        }
    }
    for (const EntryText& check : s.entries) {
        if (const auto e = findEntry(entries, check.entry))
            addMeasurement(r, check.check.measure(check.entry, e->value(QStringLiteral("value")).toString()));
        else
            addMeasurement(r, missingEntry(check.entry));
    }
}

void CommissionRunner::stepSetCanId(int motor, const SetCanIdStep& s, StepRecord* r) {
    MotorRecord& record = m_record.motors[motor];
    const int current = record.canId;
    auto takenByOther = [&](int id) { return id != current && m_busCanIds.contains(id); };
    int wanted = s.id;
    if (wanted < 0) {
        for (int id = s.nextFree; id <= 127 && wanted < 0; ++id) {
            if (!takenByOther(id))
                wanted = id;
        }
        if (wanted < 0) {
            r->outcome = Outcome::Fail;
            r->message = tr("No CAN ID from %1 up is free.").arg(s.nextFree);
            return;
        }
    }
    // Refused before anything is sent: two motors with one ID would answer over each other.
    if (takenByOther(wanted)) {
        r->outcome = Outcome::Fail;
        r->message = tr("CAN ID %1 belongs to another motor on the bus.").arg(wanted);
        return;
    }
    if (wanted != current) {
        const FlowResult result = runFlow(m_flows->setCanId(current, wanted), motor, r->index, r);
        if (judgeFlow(result, r) != Outcome::Pass)
            return;
        const int confirmed = result.values.value(QStringLiteral("can_id"), wanted).toInt();
        m_busCanIds.removeAll(current);
        m_busCanIds << confirmed;
        record.canId = confirmed;
    } else {
        r->log << tr("The motor already has CAN ID %1.").arg(current);
    }
    addMeasurement(r, Limit::exactly(wanted).measure(tr("CAN ID"), QString(), record.canId));
}

void CommissionRunner::stepFlash(int motor, const FlashStep& s, StepRecord* r) {
    MotorRecord& record = m_record.motors[motor];
    auto readVersion = [&](QString* version) {
        const FlowResult read = runFlow(m_flows->readParams(record.canId), motor, r->index, r);
        if (judgeFlow(read, r) != Outcome::Pass)
            return false;
        const auto e = findEntry(read.values.value(QStringLiteral("entries")).toList(), s.versionEntry);
        if (!e) {
            addMeasurement(r, missingEntry(s.versionEntry));
            return false;
        }
        *version = e->value(QStringLiteral("value")).toString();
        record.firmware = *version;
        return true;
    };
    QString version;
    if (!readVersion(&version))
        return;
    const TextCheck same{TextCheck::Kind::Equals, s.version};
    if (version == s.version) {
        r->outcome = Outcome::Skipped;
        r->message = tr("The motor already runs %1.").arg(s.version);
        r->measurements << same.measure(s.versionEntry, version);
        return;
    }
    r->log << tr("Replacing %1 with %2.").arg(version, s.version);
    const FlowResult flashed = runFlow(m_flows->flash(record.canId, s.image), motor, r->index, r);
    if (judgeFlow(flashed, r) != Outcome::Pass)
        return;
    // Only what the motor reports after the update counts.
    if (readVersion(&version))
        addMeasurement(r, same.measure(s.versionEntry, version));
}

void CommissionRunner::stepParams(const QList<int>& motors, const ParamsStep& s,
                                  QVector<StepRecord>* records) {
    QVector<FlowResult> results(motors.size());
    if (!s.profile.isEmpty()) {
        StepRecord shared;
        const FlowResult all = runFlow(m_flows->applyParams(canIdsOf(motors), s.profile, s.save),
                                       motors.first(), (*records)[0].index, &shared);
        for (int k = 0; k < motors.size(); ++k) {
            (*records)[k].log << shared.log;
            results[k] = motorResult(all, m_record.motors[motors[k]].canId);
        }
    } else {
        for (int k = 0; k < motors.size(); ++k)
            results[k] = runFlow(m_flows->readParams(m_record.motors[motors[k]].canId), motors[k],
                                 (*records)[k].index, &(*records)[k]);
    }
    for (int k = 0; k < motors.size(); ++k) {
        StepRecord* r = &(*records)[k];
        const FlowResult& result = results[k];
        // A profile that does not fit the motor is refused whole: each entry says why.
        for (const QVariant& v : result.values.value(QStringLiteral("refused")).toList()) {
            const QVariantMap m = v.toMap();
            addMeasurement(r, textMeasurement(m.value(QStringLiteral("name")).toString(),
                                              m.value(QStringLiteral("reason")).toString(), tr("applied"),
                                              Outcome::Fail));
        }
        for (const QVariant& v : result.values.value(QStringLiteral("mismatches")).toList()) {
            const QVariantMap m = v.toMap();
            addMeasurement(
                r, textMeasurement(m.value(QStringLiteral("name")).toString(),
                                   m.value(QStringLiteral("actual")).toString(),
                                   QStringLiteral("= %1").arg(m.value(QStringLiteral("expected")).toString()),
                                   Outcome::Fail));
        }
        if (judgeFlow(result, r) != Outcome::Pass)
            continue;
        if (result.values.contains(QStringLiteral("written")))
            r->log << tr("%n entries written.", nullptr,
                         result.values.value(QStringLiteral("written")).toInt());
        const QVariantList entries = result.values.value(QStringLiteral("entries")).toList();
        for (const NamedLimit& check : s.checks) {
            const auto e = findEntry(entries, check.name);
            if (!e) {
                addMeasurement(r, missingEntry(check.name));
                continue;
            }
            bool ok = false;
            const double value = e->value(QStringLiteral("value")).toString().toDouble(&ok);
            if (ok)
                addMeasurement(r, check.limit.measure(check.name, QString(), value));
            else
                addMeasurement(r, textMeasurement(check.name, e->value(QStringLiteral("value")).toString(),
                                                  tr("a number"), Outcome::Fail));
        }
        if (!entries.isEmpty()) {
            MotorRecord& record = m_record.motors[motors[k]];
            record.paramSha256 = tableSha256(entries);
            r->attachments << Attachment{stepFile(r->index, QStringLiteral("params.json")),
                                         QStringLiteral("application/json"), entriesJson(entries)};
        }
    }
}

void CommissionRunner::stepZero(int motor, StepRecord* r) {
    judgeFlow(runFlow(m_flows->zero(m_record.motors[motor].canId), motor, r->index, r), r);
}

void CommissionRunner::stepCalibrate(const QList<int>& motors, const CalibrateStep& s,
                                     QVector<StepRecord>* records) {
    StepRecord shared;
    const FlowResult all =
        runFlow(m_flows->calibrate(canIdsOf(motors)), motors.first(), (*records)[0].index, &shared);
    for (int k = 0; k < motors.size(); ++k) {
        StepRecord* r = &(*records)[k];
        r->log << shared.log;
        const FlowResult result = motorResult(all, m_record.motors[motors[k]].canId);
        if (judgeFlow(result, r) != Outcome::Pass)
            continue;
        const double offset = result.values.value(QStringLiteral("offset")).toDouble();
        addMeasurement(r, s.offset ? s.offset->measure(tr("offset"), QStringLiteral("rad"), offset)
                                   : Limit().measure(tr("offset"), QStringLiteral("rad"), offset));
    }
}

void CommissionRunner::stepMove(int motor, const MoveStep& s, StepRecord* r) {
    RunFlows::MoveRequest request;
    request.mode = Plan::moveModeName(s.mode);
    request.target = s.target;
    request.speed = s.speed.value_or(0);
    request.kp = s.kp;
    request.kd = s.kd;
    request.settleMs = qRound(s.settleSeconds * 1000);
    const FlowResult result =
        runFlow(m_flows->move(m_record.motors[motor].canId, request), motor, r->index, r);
    if (judgeFlow(result, r) != Outcome::Pass)
        return;
    const QList<QPair<QString, QString>> quantities = {{QStringLiteral("position"), QStringLiteral("rad")},
                                                       {QStringLiteral("velocity"), QStringLiteral("rad/s")},
                                                       {QStringLiteral("torque"), QStringLiteral("Nm")}};
    for (const auto& [name, unit] : quantities) {
        const double value = result.values.value(name, qQNaN()).toDouble();
        Limit limit;  // unchecked quantities are shown for the record, without limits
        for (const NamedLimit& check : s.checks) {
            if (check.name == name)
                limit = check.limit;
        }
        addMeasurement(r, limit.measure(name, unit, value));
    }
}

void CommissionRunner::stepCapture(const QList<int>& motors, const CaptureStep& s, int stepIndex,
                                   QVector<StepRecord>* records) {
    StepRecord shared;
    const FlowResult all = runFlow(m_flows->capture(canIdsOf(motors), s.channels, s.rate, s.seconds),
                                   motors.first(), stepIndex, &shared);
    for (int k = 0; k < motors.size(); ++k) {
        StepRecord* r = &(*records)[k];
        r->log << shared.log;
        const FlowResult result = motorResult(all, m_record.motors[motors[k]].canId);
        if (judgeFlow(result, r) != Outcome::Pass)
            continue;
        const QByteArray csv = result.values.value(QStringLiteral("csv")).toByteArray();
        r->attachments << Attachment{stepFile(stepIndex, QStringLiteral("capture.csv")),
                                     QStringLiteral("text/csv"), csv};
        const int lost = result.values.value(QStringLiteral("lost")).toInt();
        if (lost > 0)
            r->log << tr("%n record(s) lost on the line.", nullptr, lost);
        QString error;
        const std::optional<CaptureTable> table = CaptureTable::fromCsv(csv, &error);
        if (!table) {
            r->outcome = Outcomes::worst(r->outcome, Outcome::Error);
            r->message = tr("The recording is unreadable: %1").arg(error);
            continue;
        }
        // The flow's columns follow the channels as the plan lists them.
        auto column = [&](const QString& channel) {
            for (int i = 0; i < s.channels.size(); ++i) {
                if (Plan::channelKey(s.channels[i]) == Plan::channelKey(channel))
                    return i;
            }
            return -1;
        };
        for (const CaptureCheck& check : s.checks) {
            const int first = column(check.channels.value(0));
            const int second = check.channels.size() > 1 ? column(check.channels[1]) : -1;
            const QString name =
                QStringLiteral("%1(%2)").arg(check.measure, check.channels.join(QLatin1Char('-')));
            addMeasurement(
                r, check.limit.measure(name, QString(), table->statistic(check.measure, first, second)));
        }
    }
}

void CommissionRunner::stepEstop(int motor, const EstopStep& s, StepRecord* r) {
    const FlowResult result = runFlow(m_flows->estop(m_record.motors[motor].canId), motor, r->index, r);
    if (judgeFlow(result, r) != Outcome::Pass)
        return;
    Limit within;
    within.hasHigh = true;
    within.high = s.withinSeconds * 1000;
    addMeasurement(r, within.measure(tr("brake confirmed after"), QStringLiteral("ms"),
                                     result.values.value(QStringLiteral("brake_ms"), qQNaN()).toDouble()));
}

void CommissionRunner::stepPrompt(const PromptStep& s, StepRecord* r) {
    r->log << s.text;
    QString why;
    if (!m_prompter) {
        r->outcome = Outcome::Error;
        r->message = tr("Nobody can answer the prompt.");
        return;
    }
    const bool yes = m_prompter(s.text, &why);
    if (m_cancelled) {
        r->outcome = Outcome::Error;
        r->message = m_cancelReason;
        if (m_endReason.isEmpty())
            m_endReason = m_cancelReason;
        return;
    }
    if (!yes) {
        // Declined is a FAIL; no answer possible (no terminal, no --yes) is an ERROR.
        r->outcome = why.isEmpty() ? Outcome::Fail : Outcome::Error;
        r->message = why.isEmpty() ? tr("The operator declined.") : why;
        return;
    }
    r->log << tr("Confirmed.");
}

void CommissionRunner::stepWait(const WaitStep& s, StepRecord* r) {
    LinkWait::Options options;
    options.timeoutMs = qRound(s.seconds * 1000);
    options.cancelled = [this] { return m_cancelled.load() || m_lease.preempted(); };
    options.allowInput = m_settings.allowInput;
    switch (LinkWait::until([] { return false; }, options)) {
        case LinkWait::Result::TimedOut:
        case LinkWait::Result::Done:
            return;
        case LinkWait::Result::PortClosed:
            r->outcome = Outcome::Error;
            r->message = tr("The adapter was disconnected.");
            m_portLost = true;
            break;
        case LinkWait::Result::DeviceRemoved:
        case LinkWait::Result::Cancelled:
            r->outcome = Outcome::Error;
            r->message = m_cancelled ? m_cancelReason : m_lease.preemptReason();
            break;
    }
    if (m_endReason.isEmpty())
        m_endReason = r->message;
}
