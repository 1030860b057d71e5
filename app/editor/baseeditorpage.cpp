#include "app/editor/baseeditorpage.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/helper.h"

BaseEditorPage::BaseEditorPage(const QString& kind)
    : m_kind(kind), m_device(Helper::instance()->currentDeviceDobj()), m_hadDevice(!device()->isEmpty()) {}

BaseEditorPage::BaseEditorPage(const QString& kind, bool bound) : BaseEditorPage(kind) {
    if (!bound) {
        m_device = nullptr;
        m_hadDevice = false;
        m_bound = false;
    }
}

BaseEditorPage::~BaseEditorPage() = default;

kx::DataObject* BaseEditorPage::device() const {
    return m_device ? m_device.data() : kx::d().emptyDobj();
}
