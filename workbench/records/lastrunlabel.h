#pragma once

#include <QLabel>

// A motor's last commissioning result and date, as the station's records (and the line's
// server) know it; hidden while they know none. Looked up on a worker thread, and again
// whenever this program keeps a new run. Its "History" link opens the Records page.
class LastRunLabel : public QLabel {
    Q_OBJECT

public:
    LastRunLabel(quint64 mcuId, QWidget* parent = nullptr);

    void refresh();

signals:
    void looked();  // after each look-up, shown or not
    void historyAsked();

private:
    quint64 m_mcuId;
    int m_seq = 0;
};
