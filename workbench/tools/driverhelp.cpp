#include "workbench/tools/driverhelp.h"

#include "link/helper.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <QFile>
#include <QProcess>
#endif

QString DriverHelp::linuxHelpText() {
    return QCoreApplication::translate(
        "DriverHelp",
        "The CH340 driver is built into the Linux kernel: there is nothing to install.\n\n"
        "If opening the port fails with \"Permission denied\", add your user to the dialout group "
        "and log in again:\n"
        "    sudo usermod -aG dialout $USER\n\n"
        "or give everyone access to the adapter with a udev rule:\n"
        "    echo 'SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\", MODE=\"0666\"' "
        "| sudo tee /etc/udev/rules.d/99-usb-can.rules\n"
        "    sudo udevadm control --reload-rules && sudo udevadm trigger\n\n"
        "then unplug the adapter and plug it in again.");
}

QString DriverHelp::linuxHelpTitle() {
    return QCoreApplication::translate("DriverHelp", "Serial port access on Linux");
}

QString DriverHelp::linkText() {
#ifdef Q_OS_WIN
    return QCoreApplication::translate(
        "DetectDeviceDialog",
        "<html><head/><body><p>Click <a href=\"driver\"><span style=\" text-decoration: underline; "
        "color:#007af4;\">here</span></a> to install ch340 driver.</p></body></html>");
#else
    return QStringLiteral(
               "<html><head/><body><p><a href=\"driver\"><span style=\" text-decoration: underline; "
               "color:#007af4;\">%1</span></a></p></body></html>")
        .arg(linuxHelpTitle().toHtmlEscaped());
#endif
}

#ifdef Q_OS_WIN
void DriverHelp::offer(QWidget*) {
    const QString target = QStringLiteral("./driver.exe");
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(":/tool/CH341SER.EXE"), target) || !QProcess::startDetached(target, {})) {
        Helper::instance()->showError(
            QCoreApplication::translate("DriverHelp", "The driver installer could not be started."));
    }
}
#else
void DriverHelp::offer(QWidget*) {
    Helper::instance()->showInformation(linuxHelpTitle() + QStringLiteral("\n\n") + linuxHelpText());
}
#endif
