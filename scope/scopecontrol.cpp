#include "scope/scopecontrol.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"
#include "link/otathread.h"
#include "link/scope/scopeacquisition.h"

#include <QCoreApplication>

ScopeControl::ScopeControl() : QObject(QCoreApplication::instance()) {
    connect(kx::d(QStringLiteral("trigger.analyze.oscilloscope.stop")), &kx::DataObject::changed, this,
            &ScopeControl::stop);
}

void ScopeControl::watch(ScopeAcquisition* scope) {
    if (!scope || scope == m_watched)
        return;
    m_watched = scope;
    // The record of the configured motor announces its new channels to whoever listens on it.
    connect(scope, &ScopeAcquisition::channelsConfigured, this, [scope] {
        for (kx::DataObject* device : kx::d(QStringLiteral("project.device"))->cdobjs()) {
            if (device->r(QStringLiteral("info.can_id"))->getInt(-1) == scope->target())
                device->r(QStringLiteral("_trigger.oscilloscope.config_channel"))->trigger();
        }
    });
}

ScopeControl* ScopeControl::instance() {
    static ScopeControl* control = new ScopeControl();
    return control;
}

ScopeAcquisition* ScopeControl::acquisition() {
    ScopeAcquisition* scope = ScopeAcquisition::of(otaThread::instance());
    instance()->watch(scope);
    return scope;
}

QVector<ScopeChannelChoice> ScopeControl::choices(kx::DataObject* device) {
    const int canId = device->r(QStringLiteral("info.can_id"))->getInt(-1);
    if (canId < 0)
        return {};
    return ScopeChannelList::choices(otaThread::instance(), quint8(canId));
}

namespace {

QString configPath(int channel, const char* key) {
    return QStringLiteral("config.oscilloscope.channel%1.%2").arg(channel + 1).arg(QLatin1String(key));
}

}  // namespace

kx::DataObject* ScopeControl::channelSettings(kx::DataObject* device) {
    kx::DataObject* channels = device->r(QStringLiteral("_analyze.channel"));
    if (channels->isEmpty() || channels->size() == 0)
        return channels;
    const bool fresh = channels->size() < 8;
    // Missing channels are copies of the first, so that every row has its settings.
    while (channels->size() < 8) {
        kx::DataObject* copy = channels->append(nullptr);
        copy->copyFrom(nullptr, channels->c(0));
    }
    if (fresh) {
        // The choices of the last run, by parameter name: indices depend on the motor's table.
        for (int i = 0; i < 8; ++i) {
            const QString name = kx::d(configPath(i, "name"))->getString();
            const QString color = kx::d(configPath(i, "color"))->getString();
            if (!name.isEmpty())
                channels->c(i)->set(nullptr, QStringLiteral("name"), name, true);
            if (!color.isEmpty())
                channels->c(i)->set(nullptr, QStringLiteral("color"), color, true);
        }
    }
    return channels;
}

void ScopeControl::chooseChannel(kx::DataObject* device, int channel, int type, const QString& name) {
    kx::DataObject* settings = channelSettings(device);
    settings->c(channel)->set(nullptr, QStringLiteral("type"), type, true);
    settings->c(channel)->set(nullptr, QStringLiteral("name"), name, true);
    kx::d().rootDobj()->set(nullptr, configPath(channel, "name"), name, true);
}

void ScopeControl::chooseColor(kx::DataObject* device, int channel, const QString& color) {
    channelSettings(device)->c(channel)->set(nullptr, QStringLiteral("color"), color, true);
    kx::d().rootDobj()->set(nullptr, configPath(channel, "color"), color, true);
}

int ScopeControl::resolveChannel(kx::DataObject* settings, int channel,
                                 const QVector<ScopeChannelChoice>& list) {
    kx::DataObject* node = settings->c(channel);
    const QString name = node->c(QStringLiteral("name"))->getString();
    if (!name.isEmpty()) {
        for (int k = 0; k < list.size(); ++k) {
            if (list[k].name == name)
                return k + 1;
        }
    }
    // A name the list lacks names nothing: another parameter is not taken by its index.
    if (!name.isEmpty())
        return 0;
    const int k = node->r(QStringLiteral("type"))->getInt(0);
    return k >= 1 && k <= list.size() ? k : 0;
}

bool ScopeControl::start(kx::DataObject* device, int frequency, const QString& wavePath) {
    ScopeAcquisition* scope = acquisition();
    Helper* helper = Helper::instance();
    if (!scope || !helper->worker() || !helper->worker()->isConnected()) {
        helper->postStatus(tr("The oscilloscope needs a connected motor."), QStringLiteral("ERROR"));
        return false;
    }
    const int canId = device->r(QStringLiteral("info.can_id"))->getInt(-1);
    if (canId < 1) {
        helper->postStatus(tr("No activated device!"), QStringLiteral("ERROR"));
        return false;
    }
    const QVector<ScopeChannelChoice> list = choices(device);
    kx::DataObject* settings = channelSettings(device);
    ScopeAcquisition::Config config;
    config.frequency = frequency;
    config.baudRate = helper->worker()->portBaudRate();
    config.startWhenConfigured = true;
    for (int i = 0; i < 8; ++i) {
        const int k = resolveChannel(settings, i, list);
        ScopeAcquisition::Channel channel;
        if (k >= 1 && k <= list.size()) {
            channel.code = list[k - 1].code;
            channel.type = list[k - 1].type;
            channel.name = list[k - 1].name;
        }
        config.channels << channel;
    }
    if (!wavePath.isEmpty() && !scope->waveFile().isOpen()) {
        QString why;
        if (!scope->openWaveFile(wavePath, &why)) {
            helper->postStatus(tr("Cannot open the waveform file %1: %2").arg(wavePath, why),
                               QStringLiteral("ERROR"));
            return false;
        }
    }
    otaThread::instance()->setTarget(quint8(canId));
    return scope->configureChannels(config);
}

void ScopeControl::stop() {
    ScopeAcquisition* scope = acquisition();
    if (!scope)
        return;
    scope->stop();
    disconnect(m_closeOnStop);
    if (!scope->running()) {
        scope->closeWaveFile();
        return;
    }
    // The records already on their way belong in the file: it closes once the motor stopped.
    m_closeOnStop = connect(scope, &ScopeAcquisition::stopped, this, [this, scope] {
        disconnect(m_closeOnStop);
        scope->closeWaveFile();
    });
}
