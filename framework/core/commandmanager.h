#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>

#include <mutex>

namespace kx {

class BaseCommand;

// The registry of text commands by key. It does not own them; a command that is destroyed
// leaves the registry by itself.
class CommandManager : public QObject {
    Q_OBJECT

public:
    static CommandManager& instance();

    // False for a null command or a key already taken; otherwise commandAdded(key).
    bool regist(BaseCommand* command);
    // False for an unknown key; otherwise commandRemoved(key), then the entry goes.
    bool cancel(const QString& key);
    BaseCommand* get(const QString& key) const;
    QStringList keys() const;

signals:
    void commandAdded(QString key);
    void commandRemoved(QString key);

private:
    struct Entry {
        BaseCommand* command;
        QObject* object;  // the same object, kept as QObject for after its destruction began
        QMetaObject::Connection watch;
    };

    CommandManager();
    void onCommandDestroyed(const QString& key, const QObject* object);

    QHash<QString, Entry> m_commands;
    mutable std::mutex m_mutex;
};

CommandManager& command();

}  // namespace kx
