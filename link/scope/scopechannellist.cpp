#include "link/scope/scopechannellist.h"

#include "link/param/paramstore.h"

QVector<ScopeChannelChoice> ScopeChannelList::choices(otaThread* link, quint8 canId) {
    const ParamStore* store = ParamStore::forLink(link);
    return store ? fromStore(*store, canId) : QVector<ScopeChannelChoice>();
}

QVector<ScopeChannelChoice> ScopeChannelList::fromStore(const ParamStore& store, quint8 canId) {
    const int configCount = store.configCount(canId);
    QVector<ScopeChannelChoice> out;
    for (const ParamEntry& e : store.snapshot(canId)) {
        if (e.group == 3 || (e.group == 2 && e.index > configCount))
            out << ScopeChannelChoice{e.code, e.name, e.type};
    }
    return out;
}

bool ScopeChannelList::resolve(const QString& text, const QVector<ScopeChannelChoice>& list,
                               ScopeChannelChoice* out) {
    const QString t = text.trimmed();
    for (const ScopeChannelChoice& c : list) {
        if (c.name.compare(t, Qt::CaseInsensitive) == 0) {
            *out = c;
            return true;
        }
    }
    bool ok = false;
    const uint code = t.toUInt(&ok, 0);
    if (!ok || code == 0 || code > 0xFFFF)
        return false;
    for (const ScopeChannelChoice& c : list) {
        if (c.code == code) {
            *out = c;
            return true;
        }
    }
    *out = ScopeChannelChoice{quint16(code), QStringLiteral("0x%1").arg(code, 4, 16, QLatin1Char('0')), -1};
    return true;
}
