#pragma once

#include "framework/data/dataobject.h"
#include "link/flows/motionrecipe.h"
#include "workbench/sidebar/sendloop.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class LiveValues;
class MotionGuard;
class QShortcut;
class SidebarForm;

// The motion control panel on the right of the main window: the active device, E-stop, jog,
// the motion switch with its control modes and set-point pages, and the sine test. Set-points
// live in the device record's "_control" subtree and the motion state in its "_mode" node;
// every request is one of the link commands. The current device is shared with the device
// tree only through the Helper.
//
// The switch shows what the motor reports in its feedback (running or not), not only what the
// panel last sent; where the two differ the panel says so above the controls, as it says why
// motion is unavailable.
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
    // Switch, mode list, pages and the note from the record's "_mode" and the motor's report.
    void showMotion();
    void showLive();
    // The motor's answer to what the panel sends from now on decides what the switch shows.
    void commandSent(quint8 canId);
    // Asks the motor for its mode state (a jog write has no answer of its own).
    void askState(quint8 canId);
    LiveValues* liveValues() const;
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
    void applyCurrentLimit();
    MotionGuard* guard() const;

    SidebarForm* m_form;
    SendLoop* m_loop;
    QPointer<QShortcut> m_shortcut;  // a child of the window
    QPointer<kx::DataObject> m_device;
    QMetaObject::Connection m_paramWatch;
    std::optional<QString> m_announced;  // the device last named on the status line
    bool m_jogging = false;
    bool m_modelKnown = false;
    int m_appliedCode = -1;
    bool m_shownOn = false;
    // The panel's last mode command: reports older than it describe the motor before it.
    int m_commandCanId = -1;
    qint64 m_commandAt = -1;      // on the live values' clock
    quint64 m_commandSerial = 0;  // the live values' report number at the command
    QTimer m_confirm;             // single shot: says so when the motor did not answer a command
};
