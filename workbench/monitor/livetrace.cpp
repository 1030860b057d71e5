#include "workbench/monitor/livetrace.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/monitor/tracerecorder.h"
#include "link/monitor/tracestore.h"
#include "link/tap/frametap.h"

#include <QCoreApplication>

namespace {

int capacity() {
    const int configured =
        kx::d(QStringLiteral("config.setting.monitor_trace_records"))->getInt(TraceStore::kDefaultCapacity);
    return qBound(1000, configured, 20000000);
}

}  // namespace

LiveTrace& LiveTrace::instance() {
    static LiveTrace trace;
    return trace;
}

LiveTrace::LiveTrace() {
    // The tap must outlive the trace's subscription: made first, it is destroyed last.
    FrameTap::instance();
    m_store = new TraceStore(capacity());
    m_recorder = new TraceRecorder(m_store);
}

LiveTrace::~LiveTrace() {
    delete m_recorder;
    delete m_store;
}

void LiveTrace::start() {
    m_recorder->start();
    // The recorder's thread ends with the application, not with the static objects.
    if (QCoreApplication* app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, m_recorder, &TraceRecorder::stop,
                         Qt::UniqueConnection);
}
