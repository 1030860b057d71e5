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
    if (m_verbs.emplace(name, std::move(verb)).second) {
        return true;
    }
    if (!m_duplicates.contains(name)) {
        m_duplicates.append(name);
        m_duplicates.sort();
    }
    return false;
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

QStringList CliVerbRegistry::duplicates() const {
    return m_duplicates;
}
