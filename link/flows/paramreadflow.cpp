#include "link/flows/paramreadflow.h"

#include "link/canworker.h"
#include "link/helper.h"
#include "link/otathread.h"
#include "link/param/parambackup.h"
#include "link/param/paramfeature.h"
#include "link/param/paramverifier.h"
#include "link/param/paramwalker.h"

namespace {

// A description is a stream of a few hundred frames; one broken on the way fails as a whole
// and taking it again costs a moment.
constexpr int kDescribeAttempts = 3;
constexpr int kDescribeTimeoutMs = 20000;

}  // namespace

ParamReadFlow::ParamReadFlow(int canId, bool verified, QObject* parent)
    : Flow(canId, parent), m_verified(verified) {}

QVariantList ParamReadFlow::entriesOf(int canId) {
    QVariantList list;
    ParamFeature* feature = ParamFeature::of(otaThread::instance());
    if (!feature)
        return list;
    for (const ParamEntry& e : feature->store().snapshot(quint8(canId))) {
        list << QVariantMap{
            {QStringLiteral("code"), int(e.code)}, {QStringLiteral("group"), e.group},
            {QStringLiteral("name"), e.name},      {QStringLiteral("type"), ParamBackup::typeName(e.type)},
            {QStringLiteral("value"), e.value},    {QStringLiteral("writable"), e.writable()}};
    }
    return list;
}

FlowResult ParamReadFlow::execute() {
    CANWorker* worker = Helper::instance()->worker();
    kx::DataObject* device = worker ? worker->deviceForCanId(quint8(canId())) : nullptr;
    if (!device)
        return result(FlowOutcome::Refused, tr("There is no motor with CAN ID %1.").arg(canId()));

    if (m_verified) {
        ParamVerifier verifier(device);
        verifier.setLease(lease());
        bool done = false;
        bool ok = false;
        connect(&verifier, &ParamVerifier::finished, this, [&](bool result) {
            done = true;
            ok = result;
        });
        connect(&verifier, &ParamVerifier::progress, this, [this](int read, int total) {
            report(total > 0 ? double(read) / total : -1, tr("%1 of %2 values read").arg(read).arg(total));
        });
        if (!verifier.readVerified())
            return result(FlowOutcome::Refused,
                          tr("The parameter table of motor %1 cannot be read now.").arg(canId()));
        // Each step of the verifier has its own limit; the flow waits for its verdict.
        const LinkWait::Result r = wait([&] { return done; }, -1);
        if (r != LinkWait::Result::Done) {
            verifier.stop();
            return interrupted(r, QString());
        }
        const ParamVerifier::ReadResult& read = verifier.readResult();
        const QVariantMap values{{QStringLiteral("entries"), entriesOf(canId())},
                                 {QStringLiteral("descriptions"), read.descriptions}};
        if (!ok)
            return result(FlowOutcome::Failed,
                          tr("The table of motor %1 could not be read reliably: %2")
                              .arg(canId())
                              .arg(read.reason.isEmpty() ? tr("no answer") : read.reason),
                          values);
        return result(FlowOutcome::Succeeded, QString(), values);
    }

    ParamWalker walker(device);
    walker.setLease(lease());
    bool done = false;
    bool ok = false;
    connect(&walker, &ParamWalker::finished, this, [&](bool result) {
        done = true;
        ok = result;
    });
    for (int attempt = 0; attempt < kDescribeAttempts && !ok; ++attempt) {
        done = false;
        report(-1, tr("Reading the parameter description..."));
        if (!walker.describe())
            return result(FlowOutcome::Refused,
                          tr("The parameter table of motor %1 cannot be read now.").arg(canId()));
        const LinkWait::Result r = wait([&] { return done; }, kDescribeTimeoutMs);
        if (r != LinkWait::Result::Done) {
            walker.stop();
            if (r != LinkWait::Result::TimedOut)
                return interrupted(r, QString());
        }
    }
    if (!ok)
        return result(FlowOutcome::TimedOut, tr("The motor did not describe its parameter table."));
    return result(FlowOutcome::Succeeded, QString(), {{QStringLiteral("entries"), entriesOf(canId())}});
}
