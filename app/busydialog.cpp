#include "app/busydialog.h"

#include "framework/data/datamanager.h"
#include "framework/data/dataobject.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QVBoxLayout>

BusyDialog::BusyDialog(QWidget* mainWindow) : QDialog(mainWindow), m_mainWindow(mainWindow) {
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("background:#1e1e1e; color:#efefef;"));
    auto* layout = new QVBoxLayout(this);
    m_label = new QLabel(this);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    layout->addWidget(m_label);
    setFixedSize(172, 87);

    connect(kx::d(QStringLiteral("trigger.block")), &kx::DataObject::changed, this,
            [this](const QVariant& value) { onBlockChanged(value); });
}

QString BusyDialog::text() const {
    return m_label->text();
}

void BusyDialog::onBlockChanged(const QVariant& value) {
    const QString text = value.toString();
    if (text.isEmpty()) {
        accept();
        close();
        return;
    }
    m_label->setText(QStringLiteral("%1").arg(text));
    if (isVisible()) {
        QApplication::processEvents();
        return;
    }
    if (m_mainWindow) {
        const QPoint centre = m_mainWindow->mapToGlobal(m_mainWindow->rect().center());
        move(centre.x() - width() / 2, centre.y() - height() / 2);
    }
    open();
    // The caller goes on with a long operation in this thread: let the box paint first.
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 10)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}
