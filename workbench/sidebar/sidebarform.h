#pragma once

#include <QCoreApplication>
#include <QVector>

class EnableButton;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QStackedWidget;
class QWidget;
class SetpointRow;

// The widgets of the motion sidebar, built into the sidebar by the constructor (what a
// designer form would generate): the device row, Quick Move, Motion Control with the sine
// block and one page per control mode. The sidebar holds the behaviour.
class SidebarForm {
    // The texts belong to the sidebar they are shown in.
    Q_DECLARE_TR_FUNCTIONS(Sidebar)

public:
    // Pages of "stackedWidget", in the order of the mode combo.
    enum Page { PageMit, PagePos, PageVel, PageCurrent, PageCsp, PageCount };

    explicit SidebarForm(QWidget* sidebar);

    QComboBox* cmbDevice;
    QPushButton* btnEstop;
    // Why motion is unavailable, or how the motor's report differs from the panel's last
    // request; hidden when there is nothing to say.
    QLabel* lblMotionNote;
    // The active motor's last feedback.
    QLabel* lblLivePos;
    QLabel* lblLiveVel;
    QLabel* lblLiveTorque;
    QLabel* lblLiveMode;
    QLabel* lblLiveFault;
    QDoubleSpinBox* dspnJosSpeed;
    QPushButton* btnJogPlus;
    QPushButton* btnJogMinus;
    QComboBox* cmbControlMode;
    EnableButton* ebControl;
    QWidget* wgtSin;
    EnableButton* ebSin;
    QDoubleSpinBox* dspnSinA;
    QDoubleSpinBox* dspnSinF;
    QStackedWidget* stackedWidget;
    QDoubleSpinBox* dspnIq1;
    QPushButton* btnSendIq1;

    // Set-point rows.
    SetpointRow* torque;
    SetpointRow* mitPos;
    SetpointRow* mitVel;
    SetpointRow* kp;
    SetpointRow* kd;
    SetpointRow* ppVel;
    SetpointRow* ppAcc;
    SetpointRow* ppPos;
    SetpointRow* velCmd;
    SetpointRow* velAcc;
    SetpointRow* velCurrent;
    SetpointRow* cspVel;
    SetpointRow* cspPos;
    QVector<SetpointRow*> rows;

    // "Continuously", "<< Start >>" and "Stop" of the MIT, PP, velocity and CSP pages (null
    // for the current page, which only sends once).
    QCheckBox* continuously[PageCount] = {};
    QPushButton* start[PageCount] = {};
    QPushButton* stop[PageCount] = {};

private:
    SetpointRow* addRow(QWidget* page, QGridLayout* grid, const QString& label, const QString& name,
                        double min, double max, int decimals = 4, double step = 0.1, bool slider = true);
    QWidget* addPage(const QString& name);
    void addSendButtons(QWidget* page, QGridLayout* grid, Page index, const QString& check,
                        const QString& start, const QString& stop);

    QWidget* m_sidebar;
};
