#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <yaml-cpp/yaml.h>

#include <optional>

#include "commission/plan/planproblem.h"

// Typed, strict access to one YAML mapping of a plan. Every key read through it becomes a
// known key; finish() then reports every other key as unknown, with the nearest known one as
// a hint, so a misspelt "tolerence" is an error at its own line instead of a silently ignored
// setting. Wrong types are reported at the value's position: a quoted "1.5" is text, not a
// number, and booleans are only true and false.
class YamlMap {
    Q_DECLARE_TR_FUNCTIONS(YamlMap)

public:
    enum class Need { Optional, Required };

    // what names the mapping in messages ("the plan", "a move step"); where is used when the
    // node itself carries no position (an empty value).
    YamlMap(const YAML::Node& node, const QString& what, PlanProblems* problems, const PlanPosition& where);

    bool isMap() const { return m_isMap; }
    const QString& what() const { return m_what; }
    // Renames the mapping once more is known of it (a step, once its kind is read).
    void setWhat(const QString& what) { m_what = what; }
    PlanProblems* problems() const { return m_problems; }

    // Marks key as known; true when it is present (with any value, null included).
    bool has(const QString& key);
    // The value (marks key as known); an undefined node when absent.
    YAML::Node value(const QString& key);
    // Where the key's value is written (the key itself when the value is empty).
    PlanPosition at(const QString& key) const;
    PlanPosition keyAt(const QString& key) const;
    // Reports the key as missing, at the mapping's position.
    void missing(const QString& key);

    std::optional<QString> text(const QString& key, Need need = Need::Optional);
    std::optional<double> number(const QString& key, Need need = Need::Optional);
    std::optional<int> integer(const QString& key, int min, int max, Need need = Need::Optional);
    std::optional<bool> flag(const QString& key);
    // Seconds: a number, or a number with "ms", "s" or "min" ("500 ms"); above 0, at most max.
    std::optional<double> duration(const QString& key, double maxSeconds, Need need = Need::Optional);

    // Reports every key never asked for.
    void finish();

    // Conversions of single scalars (list elements too); nullopt after reporting the problem.
    static PlanPosition positionOf(const YAML::Node& node, const PlanPosition& fallback);
    static bool isQuoted(const YAML::Node& node);
    static std::optional<double> toNumber(const YAML::Node& node, const QString& label,
                                          PlanProblems* problems, const PlanPosition& at);
    static std::optional<int> toInteger(const YAML::Node& node, const QString& label, int min, int max,
                                        PlanProblems* problems, const PlanPosition& at);
    static std::optional<QString> toText(const YAML::Node& node, const QString& label, PlanProblems* problems,
                                         const PlanPosition& at);
    // The closest of candidates to key, or empty when none is close enough to be a typo.
    static QString nearest(const QString& key, const QStringList& candidates);

private:
    struct Entry {
        QString key;
        YAML::Node keyNode;
        YAML::Node value;
        bool used = false;
    };
    const Entry* find(const QString& key) const;
    Entry* find(const QString& key);
    void problem(const PlanPosition& at, const QString& message) const;

    QString m_what;
    PlanProblems* m_problems;
    PlanPosition m_where;
    bool m_isMap = false;
    QVector<Entry> m_entries;
    QStringList m_known;
};
