#include "framework/core/commandmanager.h"

#include "framework/core/basecommand.h"

namespace kx {

CommandManager& CommandManager::instance() {
    static CommandManager manager;
    return manager;
}

CommandManager::CommandManager() = default;

bool CommandManager::regist(BaseCommand* command) {
    if (!command) {
        return false;
    }
    const QString key = command->key();
    QObject* object = command;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_commands.contains(key)) {
            return false;
        }
        // Without the watch the registry would hand out a dangling pointer once the command is
        // gone (the convert command dies with the data root at exit).
        const QMetaObject::Connection watch = connect(
            object, &QObject::destroyed, this, [this, key, object] { onCommandDestroyed(key, object); },
            Qt::DirectConnection);
        m_commands.insert(key, Entry{command, object, watch});
    }
    emit commandAdded(key);
    return true;
}

bool CommandManager::cancel(const QString& key) {
    BaseCommand* command = get(key);
    if (!command) {
        return false;
    }
    emit commandRemoved(key);
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_commands.find(key);
    if (it != m_commands.end() && it->command == command) {
        disconnect(it->watch);
        m_commands.erase(it);
    }
    return true;
}

BaseCommand* CommandManager::get(const QString& key) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_commands.constFind(key);
    return it == m_commands.constEnd() ? nullptr : it->command;
}

QStringList CommandManager::keys() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_commands.keys();
}

void CommandManager::onCommandDestroyed(const QString& key, const QObject* object) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_commands.find(key);
        if (it == m_commands.end() || it->object != object) {
            return;
        }
        m_commands.erase(it);
    }
    emit commandRemoved(key);
}

CommandManager& command() {
    return CommandManager::instance();
}

}  // namespace kx
