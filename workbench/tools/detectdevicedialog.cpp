#include "workbench/tools/detectdevicedialog.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"
#include "link/canworker.h"
#include "link/flows/detectflow.h"
#include "link/helper.h"
#include "link/transport/canbustransport.h"
#include "workbench/tools/driverhelp.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>

namespace {

const char* const kSerialById = "/dev/serial/by-id";

QList<QPair<QString, QString>> serialLinks() {
    QList<QPair<QString, QString>> links;
    const QDir dir(QString::fromLatin1(kSerialById));
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        links.append({info.absoluteFilePath(), QFileInfo(info.symLinkTarget()).fileName()});
    return links;
}

// "name (description)"; a port without a description shows its name alone rather than "()".
QString entryText(const QString& name, const QString& description) {
    return description.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, description);
}

}  // namespace

DetectDeviceDialog::DetectDeviceDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Detect Devices"));
    resize(399, 195);
    // Texts sit on the dialog's own background, not on bands of the window colour.
    setStyleSheet(QStringLiteral("QLabel { background: transparent; }"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("<h2>Devices Connection</h2>"), this), 0, 0, 1, 3);

    grid->addWidget(new QLabel(tr("Module"), this), 1, 0);
    auto* cmbType = new QComboBox(this);
    cmbType->setObjectName(QStringLiteral("cmbType"));
    cmbType->addItem(tr("USB-CAN (AT Command)"));
    cmbType->addItem(tr("CAN interface"));
    grid->addWidget(cmbType, 1, 1, 1, 2);

    grid->addWidget(new QLabel(tr("COM"), this), 2, 0);
    m_cmbPort = new QComboBox(this);
    m_cmbPort->setObjectName(QStringLiteral("cmbPort"));
    // Pseudo-terminals, other paths the enumeration does not list and CAN interfaces can be
    // typed in.
    m_cmbPort->setEditable(true);
    m_cmbPort->setToolTip(
        tr("The adapter's serial port, or a CAN interface as PLUGIN:INTERFACE "
           "(socketcan:can0, virtualcan:tcp://127.0.0.1:35468/can0)"));
    m_cmbPort->setInsertPolicy(QComboBox::NoInsert);
    m_cmbPort->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    grid->addWidget(m_cmbPort, 2, 1);
    auto* btnRefresh = new QPushButton(QIcon(QStringLiteral(":/images/refresh.png")), QString(), this);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    grid->addWidget(btnRefresh, 2, 2);

    grid->addWidget(new QLabel(tr("Baudrate"), this), 3, 0);
    auto* cmbBaud = new QComboBox(this);
    cmbBaud->addItem(QString::number(kx::d(QStringLiteral("config.baud_rate"))->getInt(921600)));
    cmbBaud->setEnabled(false);
    grid->addWidget(cmbBaud, 3, 1, 1, 2);

    auto* row = new QHBoxLayout;
    auto* lblInstall = new QLabel(DriverHelp::linkText(), this);
    lblInstall->setObjectName(QStringLiteral("lblInstall"));
    lblInstall->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    row->addWidget(lblInstall, 1);
    auto* btnAdd = new QPushButton(tr("Connect"), this);
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    btnAdd->setDefault(true);
    auto* btnClose = new QPushButton(tr("Cancel"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    row->addWidget(btnAdd);
    row->addWidget(btnClose);
    grid->addLayout(row, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    // The module follows the port: a CAN interface is no adapter that takes AT commands.
    connect(m_cmbPort, &QComboBox::currentTextChanged, this,
            [this, cmbType] { cmbType->setCurrentIndex(CanBusTransport::takes(chosenPort()) ? 1 : 0); });
    connect(btnRefresh, &QPushButton::clicked, this, &DetectDeviceDialog::detectPort);
    connect(btnAdd, &QPushButton::clicked, this, &DetectDeviceDialog::onConnect);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(lblInstall, &QLabel::linkActivated, this, [this] { DriverHelp::offer(this); });
    detectPort();
}

bool DetectDeviceDialog::isAdapter(const PortInfo& port) {
    if (port.description.contains(QLatin1String("ch340"), Qt::CaseInsensitive))
        return true;
    // Without a description, the adapter's USB identity tells.
    return port.description.isEmpty() && port.hasIds && port.vendor == 0x1a86 && port.product == 0x7523;
}

QList<DetectDeviceDialog::PortEntry> DetectDeviceDialog::orderPorts(
    const QList<PortInfo>& ports, const QList<QPair<QString, QString>>& links,
    const QStringList& canInterfaces) {
    QList<PortEntry> adapters;
    QList<PortEntry> others;
    for (const PortInfo& port : ports) {
        const PortEntry entry{entryText(port.name, port.description), port.name};
        (isAdapter(port) ? adapters : others).append(entry);
    }
    QList<PortEntry> entries = adapters + others;
    for (const auto& link : links)
        entries.append({entryText(link.first, link.second), link.first});
    for (const QString& address : canInterfaces)
        entries.append({entryText(address, tr("CAN interface")), address});
    return entries;
}

void DetectDeviceDialog::detectPort() {
    QList<PortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.append({info.portName(), info.description(),
                      info.hasVendorIdentifier() && info.hasProductIdentifier(), info.vendorIdentifier(),
                      info.productIdentifier()});
    }
    m_cmbPort->clear();
    for (const PortEntry& entry : orderPorts(ports, serialLinks(), CanBusTransport::availableInterfaces()))
        m_cmbPort->addItem(entry.text, entry.port);
    const QString last = kx::d(QStringLiteral("config.last_com"))->getString();
    if (last.isEmpty())
        return;
    const int index = m_cmbPort->findData(last);
    if (index >= 0)
        m_cmbPort->setCurrentIndex(index);
    else
        m_cmbPort->setEditText(last);  // a path the enumeration does not list, e.g. a pty
}

QString DetectDeviceDialog::chosenPort() const {
    const QString text = m_cmbPort->currentText().trimmed();
    const int index = m_cmbPort->findText(text);
    if (index >= 0)
        return m_cmbPort->itemData(index).toString();
    return text;
}

void DetectDeviceDialog::onConnect() {
    const QString port = chosenPort();
    CANWorker* worker = Helper::instance()->worker();
    if (port.isEmpty() || !worker)
        return;
    if (worker->isConnected()) {
        worker->connectPort(port);  // says that the port is already connected
        return;
    }
    // Connecting and detecting is the link's detect flow; the dialog closes as soon as the
    // port is open, and the flow goes on without it (owned by the worker). A port that does
    // not open leaves the dialog up for another choice; the worker says why.
    DetectFlow::Options options;
    options.address = port;
    options.wholeBus = kx::d(QStringLiteral("config.setting.enable_multiple_devices"))->getBool(false);
    auto* flow = new DetectFlow(options, worker);
    flow->setAllowInput(true);
    connect(flow, &Flow::finished, flow, &QObject::deleteLater);
    connect(worker, &CANWorker::connectionChanged, this, [this, port](bool connected) {
        if (!connected)
            return;
        kx::d().rootDobj()->set(this, QStringLiteral("config.last_com"), port, true);
        accept();
    });
    flow->start();
}
