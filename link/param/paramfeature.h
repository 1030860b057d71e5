#pragma once

#include <QObject>

#include "link/linkfeature.h"
#include "link/param/paramstore.h"
#include "link/param/paramtransfer.h"

class otaThread;

namespace kx {
class DataObject;
}

// The parameter table as a link feature: steps 17-23, frame types 19, 9 and 8, and the
// reactions to their statuses (status lines and the device record's "_trigger.param.*"
// events). Owns the process's parameter store.
//
// Replies conclude their step on the receive path as they arrive: a table transfer runs at
// the speed of the bus, not of the loop's poll period.
class ParamFeature : public QObject, public LinkFeature {
    Q_OBJECT

public:
    // Creates the feature as a child of the link, registers it and connects its reactions.
    static ParamFeature* install(otaThread* link);
    // The link's parameter feature; null when it has none.
    static ParamFeature* of(otaThread* link);

    explicit ParamFeature(otaThread* link);

    ParamStore& store() { return m_store; }
    ParamTransfer& transfer() { return m_transfer; }

    QString name() const override { return QStringLiteral("param"); }
    QVector<StepRule> steps() const override;
    QVector<int> frameTypes() const override;
    int decodeFrame(otaThread& link, const CanFrame& frame) override;
    void linkClosed(otaThread& link) override;

signals:
    // After the status reaction of a parameter status, with the CAN ID of the transfer.
    void transferStatus(int status, int canId);

private:
    void onStatus(int status);
    kx::DataObject* recordOf(quint8 canId) const;
    void startRead(otaThread& link, bool fromStart);
    void startWrite(otaThread& link, bool first);
    int onTransferAnswer(int step) const;

    otaThread* m_link;
    ParamStore m_store;
    ParamTransfer m_transfer{&m_store};
};
