#include "cli/cliverbregistry.h"

CliVerbRegistry& CliVerbRegistry::instance() {
    static CliVerbRegistry registry;
    return registry;
}

bool CliVerbRegistry::add(std::unique_ptr<CliVerb> verb) {
    if (!verb) {
        return false;
    }
    const QString name = verb->name();
    return m_verbs.emplace(name, std::move(verb)).second;
}

CliVerb* CliVerbRegistry::find(const QString& name) const {
    const auto it = m_verbs.find(name);
    return it == m_verbs.end() ? nullptr : it->second.get();
}

QList<CliVerb*> CliVerbRegistry::verbs() const {
    QList<CliVerb*> result;
    for (const auto& entry : m_verbs) {
        result.append(entry.second.get());
    }
    return result;
}
