#include "app/statuschannel.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

void StatusChannel::statusLine(const QString& line, bool) {
    kx::d(QStringLiteral("wnd.status.msg"))->set(nullptr, line);
}
