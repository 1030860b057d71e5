#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVector>

#include <array>
#include <mutex>

class otaThread;

// One entry of a motor's parameter table as the host knows it. Groups: 0 writable strings,
// 1 read-only strings (versions, identity), 2 configuration entries and settings with limits,
// 3 live measurements.
struct ParamEntry {
    quint16 code = 0;  // group * 0x1000 + index
    int group = 0;
    int index = 0;
    QString name;
    int type = 10;       // value-type code; 10 = 16-byte text (groups 0 and 1)
    int property = 0;    // group 2: non-zero = writable; group 0 entries are always writable
    double minimum = 0;  // group 2 only
    double maximum = 0;
    int decimals = 0;
    QByteArray raw;         // groups 2 and 3: 8 value bytes, little-endian
    QString value;          // the value as text (strings as stored, numbers formatted)
    bool modified = false;  // an edit is pending (groups 0 and 2)
    QByteArray pending;     // the pending value: 16 text bytes or 8 raw bytes

    // Whether the host may write the entry (group 0, and group 2 with a non-zero property).
    bool writable() const { return group == 0 || (group == 2 && property != 0); }
    // Live measurements and read-only identity strings: never restored, never compared.
    bool readOnly() const { return !writable(); }
};

// The parameter tables described by the motors, one per CAN ID.
//
// Threads: every member takes the store's mutex for a short copy, so the link's receive path,
// the link thread and the user-interface thread (pages, the scope's channel list) may call
// any of them. Readers get snapshots; nothing hands out references into the store.
class ParamStore {
public:
    static constexpr int kGroups = 4;
    static constexpr std::array<int, kGroups> kCapacity{{32, 32, 256, 256}};

    // The store of the link's parameter feature; null when the link has none.
    static ParamStore* forLink(otaThread* link);

    // --- Reading ---------------------------------------------------------------------------
    // Every entry within the counts of the last description, group by group, in index order.
    QVector<ParamEntry> snapshot(quint8 canId) const;
    // One entry; false when the code is outside the described counts.
    bool entry(quint8 canId, quint16 code, ParamEntry* out) const;
    std::array<int, kGroups> counts(quint8 canId) const;
    // The first entries of group 2 that are configuration entries.
    int configCount(quint8 canId) const;
    // CAN IDs with a table (described at least once).
    QList<quint8> canIds() const;

    // --- Writing (link feature and pages) ---------------------------------------------------
    // Called by the description decoder; an index beyond the group's capacity is ignored.
    void setName(quint8 canId, quint16 code, const QString& name);
    void setText(quint8 canId, quint16 code, const QString& text);
    void setLimits(quint8 canId, quint16 code, double minimum, double maximum, int decimals, int type,
                   int property);
    void setType(quint8 canId, quint16 code, int type);
    // Stores value bytes: text for groups 0/1 (up to the first zero), raw bytes for 2/3.
    void setRaw(quint8 canId, quint16 code, const QByteArray& bytes);
    void setCounts(quint8 canId, const std::array<int, kGroups>& counts, int configCount);

    // An edit: pending bytes (16 text bytes, or 8 raw bytes) and the modified flag.
    void setPending(quint8 canId, quint16 code, const QByteArray& pending);
    void clearModified(quint8 canId, quint16 code);
    void clearAllModified(quint8 canId);
    // The stored value text of a group-2 entry after a page formatted it.
    void setValueText(quint8 canId, quint16 code, const QString& text);
    // The first modified writable entry at or after code (group 0, then group 2); -1: none.
    int nextModified(quint8 canId, int fromCode) const;
    // Drops a motor's table (its device went away for good).
    void forget(quint8 canId);

private:
    struct Table {
        std::array<QVector<ParamEntry>, kGroups> groups;
        std::array<int, kGroups> counts{};
        int configCount = 0;
    };
    // Null when the code's group or index is outside the store's capacity.
    ParamEntry* slot(Table& table, quint16 code);

    mutable std::mutex m_mutex;
    QHash<quint8, Table> m_tables;  // guarded by m_mutex
};
