#pragma once

#include <QList>
#include <QVector>

#include <optional>

#include "link/flows/flow.h"
#include "link/param/parambackup.h"

// Writes parameters to motors and counts them only once read back (the serial records carry
// no checksum), saving in the motor's flash only when every entry read back right (see
// ParamVerifier). Either given writes for one motor (an edit, a restore), or a profile in the
// backup format for one motor or several in turn: each motor's table is described, the
// profile planned against it (refused whole, nothing written, when an entry cannot be
// applied), written, saved and read back.
//
// Values for one motor: "written" (entries asked for), "saved", "entries" (the table as read
// back, as ParamReadFlow lists it), "verified" (per entry {"code", "name", "sent",
// "read_back", "matched", "retries", "error"}), on failure "mismatches" ({"code", "name",
// "expected", "actual"}) and "refused" ({"code", "name", "reason"}). For several motors,
// "motors": a map from the CAN ID as text to those values plus "outcome" and "reason".
class ParamApplyFlow : public Flow {
    Q_OBJECT

public:
    // Given writes for one motor.
    ParamApplyFlow(int canId, const QVector<ParamRestorePlan::Write>& writes, bool save,
                   QObject* parent = nullptr);
    // A profile for one motor or several.
    ParamApplyFlow(const QList<int>& canIds, const ParamBackup& profile, bool save,
                   QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("apply-params"); }
    QString activity() const override { return tr("writing its parameters"); }

protected:
    FlowResult execute() override;

private:
    FlowResult applyTo(int canId, const QVector<ParamRestorePlan::Write>& writes);
    FlowResult profileTo(int canId);

    QList<int> m_canIds;
    QVector<ParamRestorePlan::Write> m_writes;
    std::optional<ParamBackup> m_profile;
    bool m_save;
};
