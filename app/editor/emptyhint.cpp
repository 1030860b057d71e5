#include "app/editor/emptyhint.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/helper.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

EmptyHint::EmptyHint(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EmptyHint"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblEmptyHint"));
    m_label->setTextFormat(Qt::RichText);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignCenter);
    // The command is there to be copied.
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_label->setStyleSheet(QStringLiteral("color:#a0a0a0; background:transparent;"));
    layout->addStretch(1);
    layout->addWidget(m_label);
    layout->addStretch(2);
    if (CANWorker* worker = Helper::instance()->worker()) {
        connect(worker, &CANWorker::connectionChanged, this, &EmptyHint::refresh);
        connect(worker, &CANWorker::deviceChanged, this, &EmptyHint::refresh);
    }
    refresh();
}

QString EmptyHint::text() const {
    return m_label->text();
}

QString EmptyHint::simulatorLink() {
    return QStringLiteral("/tmp/trivane-port");
}

QString EmptyHint::simulatorCommand() {
    // The bench is built beside the workbench; named by its full path it runs from anywhere.
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("trivane-sim"));
    const QString program = QFileInfo(beside).isExecutable() ? beside : QStringLiteral("trivane-sim");
    return program + QStringLiteral(" --motors 2 --port-link ") + simulatorLink();
}

void EmptyHint::refresh() {
    int motors = 0;
    for (kx::DataObject* device : kx::d(QStringLiteral("project.device"))->cdobjs())
        motors += device->c(QStringLiteral("_connected"))->getBool(false) ? 1 : 0;
    CANWorker* worker = Helper::instance()->worker();
    QString html;
    if (motors > 0) {
        html =
            tr("<p><b>%n motor(s) connected.</b></p>"
               "<p>Open a page from the tool strip: <b>Device Info</b> on the Device tab, <b>Param "
               "Table</b> on the Configure tab, <b>Oscilloscope</b> on the Analyze tab.</p>",
               nullptr, motors);
    } else if (worker && worker->isConnected()) {
        html =
            tr("<p><b>Looking for motors on the bus…</b></p>"
               "<p>Nothing found yet? Check the adapter's CAN wiring, the motors' power and the bus "
               "termination.</p>");
    } else {
        html = tr("<p><b>No motor connected.</b></p>"
                  "<p>Plug in the USB-CAN adapter, then choose <b>Connect</b> on the Device tab and pick "
                  "its serial port.</p>"
                  "<p>No hardware at hand? Start the simulated bench:</p>"
                  "<p><code>%1</code></p>"
                  "<p>and connect to <code>%2</code>.</p>")
                   .arg(simulatorCommand().toHtmlEscaped(), simulatorLink());
    }
    m_label->setText(html);
}
