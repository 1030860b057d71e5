#pragma once

#include <QVariant>
#include <QWidget>

class QComboBox;
class QLabel;
class QTimer;

// One line under the work area showing the latest status line for three seconds.
class StatusBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kShowMs = 3000;

    explicit StatusBar(QWidget* parent = nullptr);

    QString text() const;
    // "N runs waiting to be sent" while the records sender has any; empty otherwise.
    QString waitingText() const;
    // The clear timer, for tests that drive the three seconds themselves.
    QTimer* clearTimer() const { return m_timer; }

public slots:
    void showStatus(QVariant var);

private:
    void showWaiting(int count);

    QLabel* m_label;
    QLabel* m_waiting;
    QLabel* m_zoomIcon;
    QComboBox* m_zoom;
    QTimer* m_timer;
};
