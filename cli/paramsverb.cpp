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
constexpr int kDescribeTimeoutMs = 30000;
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
        "params dump|get <code>|set <code> <value> [--save]|save|factory-reset|backup <file>|diff <file> "
        "[<file>]|restore <file> [--only <code,...>] [--dry-run] [--force] --port <device> [--can-id <id>] "
        "[--json]");
}

QString ParamsVerb::description() const {
    return tr(
        "Read, edit, save, back up, compare and restore a motor's parameter table.\n"
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
    parser.addOptions({saveOption, onlyOption, dryRunOption, forceOption});
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
    m_json = parser.isSet(QStringLiteral("json"));

    const QMap<QString, QPair<int, int>> arity = {
        {"dump", {0, 0}},          {"get", {1, 1}},    {"set", {2, 2}},  {"save", {0, 0}},
        {"factory-reset", {0, 0}}, {"backup", {1, 1}}, {"diff", {1, 2}}, {"restore", {1, 1}},
    };
    if (!arity.contains(m_action)) {
        LinkSession::printErr(tr("params expects one of: %1").arg(kActions.join(QStringLiteral(", "))));
        return kExitUsage;
    }
    const auto [least, most] = arity.value(m_action);
    if (m_args.size() < least || m_args.size() > most) {
        LinkSession::printErr(tr("Wrong number of arguments for params %1.").arg(m_action));
        return kExitUsage;
    }
    if ((m_action == "get" || m_action == "set") && !ParamBackup::parseCode(m_args[0])) {
        LinkSession::printErr(tr("Not an entry code: %1").arg(m_args[0]));
        return kExitUsage;
    }
    if (!m_only.isEmpty()) {
        for (const QString& c : m_only.split(QLatin1Char(','))) {
            if (!ParamBackup::parseCode(c)) {
                LinkSession::printErr(tr("Not an entry code: %1").arg(c));
                return kExitUsage;
            }
        }
    }
    if (m_action == "diff" && m_args.size() == 2)
        return diffFiles();
    QString error;
    if (!session.readOptions(parser, &error)) {
        LinkSession::printErr(error);
        return kExitUsage;
    }
    if (!session.open())
        return session.finish(false);
    ParamWalker walker(session.target());
    LinkSession::printErr(tr("Reading the parameter description..."));
    if (!walk(
            &session, &walker, [&] { return walker.describe(); }, kDescribeTimeoutMs)) {
        LinkSession::printErr(tr("The motor did not describe its parameter table."));
        return session.finish(false);
    }
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
        const QByteArray text = input.toUtf8();
        for (char c : text) {
            if (uchar(c) >= 0x80) {
                LinkSession::printErr(tr("Please input ASCII charaters"));
                return s->finish(false);
            }
        }
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
    store()->clearAllModified(w->canId());
    store()->setPending(w->canId(), code, pending);
    const bool ok = walk(
        s, w, [&] { return w->download(m_save); }, kEntryTimeoutMs);
    store()->entry(w->canId(), code, &e);
    if (ok && !s->json())
        LinkSession::printOut(e.value);
    s->addResult(QStringLiteral("entry"), entryJson(e, store()->configCount(w->canId())));
    return s->finish(ok);
}

int ParamsVerb::backup(LinkSession* s, ParamWalker* w) {
    kx::DataObject* device = s->target();
    const ParamBackup b = ParamBackup::fromEntries(
        store()->snapshot(w->canId()), device->r(QStringLiteral("info.mcu_id"))->get().toULongLong(),
        w->canId(), MotorModel::known() ? MotorModel::code() : -1);
    QString error;
    if (!b.save(m_args[0], &error)) {
        LinkSession::printErr(tr("Cannot write %1: %2").arg(m_args[0], error));
        return s->finish(false);
    }
    LinkSession::printErr(tr("%1 entries saved to %2.").arg(b.items.size()).arg(m_args[0]));
    s->addResult(QStringLiteral("entries"), b.items.size());
    return s->finish(true);
}

int ParamsVerb::diff(LinkSession* s, ParamWalker* w) {
    QString error;
    const auto file = ParamBackup::load(m_args[0], &error);
    if (!file) {
        LinkSession::printErr(tr("Cannot read %1: %2").arg(m_args[0], error));
        return s->finish(false);
    }
    kx::DataObject* device = s->target();
    const ParamBackup motor = ParamBackup::fromEntries(
        store()->snapshot(w->canId()), device->r(QStringLiteral("info.mcu_id"))->get().toULongLong(),
        w->canId(), -1);
    const ParamDiff d = ParamDiff::compare(motor, *file);
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

int ParamsVerb::diffFiles() {
    QString error;
    const auto left = ParamBackup::load(m_args[0], &error);
    if (!left) {
        LinkSession::printErr(tr("Cannot read %1: %2").arg(m_args[0], error));
        return kExitUsage;
    }
    const auto right = ParamBackup::load(m_args[1], &error);
    if (!right) {
        LinkSession::printErr(tr("Cannot read %1: %2").arg(m_args[1], error));
        return kExitUsage;
    }
    const ParamDiff d = ParamDiff::compare(*left, *right);
    for (const QString& line : d.lines())
        LinkSession::printOut(line);
    return d.differs() ? kExitFailure : kExitOk;
}

int ParamsVerb::restore(LinkSession* s, ParamWalker* w) {
    QString error;
    const auto file = ParamBackup::load(m_args[0], &error);
    if (!file) {
        LinkSession::printErr(tr("Cannot read %1: %2").arg(m_args[0], error));
        return s->finish(false);
    }
    QSet<quint16> only;
    if (!m_only.isEmpty()) {
        for (const QString& c : m_only.split(QLatin1Char(',')))
            only.insert(*ParamBackup::parseCode(c));
    }
    const ParamRestorePlan plan = ParamRestorePlan::plan(store()->snapshot(w->canId()), *file, only, m_force);
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
    if (plan.writes.isEmpty()) {
        LinkSession::printErr(tr("Nothing to restore."));
        return s->finish(plan.refused.isEmpty());
    }
    if (m_dryRun)
        return s->finish(plan.refused.isEmpty());
    store()->clearAllModified(w->canId());
    for (const auto& wr : plan.writes)
        store()->setPending(w->canId(), wr.code, wr.pending);
    LinkSession::printErr(tr("Writing %1 entries...").arg(plan.writes.size()));
    int written = 0;
    QObject::connect(w, &ParamWalker::entryWritten, [&written] { ++written; });
    const bool ok = walk(
        s, w, [w] { return w->download(true); }, kEntryTimeoutMs * (plan.writes.size() + 1));
    if (!ok)
        LinkSession::printErr(tr("%1 of %2 entries written.").arg(written).arg(plan.writes.size()));
    return s->finish(ok && plan.refused.isEmpty());
}
