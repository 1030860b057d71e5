#include "link/param/paramverifier.h"

#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/frames/paramvalue.h"
#include "link/helper.h"
#include "link/otathread.h"
#include "link/param/paramfeature.h"
#include "link/param/paramwalker.h"

namespace {

// The bytes of an entry as a write would send them: 16 text bytes, or the raw value.
QByteArray bytesOf(const ParamEntry& e) {
    return e.group == 0 ? ParamValue::textBytes(e.value.toLatin1()) : e.raw.left(8);
}

bool sameBytes(const ParamEntry& e, const QByteArray& a, const QByteArray& b) {
    if (e.group <= 1)
        return ParamValue::textOf(a) == ParamValue::textOf(b);
    const int size = ParamValue::size(e.type);
    return size > 0 && a.left(size) == b.left(size);
}

const ParamEntry* entryIn(const ParamVerifier::Description& d, quint16 code) {
    for (const ParamEntry& e : d.entries) {
        if (e.code == code)
            return &e;
    }
    return nullptr;
}

}  // namespace

// Names, types, limits and properties; values are checked by reading them.
bool ParamVerifier::sameDefinition(const ParamEntry& x, const ParamEntry& y) {
    return x.code == y.code && x.name == y.name && x.type == y.type && x.property == y.property &&
           x.minimum == y.minimum && x.maximum == y.maximum && x.decimals == y.decimals;
}

QStringList ParamVerifier::ApplyResult::failed() const {
    QStringList out;
    for (const Written& w : entries) {
        if (!w.matched)
            out << ParamBackup::codeText(w.code) + QLatin1Char(' ') + w.name;
    }
    return out;
}

ParamVerifier::ParamVerifier(kx::DataObject* device, QObject* parent)
    : QObject(parent), m_device(device), m_walker(new ParamWalker(device, this)) {
    m_feature = ParamFeature::of(otaThread::instance());
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, &ParamVerifier::onStepTimeout);
    connect(m_walker, &ParamWalker::finished, this, &ParamVerifier::onStepFinished);
    if (CANWorker* worker = Helper::instance()->worker()) {
        connect(worker, &CANWorker::connectionChanged, this, [this](bool open) {
            if (!open)
                abort(tr("The adapter was disconnected."));
        });
    }
    if (device && !device->isEmpty()) {
        connect(device, &QObject::destroyed, this, [this] { abort(tr("The motor was removed.")); });
        connect(device->r(QStringLiteral("_connected")), &kx::DataObject::changed, this,
                [this](QVariant value, QVariant, QObject*) {
                    if (!value.toBool())
                        abort(tr("The motor was disconnected."));
                });
    }
}

ParamVerifier::~ParamVerifier() {
    stop();
}

void ParamVerifier::setLease(const LinkLease::Token& lease) {
    m_walker->setLease(lease);
}

quint8 ParamVerifier::canId() const {
    return m_walker->canId();
}

ParamStore* ParamVerifier::store() const {
    return m_feature ? &m_feature->store() : nullptr;
}

QString ParamVerifier::valueText(const ParamEntry& entry, const QByteArray& bytes) {
    return entry.group <= 1 ? ParamValue::textOf(bytes) : ParamValue::formatRaw(entry.type, bytes);
}

QVector<ParamRestorePlan::Write> ParamVerifier::pendingWrites(quint8 canId) {
    QVector<ParamRestorePlan::Write> writes;
    ParamStore* store = ParamStore::forLink(otaThread::instance());
    if (!store)
        return writes;
    for (const ParamEntry& e : store->snapshot(canId)) {
        if (e.modified && e.writable())
            writes.append({e.code, e.name, e.value, valueText(e, e.pending), e.pending});
    }
    return writes;
}

// --- Steps ----------------------------------------------------------------------------------

void ParamVerifier::runStep(const std::function<bool()>& start, int timeoutMs,
                            std::function<void(bool)> then) {
    m_then = std::move(then);
    m_watchdog.start(timeoutMs);
    if (!start())
        onStepFinished(false);
}

void ParamVerifier::onStepFinished(bool ok) {
    if (!m_then)
        return;
    m_watchdog.stop();
    std::function<void(bool)> then = std::move(m_then);
    m_then = nullptr;
    // From the event loop: the walker may finish inside the call that started it.
    const quint64 run = m_run;
    QMetaObject::invokeMethod(
        this,
        [this, run, then, ok] {
            if (m_run == run && m_mode != Mode::None)
                then(ok);
        },
        Qt::QueuedConnection);
}

void ParamVerifier::onStepTimeout() {
    // The link ends each step on its own time-out; this only catches a step that never did.
    m_walker->stop();
    onStepFinished(false);
}

void ParamVerifier::stop() {
    if (m_mode == Mode::None)
        return;
    m_mode = Mode::None;
    ++m_run;
    m_then = nullptr;
    m_watchdog.stop();
    m_walker->stop();
}

void ParamVerifier::abort(const QString& reason) {
    if (m_mode == Mode::Apply) {
        finishApply(false, reason);
    } else if (m_mode == Mode::Read) {
        m_read.reason = reason;
        end(false);
    }
}

void ParamVerifier::end(bool ok) {
    m_walker->stop();
    m_mode = Mode::None;
    ++m_run;
    m_then = nullptr;
    m_watchdog.stop();
    emit finished(ok);
}

// --- apply ----------------------------------------------------------------------------------

bool ParamVerifier::apply(const QVector<ParamRestorePlan::Write>& writes) {
    return apply(writes, Options());
}

bool ParamVerifier::apply(const QVector<ParamRestorePlan::Write>& writes, const Options& options) {
    ParamStore* s = store();
    if (running() || !s || !m_device || m_device->isEmpty())
        return false;
    m_options = options;
    m_options.attempts = qMax(1, m_options.attempts);
    m_apply = ApplyResult();
    m_jobs.clear();
    m_expected.clear();
    m_cursor = 0;
    // What the motor holds now, so that an entry a damaged write reached can be put back.
    for (const ParamEntry& e : s->snapshot(canId())) {
        if (e.writable())
            m_expected.insert(e.code, bytesOf(e));
    }
    for (ParamRestorePlan::Write w : writes) {
        // The caller may name only code and bytes; names and texts come from the table.
        ParamEntry e;
        if (s->entry(canId(), w.code, &e)) {
            if (w.name.isEmpty())
                w.name = e.name;
            if (w.to.isEmpty())
                w.to = valueText(e, w.pending);
            if (w.from.isEmpty())
                w.from = e.value;
        }
        Job job;
        job.write = w;
        job.before = m_expected.value(w.code);
        m_jobs.append(job);
        Written entry;
        entry.code = w.code;
        entry.name = w.name;
        entry.sent = w.to;
        entry.error = tr("not written");
        m_apply.entries.append(entry);
        m_expected.insert(w.code, w.pending);
    }
    m_mode = Mode::Apply;
    ++m_run;
    const quint64 run = m_run;
    QMetaObject::invokeMethod(
        this,
        [this, run] {
            if (m_run == run && m_mode == Mode::Apply)
                nextJob();
        },
        Qt::QueuedConnection);
    return true;
}

void ParamVerifier::nextJob() {
    emit progress(m_cursor, m_jobs.size());
    if (m_cursor >= m_jobs.size()) {
        if (m_options.save)
            saveTable(0);
        else
            finishApply(true, QString());
        return;
    }
    if (m_jobs[m_cursor].checkFirst)
        readBack(m_cursor, 0);
    else
        writeJob(m_cursor);
}

void ParamVerifier::writeJob(int index) {
    Job& job = m_jobs[index];
    ++job.writes;
    m_apply.entries[index].retries = job.writes - 1;
    ParamStore* s = store();
    s->clearAllModified(canId());
    s->setPending(canId(), job.write.code, job.write.pending);
    runStep([this] { return m_walker->download(false); }, m_options.stepTimeoutMs,
            [this, index](bool ok) {
                Written& entry = m_apply.entries[index];
                entry.acknowledged = entry.acknowledged || ok;
                if (!ok) {
                    const quint32 bits = m_feature->transfer().errorBits();
                    entry.error = bits ? ParamTransfer::writeErrorText(m_jobs[index].write.code, bits)
                                       : tr("the motor did not answer the write");
                    noteStray(index);
                }
                // An unacknowledged write may still have arrived: the read decides.
                readBack(index, 0);
            });
}

void ParamVerifier::readBack(int index, int tries) {
    const quint16 code = m_jobs[index].write.code;
    runStep([this, code] { return m_walker->readOne(code); }, m_options.stepTimeoutMs,
            [this, index, tries, code](bool ok) {
                if (ok)
                    return afterReadBack(index, true);
                const quint32 bits = m_feature->transfer().errorBits();
                m_apply.entries[index].error =
                    bits ? ParamTransfer::readErrorText(code, bits) : tr("the motor did not answer the read");
                // One more read before the value counts as unknown.
                if (tries == 0)
                    return readBack(index, 1);
                afterReadBack(index, false);
            });
}

bool ParamVerifier::readBackMatches(const Job& job, QString* text) const {
    ParamEntry e;
    if (!store()->entry(canId(), job.write.code, &e))
        return false;
    *text = e.value;
    return sameBytes(e, bytesOf(e), job.write.pending);
}

void ParamVerifier::afterReadBack(int index, bool read) {
    Job& job = m_jobs[index];
    Written& entry = m_apply.entries[index];
    const QString code = ParamBackup::codeText(job.write.code);
    QString text;
    const bool matched = read && readBackMatches(job, &text);
    if (read)
        entry.readBack = text;
    if (matched) {
        entry.matched = true;
        entry.error.clear();
        ++m_cursor;
        return nextJob();
    }
    if (job.checkFirst) {
        // A neighbour a damaged write may have reached: it reads otherwise, so it goes back.
        job.checkFirst = false;
        entry.repaired = true;
        Helper::instance()->postStatus(tr("%1 %2 was changed by a damaged write; writing %3 back.")
                                           .arg(code, job.write.name, job.write.to));
        return writeJob(index);
    }
    if (job.writes < m_options.attempts) {
        Helper::instance()->postStatus(
            read ? tr("%1 %2 reads %3 instead of %4; writing it again.")
                       .arg(code, job.write.name, text, job.write.to)
                 : tr("%1 %2 could not be read back; writing it again.").arg(code, job.write.name));
        return writeJob(index);
    }
    finishApply(false, read ? tr("%1 %2 reads %3 after %4 writes of %5.")
                                  .arg(code, job.write.name, text)
                                  .arg(job.writes)
                                  .arg(job.write.to)
                            : tr("%1 %2 could not be read back.").arg(code, job.write.name));
}

void ParamVerifier::noteStray(int index) {
    const int stray = m_feature->transfer().strayCode();
    const quint16 code = m_jobs[index].write.code;
    if (stray < 0 || stray == code || !m_expected.contains(quint16(stray)))
        return;
    // Entries still to come are written anyway; one already checked is checked again.
    for (int i = m_cursor + 1; i < m_jobs.size(); ++i) {
        if (m_jobs[i].write.code == stray)
            return;
    }
    ParamEntry e;
    if (!store()->entry(canId(), quint16(stray), &e))
        return;
    const QByteArray expected = m_expected.value(quint16(stray));
    Job job;
    job.write = {quint16(stray), e.name, QString(), valueText(e, expected), expected};
    job.before = expected;
    job.origin = Origin::Stray;
    job.checkFirst = true;
    m_jobs.append(job);
    Written entry;
    entry.code = job.write.code;
    entry.name = e.name;
    entry.sent = job.write.to;
    m_apply.entries.append(entry);
}

void ParamVerifier::saveTable(int tries) {
    runStep([this] { return m_walker->save(); }, m_options.stepTimeoutMs,
            [this, tries](bool ok) {
                if (ok) {
                    m_apply.saved = true;
                    return checkAfterSave(0, 0);
                }
                if (tries + 1 < m_options.attempts)
                    return saveTable(tries + 1);
                finishApply(false, tr("The motor did not confirm the save."));
            });
}

void ParamVerifier::checkAfterSave(int index, int tries) {
    // A damaged save request can reach the motor as another command; what is in flash now
    // is what the entries read after the save.
    while (index < m_jobs.size() && m_jobs[index].origin == Origin::Stray && !m_apply.entries[index].repaired)
        ++index;
    if (index >= m_jobs.size())
        return finishApply(true, QString());
    const quint16 code = m_jobs[index].write.code;
    runStep([this, code] { return m_walker->readOne(code); }, m_options.stepTimeoutMs,
            [this, index, tries](bool ok) {
                const Job& job = m_jobs[index];
                Written& entry = m_apply.entries[index];
                const QString code = ParamBackup::codeText(job.write.code);
                if (!ok) {
                    if (tries + 1 < m_options.attempts)
                        return checkAfterSave(index, tries + 1);
                    entry.matched = false;
                    return finishApply(
                        false, tr("%1 %2 could not be read after the save.").arg(code, job.write.name));
                }
                QString text;
                if (readBackMatches(job, &text))
                    return checkAfterSave(index + 1, 0);
                entry.matched = false;
                entry.readBack = text;
                finishApply(false, tr("%1 %2 reads %3 after the save instead of %4.")
                                       .arg(code, job.write.name, text, job.write.to));
            });
}

void ParamVerifier::finishApply(bool ok, const QString& reason) {
    if (m_mode != Mode::Apply)
        return;
    ParamStore* s = store();
    // Edits that did not arrive stay pending, so the page keeps them marked; what the store
    // says the motor holds is only what was read.
    QVector<Written> reported;
    if (s)
        s->clearAllModified(canId());
    for (int i = 0; i < m_jobs.size(); ++i) {
        const Job& job = m_jobs[i];
        const Written& entry = m_apply.entries[i];
        if (job.origin == Origin::Stray && !entry.repaired)
            continue;
        reported.append(entry);
        if (entry.matched || !s || job.origin != Origin::Asked)
            continue;
        s->setPending(canId(), job.write.code, job.write.pending);
        if (entry.readBack.isEmpty())
            s->setRaw(canId(), job.write.code, job.before);
    }
    m_apply.entries = reported;
    m_apply.ok = ok;
    m_apply.reason = reason;
    end(ok);
}

// --- readVerified ---------------------------------------------------------------------------

bool ParamVerifier::readVerified() {
    return readVerified(Options());
}

bool ParamVerifier::readVerified(const Options& options) {
    ParamStore* s = store();
    if (running() || !s || !m_device || m_device->isEmpty())
        return false;
    m_options = options;
    m_options.attempts = qMax(1, m_options.attempts);
    m_read = ReadResult();
    m_descriptions.clear();
    m_mode = Mode::Read;
    ++m_run;
    const quint64 run = m_run;
    QMetaObject::invokeMethod(
        this,
        [this, run] {
            if (m_run == run && m_mode == Mode::Read)
                describeAgain();
        },
        Qt::QueuedConnection);
    return true;
}

void ParamVerifier::describeAgain() {
    // Each description starts from an empty table: a frame lost on the way must leave a gap,
    // not the previous description's text that would then seem to agree.
    store()->forget(canId());
    runStep([this] { return m_walker->describe(); }, m_options.describeTimeoutMs,
            [this](bool ok) {
                ++m_read.descriptions;
                if (ok) {
                    m_descriptions.append({store()->snapshot(canId()), store()->counts(canId()),
                                           store()->configCount(canId())});
                    if (agreeOnDescription())
                        return readValue(0, m_description.value(0).value);
                }
                // Two agreeing descriptions are needed; on a long table nearly every one carries a
                // damaged frame somewhere, so the bound leaves room for several.
                if (m_read.descriptions < 2 * (m_options.attempts + 1))
                    return describeAgain();
                m_read.reason = tr("The motor's description of its table did not read the same twice.");
                end(false);
            });
}

bool ParamVerifier::agreeOnDescription() {
    // The counts, and then each entry's definition, must appear alike in two descriptions;
    // a bit flipped on the way is not flipped the same way twice.
    const Description* base = nullptr;
    for (int a = 0; a < m_descriptions.size() && !base; ++a) {
        for (int b = a + 1; b < m_descriptions.size() && !base; ++b) {
            if (m_descriptions[a].counts == m_descriptions[b].counts &&
                m_descriptions[a].configCount == m_descriptions[b].configCount)
                base = &m_descriptions[b];
        }
    }
    if (!base)
        return false;
    QVector<ParamEntry> agreed;
    for (const ParamEntry& e : base->entries) {
        int seen = 0;
        const ParamEntry* found = nullptr;
        for (const Description& d : m_descriptions) {
            if (d.counts != base->counts)
                continue;
            for (const ParamEntry& other : d.entries) {
                if (other.code != e.code)
                    continue;
                // The entry of base agrees with another; otherwise look for any two that do.
                if (sameDefinition(other, e))
                    ++seen;
                break;
            }
        }
        if (seen >= 2) {
            found = &e;
        } else {
            for (int a = 0; a < m_descriptions.size() && !found; ++a) {
                for (int b = a + 1; b < m_descriptions.size() && !found; ++b) {
                    const ParamEntry* x = entryIn(m_descriptions[a], e.code);
                    const ParamEntry* y = entryIn(m_descriptions[b], e.code);
                    if (x && y && sameDefinition(*x, *y))
                        found = x;
                }
            }
        }
        if (!found)
            return false;
        agreed.append(*found);
    }
    // The store holds the last description; the definitions agreed on replace it.
    ParamStore* s = store();
    s->setCounts(canId(), base->counts, base->configCount);
    for (const ParamEntry& e : agreed) {
        s->setName(canId(), e.code, e.name);
        if (e.group == 2)
            s->setLimits(canId(), e.code, e.minimum, e.maximum, e.decimals, e.type, e.property);
        else if (e.group == 3)
            s->setType(canId(), e.code, e.type);
    }
    m_description = s->snapshot(canId());
    m_read.entries.clear();
    for (const ParamEntry& e : m_description)
        m_read.entries.append({e.code, e.name, QString(), 0, false});
    return true;
}

void ParamVerifier::readValue(int index, const QString& previous) {
    emit progress(index, m_read.entries.size());
    if (index >= m_read.entries.size()) {
        m_read.ok = true;
        return end(true);
    }
    const quint16 code = m_read.entries[index].code;
    runStep([this, code] { return m_walker->readOne(code); }, m_options.stepTimeoutMs,
            [this, index, previous, code](bool ok) {
                Read& r = m_read.entries[index];
                ++r.reads;
                QString now = previous;
                if (ok) {
                    ParamEntry e;
                    store()->entry(canId(), code, &e);
                    // Live measurements move between reads; their type was checked by the read.
                    if (e.group == 3 || e.value == previous) {
                        r.value = e.value;
                        r.verified = true;
                        return readValue(index + 1, m_description.value(index + 1).value);
                    }
                    now = e.value;
                }
                if (r.reads <= m_options.attempts)
                    return readValue(index, now);
                m_read.reason =
                    tr("%1 %2 never read the same twice.").arg(ParamBackup::codeText(code), r.name);
                end(false);
            });
}
