#include "cli/paramsverb.h"

#include "cli/cliverbregistry.h"
#include "cli/linksession.h"
#include "framework/data/dataobject.h"
#include "link/frames/paramvalue.h"
#include "link/helper.h"
#include "link/motormodel.h"
#include "link/otathread.h"
#include "link/param/parambackup.h"
#include "link/param/paramfeature.h"
#include "link/param/paramstore.h"
#include "link/flows/paramapplyflow.h"
#include "link/flows/paramreadflow.h"
#include "link/param/paramverifier.h"
#include "link/param/paramwalker.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ParamsVerb", text);
}

const CliVerbRegistrar<ParamsVerb> registrar;

// A description streams about 20 frames per entry; a big table on a slow line takes seconds.
constexpr int kEntryTimeoutMs = 10000;

const QStringList kActions = {"dump", "get", "set", "save", "factory-reset", "backup", "diff", "restore"};

QString propertyText(const ParamEntry& e, int configCount) {
    switch (e.group) {
        case 0:
            return QStringLiteral("R/W");
        case 2:
            if (e.index < configCount)
                return QStringLiteral("Config");
            return e.property ? QStringLiteral("R/W") : QStringLiteral("Setting");
        default:
            return QStringLiteral("RO");
    }
}

QJsonObject entryJson(const ParamEntry& e, int configCount) {
    QJsonObject o;
    o.insert(QStringLiteral("code"), ParamBackup::codeText(e.code));
    o.insert(QStringLiteral("group"), e.group);
    o.insert(QStringLiteral("name"), e.name);
    o.insert(QStringLiteral("type"), ParamBackup::typeName(e.type));
    o.insert(QStringLiteral("property"), propertyText(e, configCount));
    if (e.group == 2) {
        o.insert(QStringLiteral("minimum"), ParamValue::formatLimit(e.type, e.minimum, e.decimals));
        o.insert(QStringLiteral("maximum"), ParamValue::formatLimit(e.type, e.maximum, e.decimals));
    }
    o.insert(QStringLiteral("value"), e.value);
    return o;
}

QString entryLine(const ParamEntry& e, int configCount) {
    const bool limits = e.group == 2;
    return QStringLiteral("%1  %2  %3  %4  %5  %6  %7  %8")
        .arg(ParamBackup::codeText(e.code))
        .arg(e.group)
        .arg(e.name, -16)
        .arg(ParamBackup::typeName(e.type), -6)
        .arg(propertyText(e, configCount), -7)
        .arg(limits ? ParamValue::formatLimit(e.type, e.minimum, e.decimals) : QString(), -10)
        .arg(limits ? ParamValue::formatLimit(e.type, e.maximum, e.decimals) : QString(), -10)
        .arg(e.value);
}

ParamStore* store() {
    return ParamStore::forLink(otaThread::instance());
}

}  // namespace

QString ParamsVerb::synopsis() const {
    return QStringLiteral(
        "params dump [--verify]|get <code>|set <code> <value> [--save]|save|factory-reset|backup <file>|diff "
        "<file> "
        "[<file>]|restore <file> [--only <code,...>] [--dry-run] [--force] --port <device>|--bus "
        "<plugin:interface> [--can-id <id>] "
        "[--json]");
}

QString ParamsVerb::description() const {
    return tr(
        "Read, edit, save, back up, compare and restore a motor's parameter table.\n"
        "Writes count once read back; backup and dump --verify read every value twice.\n"
        "diff exits 0 when no writable entry differs and 1 when some do; with two files it needs no port.");
}

int ParamsVerb::run(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(description());
    parser.addHelpOption();
    LinkSession session;
    session.addOptions(&parser);
    const QCommandLineOption saveOption(QStringLiteral("save"),
                                        tr("set: save the value in the motor's flash."));
    const QCommandLineOption onlyOption(QStringLiteral("only"), tr("restore: only these codes."),
                                        tr("codes"));
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"),
                                          tr("restore: show the writes, write nothing."));
    const QCommandLineOption forceOption(QStringLiteral("force"),
                                         tr("restore: also entries whose name or type changed."));
    const QCommandLineOption verifyOption(QStringLiteral("verify"),
                                          tr("dump: read every value a second time and compare."));
    parser.addOptions({saveOption, onlyOption, dryRunOption, forceOption, verifyOption});
    parser.addPositionalArgument(QStringLiteral("action"), kActions.join(QLatin1Char('|')));
    // Options are read after the action: two backup files are compared without a port.
    if (!parser.parse(LinkSession::valuesNotOptions(arguments))) {
        LinkSession::printErr(parser.errorText());
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        LinkSession::printOut(parser.helpText());
        return kExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    m_action = positional.value(0);
    m_args = positional.mid(1);
    for (QString& a : m_args)
        a = a.trimmed();
    m_save = parser.isSet(saveOption);
    m_dryRun = parser.isSet(dryRunOption);
    m_force = parser.isSet(forceOption);
    m_only = parser.value(onlyOption);
    m_verify = parser.isSet(verifyOption);
    m_json = parser.isSet(QStringLiteral("json"));
    session.setJson(m_json);
    const auto usage = [&session](const QString& text) { return session.usageError(text); };

    const QMap<QString, QPair<int, int>> arity = {
        {"dump", {0, 0}},          {"get", {1, 1}},    {"set", {2, 2}},  {"save", {0, 0}},
        {"factory-reset", {0, 0}}, {"backup", {1, 1}}, {"diff", {1, 2}}, {"restore", {1, 1}},
    };
    if (!arity.contains(m_action))
        return usage(tr("params expects one of: %1").arg(kActions.join(QStringLiteral(", "))));
    const auto [least, most] = arity.value(m_action);
    if (m_args.size() < least || m_args.size() > most)
        return usage(tr("Wrong number of arguments for params %1.").arg(m_action));
    if ((m_action == "get" || m_action == "set") && !ParamBackup::parseCode(m_args[0]))
        return usage(tr("Not an entry code: %1").arg(m_args[0]));
    if (!m_only.isEmpty()) {
        for (const QString& c : m_only.split(QLatin1Char(','))) {
            if (!ParamBackup::parseCode(c))
                return usage(tr("Not an entry code: %1").arg(c));
        }
    }
    if (m_action == "diff" && m_args.size() == 2)
        return diffFiles(&session);
    QString error;
    if (!session.readOptions(parser, &error))
        return usage(error);
    // A file that cannot be restored is refused before the port is opened.
    std::optional<ParamBackup> file;
    if (m_action == "restore" || m_action == "diff") {
        file = ParamBackup::load(m_args[0], &error);
        if (!file)
            return session.fail(tr("Cannot read %1: %2").arg(m_args[0], error));
    }
    if (!session.open())
        return session.finish(false);
    ParamWalker walker(session.target());
    // A verified read takes the description itself, twice at least.
    if (m_action == "backup" || (m_action == "dump" && m_verify))
        return act(&session, &walker);
    ParamReadFlow describe(session.targetId(), false);
    QObject::connect(&describe, &Flow::progress,
                     [](const FlowProgress& p) { LinkSession::printErr(p.text); });
    const FlowResult described = describe.run();
    if (!described.ok()) {
        LinkSession::printErr(described.reason);
        return session.finish(false);
    }
    // Failed attempts posted their error lines; the description that counts succeeded.
    session.forgetErrors();
    if (file)
        m_file = *file;
    return act(&session, &walker);
}

bool ParamsVerb::walk(LinkSession* session, ParamWalker* walker, const std::function<bool()>& start,
                      int timeoutMs) {
    bool done = false;
    bool ok = false;
    const auto connection = QObject::connect(walker, &ParamWalker::finished, [&](bool result) {
        done = true;
        ok = result;
    });
    if (start())
        session->waitUntil([&] { return done; }, timeoutMs);
    QObject::disconnect(connection);
    if (!done)
        walker->stop();
    return done && ok;
}

int ParamsVerb::act(LinkSession* s, ParamWalker* w) {
    if (m_action == "dump")
        return dump(s, w);
    if (m_action == "get")
        return get(s, w);
    if (m_action == "set")
        return set(s, w);
    if (m_action == "save") {
        const bool ok = walk(
            s, w, [w] { return w->save(); }, kEntryTimeoutMs);
        return s->finish(ok);
    }
    if (m_action == "factory-reset") {
        const bool ok = w->factoryReset();
        s->flush();
        return s->finish(ok);
    }
    if (m_action == "backup")
        return backup(s, w);
    if (m_action == "diff")
        return diff(s, w);
    return restore(s, w);
}

int ParamsVerb::dump(LinkSession* s, ParamWalker* w) {
    if (m_verify && !readVerified(s, w))
        return s->finish(false);
    const QVector<ParamEntry> entries = store()->snapshot(w->canId());
    const int configCount = store()->configCount(w->canId());
    QJsonArray list;
    for (const ParamEntry& e : entries) {
        list.append(entryJson(e, configCount));
        if (!s->json())
            LinkSession::printOut(entryLine(e, configCount));
    }
    s->addResult(QStringLiteral("entries"), list);
    return s->finish(true);
}

bool ParamsVerb::readVerified(LinkSession* s, ParamWalker* w) {
    LinkSession::printErr(tr("Reading every value a second time..."));
    ParamReadFlow read(w->canId(), true);
    QObject::connect(&read, &Flow::progress, [](const FlowProgress& p) {
        static int shown = -1;
        const int done = int(p.fraction * 1000);
        // A line every few percent: the progress of a table of a few hundred values.
        if (p.fraction >= 0 && done / 100 != shown / 100) {
            shown = done;
            LinkSession::printErr(p.text);
        }
    });
    const FlowResult r = read.run();
    if (!r.ok()) {
        LinkSession::printErr(r.reason);
        s->addResult(QStringLiteral("error"), r.reason);
        return false;
    }
    // Failed reads along the way posted error lines; every value now read the same twice.
    s->forgetErrors();
    s->addResult(QStringLiteral("descriptions"), r.values.value(QStringLiteral("descriptions")).toInt());
    return true;
}

int ParamsVerb::get(LinkSession* s, ParamWalker* w) {
    const quint16 code = *ParamBackup::parseCode(m_args[0]);
    ParamEntry e;
    if (!store()->entry(w->canId(), code, &e)) {
        LinkSession::printErr(tr("The motor has no entry %1.").arg(ParamBackup::codeText(code)));
        return s->finish(false);
    }
    if (!walk(
            s, w, [&] { return w->readOne(code); }, kEntryTimeoutMs))
        return s->finish(false);
    store()->entry(w->canId(), code, &e);
    s->addResult(QStringLiteral("entry"), entryJson(e, store()->configCount(w->canId())));
    if (!s->json())
        LinkSession::printOut(e.value);
    return s->finish(true);
}

int ParamsVerb::set(LinkSession* s, ParamWalker* w) {
    const quint16 code = *ParamBackup::parseCode(m_args[0]);
    const QString input = m_args[1];
    ParamEntry e;
    if (!store()->entry(w->canId(), code, &e)) {
        LinkSession::printErr(tr("The motor has no entry %1.").arg(ParamBackup::codeText(code)));
        return s->finish(false);
    }
    if (!e.writable()) {
        LinkSession::printErr(tr("%1 %2 is read-only.").arg(ParamBackup::codeText(code), e.name));
        return s->finish(false);
    }
    QByteArray pending;
    if (e.group == 0) {
        if (!ParamValue::isText(input)) {
            LinkSession::printErr(tr("Please input ASCII charaters"));
            return s->finish(false);
        }
        const QByteArray text = input.toLatin1();
        if (text.size() > ParamValue::kTextSize)
            LinkSession::printErr(
                tr("Only the first 16 characters are written: %1").arg(QString::fromLatin1(text.left(16))));
        pending = ParamValue::textBytes(text);
    } else {
        const auto number = ParamValue::parse(e.type, input, &pending);
        if (!number) {
            LinkSession::printErr(tr("Not a %1 value: %2").arg(ParamBackup::typeName(e.type), input));
            return s->finish(false);
        }
        if (*number < e.minimum || *number > e.maximum) {
            LinkSession::printErr(tr("Value out of range: %1 is outside [%2, %3].")
                                      .arg(input, ParamValue::formatLimit(e.type, e.minimum, e.decimals),
                                           ParamValue::formatLimit(e.type, e.maximum, e.decimals)));
            return s->finish(false);
        }
    }
    const ParamRestorePlan::Write write{code, e.name, e.value, ParamVerifier::valueText(e, pending), pending};
    const bool ok = apply(s, {write}, m_save);
    store()->entry(w->canId(), code, &e);
    if (ok && !s->json())
        LinkSession::printOut(e.value);
    s->addResult(QStringLiteral("entry"), entryJson(e, store()->configCount(w->canId())));
    return s->finish(ok);
}

bool ParamsVerb::apply(LinkSession* s, const QVector<ParamRestorePlan::Write>& writes, bool save) {
    ParamApplyFlow flow(s->targetId(), writes, save);
    if (writes.size() > 1)
        QObject::connect(&flow, &Flow::progress,
                         [](const FlowProgress& p) { LinkSession::printErr(p.text); });
    const FlowResult r = flow.run();
    QJsonArray entries;
    for (const QVariant& v : r.values.value(QStringLiteral("verified")).toList()) {
        const QVariantMap e = v.toMap();
        QJsonObject o;
        o.insert(QStringLiteral("code"),
                 ParamBackup::codeText(quint16(e.value(QStringLiteral("code")).toInt())));
        o.insert(QStringLiteral("name"), e.value(QStringLiteral("name")).toString());
        o.insert(QStringLiteral("sent"), e.value(QStringLiteral("sent")).toString());
        o.insert(QStringLiteral("read_back"), e.value(QStringLiteral("read_back")).toString());
        o.insert(QStringLiteral("matched"), e.value(QStringLiteral("matched")).toBool());
        o.insert(QStringLiteral("retries"), e.value(QStringLiteral("retries")).toInt());
        if (e.value(QStringLiteral("repaired")).toBool())
            o.insert(QStringLiteral("repaired"), true);
        if (!e.value(QStringLiteral("error")).toString().isEmpty())
            o.insert(QStringLiteral("error"), e.value(QStringLiteral("error")).toString());
        entries.append(o);
    }
    const bool saved = r.values.value(QStringLiteral("saved")).toBool();
    s->addResult(QStringLiteral("verified"), entries);
    s->addResult(QStringLiteral("saved"), saved);
    if (r.ok()) {
        // Retries along the way posted error lines; every entry read back as written.
        s->forgetErrors();
        return true;
    }
    const QStringList failed = r.values.value(QStringLiteral("failed")).toStringList();
    LinkSession::printErr(r.reason);
    if (!failed.isEmpty())
        LinkSession::printErr(tr("Not confirmed: %1").arg(failed.join(QStringLiteral(", "))));
    if (save && !saved)
        LinkSession::printErr(tr("Nothing was saved in the motor's flash."));
    s->addResult(QStringLiteral("error"), r.reason);
    return false;
}

void ParamsVerb::warnAboutOrigin(LinkSession* s, const ParamBackup& file) {
    const quint64 mcu = s->target()->r(QStringLiteral("info.mcu_id"))->get().toULongLong();
    if (file.mcuId == mcu)
        return;
    const QString line = tr("Warning: %1 was taken from the motor with MCU ID 0x%2; this is 0x%3.")
                             .arg(m_args[0], QString::number(file.mcuId, 16), QString::number(mcu, 16));
    LinkSession::printErr(line);
    s->addResult(QStringLiteral("warning"), line);
}

int ParamsVerb::backup(LinkSession* s, ParamWalker* w) {
    // A backup must be right: every value is read a second time before it is written down.
    if (!readVerified(s, w))
        return s->finish(false);
    kx::DataObject* device = s->target();
    const ParamBackup b = ParamBackup::fromEntries(
        store()->snapshot(w->canId()), device->r(QStringLiteral("info.mcu_id"))->get().toULongLong(),
        w->canId(), MotorModel::known() ? MotorModel::code() : -1);
    QString error;
    if (!b.save(m_args[0], &error)) {
        LinkSession::printErr(tr("Cannot write %1: %2").arg(m_args[0], error));
        s->addResult(QStringLiteral("error"), error);
        return s->finish(false);
    }
    LinkSession::printErr(tr("%1 entries saved to %2.").arg(b.items.size()).arg(m_args[0]));
    s->addResult(QStringLiteral("entries"), b.items.size());
    return s->finish(true);
}

int ParamsVerb::diff(LinkSession* s, ParamWalker* w) {
    warnAboutOrigin(s, m_file);
    kx::DataObject* device = s->target();
    const ParamBackup motor = ParamBackup::fromEntries(
        store()->snapshot(w->canId()), device->r(QStringLiteral("info.mcu_id"))->get().toULongLong(),
        w->canId(), -1);
    const ParamDiff d = ParamDiff::compare(motor, m_file);
    const QStringList lines = d.lines();
    if (!s->json()) {
        for (const QString& line : lines)
            LinkSession::printOut(line);
    }
    s->addResult(QStringLiteral("differences"), QJsonArray::fromStringList(lines));
    // diff(1): 1 means "they differ", which is not a failure of the link.
    const int code = s->finish(true);
    return code == kExitOk && d.differs() ? kExitFailure : code;
}

int ParamsVerb::diffFiles(LinkSession* s) {
    // Like diff(1): an unreadable or damaged file is trouble (1), as are differences.
    QString error;
    const auto left = ParamBackup::load(m_args[0], &error);
    if (!left)
        return s->fail(tr("Cannot read %1: %2").arg(m_args[0], error));
    const auto right = ParamBackup::load(m_args[1], &error);
    if (!right)
        return s->fail(tr("Cannot read %1: %2").arg(m_args[1], error));
    const ParamDiff d = ParamDiff::compare(*left, *right);
    const QStringList lines = d.lines();
    if (!s->json()) {
        for (const QString& line : lines)
            LinkSession::printOut(line);
    }
    s->addResult(QStringLiteral("differences"), QJsonArray::fromStringList(lines));
    s->addResult(QStringLiteral("differs"), d.differs());
    const int code = s->finish(true);
    return code == kExitOk && d.differs() ? kExitFailure : code;
}

int ParamsVerb::restore(LinkSession* s, ParamWalker* w) {
    warnAboutOrigin(s, m_file);
    QSet<quint16> only;
    if (!m_only.isEmpty()) {
        for (const QString& c : m_only.split(QLatin1Char(',')))
            only.insert(*ParamBackup::parseCode(c));
    }
    const ParamRestorePlan plan =
        ParamRestorePlan::plan(store()->snapshot(w->canId()), m_file, only, m_force);
    QJsonArray writes, refused;
    for (const auto& r : plan.refused) {
        LinkSession::printErr(tr("Refused %1 %2: %3").arg(ParamBackup::codeText(r.code), r.name, r.reason));
        refused.append(ParamBackup::codeText(r.code));
    }
    for (const auto& wr : plan.writes) {
        const QString line =
            tr("%1 %2: %3 -> %4").arg(ParamBackup::codeText(wr.code), wr.name, wr.from, wr.to);
        if (!s->json())
            LinkSession::printOut(line);
        writes.append(line);
    }
    s->addResult(QStringLiteral("writes"), writes);
    s->addResult(QStringLiteral("refused"), refused);
    // The backup is checked whole before anything goes out: a restore that stops half-way
    // leaves the motor as neither the backup nor what it was.
    if (!plan.refused.isEmpty()) {
        LinkSession::printErr(
            tr("Nothing was written: %1 entries of the backup cannot be restored.").arg(plan.refused.size()));
        return s->finish(false);
    }
    if (plan.writes.isEmpty()) {
        LinkSession::printErr(tr("Nothing to restore."));
        return s->finish(true);
    }
    if (m_dryRun)
        return s->finish(true);
    LinkSession::printErr(tr("Writing %1 entries...").arg(plan.writes.size()));
    return s->finish(apply(s, plan.writes, true));
}
