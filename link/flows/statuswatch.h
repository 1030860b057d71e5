#pragma once

#include <QList>
#include <QObject>
#include <QPair>

// Records the link statuses that arrive while it lives, with the CAN ID each concerns, so a
// flow can wait for "one of these statuses, for this motor" without missing one that came
// between two looks. Lives on the port's thread.
class StatusWatch : public QObject {
    Q_OBJECT

public:
    explicit StatusWatch(QObject* parent = nullptr);

    // The first of `statuses` seen for canId (-1: any motor) since `from` (a position from
    // mark()); -1 when none came.
    int seen(const QList<int>& statuses, int canId = -1, int from = 0) const;
    bool saw(const QList<int>& statuses, int canId = -1, int from = 0) const {
        return seen(statuses, canId, from) >= 0;
    }
    // How many statuses were recorded so far: a later seen() may start there.
    int mark() const { return m_statuses.size(); }

private:
    QList<QPair<int, int>> m_statuses;  // (status, CAN ID)
};
