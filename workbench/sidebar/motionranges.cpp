#include "workbench/sidebar/motionranges.h"

#include "workbench/sidebar/setpointrow.h"
#include "workbench/sidebar/sidebarform.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListView>
#include <QPushButton>

bool MotionRanges::limitsFor(int code, Limits* l) {
    switch (code) {
        case 0:
            *l = {14, 33, 33, 33, 40, -1, 16, 500, 5, true, true, true, true};
            return true;
        case 1:
            *l = {17, 44, 44, 44, 0, -1, 23, 500, 5, false, false, false, false};
            return true;
        case 2:
            *l = {17, 44, 44, 44, 40, 0, 23, 500, 5, true, false, true, false};
            return true;
        case 3:
            *l = {60, 20, 20, 20, 40, 40, 43, 5000, 100, true, true, true, true};
            return true;
        case 4:
            *l = {120, 15, 15, 20, 40, 40, 106, 5000, 100, true, true, true, true};
            return true;
        case 17:
            *l = {17, 44, 44, 44, 40, 40, 23, 500, 5, true, true, true, true};
            return true;
        case 34:
            *l = {17, 44, 44, 44, 40, 40, 23, 500, 5, true, true, true, false};
            return true;
        default:
            return false;
    }
}

bool MotionRanges::apply(SidebarForm* f, int code) {
    Limits l;
    if (!limitsFor(code, &l))
        return false;
    f->torque->setRange(-l.torque, l.torque);
    f->mitVel->setRange(-l.mitVel, l.mitVel);
    f->kp->setRange(0, l.kp);
    f->kd->setRange(0, l.kd);
    f->ppVel->setRange(0, l.posVel);
    f->cspVel->setRange(0, l.posVel);
    f->velCmd->setRange(-l.velCmd, l.velCmd);
    f->ppAcc->setRange(0, l.ppAcc);
    if (l.velAcc >= 0)
        f->velAcc->setRange(0, l.velAcc);
    f->velCurrent->setRange(0, l.current);
    f->dspnIq1->setRange(-l.current, l.current);
    f->ppAcc->setVisible(l.ppAccShown);
    f->velAcc->setVisible(l.velAccShown);
    f->velAcc->reset()->setVisible(l.velAccShown && l.velAccResetShown);
    // The PP item stays in the list (its index is the page's) but cannot be picked.
    if (auto* view = qobject_cast<QListView*>(f->cmbControlMode->view()))
        view->setRowHidden(SidebarForm::PagePos, !l.ppModeShown);
    return true;
}

double MotionRanges::currentMax(int code) {
    Limits l;
    return limitsFor(code, &l) ? l.current : 23;
}

void MotionRanges::capCurrent(SidebarForm* f, double modelMax, double limit) {
    const double max = limit > 0 ? qMin(modelMax, limit) : modelMax;
    f->velCurrent->setRange(0, max);
    f->dspnIq1->setRange(-max, max);
}
