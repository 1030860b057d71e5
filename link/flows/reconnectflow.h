#pragma once

#include <QList>

#include "link/flows/flow.h"

// Waits for an adapter that went away to come back and for the given motors to be registered
// on it again, so that they can still be left safe. The worker reconnects on its own (with
// auto-connect, or when the user accepted the offer); this flow only waits for it. It sends
// nothing and ends TimedOut when the adapter stays away.
class ReconnectFlow : public Flow {
    Q_OBJECT

public:
    ReconnectFlow(const QList<int>& canIds, int timeoutMs, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("reconnect"); }
    QString activity() const override { return tr("waiting for the adapter"); }

protected:
    FlowResult execute() override;

private:
    QList<int> m_canIds;
    int m_timeoutMs;
};
