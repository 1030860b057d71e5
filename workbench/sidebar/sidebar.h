#pragma once

#include "framework/data/dataobject.h"
#include "link/flows/motionrecipe.h"
#include "workbench/sidebar/sendloop.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class MotionGuard;
class QShortcut;
class SidebarForm;

// The motion control panel on the right of the main window: the active device, E-stop, jog,
// the motion switch with its control modes and set-point pages, and the sine test. Set-points
// live in the device record's "_control" subtree and the motion state in its "_mode" node;
// every request is one of the link commands. The current device is shared with the device
// tree only through the Helper.
class Sidebar : public QWidget {
    Q_OBJECT

public:
    explicit Sidebar(QWidget* parent = nullptr);
    ~Sidebar() override;

    SidebarForm* form() const { return m_form; }
    SendLoop* sendLoop() const { return m_loop; }
    // The E-stop key, window-wide.
    static QKeySequence estopKey();
    // Period of the continuous MIT stream; the object-write pages repeat at their pauses.
    static constexpr int kMitPeriodMs = 10;
    static constexpr int kPauseMs = MotionRecipe::kPauseMs;

public slots:
    void changeDevice(int index);

protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    kx::DataObject* device() const;
    void refillDevices();
    void onCurrentDeviceChanged();
    void showDevice(kx::DataObject* record);
    void loadSine(kx::DataObject* record);
    void bindRows(kx::DataObject* record);
    void modeSync(int m);
    void onMotionSwitch(bool on);
    void onSineSwitch(bool on);
    void estop();
    void jogPress(bool plus);
    void jogRelease();
    // Stops a jog whose button may never report its release.
    void releaseHeldJog();
    void startPage(int page);
    SendAction actionFor(int page) const;
    // The CAN ID of the device shown, read at the time of each write.
    std::function<int()> targetId() const;
    void sendCurrent();
    void onPortClosing();
    // Pages follow the switch, and stay disabled until the motor's model reply set its ranges.
    void updatePages();
    bool modelKnown() const;
    int modelCode() const;
    void applyRanges();
    MotionGuard* guard() const;

    SidebarForm* m_form;
    SendLoop* m_loop;
    QPointer<QShortcut> m_shortcut;  // a child of the window
    QPointer<kx::DataObject> m_device;
    bool m_jogging = false;
    bool m_modelKnown = false;
    int m_appliedCode = -1;
};
