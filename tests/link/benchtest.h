#pragma once

// The set-up the end-to-end link tests share: per case a fresh working directory, the link
// backends and a simulated bench, with every status line and box recorded. A test class
// derives from BenchTest and calls startCase/endCase from its init/cleanup slots.

#include <QObject>
#include <QStringList>

#include <memory>

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"
#include "linktest.h"
#include "simbench.h"

namespace linktest {

class BenchTest : public QObject {
protected:
    BenchTest() { Helper::instance()->setPrompt(&m_prompt); }

    // Settings a case needs beyond these are set before the call.
    void startCase(bool multipleDevices) {
        m_dir = std::make_unique<WorkDir>();
        kx::DataObject* root = kx::d().rootDobj();
        root->set(nullptr, QStringLiteral("config.setting.enable_multiple_devices"), multipleDevices);
        root->set(nullptr, QStringLiteral("config.setting.remove_device_on_disconnected"), true);
        root->set(nullptr, QStringLiteral("config.setting.upload_param_on_connected"), false);
        kx::d("project.device")->clear(nullptr);
        m_lines.clear();
        m_prompt.clear();
        m_statusConnection =
            connect(kx::d("wnd.status.msg"), &kx::DataObject::changed, this,
                    [this](QVariant value, QVariant, QObject*) { m_lines << value.toString(); });
        Helper::instance()->createBackends();
        m_sim = std::make_unique<SimBench>();
    }

    void endCase() {
        Helper::instance()->setCurrentDeviceDobj(nullptr);
        Helper::instance()->destroyBackends();
        m_sim.reset();
        QObject::disconnect(m_statusConnection);
        QCOMPARE(affinityWarnings().load(), 0);
        m_dir.reset();
    }

    std::unique_ptr<WorkDir> m_dir;
    std::unique_ptr<SimBench> m_sim;
    RecordingPrompt m_prompt;
    QStringList m_lines;

private:
    QMetaObject::Connection m_statusConnection;
};

}  // namespace linktest
