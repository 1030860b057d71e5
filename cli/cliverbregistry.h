#pragma once

#include "cli/cliverb.h"

#include <map>
#include <memory>

// The verbs of trivane-cli by name (see cliverb.h for how a verb joins).
class CliVerbRegistry {
public:
    static CliVerbRegistry& instance();

    // False when a verb of that name is already there.
    bool add(std::unique_ptr<CliVerb> verb);
    CliVerb* find(const QString& name) const;
    // Every verb, in name order.
    QList<CliVerb*> verbs() const;

private:
    std::map<QString, std::unique_ptr<CliVerb>> m_verbs;
};

// Registers a verb at static initialisation: static const CliVerbRegistrar<MyVerb> registrar;
template <typename Verb>
class CliVerbRegistrar {
public:
    CliVerbRegistrar() { CliVerbRegistry::instance().add(std::make_unique<Verb>()); }
};
