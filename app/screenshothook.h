#pragma once

#include <QObject>
#include <QString>

class QTimer;
class QWidget;

// Two hooks for scripts, read from the environment at start:
//  TRIVANE_PORT=PATH           connect to that serial port once the window is up (the
//                              simulated bench of ./run.sh), whatever config.xml says;
//  TRIVANE_SCREENSHOT=OUT.png  once TRIVANE_SCREENSHOT_DEVICES (default 1) motors are detected
//                              and shown, or after 60 s, save a picture of the window and quit.
class ScreenshotHook : public QObject {
    Q_OBJECT

public:
    ScreenshotHook(QWidget* window, QObject* parent = nullptr);

    static QString portFromEnvironment();

private:
    void check();
    void capture();

    QWidget* m_window;
    QString m_out;
    int m_devices = 1;
    QTimer* m_poll = nullptr;
    bool m_done = false;
};
