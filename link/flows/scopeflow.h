#pragma once

#include <QList>
#include <QStringList>

#include "link/flows/flow.h"

// Records the oscilloscope of one motor, or of several in turn (the motor streams to one
// recorder at a time), for a given time: the channels (names from the motor's parameter
// table, described first when needed, or codes) are set up at the rate, the stream started
// and stopped, and the records written to a file — a waveform file or CSV with a header of
// channel names. The file is replaced only by a complete recording; one cut short by the
// link is kept beside it (ScopeWaveFile::closePartial). Without a file the CSV comes back in
// the values.
//
// Values for one motor: "records", "lost", "damaged", "channels" (names in the order asked),
// "file" (what was written; the partial file after an unplug), and "csv" (bytes) when no file
// was asked for. For several motors, "motors": a map from the CAN ID as text to those values
// plus "outcome" and "reason".
class ScopeFlow : public Flow {
    Q_OBJECT

public:
    struct Request {
        QStringList channels;  // 1 to 8, names or codes ("0x3000")
        int rate = 100;        // Hz
        double seconds = 1;
        QString path;     // empty: CSV into the values
        bool csv = true;  // with a path: CSV, else the waveform format
    };

    ScopeFlow(const QList<int>& canIds, const Request& request, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("capture"); }
    QString activity() const override { return tr("recording its oscilloscope"); }

protected:
    FlowResult execute() override;

private:
    FlowResult record(int canId, const QString& path);

    QList<int> m_canIds;
    Request m_request;
};
