#pragma once

#include <QWidget>

namespace kx {
class DataObject;
}
class QCheckBox;
class QPushButton;
class QSpinBox;

// The Analyze tab's tool strip: new oscilloscope page, sample rate, channels, Start, Stop and
// the waveform file switch. Rebuilt on every tab change; everything that must outlive it
// (the running stream, the stop request, the file path) lives in the link or the data tree.
class AnalyzeTools : public QWidget {
    Q_OBJECT

public:
    explicit AnalyzeTools(QWidget* parent = nullptr);

public slots:
    // Binds the device record of the oscilloscope page in front and enables its settings.
    void updateSettings(kx::DataObject* dobj);
    void clearSettings();

private:
    void onEditorChanged();
    void onStart();
    void onSaveToggled(bool on);
    void showWavePath();

    kx::DataObject* m_device;
    QSpinBox* m_spnF;
    QPushButton* m_btnChannel;
    QPushButton* m_btnStart;
    QPushButton* m_btnStop;
    QCheckBox* m_chbSave;
};
