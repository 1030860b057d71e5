#include "link/param/paramstore.h"

#include "link/frames/paramframes.h"
#include "link/frames/paramvalue.h"

using ParamFrames::codeOf;
using ParamFrames::groupOf;
using ParamFrames::indexOf;

constexpr std::array<int, ParamStore::kGroups> ParamStore::kCapacity;

ParamEntry* ParamStore::slot(Table& table, quint16 code) {
    const int group = groupOf(code);
    const int index = indexOf(code);
    if (group >= kGroups || index >= kCapacity[size_t(group)])
        return nullptr;
    QVector<ParamEntry>& entries = table.groups[size_t(group)];
    // Entries are created on first mention, so a table costs what the motor describes.
    while (entries.size() <= index) {
        ParamEntry e;
        e.group = group;
        e.index = entries.size();
        e.code = codeOf(group, e.index);
        e.type = group <= 1 ? ParamValue::kTextType : 0;
        e.raw = QByteArray(8, '\0');
        entries.append(e);
    }
    return &entries[index];
}

QVector<ParamEntry> ParamStore::snapshot(quint8 canId) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    QVector<ParamEntry> out;
    const auto it = m_tables.constFind(canId);
    if (it == m_tables.constEnd())
        return out;
    for (int g = 0; g < kGroups; ++g) {
        const QVector<ParamEntry>& entries = it->groups[size_t(g)];
        const int n = qMin(it->counts[size_t(g)], entries.size());
        for (int i = 0; i < n; ++i)
            out.append(entries[i]);
    }
    return out;
}

bool ParamStore::entry(quint8 canId, quint16 code, ParamEntry* out) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_tables.constFind(canId);
    const int group = groupOf(code);
    if (it == m_tables.constEnd() || group >= kGroups)
        return false;
    const QVector<ParamEntry>& entries = it->groups[size_t(group)];
    const int index = indexOf(code);
    if (index >= it->counts[size_t(group)] || index >= entries.size())
        return false;
    if (out)
        *out = entries[index];
    return true;
}

std::array<int, ParamStore::kGroups> ParamStore::counts(quint8 canId) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_tables.constFind(canId);
    return it == m_tables.constEnd() ? std::array<int, kGroups>{} : it->counts;
}

int ParamStore::configCount(quint8 canId) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_tables.constFind(canId);
    return it == m_tables.constEnd() ? 0 : it->configCount;
}

QList<quint8> ParamStore::canIds() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    QList<quint8> ids = m_tables.keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}

void ParamStore::setName(quint8 canId, quint16 code, const QString& name) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ParamEntry* e = slot(m_tables[canId], code))
        e->name = name;
}

void ParamStore::setText(quint8 canId, quint16 code, const QString& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ParamEntry* e = slot(m_tables[canId], code)) {
        e->type = ParamValue::kTextType;
        e->value = text;
    }
}

void ParamStore::setLimits(quint8 canId, quint16 code, double minimum, double maximum, int decimals, int type,
                           int property) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ParamEntry* e = slot(m_tables[canId], code)) {
        e->minimum = minimum;
        e->maximum = maximum;
        e->decimals = decimals;
        e->type = type;
        e->property = property;
    }
}

void ParamStore::setType(quint8 canId, quint16 code, int type) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ParamEntry* e = slot(m_tables[canId], code))
        e->type = type;
}

void ParamStore::setRaw(quint8 canId, quint16 code, const QByteArray& bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ParamEntry* e = slot(m_tables[canId], code);
    if (!e)
        return;
    if (e->group <= 1) {
        e->value = ParamValue::textOf(bytes);
        return;
    }
    e->raw = bytes.left(8);
    e->raw.append(QByteArray(8 - e->raw.size(), '\0'));
    e->value = ParamValue::formatRaw(e->type, e->raw);
}

void ParamStore::setCounts(quint8 canId, const std::array<int, kGroups>& counts, int configCount) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Table& table = m_tables[canId];
    for (int g = 0; g < kGroups; ++g)
        table.counts[size_t(g)] = qBound(0, counts[size_t(g)], kCapacity[size_t(g)]);
    table.configCount = configCount;
    // Every described entry exists, also ones whose frames never named them.
    for (int g = 0; g < kGroups; ++g) {
        if (table.counts[size_t(g)] > 0)
            slot(table, codeOf(g, table.counts[size_t(g)] - 1));
    }
}

void ParamStore::setPending(quint8 canId, quint16 code, const QByteArray& pending) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ParamEntry* e = slot(m_tables[canId], code)) {
        e->pending = pending;
        e->modified = true;
    }
}

void ParamStore::clearModified(quint8 canId, quint16 code) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ParamEntry* e = slot(m_tables[canId], code))
        e->modified = false;
}

void ParamStore::clearAllModified(quint8 canId) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_tables.find(canId);
    if (it == m_tables.end())
        return;
    for (QVector<ParamEntry>& entries : it->groups) {
        for (ParamEntry& e : entries)
            e.modified = false;
    }
}

void ParamStore::setValueText(quint8 canId, quint16 code, const QString& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ParamEntry* e = slot(m_tables[canId], code))
        e->value = text;
}

int ParamStore::nextModified(quint8 canId, int fromCode) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_tables.constFind(canId);
    if (it == m_tables.constEnd())
        return -1;
    for (int g : {0, 2}) {
        const QVector<ParamEntry>& entries = it->groups[size_t(g)];
        const int n = qMin(it->counts[size_t(g)], entries.size());
        for (int i = 0; i < n; ++i) {
            if (entries[i].code >= fromCode && entries[i].modified)
                return entries[i].code;
        }
    }
    return -1;
}

void ParamStore::forget(quint8 canId) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tables.remove(canId);
}
