#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>

#include "link/scope/scopechannellist.h"

class ScopeAcquisition;
namespace kx {
class DataObject;
}

// What the oscilloscope screens do with the link, kept out of the widgets: the tool strip is
// rebuilt on every tab change and the page may be closed at any time, yet a stop request
// ("trigger.analyze.oscilloscope.stop") must always reach the link. One instance, created by
// registerScopeScreens().
class ScopeControl : public QObject {
    Q_OBJECT

public:
    static ScopeControl* instance();

    // The acquisition of the running link, or null without one.
    static ScopeAcquisition* acquisition();
    // The parameters a channel of device can show (see ScopeChannelList).
    static QVector<ScopeChannelChoice> choices(kx::DataObject* device);
    // The device's channel settings ("_analyze.channel"), filled up to 8 channels.
    static kx::DataObject* channelSettings(kx::DataObject* device);

    // Configures device's channels at frequency and starts the stream once the motor
    // confirmed them; opens the waveform file first when wavePath is set. False (with a
    // status line) when nothing could start.
    bool start(kx::DataObject* device, int frequency, const QString& wavePath);
    // Stops the stream and closes the waveform file.
    void stop();

private:
    ScopeControl();
    void watch(ScopeAcquisition* scope);

    QMetaObject::Connection m_closeOnStop;
    QPointer<ScopeAcquisition> m_watched;
};
