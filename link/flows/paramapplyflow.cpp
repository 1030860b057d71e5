#include "link/flows/paramapplyflow.h"

#include "link/canworker.h"
#include "link/flows/paramreadflow.h"
#include "link/helper.h"
#include "link/otathread.h"
#include "link/param/paramfeature.h"
#include "link/param/paramverifier.h"

ParamApplyFlow::ParamApplyFlow(int canId, const QVector<ParamRestorePlan::Write>& writes, bool save,
                               QObject* parent)
    : Flow(canId, parent), m_canIds{canId}, m_writes(writes), m_save(save) {}

ParamApplyFlow::ParamApplyFlow(const QList<int>& canIds, const ParamBackup& profile, bool save,
                               QObject* parent)
    : Flow(canIds.size() == 1 ? canIds.first() : -1, parent),
      m_canIds(canIds),
      m_profile(profile),
      m_save(save) {}

FlowResult ParamApplyFlow::applyTo(int id, const QVector<ParamRestorePlan::Write>& writes) {
    CANWorker* worker = Helper::instance()->worker();
    kx::DataObject* device = worker ? worker->deviceForCanId(quint8(id)) : nullptr;
    if (!device)
        return result(FlowOutcome::Refused, tr("There is no motor with CAN ID %1.").arg(id));
    if (writes.isEmpty()) {
        return result(FlowOutcome::Succeeded, QString(),
                      {{QStringLiteral("written"), 0},
                       {QStringLiteral("saved"), false},
                       {QStringLiteral("entries"), ParamReadFlow::entriesOf(id)}});
    }
    ParamVerifier verifier(device);
    verifier.setLease(lease());
    ParamVerifier::Options options;
    options.save = m_save;
    bool done = false;
    bool ok = false;
    connect(&verifier, &ParamVerifier::finished, this, [&](bool r) {
        done = true;
        ok = r;
    });
    connect(&verifier, &ParamVerifier::progress, this, [this, id](int written, int total) {
        report(total > 0 ? double(written) / total : -1,
               tr("Motor %1: %2 of %3 entries written and read back").arg(id).arg(written).arg(total));
    });
    if (!verifier.apply(writes, options))
        return result(FlowOutcome::Refused, tr("The parameters of motor %1 cannot be written now.").arg(id));
    // Each step of the verifier has its own limit; the flow waits for its verdict.
    const LinkWait::Result w = wait([&] { return done; }, -1);
    if (w != LinkWait::Result::Done) {
        verifier.stop();
        return interrupted(w, QString());
    }
    const ParamVerifier::ApplyResult& applied = verifier.applyResult();
    QVariantList verified, mismatches;
    for (const ParamVerifier::Written& e : applied.entries) {
        verified << QVariantMap{
            {QStringLiteral("code"), int(e.code)},    {QStringLiteral("name"), e.name},
            {QStringLiteral("sent"), e.sent},         {QStringLiteral("read_back"), e.readBack},
            {QStringLiteral("matched"), e.matched},   {QStringLiteral("retries"), e.retries},
            {QStringLiteral("repaired"), e.repaired}, {QStringLiteral("error"), e.error}};
        if (!e.matched && !e.repaired) {
            mismatches << QVariantMap{{QStringLiteral("code"), int(e.code)},
                                      {QStringLiteral("name"), e.name},
                                      {QStringLiteral("expected"), e.sent},
                                      {QStringLiteral("actual"), e.readBack}};
        }
    }
    QVariantMap values{{QStringLiteral("written"), writes.size()},
                       {QStringLiteral("saved"), applied.saved},
                       {QStringLiteral("verified"), verified},
                       {QStringLiteral("entries"), ParamReadFlow::entriesOf(id)}};
    if (ok)
        return result(FlowOutcome::Succeeded, QString(), values);
    values.insert(QStringLiteral("mismatches"), mismatches);
    values.insert(QStringLiteral("failed"), applied.failed());
    return result(FlowOutcome::Failed,
                  applied.reason.isEmpty() ? tr("The write was not confirmed.") : applied.reason, values);
}

FlowResult ParamApplyFlow::profileTo(int id) {
    // The profile is planned against the motor's own description: codes, types and limits.
    ParamReadFlow describe(id, false);
    describe.runUnder(lease());
    FlowResult described = describe.run();
    if (!described.ok())
        return result(described.outcome, described.reason);
    ParamFeature* feature = ParamFeature::of(otaThread::instance());
    if (!feature)
        return result(FlowOutcome::Failed, tr("This build has no parameter table."));
    const ParamRestorePlan plan = ParamRestorePlan::plan(feature->store().snapshot(quint8(id)), *m_profile);
    if (!plan.refused.isEmpty()) {
        QVariantList refused;
        QStringList names;
        for (const auto& r : plan.refused) {
            refused << QVariantMap{{QStringLiteral("code"), int(r.code)},
                                   {QStringLiteral("name"), r.name},
                                   {QStringLiteral("reason"), r.reason}};
            names << QStringLiteral("%1 %2: %3").arg(ParamBackup::codeText(r.code), r.name, r.reason);
        }
        // Checked whole before anything goes out: a profile half applied is neither.
        return result(FlowOutcome::Refused,
                      tr("Nothing was written: %1").arg(names.join(QStringLiteral("; "))),
                      {{QStringLiteral("refused"), refused}, {QStringLiteral("written"), 0}});
    }
    return applyTo(id, plan.writes);
}

FlowResult ParamApplyFlow::execute() {
    if (!m_profile)
        return applyTo(m_canIds.value(0), m_writes);
    if (m_canIds.isEmpty())
        return result(FlowOutcome::Refused, tr("No motor to write to."));
    if (m_canIds.size() == 1)
        return profileTo(m_canIds.first());
    return eachMotor(m_canIds, [this](int id) { return profileTo(id); });
}
