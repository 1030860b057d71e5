#pragma once

#include "cli/cliverb.h"

#include <map>
#include <memory>

// The verbs of trivane-cli by name (see cliverb.h for how a verb joins).
class CliVerbRegistry {
public:
    static CliVerbRegistry& instance();

    // False when a verb of that name is already there: the first one stays, and the name is
    // kept in duplicates() so that main() refuses to start instead of running either.
    bool add(std::unique_ptr<CliVerb> verb);
    CliVerb* find(const QString& name) const;
    // Every verb, in name order.
    QList<CliVerb*> verbs() const;
    // Names registered more than once, each named once, in name order.
    QStringList duplicates() const;

private:
    std::map<QString, std::unique_ptr<CliVerb>> m_verbs;
    QStringList m_duplicates;
};

// Registers a verb at static initialisation: static const CliVerbRegistrar<MyVerb> registrar;
template <typename Verb>
class CliVerbRegistrar {
public:
    CliVerbRegistrar() { CliVerbRegistry::instance().add(std::make_unique<Verb>()); }
};
