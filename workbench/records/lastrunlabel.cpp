#include "workbench/records/lastrunlabel.h"

#include "records/recordslookup.h"
#include "records/stationrecords.h"
#include "workbench/records/runtablemodel.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace {

struct Last {
    bool found = false;
    MotorRun run;
};

}  // namespace

LastRunLabel::LastRunLabel(quint64 mcuId, QWidget* parent) : QLabel(parent), m_mcuId(mcuId) {
    setObjectName(QStringLiteral("lblLastRun"));
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    // The link in the style's own accent: the default link blue is unreadable on the dark frame.
    QPalette colours = palette();
    colours.setColor(QPalette::Link, colours.color(QPalette::Highlight));
    setPalette(colours);
    hide();
    connect(this, &QLabel::linkActivated, this, [this] { emit historyAsked(); });
    connect(StationRecords::instance(), &StationRecords::recorded, this, [this] { refresh(); });
    refresh();
}

void LastRunLabel::refresh() {
    const int seq = ++m_seq;
    const RecordsSettings settings = StationRecords::instance()->settings();
    const quint64 mcu = m_mcuId;
    auto* watcher = new QFutureWatcher<Last>(this);
    connect(watcher, &QFutureWatcher<Last>::finished, this, [this, watcher, seq] {
        const Last last = watcher->result();
        watcher->deleteLater();
        if (seq != m_seq)
            return;
        if (last.found) {
            const QString plan = last.run.planName.toHtmlEscaped();
            setText(tr("Last commissioning: <b>%1</b> on %2 (%3, %4) &nbsp; <a href=\"history\">History</a>")
                        .arg(Outcomes::label(last.run.motor.outcome),
                             RunTableModel::timeText(last.run.startUtc),
                             plan.isEmpty() ? tr("no plan name") : plan, last.run.station.toHtmlEscaped()));
        }
        setVisible(last.found);
        emit looked();
    });
    watcher->setFuture(QtConcurrent::run([settings, mcu] {
        Last last;
        RecordsLookup lookup(settings);
        QString error;
        lookup.lastRun(mcu, &last.run, &last.found, &error);
        return last;
    }));
}
