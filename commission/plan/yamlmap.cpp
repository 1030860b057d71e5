#include "commission/plan/yamlmap.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

QString scalarOf(const YAML::Node& node) {
    return QString::fromStdString(node.Scalar());
}

int editDistance(const QString& a, const QString& b) {
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

YamlMap::YamlMap(const YAML::Node& node, const QString& what, PlanProblems* problems,
                 const PlanPosition& where)
    : m_what(what), m_problems(problems), m_where(positionOf(node, where)) {
    if (!node.IsMap()) {
        problem(m_where, tr("%1 must be a mapping of keys and values").arg(what));
        return;
    }
    m_isMap = true;
    for (auto it = node.begin(); it != node.end(); ++it) {
        const PlanPosition keyPos = positionOf(it->first, m_where);
        if (!it->first.IsScalar()) {
            problem(keyPos, tr("keys in %1 must be plain names").arg(what));
            continue;
        }
        const QString key = scalarOf(it->first);
        if (const Entry* first = find(key)) {
            problem(keyPos, tr("\"%1\" is given twice in %2 (first on line %3)")
                                .arg(key, what)
                                .arg(positionOf(first->keyNode, m_where).line));
            continue;
        }
        m_entries.append({key, it->first, it->second, false});
    }
}

const YamlMap::Entry* YamlMap::find(const QString& key) const {
    for (const Entry& e : m_entries) {
        if (e.key == key)
            return &e;
    }
    return nullptr;
}

YamlMap::Entry* YamlMap::find(const QString& key) {
    for (Entry& e : m_entries) {
        if (e.key == key)
            return &e;
    }
    return nullptr;
}

void YamlMap::problem(const PlanPosition& at, const QString& message) const {
    m_problems->add(at, message);
}

bool YamlMap::has(const QString& key) {
    if (!m_known.contains(key))
        m_known << key;
    Entry* e = find(key);
    if (e)
        e->used = true;
    return e != nullptr;
}

YAML::Node YamlMap::value(const QString& key) {
    if (!has(key))
        return YAML::Node(YAML::NodeType::Undefined);
    return find(key)->value;
}

PlanPosition YamlMap::keyAt(const QString& key) const {
    const Entry* e = find(key);
    return e ? positionOf(e->keyNode, m_where) : m_where;
}

PlanPosition YamlMap::at(const QString& key) const {
    const Entry* e = find(key);
    if (!e)
        return m_where;
    // An empty value has no position of its own (yaml-cpp puts it on the next line).
    return e->value.IsNull() ? keyAt(key) : positionOf(e->value, keyAt(key));
}

void YamlMap::missing(const QString& key) {
    problem(m_where, tr("%1 needs \"%2\"").arg(m_what, key));
}

std::optional<QString> YamlMap::text(const QString& key, Need need) {
    if (!has(key)) {
        if (need == Need::Required)
            missing(key);
        return std::nullopt;
    }
    return toText(value(key), key, m_problems, at(key));
}

std::optional<double> YamlMap::number(const QString& key, Need need) {
    if (!has(key)) {
        if (need == Need::Required)
            missing(key);
        return std::nullopt;
    }
    return toNumber(value(key), key, m_problems, at(key));
}

std::optional<int> YamlMap::integer(const QString& key, int min, int max, Need need) {
    if (!has(key)) {
        if (need == Need::Required)
            missing(key);
        return std::nullopt;
    }
    return toInteger(value(key), key, min, max, m_problems, at(key));
}

std::optional<bool> YamlMap::flag(const QString& key) {
    if (!has(key))
        return std::nullopt;
    const YAML::Node node = value(key);
    if (node.IsScalar() && !isQuoted(node)) {
        const QString s = scalarOf(node).toLower();
        if (s == QLatin1String("true"))
            return true;
        if (s == QLatin1String("false"))
            return false;
    }
    problem(at(key), tr("%1 must be true or false").arg(key));
    return std::nullopt;
}

std::optional<double> YamlMap::duration(const QString& key, double maxSeconds, Need need) {
    if (!has(key)) {
        if (need == Need::Required)
            missing(key);
        return std::nullopt;
    }
    const YAML::Node node = value(key);
    const PlanPosition pos = at(key);
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]*\\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\\s*(ms|s|min)?\\s*$"));
    const QRegularExpressionMatch match =
        node.IsScalar() ? pattern.match(scalarOf(node)) : QRegularExpressionMatch();
    if (!match.hasMatch()) {
        problem(pos, tr("%1 must be a time such as 2, 0.5 s, 500 ms or 1 min").arg(key));
        return std::nullopt;
    }
    double seconds = match.captured(1).toDouble();
    const QString unit = match.captured(2);
    if (unit == QLatin1String("ms"))
        seconds /= 1000;
    else if (unit == QLatin1String("min"))
        seconds *= 60;
    if (!(seconds > 0) || seconds > maxSeconds) {
        problem(pos, tr("%1 must be above 0 and at most %2 s").arg(key).arg(maxSeconds));
        return std::nullopt;
    }
    return seconds;
}

void YamlMap::finish() {
    for (const Entry& e : m_entries) {
        if (e.used)
            continue;
        const QString hint = nearest(e.key, m_known);
        QString message = tr("unknown key \"%1\" in %2").arg(e.key, m_what);
        if (!hint.isEmpty())
            message += tr(" (did you mean \"%1\"?)").arg(hint);
        else if (!m_known.isEmpty())
            message += tr(" (known here: %1)").arg(m_known.join(QStringLiteral(", ")));
        problem(positionOf(e.keyNode, m_where), message);
    }
}

PlanPosition YamlMap::positionOf(const YAML::Node& node, const PlanPosition& fallback) {
    if (!node.IsDefined() || node.IsNull())
        return fallback;
    const YAML::Mark mark = node.Mark();
    if (mark.line < 0)
        return fallback;
    return {mark.line + 1, mark.column + 1};
}

bool YamlMap::isQuoted(const YAML::Node& node) {
    const std::string& tag = node.Tag();
    return tag == "!" || tag == "tag:yaml.org,2002:str";
}

std::optional<double> YamlMap::toNumber(const YAML::Node& node, const QString& label, PlanProblems* problems,
                                        const PlanPosition& at) {
    if (node.IsScalar() && !isQuoted(node)) {
        bool ok = false;
        const double v = scalarOf(node).trimmed().toDouble(&ok);
        if (ok && std::isfinite(v))
            return v;
    }
    problems->add(at, tr("%1 must be a number").arg(label));
    return std::nullopt;
}

std::optional<int> YamlMap::toInteger(const YAML::Node& node, const QString& label, int min, int max,
                                      PlanProblems* problems, const PlanPosition& at) {
    if (node.IsScalar() && !isQuoted(node)) {
        const QString s = scalarOf(node).trimmed();
        bool ok = false;
        // Hexadecimal where people think in hexadecimal (CAN IDs, codes); never octal.
        const qlonglong v = s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                ? s.mid(2).toLongLong(&ok, 16)
                                : s.toLongLong(&ok, 10);
        if (ok) {
            if (v >= min && v <= max)
                return int(v);
            problems->add(at, tr("%1 must be from %2 to %3").arg(label).arg(min).arg(max));
            return std::nullopt;
        }
    }
    problems->add(at, tr("%1 must be a whole number").arg(label));
    return std::nullopt;
}

std::optional<QString> YamlMap::toText(const YAML::Node& node, const QString& label, PlanProblems* problems,
                                       const PlanPosition& at) {
    if (node.IsScalar())
        return scalarOf(node);
    problems->add(at, node.IsNull() ? tr("%1 has no value").arg(label) : tr("%1 must be text").arg(label));
    return std::nullopt;
}

QString YamlMap::nearest(const QString& key, const QStringList& candidates) {
    QString best;
    int bestDistance = std::max(2, int(key.size()) / 3) + 1;
    for (const QString& c : candidates) {
        const int d = editDistance(key.toLower(), c.toLower());
        if (d < bestDistance) {
            bestDistance = d;
            best = c;
        }
    }
    return best;
}
