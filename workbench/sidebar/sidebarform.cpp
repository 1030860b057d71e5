#include "workbench/sidebar/sidebarform.h"

#include "workbench/sidebar/enablebutton.h"
#include "workbench/sidebar/setpointrow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <limits>

namespace {

QDoubleSpinBox* spinBox(QWidget* parent, const QString& name, double min, double max, int decimals,
                        double value) {
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(name);
    spin->setDecimals(decimals);
    spin->setRange(min, max);
    spin->setValue(value);
    spin->setMinimumWidth(96);
    // The position rows span the whole single-precision range: their natural width would
    // push the panel off the screen.
    spin->setMaximumWidth(150);
    return spin;
}

}  // namespace

SidebarForm::SidebarForm(QWidget* sidebar) : m_sidebar(sidebar) {
    auto* layout = new QVBoxLayout(sidebar);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);

    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(new QLabel(tr("Activated Device"), sidebar));
    cmbDevice = new QComboBox(sidebar);
    cmbDevice->setObjectName(QStringLiteral("cmbDevice"));
    deviceRow->addWidget(cmbDevice, 1);
    btnEstop = new QPushButton(QIcon(QStringLiteral(":/images/motor/estop2.png")), tr("EStop"), sidebar);
    btnEstop->setObjectName(QStringLiteral("btnEstop"));
    btnEstop->setIconSize(QSize(20, 20));
    btnEstop->setStyleSheet(QStringLiteral("background:#fef000;color:black;padding:3px 10px;"));
    deviceRow->addWidget(btnEstop);
    layout->addLayout(deviceRow);

    lblMotionNote = new QLabel(sidebar);
    lblMotionNote->setObjectName(QStringLiteral("lblMotionNote"));
    lblMotionNote->setWordWrap(true);
    lblMotionNote->setStyleSheet(QStringLiteral("color:#ffb347;"));
    lblMotionNote->setVisible(false);
    layout->addWidget(lblMotionNote);

    auto* live = new QGroupBox(tr("Motor State"), sidebar);
    live->setObjectName(QStringLiteral("grpLive"));
    auto* liveGrid = new QGridLayout(live);
    auto liveValue = [live](const QString& name) {
        auto* label = new QLabel(QStringLiteral("–"), live);
        label->setObjectName(name);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    lblLivePos = liveValue(QStringLiteral("lblLivePos"));
    lblLiveVel = liveValue(QStringLiteral("lblLiveVel"));
    lblLiveTorque = liveValue(QStringLiteral("lblLiveTorque"));
    lblLiveMode = liveValue(QStringLiteral("lblLiveMode"));
    lblLiveFault = liveValue(QStringLiteral("lblLiveFault"));
    lblLiveFault->setWordWrap(true);
    liveGrid->addWidget(new QLabel(tr("Position"), live), 0, 0);
    liveGrid->addWidget(lblLivePos, 0, 1);
    liveGrid->addWidget(new QLabel(tr("Mode"), live), 0, 2);
    liveGrid->addWidget(lblLiveMode, 0, 3);
    liveGrid->addWidget(new QLabel(tr("Velocity"), live), 1, 0);
    liveGrid->addWidget(lblLiveVel, 1, 1);
    liveGrid->addWidget(new QLabel(tr("Torque"), live), 1, 2);
    liveGrid->addWidget(lblLiveTorque, 1, 3);
    liveGrid->addWidget(new QLabel(tr("Fault"), live), 2, 0);
    liveGrid->addWidget(lblLiveFault, 2, 1, 1, 3);
    liveGrid->setColumnStretch(1, 1);
    liveGrid->setColumnStretch(3, 1);
    layout->addWidget(live);

    auto* quick = new QGroupBox(tr("Quick Move"), sidebar);
    auto* quickGrid = new QGridLayout(quick);
    quickGrid->addWidget(new QLabel(tr("Max Speed"), quick), 0, 0);
    dspnJosSpeed = spinBox(quick, QStringLiteral("dspnJosSpeed"), 0, 99.99, 4, 1);
    quickGrid->addWidget(dspnJosSpeed, 0, 1);
    quickGrid->addWidget(new QLabel(tr("rad/s"), quick), 0, 2);
    quickGrid->addWidget(new QLabel(tr("JOG Move"), quick), 1, 0);
    auto* jogRow = new QHBoxLayout;
    btnJogPlus = new QPushButton(QIcon(QStringLiteral(":/images/calculate/plus.png")), QString(), quick);
    btnJogPlus->setObjectName(QStringLiteral("btnJogPlus"));
    btnJogMinus = new QPushButton(QIcon(QStringLiteral(":/images/calculate/minus.png")), QString(), quick);
    btnJogMinus->setObjectName(QStringLiteral("btnJogMinus"));
    for (QPushButton* b : {btnJogPlus, btnJogMinus}) {
        b->setIconSize(QSize(16, 16));
        b->setMinimumWidth(56);
        jogRow->addWidget(b);
    }
    jogRow->addStretch(1);
    quickGrid->addLayout(jogRow, 1, 1, 1, 2);
    quickGrid->setColumnStretch(1, 1);
    layout->addWidget(quick);

    auto* motion = new QGroupBox(tr("Motion Control"), sidebar);
    auto* motionLayout = new QVBoxLayout(motion);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(new QLabel(tr("Control Mode"), motion));
    cmbControlMode = new QComboBox(motion);
    cmbControlMode->setObjectName(QStringLiteral("cmbControlMode"));
    cmbControlMode->addItem(tr("MIT Control"), 0);
    cmbControlMode->addItem(tr("位置模式(PP)"), 1);
    cmbControlMode->addItem(tr("Velocity Mode"), 2);
    cmbControlMode->addItem(tr("Current Mode"), 3);
    cmbControlMode->addItem(tr("位置模式(CSP)"), 5);
    modeRow->addWidget(cmbControlMode, 1);
    ebControl = new EnableButton(motion);
    ebControl->setObjectName(QStringLiteral("ebControl"));
    ebControl->setFixedSize(48, 24);
    modeRow->addWidget(ebControl);
    motionLayout->addLayout(modeRow);

    wgtSin = new QWidget(motion);
    wgtSin->setObjectName(QStringLiteral("wgtSin"));
    auto* sinGrid = new QGridLayout(wgtSin);
    sinGrid->setContentsMargins(0, 0, 0, 0);
    sinGrid->addWidget(new QLabel(tr("Sin signal automated test"), wgtSin), 0, 0, 1, 2);
    ebSin = new EnableButton(wgtSin);
    ebSin->setObjectName(QStringLiteral("ebSin"));
    ebSin->setFixedSize(48, 24);
    sinGrid->addWidget(ebSin, 0, 2, Qt::AlignRight);
    sinGrid->addWidget(new QLabel(tr("Amplitude"), wgtSin), 1, 0);
    dspnSinA = spinBox(wgtSin, QStringLiteral("dspnSinA"), 0, 99.99, 2, 1);
    sinGrid->addWidget(dspnSinA, 1, 1, 1, 2);
    sinGrid->addWidget(new QLabel(tr("Frequency"), wgtSin), 2, 0);
    dspnSinF = spinBox(wgtSin, QStringLiteral("dspnSinF"), 0, 1000, 2, 1);
    dspnSinF->setSuffix(tr("Hz"));
    sinGrid->addWidget(dspnSinF, 2, 1, 1, 2);
    sinGrid->setColumnStretch(1, 1);
    motionLayout->addWidget(wgtSin);

    stackedWidget = new QStackedWidget(motion);
    stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    motionLayout->addWidget(stackedWidget);

    const double fmax = double(std::numeric_limits<float>::max());
    QWidget* mit = addPage(QStringLiteral("pgMIT"));
    auto* g = static_cast<QGridLayout*>(mit->layout());
    torque = addRow(mit, g, tr("Torque (nm)"), QStringLiteral("dspnTorque"), -12, 12);
    mitPos = addRow(mit, g, tr("Position (rad)"), QStringLiteral("dspnPos"), -12.5, 12.5);
    mitVel = addRow(mit, g, tr("Velocity (rad/s)"), QStringLiteral("dspnVel"), -30, 30);
    kp = addRow(mit, g, tr("Kp"), QStringLiteral("dspnKp"), 0, 500);
    kd = addRow(mit, g, tr("Kd"), QStringLiteral("dspnKd"), 0, 5);
    addSendButtons(mit, g, PageMit, QStringLiteral("chbSingleStep"), QStringLiteral("btnSendMIT"),
                   QStringLiteral("btnStopMIT"));

    QWidget* pos = addPage(QStringLiteral("pgPos"));
    g = static_cast<QGridLayout*>(pos->layout());
    ppVel = addRow(pos, g, tr("Velocity Setting (rad/s)"), QStringLiteral("dspnVel_2"), 0, 30);
    ppAcc = addRow(pos, g, tr("加速度设置(rad/s^2)"), QStringLiteral("dspnVel_4"), 0, 99.99, 2, 1);
    ppPos =
        addRow(pos, g, tr("Postion Command (rad)"), QStringLiteral("dspnPos_2"), -fmax, fmax, 4, 0.1, false);
    addSendButtons(pos, g, PagePos, QStringLiteral("chbContiniousPos"), QStringLiteral("btnStartPos"),
                   QStringLiteral("btnStopPos"));

    QWidget* vel = addPage(QStringLiteral("pgVel"));
    g = static_cast<QGridLayout*>(vel->layout());
    velCmd = addRow(vel, g, tr("Velocity Command (rad/s)"), QStringLiteral("dspnVel_3"), -30, 30);
    velAcc = addRow(vel, g, tr("加速度设置(rad/s/s)"), QStringLiteral("dspnVel_5"), 0, 99.99, 2, 1);
    velCurrent = addRow(vel, g, tr("Current Limit (A)"), QStringLiteral("dspnCurrent"), 0, 23);
    addSendButtons(vel, g, PageVel, QStringLiteral("chbContiniousVel"), QStringLiteral("btnStartVel"),
                   QStringLiteral("btnStopVel"));
    continuously[PageVel]->setEnabled(false);
    continuously[PageVel]->setVisible(false);

    QWidget* current = addPage(QStringLiteral("pgI"));
    g = static_cast<QGridLayout*>(current->layout());
    g->addWidget(new QLabel(tr("电流指令 (A)"), current), 0, 0);
    dspnIq1 = spinBox(current, QStringLiteral("dspnIq1"), -23, 23, 4, 1);
    dspnIq1->setSingleStep(0.1);
    g->addWidget(dspnIq1, 0, 1, 1, 2);
    btnSendIq1 = new QPushButton(tr("<< Send >>"), current);
    btnSendIq1->setObjectName(QStringLiteral("btnSendIq1"));
    g->addWidget(btnSendIq1, 1, 0, 1, 4);
    g->setRowStretch(2, 1);

    QWidget* csp = addPage(QStringLiteral("pgPos2"));
    g = static_cast<QGridLayout*>(csp->layout());
    cspVel = addRow(csp, g, tr("Velocity Setting (rad/s)"), QStringLiteral("dspnVel_13"), 0, 30);
    cspPos =
        addRow(csp, g, tr("Postion Command (rad)"), QStringLiteral("dspnPos_6"), -fmax, fmax, 4, 0.1, false);
    addSendButtons(csp, g, PageCsp, QStringLiteral("chbContiniousPos_3"), QStringLiteral("btnStartPos_3"),
                   QStringLiteral("btnStopPos_3"));

    rows = {torque, mitPos, mitVel, kp, kd, ppVel, ppAcc, ppPos, velCmd, velAcc, velCurrent, cspVel, cspPos};
    layout->addWidget(motion);
    layout->addStretch(1);
}

QWidget* SidebarForm::addPage(const QString& name) {
    auto* page = new QWidget(stackedWidget);
    page->setObjectName(name);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setColumnStretch(1, 1);
    stackedWidget->addWidget(page);
    return page;
}

SetpointRow* SidebarForm::addRow(QWidget* page, QGridLayout* grid, const QString& label, const QString& name,
                                 double min, double max, int decimals, double step, bool slider) {
    // Label on its own line: the long labels would otherwise squeeze the slider to nothing.
    const int row = grid->rowCount();
    auto* text = new QLabel(label, page);
    grid->addWidget(text, row, 0, 1, 4);
    auto* bar = new QSlider(Qt::Horizontal, page);
    bar->setObjectName(QStringLiteral("hs") + name.mid(4));
    bar->setRange(0, 999);
    bar->setStyleSheet(
        QStringLiteral("QSlider::handle:horizontal \n{\n\tborder-image: url(:/images/motor/logo2.png);\n}"));
    grid->addWidget(bar, row + 1, 0, 1, 2);
    auto* spin = spinBox(page, name, min, max, decimals, 0);
    spin->setSingleStep(step);
    grid->addWidget(spin, row + 1, 2);
    auto* reset = new QPushButton(QStringLiteral("0"), page);
    reset->setObjectName(QStringLiteral("btnReset") + name.mid(4));
    reset->setFixedWidth(28);
    grid->addWidget(reset, row + 1, 3);
    auto* r = new SetpointRow(text, bar, spin, reset, m_sidebar);
    r->setSliderShown(slider);
    return r;
}

void SidebarForm::addSendButtons(QWidget* page, QGridLayout* grid, Page index, const QString& check,
                                 const QString& startName, const QString& stopName) {
    const int row = grid->rowCount();
    continuously[index] = new QCheckBox(tr("Continuously"), page);
    continuously[index]->setObjectName(check);
    grid->addWidget(continuously[index], row, 0);
    auto* buttons = new QHBoxLayout;
    start[index] = new QPushButton(tr("<< Start >>"), page);
    start[index]->setObjectName(startName);
    stop[index] = new QPushButton(tr("Stop"), page);
    stop[index]->setObjectName(stopName);
    stop[index]->setVisible(false);
    buttons->addWidget(start[index], 1);
    buttons->addWidget(stop[index]);
    grid->addLayout(buttons, row, 1, 1, 3);
    grid->setRowStretch(row + 1, 1);
}
