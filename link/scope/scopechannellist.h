#pragma once

#include <QString>
#include <QVector>

class ParamStore;
class otaThread;

// One parameter the scope can sample.
struct ScopeChannelChoice {
    quint16 code = 0;
    QString name;
    int type = -1;  // value type code; -1 while unknown (the motor's reply then tells)
};

// The parameters a scope channel can show, in the order the channel settings count them
// ("type" k >= 1 is choice k - 1, 0 is none), read from the motor's parameter table through
// the store's snapshot interface.
class ScopeChannelList {
public:
    // The list of the motor with canId as its table was last described; empty without one.
    static QVector<ScopeChannelChoice> choices(otaThread* link, quint8 canId);

    // The list from a motor's parameter table: the group-2 entries after the configuration
    // entries (the ones the device record mirrors), then every group-3 entry.
    static QVector<ScopeChannelChoice> fromStore(const ParamStore& store, quint8 canId);

    // Resolves a channel given by name (case-insensitive) or by code ("0x3000", "12288").
    // Codes not in the list are accepted with an unknown type; names must be in it.
    static bool resolve(const QString& text, const QVector<ScopeChannelChoice>& list,
                        ScopeChannelChoice* out);
};
