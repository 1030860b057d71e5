#pragma once

#include <QPointer>
#include <QString>

namespace kx {
class DataObject;
}

// What every editor page carries besides being a widget: its kind (the kind its screen
// registered with ShellRegistry) and the device record that was activated when it was opened
// (the empty node when none was).
class BaseEditorPage {
public:
    explicit BaseEditorPage(const QString& kind);
    virtual ~BaseEditorPage();

    QString kind() const { return m_kind; }
    // The bound record; the empty node once the record is gone.
    kx::DataObject* device() const;
    // True when the page was opened for a device, also after that record is gone.
    bool hadDevice() const { return m_hadDevice; }

private:
    QString m_kind;
    QPointer<kx::DataObject> m_device;
    bool m_hadDevice;
};
