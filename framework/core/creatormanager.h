#pragma once

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>

namespace kx {

// A registry of creators (callables returning T) under dotted keys. Besides the creators it
// keeps a detached tree with one node per key along its dotted path, so that a key's whole
// subtree can be walked (the version registry sums over it).
template <typename T, typename Creator>
class CreatorManager {
public:
    CreatorManager() {
        // The key tree's lookups end at the data manager's empty node; constructing the manager
        // first makes it outlive this registry at exit.
        DataManager::instance();
        m_keys.reset(new DataObject(QStringLiteral("_creator_key")));
    }

    // Stores the creator unless the key is taken; true when it was stored.
    bool regist(const QString& key, Creator creator) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_creators.contains(key)) {
                return false;
            }
            m_creators.insert(key, creator);
        }
        m_keys->set(m_keys.get(), key, QVariant(), true);
        return true;
    }

    bool contains(const QString& key) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_creators.contains(key);
    }

    // The creator's result for key, or T() when nothing is registered under it.
    T create(const QString& key) const {
        Creator creator = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            creator = m_creators.value(key, nullptr);
        }
        return creator ? creator() : T();
    }

    QStringList keys() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_creators.keys();
    }

    // The tree of registered keys (its root is not a key).
    const DataObject* keyTree() const { return m_keys.get(); }

private:
    std::unique_ptr<DataObject> m_keys;
    QHash<QString, Creator> m_creators;
    mutable std::mutex m_mutex;
};

}  // namespace kx
