#pragma once

#include <QObject>
#include <QPointer>

#include "framework/data/dataobject.h"
#include "link/flows/linklease.h"

class ParamFeature;

// Walks one motor's parameter table through the link, one entry per step: the description,
// an upload (every entry read), a download (every modified entry written, then saved) or a
// single read. Used by the parameter table page and the command line alike.
//
// The walk belongs to its device record: it aims every request at that record's motor (not at
// whatever device is current when the next entry is due), follows only that motor's statuses,
// and stops when the record goes away, the motor disconnects, or the walker is destroyed
// (a closed page). Lives on the port's thread.
class ParamWalker : public QObject {
    Q_OBJECT

public:
    enum class Walk { None, Describe, Upload, Download, ReadOne, Save };

    explicit ParamWalker(kx::DataObject* device, QObject* parent = nullptr);
    ~ParamWalker() override;

    // Each returns false when the link, the feature or the device is missing.
    bool describe();
    bool upload();
    // save: end the walk with a save in the motor's flash (the page always does).
    bool download(bool save = true);
    bool readOne(quint16 code);
    bool save();
    bool factoryReset();
    // Ends a walk under way; the link's step goes idle if it still serves this walk.
    void stop();
    // The lease the walk runs under (a flow's). Without one, a walk that would disturb a flow
    // holding the link is refused: it ends at once, not ok, with the reason on the status line.
    void setLease(const LinkLease::Token& lease) { m_lease = lease; }

    Walk walk() const { return m_walk; }
    bool running() const { return m_walk != Walk::None; }
    quint8 canId() const;
    kx::DataObject* device() const { return m_device.data(); }

signals:
    void entryRead(quint16 code);
    void entryWritten(quint16 code);
    // The walk ended: ok when every step succeeded.
    void finished(bool ok);

private:
    bool aim();
    void onTransferStatus(int status, int canId);
    void end(bool ok);
    void startStep(int step);

    QPointer<kx::DataObject> m_device;
    QPointer<ParamFeature> m_feature;
    Walk m_walk = Walk::None;
    bool m_saveAfterDownload = true;
    LinkLease::Token m_lease;
};
