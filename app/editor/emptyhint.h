#pragma once

#include <QWidget>

class QLabel;

// What the editor area shows while no page is open: how to get going from where the user is
// (connect an adapter or start the simulated bench; once motors are there, open a page).
class EmptyHint : public QWidget {
    Q_OBJECT

public:
    explicit EmptyHint(QWidget* parent = nullptr);

    QString text() const;
    // The command that starts the simulated bench with two motors behind a fixed link.
    static QString simulatorCommand();
    static QString simulatorLink();

private:
    void refresh();

    QLabel* m_label;
};
