#pragma once

#include <QDialog>
#include <QVariant>

class QLabel;

// The "please wait" box driven by "trigger.block": a non-empty text shows it (or updates
// its text), an empty or null value closes it.
class BusyDialog : public QDialog {
    Q_OBJECT

public:
    explicit BusyDialog(QWidget* mainWindow);

    QString text() const;

private:
    void onBlockChanged(const QVariant& value);

    QWidget* m_mainWindow;
    QLabel* m_label;
};
