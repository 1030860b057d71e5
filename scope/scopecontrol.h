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
    // The device's channel settings ("_analyze.channel"), filled up to 8 channels. A record
    // that has none of its own yet takes the choices kept in the configuration.
    static kx::DataObject* channelSettings(kx::DataObject* device);
    // Stores a channel's parameter (by name, empty for none) and colour in the device's
    // settings and in the configuration, where the next start of the program finds them.
    static void chooseChannel(kx::DataObject* device, int channel, int type, const QString& name);
    static void chooseColor(kx::DataObject* device, int channel, const QString& color);
    // The parameter a channel shows: by its name when the list has it (a table that changed
    // moves the indices), else by its index; k = 0 (none) when neither names one.
    static int resolveChannel(kx::DataObject* settings, int channel, const QVector<ScopeChannelChoice>& list);

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
